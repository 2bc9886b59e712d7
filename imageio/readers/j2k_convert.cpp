// Decoded JPEG 2000 components into a pixel buffer. Every output pixel
// samples each component at the reference-grid position it covers, so that
// subsampled components and image offsets line up; samples are widened or
// narrowed to the output's 8 or 16 bits.
#include "imageio/readers/j2k_decode.h"

#include "imageio/buffer.h"
#include "imageio/codes.h"
#include "imageio/readers/packed_dib.h"

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {

enum colour_space { SPACE_GREY, SPACE_RGB, SPACE_YCC };

[[noreturn]] void fail(int32_t code, const char* message)
{
    throw RAZA2V::ISException(code, message);
}

colour_space space_of(const opj_image_t& image)
{
    switch (image.color_space) {
    case OPJ_CLRSPC_GRAY: return SPACE_GREY;
    case OPJ_CLRSPC_SRGB: return SPACE_RGB;
    case OPJ_CLRSPC_SYCC: return SPACE_YCC;
    case OPJ_CLRSPC_UNSPECIFIED:
    case OPJ_CLRSPC_UNKNOWN:
        // A bare codestream names no colour space: the component count tells.
        if (image.numcomps >= 3)
            return SPACE_RGB;
        if (image.numcomps >= 1)
            return SPACE_GREY;
        break;
    default: break;
    }
    fail(IS_ERR_J2K, "Invalid colorspace");
}

// Which component feeds each output channel (-1: alpha that is always opaque).
struct channel_plan {
    int channels = 0;
    int component[4] = {-1, -1, -1, -1};
    int bits = 8;
    bool ycc = false;
};

channel_plan plan_channels(const opj_image_t& image, int32_t depth)
{
    const colour_space space = space_of(image);
    channel_plan plan;
    plan.bits = (depth == 16 || depth == 48 || depth == 64) ? 16 : 8;
    const int colours = space == SPACE_GREY ? 1 : 3;
    switch (depth) {
    case 8:
    case 16:
        if (space != SPACE_GREY)
            fail(IS_ERR_BAD_ARGUMENT, "a colour image cannot be delivered as grey");
        plan.channels = 1;
        plan.component[0] = 0;
        return plan;
    case 24: case 48: case 32: case 64:
        plan.channels = (depth == 24 || depth == 48) ? 3 : 4;
        for (int c = 0; c < 3; ++c)
            plan.component[c] = space == SPACE_GREY ? 0 : c;
        if (plan.channels == 4 && (int)image.numcomps > colours)
            plan.component[3] = colours;
        plan.ycc = space == SPACE_YCC;
        return plan;
    default:
        fail(IS_ERR_BAD_ARGUMENT, "unsupported depth");
    }
}

void check_components(const opj_image_t& image, const channel_plan& plan)
{
    for (int c = 0; c < plan.channels; ++c) {
        const int index = plan.component[c];
        if (index < 0)
            continue;
        if (index >= (int)image.numcomps || !image.comps)
            fail(IS_ERR_J2K, "Invalid component specificiations");
        const opj_image_comp_t& comp = image.comps[index];
        if (comp.dx == 0 || comp.dy == 0 || comp.prec == 0 || comp.prec > 31)
            fail(IS_ERR_J2K, "Invalid component specificiations");
        if (!comp.data)
            fail(IS_ERR_J2K, "Unable to read component matrix");
    }
}

// Sample index along one axis for each output position, -1 outside the
// component: (position x scale + image origin - component origin) / step,
// truncated toward zero, so that a position just before a subsampled
// component's first sample takes that sample.
std::vector<int64_t> sample_indices(uint32_t count, double scale, uint32_t image_origin, uint32_t component_origin,
                                    uint32_t step, uint32_t samples)
{
    std::vector<int64_t> out;
    try {
        out.resize(count);
    } catch (const std::bad_alloc&) {
        fail(IS_ERR_J2K, "Unable to allocate component matrix");
    }
    const double origin = (double)component_origin * step;
    for (uint32_t i = 0; i < count; ++i) {
        const double at = std::trunc(((double)i * scale + image_origin - origin) / step);
        out[i] = (at >= 0 && at < samples) ? (int64_t)at : -1;
    }
    return out;
}

uint32_t to_bits(int32_t value, const opj_image_comp_t& comp, int bits)
{
    int64_t v = value;
    if (comp.sgnd)
        v += (int64_t)1 << (comp.prec - 1);
    const int64_t top = ((int64_t)1 << comp.prec) - 1;
    v = v < 0 ? 0 : v > top ? top : v;
    return (uint32_t)((int)comp.prec < bits ? v << (bits - comp.prec) : v >> (comp.prec - bits));
}

void ycc_to_rgb(uint32_t* v, int bits)
{
    const double half = (double)(1 << (bits - 1)), top = (double)((1 << bits) - 1);
    const double y = v[0], cb = v[1] - half, cr = v[2] - half;
    const double rgb[3] = {y + 1.402 * cr, y - 0.344136 * cb - 0.714136 * cr, y + 1.772 * cb};
    for (int c = 0; c < 3; ++c)
        v[c] = (uint32_t)(rgb[c] < 0 ? 0 : rgb[c] > top ? top : std::lround(rgb[c]));
}

struct component_axes {
    std::vector<int64_t> columns;
    std::vector<int64_t> rows;
    const opj_image_comp_t* comp = nullptr;
};

}  // namespace

uint8_t* j2k_convert(const opj_image_t& image, int32_t depth, double scale, uint32_t flags,
                     const is_io_callbacks& table, uint32_t* width, uint32_t* height)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (packed && depth != 8 && depth != 24 && depth != 32)
        fail(IS_ERR_BAD_ARGUMENT, "no packed bitmap at this depth");
    const channel_plan plan = plan_channels(image, depth);
    check_components(image, plan);

    const double out_w = std::floor((double)(image.x1 - image.x0) / scale);
    const double out_h = std::floor((double)(image.y1 - image.y0) / scale);
    if (out_w < 1 || out_h < 1)
        fail(IS_ERR_J2K, "Invalid component specificiations");
    if (out_w > 0xFFFFFFFFu || out_h > 0xFFFFFFFFu)
        fail(IS_ERR_NO_MEMORY, "image too large");
    const uint32_t w = (uint32_t)out_w, h = (uint32_t)out_h;
    const uint32_t bytes = (uint32_t)plan.bits / 8;
    const uint64_t row_bytes = (uint64_t)w * plan.channels * bytes;
    owned_buffer out = alloc_pixels(row_bytes, h);
    if (!out)
        fail(IS_ERR_NO_MEMORY, "no memory");

    component_axes axes[4];
    for (int c = 0; c < plan.channels; ++c) {
        if (plan.component[c] < 0)
            continue;
        axes[c].comp = &image.comps[plan.component[c]];
        const opj_image_comp_t& comp = *axes[c].comp;
        axes[c].columns = sample_indices(w, scale, image.x0, comp.x0, comp.dx, comp.w);
        axes[c].rows = sample_indices(h, scale, image.y0, comp.y0, comp.dy, comp.h);
    }
    is_abort_fn abort = nullptr;
    void* user = nullptr;
    table.get_abort_callback(&abort, &user);

    const uint32_t opaque = (1u << plan.bits) - 1;
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* dst = out.get() + y * row_bytes;
        for (uint32_t x = 0; x < w; ++x) {
            uint32_t v[4] = {0, 0, 0, opaque};
            for (int c = 0; c < plan.channels; ++c) {
                if (!axes[c].comp)
                    continue;
                const int64_t row = axes[c].rows[y], column = axes[c].columns[x];
                if (row >= 0 && column >= 0)
                    v[c] = to_bits(axes[c].comp->data[row * axes[c].comp->w + column], *axes[c].comp, plan.bits);
                else
                    v[c] = 0;
            }
            if (plan.ycc)
                ycc_to_rgb(v, plan.bits);
            for (int c = 0; c < plan.channels; ++c, dst += bytes) {
                dst[0] = (uint8_t)v[c];
                if (bytes == 2)
                    dst[1] = (uint8_t)(v[c] >> 8);
            }
        }
        if (abort && abort((int32_t)y, (int32_t)h, user) == 0)
            fail(IS_ERR_CANCELLED, "cancelled");
    }
    if (packed) {
        uint8_t grey[1024] = {};
        for (int i = 0; i < 256; ++i)
            std::memset(grey + 4 * i, i, 3);
        int32_t error = IS_OK;
        if (!(out = packed_dib_from_rows(out.get(), {w, h, depth}, grey, &error)))
            fail(error, "no memory");
    }
    *width = w;
    *height = h;
    return out.release();
}
