#include "imageio/readers/dib_from_rows.h"

#include "imageio/readers/dib_pack.h"

#include "imageio/buffer.h"
#include "imageio/bytes.h"

#include <cstring>

namespace {

bool known_depth(int32_t depth)
{
    return depth == 1 || depth == 4 || depth == 8 || depth == 24 || depth == 32;
}

uint32_t palette_entries(int32_t depth)
{
    return depth == 1 ? 2 : depth == 4 ? 16 : depth == 8 ? 256 : 0;
}

uint64_t dib_stride(uint32_t width, int32_t depth)
{
    return ((uint64_t)width * (uint32_t)depth + 31) / 32 * 4;
}

// Bytes one row takes in the library's layout for a bitmap of this depth.
uint64_t source_row_bytes(uint32_t width, int32_t depth)
{
    switch (depth) {
    case 1: return ((uint64_t)width + 7) / 8;
    case 24: return (uint64_t)width * 3;
    case 32: return (uint64_t)width * 4;
    default: return width;
    }
}

void convert_row(const uint8_t* from, uint8_t* to, uint32_t width, int32_t depth)
{
    switch (depth) {
    case 1:
        std::memcpy(to, from, ((size_t)width + 7) / 8);
        break;
    case 4:
        for (uint32_t x = 0; x < width; ++x)
            to[x / 2] |= (uint8_t)((from[x] & 15) << ((x & 1) ? 0 : 4));
        break;
    case 8:
        std::memcpy(to, from, width);
        break;
    default: {
        const uint32_t bytes = depth == 32 ? 4 : 3;
        for (uint32_t x = 0; x < width; ++x, from += bytes, to += bytes) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            if (bytes == 4)
                to[3] = from[3];
        }
        break;
    }
    }
}

uint8_t* build(read_context& context, const uint8_t* rows, uint32_t width, uint32_t height, int32_t depth,
               const uint8_t* palette)
{
    if (!known_depth(depth))
        return context.fail(IS_ERR_BAD_ARGUMENT);
    // The header stores width and height as signed numbers.
    uint64_t total = 0;
    if (!rows_dib_size(width, height, depth, &total) || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu)
        return context.fail(IS_ERR_NO_MEMORY);
    uint8_t* dib = is_alloc_buffer(total);
    if (!dib)
        return context.fail(IS_ERR_NO_MEMORY);
    const uint32_t entries = palette_entries(depth);
    const uint64_t stride = dib_stride(width, depth);
    uint8_t* pixels = write_dib_header(dib, width, height, depth, stride, palette, entries);
    const uint64_t row_bytes = source_row_bytes(width, depth);
    for (uint32_t y = 0; y < height; ++y)
        convert_row(rows + (uint64_t)y * row_bytes, pixels + (uint64_t)(height - 1 - y) * stride, width, depth);
    return dib;
}

}  // namespace

uint8_t* packed_dib_from_rows(read_context& context, uint8_t* rows, uint32_t width, uint32_t height, int32_t depth,
                              const uint8_t* palette)
{
    uint8_t* dib = build(context, rows, width, height, depth, palette);
    is_free_buffer(rows);
    return dib;
}

bool rows_dib_size(uint32_t width, uint32_t height, int32_t depth, uint64_t* bytes)
{
    if (!known_depth(depth))
        return false;
    uint64_t image = 0;
    if (!is_buffer_size(dib_stride(width, depth), height, &image))
        return false;
    const uint64_t total = packed_dib_header_size + 4 * palette_entries(depth) + image;
    if (total > is_buffer_limit())
        return false;
    *bytes = total;
    return true;
}
