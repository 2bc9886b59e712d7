// The PNG read: the transforms that turn each colour type into the wanted
// depth, the row loop over every interlace pass, and the side results
// (palette, text entries, bKGD colour).
#include "imageio/readers/png.h"

#include "imageio/buffer.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/readers/png_glue.h"
#include "imageio/trace.h"

#include <cstring>
#include <vector>

namespace {

struct png_header {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bit_depth = 0;
    int color_type = 0;
    int interlace = 0;
};

png_header read_header(const png_reader& r)
{
    png_read_info(r.png, r.info);
    png_header h;
    png_get_IHDR(r.png, r.info, &h.width, &h.height, &h.bit_depth, &h.color_type, &h.interlace, nullptr, nullptr);
    return h;
}

bool is_grey(const png_header& h)
{
    return h.color_type == PNG_COLOR_TYPE_GRAY || h.color_type == PNG_COLOR_TYPE_GRAY_ALPHA;
}

bool has_trns(const png_reader& r)
{
    return png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
}

[[noreturn]] void wrong_depth()
{
    throw ISException(IS_ERR_WRONG_DEPTH, "the picture cannot be delivered at the requested depth");
}

// Palette entries blue, green, red, alpha from PLTE and tRNS; without tRNS
// the fourth byte stays 0. Returns the number of entries.
int fill_palette(const png_reader& r, uint8_t* palette)
{
    std::memset(palette, 0, 1024);
    png_colorp colours = nullptr;
    int count = 0;
    if (!png_get_PLTE(r.png, r.info, &colours, &count))
        return 0;
    png_bytep alphas = nullptr;
    int alpha_count = 0;
    const bool transparency = png_get_tRNS(r.png, r.info, &alphas, &alpha_count, nullptr) != 0 && alphas;
    for (int i = 0; i < count && i < 256; ++i) {
        palette[4 * i] = colours[i].blue;
        palette[4 * i + 1] = colours[i].green;
        palette[4 * i + 2] = colours[i].red;
        if (transparency)
            palette[4 * i + 3] = i < alpha_count ? alphas[i] : 255;
    }
    return count < 256 ? count : 256;
}

// Grey levels for indices of min(bit depth, 8) bits.
void fill_grey_ramp(int bit_depth, uint8_t* palette)
{
    std::memset(palette, 0, 1024);
    const int entries = 1 << (bit_depth < 8 ? bit_depth : 8);
    for (int i = 0; i < entries; ++i)
        std::memset(palette + 4 * i, i * 255 / (entries - 1), 3);
}

// Palette expanded, grey widened to 8 bits and to RGB, 16-bit samples cut to 8.
void to_rgb8(const png_reader& r, const png_header& h)
{
    if (h.color_type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(r.png);
    if (h.color_type == PNG_COLOR_TYPE_GRAY && h.bit_depth < 8)
        png_set_expand_gray_1_2_4_to_8(r.png);
    if (is_grey(h))
        png_set_gray_to_rgb(r.png);
    if (h.bit_depth == 16)
        png_set_strip_16(r.png);
}

void composite_on_background(const png_reader& r, const png_header& h, const is_png_options& options)
{
    if (!(h.color_type & PNG_COLOR_MASK_ALPHA) && !has_trns(r))
        return;
    png_color_16p file_background = nullptr;
    if (png_get_bKGD(r.png, r.info, &file_background)) {
        png_set_background(r.png, file_background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        return;
    }
    png_color_16 background{};
    background.index = options.default_background.index;
    background.red = options.default_background.red;
    background.green = options.default_background.green;
    background.blue = options.default_background.blue;
    background.gray = options.default_background.gray;
    png_set_background(r.png, &background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
}

// Alpha from tRNS, or an opaque filler, for colour types without alpha.
void add_alpha(const png_reader& r, const png_header& h, uint32_t filler)
{
    if (h.color_type & PNG_COLOR_MASK_ALPHA)
        return;
    if (has_trns(r))
        png_set_tRNS_to_alpha(r.png);
    else
        png_set_filler(r.png, filler, PNG_FILLER_AFTER);
}

void keep_16_bits(const png_reader& r, const png_header& h)
{
    if (h.bit_depth < 16)
        png_set_expand_16(r.png);
    png_set_swap(r.png);
}

void request_transforms(const png_reader& r, const png_header& h, int32_t depth, uint8_t* palette, uint32_t flags,
                        const is_png_options& options)
{
    const bool palette_file = h.color_type == PNG_COLOR_TYPE_PALETTE;
    switch (depth) {
    case 24:
        to_rgb8(r, h);
        composite_on_background(r, h, options);
        break;
    case 32:
        to_rgb8(r, h);
        add_alpha(r, h, 0xFF);
        if (flags & IS_FLAG_PACKED_DIB)
            png_set_bgr(r.png);
        break;
    case 1:
    case 8:
        if (!palette_file && h.color_type != PNG_COLOR_TYPE_GRAY)
            wrong_depth();
        if (palette_file)
            fill_palette(r, palette);
        else
            fill_grey_ramp(h.bit_depth, palette);
        if (depth == 8) {
            png_set_packing(r.png);
            if (h.bit_depth == 16)
                png_set_strip_16(r.png);
        }
        break;
    case 16:
        if (!is_grey(h) || ((flags & PNG_FLAG_GREY16) && h.color_type != PNG_COLOR_TYPE_GRAY))
            wrong_depth();
        if (h.bit_depth < 8)
            png_set_expand_gray_1_2_4_to_8(r.png);
        if (flags & PNG_FLAG_GREY16) {
            keep_16_bits(r, h);
        } else {
            if (h.bit_depth == 16)
                png_set_strip_16(r.png);
            add_alpha(r, h, 0xFF);
        }
        break;
    case 48:
        if (palette_file || h.color_type == PNG_COLOR_TYPE_GRAY_ALPHA)
            wrong_depth();
        if (h.color_type == PNG_COLOR_TYPE_GRAY && h.bit_depth < 8)
            png_set_expand_gray_1_2_4_to_8(r.png);
        if (is_grey(h))
            png_set_gray_to_rgb(r.png);
        if (h.color_type & PNG_COLOR_MASK_ALPHA)
            png_set_strip_alpha(r.png);
        keep_16_bits(r, h);
        break;
    case 64:
        if (palette_file)
            png_set_palette_to_rgb(r.png);
        if (h.color_type == PNG_COLOR_TYPE_GRAY && h.bit_depth < 8)
            png_set_expand_gray_1_2_4_to_8(r.png);
        if (is_grey(h))
            png_set_gray_to_rgb(r.png);
        add_alpha(r, h, 0xFFFF);
        keep_16_bits(r, h);
        break;
    default:
        break;
    }
    if (flags & PNG_FLAG_GAMMA) {
        double file_gamma = 0;
        if (!png_get_gAMA(r.png, r.info, &file_gamma))
            file_gamma = 0.45455;
        png_set_gamma(r.png, options.display_gamma, file_gamma);
    }
}

void keep_side_results(const png_reader& r, is_png_options* options)
{
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(r.png, r.info, &texts, &count);
    for (int i = 0; i < count; ++i)
        options->texts.push_back({texts[i].key ? texts[i].key : "", texts[i].text ? texts[i].text : ""});
    png_color_16p background = nullptr;
    options->has_file_background = png_get_bKGD(r.png, r.info, &background) != 0;
    options->file_background = {};
    if (options->has_file_background)
        options->file_background = {background->index, background->red, background->green, background->blue,
                                    background->gray};
}

uint8_t* read_rows(read_context& context, const png_reader& r, const png_header& h, uint64_t row_bytes,
                   owned_buffer& pixels)
{
    const int passes = png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != row_bytes)
        return context.fail(IS_ERR_NO_READER);
    pixels = alloc_pixels(row_bytes, h.height);
    if (!pixels)
        return context.fail(IS_ERR_NO_MEMORY);
    std::vector<uint8_t*> rows(h.height);
    for (uint32_t y = 0; y < h.height; ++y)
        rows[y] = pixels.get() + y * row_bytes;

    uint64_t calls = 0;
    uint64_t asked_row = UINT64_MAX;
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < h.height; ++y, ++calls) {
            const uint64_t row_number = calls / (uint64_t)passes;
            if (row_number != asked_row) {
                asked_row = row_number;
                if (context.cancelled((uint32_t)row_number, h.height))
                    return pixels.release();
            }
            png_read_row(r.png, rows[y], nullptr);
        }
    }
    png_read_end(r.png, r.info);
    keep_side_results(r, &context.state->png);
    return pixels.release();
}

}  // namespace

uint8_t* png_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags)
{
    switch (depth) {
    case 1: case 8:
        if (!palette)
            return context.fail(IS_ERR_BAD_ARGUMENT);
        break;
    case 16: case 24: case 32: case 48: case 64:
        break;
    default:
        return context.fail(IS_ERR_BAD_ARGUMENT);
    }
    is_png_options& options = context.state->png;
    options.texts.clear();
    owned_buffer pixels;
    png_header h;
    try {
        png_reader r(context.io);
        h = read_header(r);
        request_transforms(r, h, depth, palette, flags, options);
        uint8_t* buffer = read_rows(context, r, h, packed_row_bytes(h.width, depth), pixels);
        if (buffer) {
            *width = h.width;
            *height = h.height;
        }
        return buffer;
    } catch (const ISException& e) {
        context.error = e.code();
        // Rows decoded before the failure are handed back with the error.
        if (pixels) {
            *width = h.width;
            *height = h.height;
        }
        return pixels.release();
    }
}

uint8_t* png_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    return png_read(context, width, height, depth, palette, 0);
}

bool png_query_header(read_context& context, png_header_query* query, uint8_t* palette)
{
    try {
        png_reader r(context.io);
        const png_header h = read_header(r);
        query->width = h.width;
        query->height = h.height;
        query->bit_depth = h.bit_depth;
        query->color_type = h.color_type;
        query->interlace = h.interlace;
        if (palette)
            query->palette_entries = fill_palette(r, palette);
        png_color_16p colour = nullptr;
        query->has_transparent_colour =
            png_get_tRNS(r.png, r.info, nullptr, nullptr, &colour) != 0 && colour && h.color_type != PNG_COLOR_TYPE_PALETTE;
        if (query->has_transparent_colour)
            query->transparent_colour = {colour->index, colour->red, colour->green, colour->blue, colour->gray};
        int unit = 0;
        if (png_get_pHYs(r.png, r.info, &query->x_resolution, &query->y_resolution, &unit))
            query->resolution_unit = unit;
        return true;
    } catch (const ISException& e) {
        context.error = e.code();
        return false;
    }
}

int32_t png_suggest_depth(read_context& context)
{
    png_header_query q;
    if (!png_query_header(context, &q, nullptr))
        return 0;
    if (q.color_type == PNG_COLOR_TYPE_PALETTE)
        return q.bit_depth == 1 ? 1 : q.bit_depth <= 4 ? 4 : 8;
    if (q.color_type == PNG_COLOR_TYPE_RGB_ALPHA && q.bit_depth == 8)
        return 32;
    return q.bit_depth == 1 ? 1 : 24;
}

uint8_t* is_read_png(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return png_read(context, width, height, depth, palette, flags);
    });
}
