#include "imageio/readers/dib_pack.h"

#include "imageio/buffer.h"
#include "imageio/bytes.h"
#include "imageio/codes.h"

#include <cstring>

namespace {

constexpr uint32_t header_bytes = 40;

uint32_t palette_entries(int32_t depth)
{
    return depth == 1 ? 2 : depth == 8 ? 256 : 0;
}

uint64_t dib_stride(uint32_t width, int32_t depth)
{
    return ((uint64_t)width * (uint32_t)depth + 31) / 32 * 4;
}

uint64_t packed_row_bytes(uint32_t width, int32_t depth)
{
    return depth == 1 ? ((uint64_t)width + 7) / 8 : (uint64_t)width * (uint32_t)(depth / 8);
}

}  // namespace

bool packed_dib_size(uint32_t width, uint32_t height, int32_t depth, uint64_t* bytes)
{
    if (depth != 1 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return false;
    uint64_t image = 0;
    if (!is_buffer_size(dib_stride(width, depth), height, &image))
        return false;
    const uint64_t total = image + header_bytes + 4 * palette_entries(depth);
    if (total > is_buffer_limit())
        return false;
    *bytes = total;
    return true;
}

uint8_t* write_dib_header(uint8_t* dib, uint32_t width, uint32_t height, int32_t depth, uint64_t stride,
                          const uint8_t* palette, uint32_t entries)
{
    put_le32(dib, header_bytes);
    put_le32(dib + 4, width);
    put_le32(dib + 8, height);
    put_le16(dib + 12, 1);
    put_le16(dib + 14, (uint16_t)depth);
    put_le32(dib + 20, (uint32_t)(stride * height));
    put_le32(dib + 32, entries);
    if (entries)
        std::memcpy(dib + header_bytes, palette, 4 * entries);
    return dib + header_bytes + 4 * entries;
}

uint8_t* pack_dib(const uint8_t* rows, uint32_t width, uint32_t height, int32_t depth, const uint8_t* palette,
                  int32_t* error)
{
    if (depth != 1 && depth != 8 && depth != 16 && depth != 24 && depth != 32) {
        *error = IS_ERR_BAD_ARGUMENT;
        return nullptr;
    }
    uint64_t total = 0;
    uint8_t* dib = packed_dib_size(width, height, depth, &total) ? is_alloc_buffer(total) : nullptr;
    if (!dib) {
        *error = IS_ERR_NO_MEMORY;
        return nullptr;
    }
    const uint64_t stride = dib_stride(width, depth);
    const uint32_t entries = palette_entries(depth);
    uint8_t* pixels = write_dib_header(dib, width, height, depth, stride, palette, entries);
    const uint64_t row_bytes = packed_row_bytes(width, depth);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* from = rows + (uint64_t)y * row_bytes;
        uint8_t* to = pixels + (uint64_t)(height - 1 - y) * stride;
        if (depth <= 16) {
            std::memcpy(to, from, row_bytes);
            continue;
        }
        const uint32_t bytes = (uint32_t)depth / 8;
        for (uint32_t x = 0; x < width; ++x, from += bytes, to += bytes) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            if (bytes == 4)
                to[3] = from[3];
        }
    }
    return dib;
}

uint8_t* rows_into_dib(uint8_t* rows, uint32_t width, uint32_t height, int32_t depth, const uint8_t* palette,
                       int32_t* error)
{
    uint8_t* dib = pack_dib(rows, width, height, depth, palette, error);
    is_free_buffer(rows);
    return dib;
}
