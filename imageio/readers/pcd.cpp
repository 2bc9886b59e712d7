// The Photo CD read: header checks, the stored planes of the base
// resolution, the differences of the larger ones, colour and rotation.
#include "imageio/readers/pcd.h"

#include "imageio/buffer.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/trace.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t header_bytes = 6144;
constexpr uint32_t rotation_offset = 0xE02;

// The three planes of a resolution, owned; planes() is their view.
struct plane_set {
    owned_buffer y, c1, c2;
    uint32_t width = 0, height = 0;

    bool allocate(uint32_t w, uint32_t h)
    {
        uint64_t bytes = 0;
        if (!is_buffer_size(w, h, &bytes))
            return false;
        y = alloc_pixels(bytes + 1, 1);
        c1 = alloc_pixels(bytes + 1, 1);
        c2 = alloc_pixels(bytes + 1, 1);
        width = w;
        height = h;
        return y && c1 && c2;
    }
    pcd_planes planes() const { return {y.get(), c1.get(), c2.get(), width, height}; }
};

// Parks the thread's saved callback block for the duration of a read.
class parked_callback_block {
public:
    explicit parked_callback_block(ISThreadState* state) : state_(state)
    {
        std::memcpy(saved_, state_->saved_callback_block, sizeof saved_);
        std::memset(state_->saved_callback_block, 0, sizeof saved_);
    }
    ~parked_callback_block() { std::memcpy(state_->saved_callback_block, saved_, sizeof saved_); }
    parked_callback_block(const parked_callback_block&) = delete;
    parked_callback_block& operator=(const parked_callback_block&) = delete;

private:
    ISThreadState* state_;
    uint8_t saved_[is_saved_callback_block_size];
};

// The stored planes of a base resolution: pairs of luma rows, each pair
// followed by one row of each chroma plane at half the width.
int32_t read_base_planes(CISIO& io, const pcd_planes& planes, uint32_t width, uint32_t height)
{
    const uint32_t half = width / 2;
    std::vector<uint8_t> group(3 * (size_t)width);
    for (uint32_t pair = 0; pair < height / 2; ++pair) {
        if (!io.read_exactly(group.data(), (uint32_t)group.size()))
            return IS_ERR_READ;
        std::memcpy(planes.y + (uint64_t)2 * pair * planes.stride, group.data(), width);
        std::memcpy(planes.y + (uint64_t)(2 * pair + 1) * planes.stride, group.data() + width, width);
        std::memcpy(planes.c1 + (uint64_t)pair * planes.stride, group.data() + 2 * width, half);
        std::memcpy(planes.c2 + (uint64_t)pair * planes.stride, group.data() + 2 * width + half, half);
    }
    return IS_OK;
}

void upsample_all(const pcd_planes& planes, uint32_t luma_width, uint32_t luma_height)
{
    pcd_upsample(planes.y, planes.stride, luma_width, luma_height);
    pcd_upsample(planes.c1, planes.stride, luma_width / 2, luma_height / 2);
    pcd_upsample(planes.c2, planes.stride, luma_width / 2, luma_height / 2);
}

// Builds the luma and half-size chroma planes of the resolution. 0 or the error.
int32_t build_planes(read_context& context, const pcd_planes& planes, int32_t resolution)
{
    CISIO& io = context.io;
    const int base = resolution < 3 ? resolution : 3;
    static const uint32_t sectors_to_base[] = {0, 1, 20, 93};
    uint32_t width = 0, height = 0;
    pcd_size(base, &width, &height);
    if (!io.seek((int64_t)sectors_to_base[base] * pcd_sector_bytes, 1))
        return IS_ERR_READ;
    if (int32_t error = read_base_planes(io, planes, width, height))
        return error;
    if (resolution >= 4) {
        upsample_all(planes, width, height);
        width *= 2;
        height *= 2;
        if (!io.seek(4 * pcd_sector_bytes, 1))
            return IS_ERR_READ;
        if (int32_t error = pcd_add_differences(context, planes, width, height, 1))
            return error;
    }
    if (resolution >= 5) {
        upsample_all(planes, width, height);
        width *= 2;
        height *= 2;
        // The larger differences begin 12 sectors on from where the smaller ones stopped.
        const int64_t here = io.tell();
        if (here < 0 || !io.seek((here / pcd_sector_bytes + 12) * pcd_sector_bytes, 0))
            return IS_ERR_READ;
        if (int32_t error = pcd_add_differences(context, planes, width, height, 3))
            return error;
    }
    if (resolution >= 6)
        upsample_all(planes, width, height);
    return IS_OK;
}

// The resolution's Y, C1 and C2 bytes interleaved, a pixel after another;
// the planes they come from are gone before the colour conversion.
owned_buffer read_ycc(read_context& context, int32_t resolution, uint32_t w, uint32_t h)
{
    plane_set planes;
    if (!planes.allocate(w, h))
        return context.fail(IS_ERR_NO_MEMORY);
    if (int32_t error = build_planes(context, planes.planes(), resolution))
        return context.fail(error);
    pcd_upsample(planes.c1.get(), w, w / 2, h / 2);
    pcd_upsample(planes.c2.get(), w, w / 2, h / 2);

    owned_buffer ycc = alloc_pixels((uint64_t)w * 3, h);
    if (!ycc)
        return context.fail(IS_ERR_NO_MEMORY);
    uint8_t* out = ycc.get();
    const uint64_t pixels = (uint64_t)w * h;
    for (uint64_t i = 0; i < pixels; ++i) {
        out[3 * i] = planes.y.get()[i];
        out[3 * i + 1] = planes.c1.get()[i];
        out[3 * i + 2] = planes.c2.get()[i];
    }
    return ycc;
}

}  // namespace

void pcd_size(int32_t resolution, uint32_t* width, uint32_t* height)
{
    *width = 192u << (resolution - 1);
    *height = 128u << (resolution - 1);
}

uint8_t* pcd_read(read_context& context, uint32_t* width, uint32_t* height, int32_t resolution, uint32_t flags)
{
    CISIO& io = context.io;
    std::vector<uint8_t> header(header_bytes);
    if (!io.read_exactly(header.data(), header_bytes))
        return context.fail(IS_ERR_BAD_PCD);
    if (std::memcmp(header.data(), "PCD_OPA", 7) == 0)
        return context.fail(IS_ERR_PCD_OVERVIEW);
    if (std::memcmp(header.data() + pcd_sector_bytes, "PCD", 3) != 0)
        return context.fail(IS_ERR_BAD_PCD);
    const int rotation = header[rotation_offset] & 3;

    resolution = resolution < 1 ? 1 : resolution > 5 ? 6 : resolution;
    uint32_t w = 0, h = 0;
    pcd_size(resolution, &w, &h);
    is_trace(3, "Reading PCD sub-image #%d (%d x %d)\n", resolution, (int)w, (int)h);

    owned_buffer rgb = read_ycc(context, resolution, w, h);
    if (!rgb)
        return nullptr;
    if (int32_t error = pcd_ycc_to_rgb(context, rgb.get(), w, h))
        return context.fail(error);
    if (rotation != 0) {
        if (!(rgb = pcd_rotate(rgb.get(), &w, &h, rotation)))
            return context.fail(IS_ERR_NO_MEMORY);
    }
    if ((flags & IS_FLAG_PACKED_DIB) && !(rgb = packed_dib_from_rows(rgb.get(), {w, h, 24}, nullptr, &context.error)))
        return nullptr;
    *width = w;
    *height = h;
    return rgb.release();
}

uint8_t* pcd_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    (void)palette;
    if (depth != 24)
        return context.fail(IS_ERR_NO_READER);
    return pcd_read(context, width, height, 3, 0);
}

uint8_t* is_read_pcd(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t resolution, uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) -> uint8_t* {
        if (flags & IS_FLAG_PACKED_DIB) {
            parked_callback_block parked(context.state);
            return pcd_read(context, width, height, resolution, flags);
        }
        return pcd_read(context, width, height, resolution, flags);
    });
}
