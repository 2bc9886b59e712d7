// The BMP read: headers, palette, the way to the pixel rows, and the row loop
// for uncompressed files; RLE and packed bitmaps have files of their own.
#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/readers/bmp.h"
#include "imageio/readers/bmp_format.h"

#include <cstring>

namespace {

bool valid_bit_count(uint16_t bit_count)
{
    switch (bit_count) {
    case 1: case 4: case 8: case 16: case 24: case 32: return true;
    default: return false;
    }
}

// Compression check of the Windows header; reads the masks of a bit-field
// file. 0, or the error.
int32_t read_compression(CISIO& io, bmp_info* info)
{
    switch (info->compression) {
    case BMP_RGB:
        return IS_OK;
    case BMP_RLE8:
    case BMP_RLE4:
        return bmp_is_rle(*info) ? IS_OK : IS_ERR_BAD_BMP;
    case BMP_BITFIELDS: {
        uint8_t masks[12];
        if (!io.read_exactly(masks, sizeof masks))
            return IS_ERR_READ;
        for (int c = 0; c < 3; ++c)
            info->masks[c] = le32(masks + 4 * c);
        info->has_masks = true;
        return IS_OK;
    }
    default:
        return IS_ERR_BAD_BMP;
    }
}

// Moves from the current position to the first pixel row. Rows that begin
// before the current position are reached by seeking back when allowed.
int32_t go_to_rows(CISIO& io, const bmp_info& info, bool may_seek_back)
{
    const int64_t here = io.tell();
    if (here < 0)
        return IS_ERR_READ;
    if (info.off_bits >= here)
        return io.skip(info.off_bits - (uint64_t)here) ? IS_OK : IS_ERR_READ;
    if (!may_seek_back)
        return IS_ERR_BAD_BMP;
    return io.seek(info.off_bits, 0) ? IS_OK : IS_ERR_READ;
}

// Reads the uncompressed rows into out (out_bytes a pixel: 1 for indices,
// 3 or 4 for colour; 0 copies 1-bit rows unchanged). Stops early with error
// 3 or 14, keeping the rows read.
owned_buffer read_rows(read_context& context, const bmp_info& info, uint32_t out_bytes)
{
    const uint32_t width = (uint32_t)info.width;
    uint64_t stored_bytes = 0, out_row = 0, total = 0;
    const uint64_t out_row_pixels = out_bytes ? width : ((uint64_t)width + 7) / 8;
    if (!bmp_stored_row_bytes(width, info.bit_count, &stored_bytes) ||
        !is_buffer_size(out_row_pixels, out_bytes ? out_bytes : 1, &out_row) ||
        !is_buffer_size(out_row, info.rows, &total))
        return context.fail(IS_ERR_NO_MEMORY);
    owned_buffer buffer = alloc_pixels(out_row, info.rows);
    if (!buffer)
        return context.fail(IS_ERR_NO_MEMORY);
    if (info.rows == 0)
        return buffer;
    owned_buffer stored = alloc_pixels(stored_bytes, 1);
    if (!stored)
        return context.fail(IS_ERR_NO_MEMORY);
    for (uint32_t i = 0; i < info.rows; ++i) {
        if (context.cancelled(i, info.rows))
            break;
        std::memset(stored.get(), 0, stored_bytes);
        if (!context.io.read_exactly(stored.get(), (uint32_t)stored_bytes)) {
            context.error = IS_ERR_READ;
            break;
        }
        uint8_t* out = buffer.get() + (info.top_down ? i : info.rows - 1 - i) * out_row;
        if (out_bytes == 0)
            std::memcpy(out, stored.get(), out_row);
        else if (out_bytes == 1)
            bmp_row_to_indices(info, stored.get(), out);
        else
            bmp_row_to_rgb(info, stored.get(), out, out_bytes);
    }
    return buffer;
}

owned_buffer read_true_colour(read_context& context, bmp_info& info, int32_t depth)
{
    CISIO& io = context.io;
    const uint32_t out_bytes = depth == 32 ? 4 : 3;
    const bool os2 = info.header_size == bmp_os2_header_size;
    if (!os2) {
        if (int32_t error = read_compression(io, &info))
            return context.fail(error);
        if (bmp_is_rle(info)) {
            if (int32_t error = bmp_read_palette(io, &info, bmp_declared_colors(info)))
                return context.fail(error);
            if (int32_t error = go_to_rows(io, info, false))
                return context.fail(error);
            return bmp_decode_rle(context, info, out_bytes);
        }
    }
    if (!valid_bit_count(info.bit_count) || (os2 && (info.bit_count == 16 || info.bit_count == 32)))
        return context.fail(IS_ERR_BAD_BMP);
    if (info.bit_count <= 8)
        if (int32_t error = bmp_read_palette(io, &info, os2 ? (uint64_t)1 << info.bit_count : bmp_declared_colors(info)))
            return context.fail(error);
    // OS/2 rows follow the palette directly.
    if (!os2)
        if (int32_t error = go_to_rows(io, info, true))
            return context.fail(error);
    return read_rows(context, info, out_bytes);
}

owned_buffer read_indexed(read_context& context, bmp_info& info, int32_t depth, uint8_t* palette)
{
    CISIO& io = context.io;
    const bool os2 = info.header_size == bmp_os2_header_size;
    if (!os2)
        if (int32_t error = read_compression(io, &info))
            return context.fail(error);
    if (!valid_bit_count(info.bit_count) || (os2 && (info.bit_count == 16 || info.bit_count == 32)))
        return context.fail(IS_ERR_BAD_BMP);
    if (info.bit_count > 8 || info.bit_count > depth)
        return context.fail(IS_ERR_WRONG_DEPTH);
    const uint64_t colours = os2 ? (uint64_t)1 << info.bit_count : bmp_declared_colors(info);
    if (int32_t error = bmp_read_palette(io, &info, colours))
        return context.fail(error);
    std::memcpy(palette, info.palette, sizeof info.palette);
    if (!os2)
        if (int32_t error = go_to_rows(io, info, false))
            return context.fail(error);
    if (bmp_is_rle(info))
        return bmp_decode_rle(context, info, 1);
    return read_rows(context, info, depth == 1 ? 0 : 1);
}

}  // namespace

uint8_t* bmp_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags)
{
    const bool packed = (flags & IS_FLAG_PACKED_DIB) != 0;
    if (!packed) {
        if (depth != 1 && depth != 8 && depth != 24 && depth != 32)
            return context.fail(IS_ERR_BAD_ARGUMENT);
        if ((depth == 1 || depth == 8) && !palette)
            return context.fail(IS_ERR_BAD_ARGUMENT);
    }
    bmp_info info;
    if (int32_t error = bmp_read_headers(context.io, &info))
        return context.fail(error);
    if (packed)
        return bmp_read_packed(context, info, width, height);

    owned_buffer buffer = depth >= 24 ? read_true_colour(context, info, depth) : read_indexed(context, info, depth, palette);
    if (buffer) {
        *width = (uint32_t)info.width;
        *height = info.rows;
    }
    return buffer.release();
}

uint8_t* bmp_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette)
{
    return bmp_read(context, width, height, depth, palette, 0);
}

uint8_t* is_read_bmp(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags)
{
    return run_read_entry(source, width, height, [&](read_context& context) {
        return bmp_read(context, width, height, depth, palette, flags);
    });
}
