// Bilevel, grey and palette TIFF images read sample by sample from their
// strips or tiles. libtiff decodes every compression itself, CCITT fax data
// of bilevel images included, and hands back rows most significant bit
// first in the machine's byte order.
#include "imageio/buffer.h"
#include "imageio/readers/packed_dib.h"
#include "imageio/readers/tiff_glue.h"
#include "imageio/trace.h"

#include <cstring>

namespace {

struct sample_layout {
    uint32_t bits;            // per sample
    uint32_t step;            // samples from one pixel to the next in a stored row
    int32_t depth;            // delivered
    bool invert;              // white is zero: flipped to black is zero at 16 bits
};

uint32_t sample_at(const uint8_t* row, uint32_t index, uint32_t bits)
{
    switch (bits) {
    case 8: return row[index];
    case 16: {
        uint16_t v;
        std::memcpy(&v, row + 2 * (uint64_t)index, 2);
        return v;
    }
    default: {
        const uint64_t bit = (uint64_t)index * bits;
        const uint32_t byte = row[bit / 8];
        return (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
    }
    }
}

// Stores columns [x, x + count) of one stored row into an output row.
void store_samples(const sample_layout& layout, const uint8_t* stored, uint32_t x, uint32_t count, uint8_t* out)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t v = sample_at(stored, i * layout.step, layout.bits);
        const uint32_t column = x + i;
        switch (layout.depth) {
        case 1:
            if (v)
                out[column / 8] |= (uint8_t)(0x80 >> (column % 8));
            break;
        case 8:
            out[column] = (uint8_t)(layout.bits == 16 ? v >> 8 : v);
            break;
        default: {
            uint32_t v16 = layout.bits == 16 ? v : v * 257;
            if (layout.invert)
                v16 = 0xFFFF - v16;
            out[2 * (uint64_t)column] = (uint8_t)v16;
            out[2 * (uint64_t)column + 1] = (uint8_t)(v16 >> 8);
        }
        }
    }
}

// The palette of an indexed or grey read: the colour map, or a grey ramp
// (darkest first, or lightest first when white is zero).
void fill_palette(TIFF* tif, const tiff_directory& dir, uint8_t* palette)
{
    std::memset(palette, 0, 1024);
    const uint32_t entries = 1u << (dir.bits_per_sample < 8 ? dir.bits_per_sample : 8);
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (dir.photometric == PHOTOMETRIC_PALETTE && TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue)) {
        for (uint32_t i = 0; i < entries; ++i) {
            palette[4 * i] = (uint8_t)(blue[i] >> 8);
            palette[4 * i + 1] = (uint8_t)(green[i] >> 8);
            palette[4 * i + 2] = (uint8_t)(red[i] >> 8);
        }
        return;
    }
    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t level = i * 255 / (entries - 1);
        std::memset(palette + 4 * i, (int)(dir.photometric == PHOTOMETRIC_MINISWHITE ? 255 - level : level), 3);
    }
}

// Whether the directory can be delivered at the depth, and how.
bool plan(const tiff_directory& dir, int32_t depth, sample_layout* layout)
{
    const uint16_t bits = dir.bits_per_sample;
    const uint16_t p = dir.photometric;
    const bool grey = p == PHOTOMETRIC_MINISWHITE || p == PHOTOMETRIC_MINISBLACK;
    if (dir.colour_samples() != 1 || dir.samples_per_pixel == 0)
        return false;
    layout->bits = bits;
    layout->step = dir.planar == PLANARCONFIG_SEPARATE ? 1 : dir.samples_per_pixel;
    layout->depth = depth;
    layout->invert = p == PHOTOMETRIC_MINISWHITE;
    if (bits == 0 || (bits < 8 && 8 % bits != 0))
        return false;
    switch (depth) {
    case 1: return bits == 1 && (grey || p == PHOTOMETRIC_PALETTE);
    case 8: return (grey && (bits <= 8 || bits == 16)) || (p == PHOTOMETRIC_PALETTE && bits <= 8);
    default: return grey && (bits == 8 || bits == 16);
    }
}

// One chunk buffer (a strip or a tile) of the size libtiff gives, checked
// against the room the rows it holds need.
owned_buffer chunk_buffer(read_context& context, uint64_t size, uint64_t needed, const char* what)
{
    owned_buffer buffer;
    if (size >= needed && size <= is_buffer_limit())
        buffer = alloc_pixels(size, 1);
    if (!buffer) {
        is_trace(3, "%s\n", what);
        context.error = IS_ERR_NO_MEMORY;
    }
    return buffer;
}

uint8_t* read_strips(read_context& context, TIFF* tif, const tiff_directory& dir, const sample_layout& layout,
                     uint8_t* out, uint64_t out_row)
{
    uint32_t rows_per_strip = dir.length;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows_per_strip);
    if (rows_per_strip == 0 || rows_per_strip > dir.length)
        rows_per_strip = dir.length;
    const uint64_t stored_row = ((uint64_t)dir.width * layout.step * layout.bits + 7) / 8;
    owned_buffer strip = chunk_buffer(context, (uint64_t)TIFFStripSize64(tif), stored_row * rows_per_strip,
                                      "No space for strip buffer");
    if (!strip)
        return nullptr;
    for (uint32_t y = 0; y < dir.length; y += rows_per_strip) {
        if (TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, y, 0), strip.get(), (tmsize_t)-1) < 0)
            return context.fail(IS_ERR_TIFF);
        for (uint32_t i = 0; i < rows_per_strip && y + i < dir.length; ++i) {
            if (context.cancelled(y + i, dir.length))
                return nullptr;
            store_samples(layout, strip.get() + i * stored_row, 0, dir.width, out + (y + i) * out_row);
        }
    }
    return out;
}

uint8_t* read_tiles(read_context& context, TIFF* tif, const tiff_directory& dir, const sample_layout& layout,
                    uint8_t* out, uint64_t out_row)
{
    uint32_t tile_width = 0, tile_length = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tile_width);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tile_length);
    if (tile_width == 0 || tile_length == 0)
        return context.fail(IS_ERR_TIFF);
    const uint64_t stored_row = ((uint64_t)tile_width * layout.step * layout.bits + 7) / 8;
    owned_buffer tile = chunk_buffer(context, (uint64_t)TIFFTileSize64(tif), stored_row * tile_length,
                                     "No space for tile buffer");
    if (!tile)
        return nullptr;
    for (uint32_t y = 0; y < dir.length; y += tile_length) {
        if (context.cancelled(y, dir.length))
            return nullptr;
        for (uint32_t x = 0; x < dir.width; x += tile_width) {
            if (TIFFReadTile(tif, tile.get(), x, y, 0, 0) < 0)
                return context.fail(IS_ERR_TIFF);
            const uint32_t columns = dir.width - x < tile_width ? dir.width - x : tile_width;
            for (uint32_t i = 0; i < tile_length && y + i < dir.length; ++i)
                store_samples(layout, tile.get() + i * stored_row, x, columns, out + (y + i) * out_row);
        }
    }
    return out;
}

}  // namespace

uint8_t* tiff_read_samples(read_context& context, TIFF* tif, const tiff_directory& dir, int32_t depth,
                           uint8_t* palette)
{
    if (!dir.has_photometric) {
        is_trace(3, "Can't determine TIFF photometric\n");
        return context.fail(IS_ERR_WRONG_DEPTH);
    }
    sample_layout layout;
    if (!plan(dir, depth, &layout))
        return context.fail(IS_ERR_WRONG_DEPTH);
    const uint64_t out_row = packed_row_bytes(dir.width, depth);
    owned_buffer out = alloc_pixels(out_row, dir.length);
    if (!out)
        return context.fail(IS_ERR_NO_MEMORY);
    if (depth != 16)
        fill_palette(tif, dir, palette);
    const bool done = TIFFIsTiled(tif) ? read_tiles(context, tif, dir, layout, out.get(), out_row) != nullptr
                                       : read_strips(context, tif, dir, layout, out.get(), out_row) != nullptr;
    return done ? out.release() : nullptr;
}
