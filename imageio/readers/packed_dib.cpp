#include "imageio/readers/packed_dib.h"

#include "imageio/bytes.h"

#include <cstring>

namespace {
constexpr uint32_t dib_header_size = 40;
}

uint64_t packed_row_bytes(uint32_t width, int32_t depth)
{
    return depth == 1 ? ((uint64_t)width + 7) / 8 : (uint64_t)width * (uint64_t)(depth / 8);
}

bool make_packed_dib(uint32_t width, uint32_t height, int32_t depth, const uint8_t* palette,
                     int32_t x_resolution, int32_t y_resolution, packed_dib* dib)
{
    if (depth != 1 && depth != 8 && depth != 24 && depth != 32)
        return false;
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    const uint32_t entries = depth == 1 ? 2 : depth == 8 ? 256 : 0;
    const uint64_t stride = ((uint64_t)width * (uint64_t)depth + 31) / 32 * 4;
    uint64_t image = 0;
    if (!is_buffer_size(stride, height, &image))
        return false;
    const uint64_t bits_offset = dib_header_size + 4ull * entries;
    if (image + bits_offset > is_buffer_limit())
        return false;
    owned_buffer buffer(is_alloc_buffer(image + bits_offset));
    if (!buffer)
        return false;
    uint8_t* h = buffer.get();
    put_le32(h, dib_header_size);
    put_le32(h + 4, width);
    put_le32(h + 8, height);
    put_le16(h + 12, 1);
    put_le16(h + 14, (uint16_t)depth);
    put_le32(h + 20, (uint32_t)image);
    put_le32(h + 24, (uint32_t)x_resolution);
    put_le32(h + 28, (uint32_t)y_resolution);
    put_le32(h + 32, entries);
    if (entries && palette)
        std::memcpy(h + dib_header_size, palette, 4ull * entries);
    dib->buffer = std::move(buffer);
    dib->height = height;
    dib->stride = stride;
    dib->bits_offset = bits_offset;
    return true;
}

void store_dib_row(const uint8_t* row, uint32_t width, int32_t depth, uint8_t* dib_row)
{
    if (depth == 1 || depth == 8) {
        std::memcpy(dib_row, row, packed_row_bytes(width, depth));
        return;
    }
    const uint32_t step = (uint32_t)depth / 8;
    for (uint32_t x = 0; x < width; ++x, row += step, dib_row += step) {
        dib_row[0] = row[2];
        dib_row[1] = row[1];
        dib_row[2] = row[0];
        if (step == 4)
            dib_row[3] = row[3];
    }
}

uint8_t* packed_dib_from_rows(const uint8_t* rows, uint32_t width, uint32_t height, int32_t depth,
                              const uint8_t* palette, int32_t x_resolution, int32_t y_resolution)
{
    packed_dib dib;
    if (!make_packed_dib(width, height, depth, palette, x_resolution, y_resolution, &dib))
        return nullptr;
    const uint64_t row_bytes = packed_row_bytes(width, depth);
    for (uint32_t y = 0; y < height; ++y)
        store_dib_row(rows + y * row_bytes, width, depth, dib.row(y));
    return dib.buffer.release();
}
