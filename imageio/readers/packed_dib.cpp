#include "imageio/readers/packed_dib.h"

#include "imageio/bytes.h"
#include "imageio/codes.h"

#include <cstring>

namespace {

bool known_depth(int32_t depth)
{
    switch (depth) {
    case 1: case 4: case 8: case 16: case 24: case 32: return true;
    default: return false;
    }
}

uint32_t palette_entries(int32_t depth)
{
    return depth <= 8 ? 1u << depth : 0;
}

// Bytes of one source row: packed rows, except one index a byte at 4 bits.
uint64_t source_row_bytes(uint32_t width, int32_t depth)
{
    return depth == 4 ? width : packed_row_bytes(width, depth);
}

}  // namespace

uint64_t packed_row_bytes(uint32_t width, int32_t depth)
{
    return depth == 1 ? ((uint64_t)width + 7) / 8 : (uint64_t)width * (uint64_t)(depth / 8);
}

int32_t make_packed_dib(const dib_shape& shape, const uint8_t* palette, packed_dib* dib)
{
    if (!known_depth(shape.depth))
        return IS_ERR_BAD_ARGUMENT;
    // The header stores width and height as signed numbers.
    if (shape.width > 0x7FFFFFFF || shape.height > 0x7FFFFFFF)
        return IS_ERR_NO_MEMORY;
    const uint32_t entries = palette_entries(shape.depth);
    const uint64_t stride = ((uint64_t)shape.width * (uint64_t)shape.depth + 31) / 32 * 4;
    uint64_t image = 0;
    if (!is_buffer_size(stride, shape.height, &image))
        return IS_ERR_NO_MEMORY;
    const uint64_t bits_offset = packed_dib_header_size + 4ull * entries;
    if (image + bits_offset > is_buffer_limit())
        return IS_ERR_NO_MEMORY;
    owned_buffer buffer(is_alloc_buffer(image + bits_offset));
    if (!buffer)
        return IS_ERR_NO_MEMORY;
    uint8_t* h = buffer.get();
    put_le32(h, packed_dib_header_size);
    put_le32(h + 4, shape.width);
    put_le32(h + 8, shape.height);
    put_le16(h + 12, 1);
    put_le16(h + 14, (uint16_t)shape.depth);
    put_le32(h + 20, (uint32_t)image);
    put_le32(h + 24, (uint32_t)shape.x_resolution);
    put_le32(h + 28, (uint32_t)shape.y_resolution);
    put_le32(h + 32, entries);
    if (entries && palette)
        std::memcpy(h + packed_dib_header_size, palette, 4ull * entries);
    dib->buffer = std::move(buffer);
    dib->height = shape.height;
    dib->stride = stride;
    dib->bits_offset = bits_offset;
    return IS_OK;
}

void store_dib_row(const uint8_t* row, uint32_t width, int32_t depth, uint8_t* dib_row)
{
    if (depth == 4) {
        // Bitmap rows start zeroed; the left pixel takes the high nibble.
        for (uint32_t x = 0; x < width; ++x)
            dib_row[x / 2] |= (uint8_t)((row[x] & 15) << ((x & 1) ? 0 : 4));
        return;
    }
    if (depth <= 16) {
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

owned_buffer packed_dib_from_rows(const uint8_t* rows, const dib_shape& shape, const uint8_t* palette,
                                  int32_t* error)
{
    packed_dib dib;
    if (int32_t failure = make_packed_dib(shape, palette, &dib)) {
        *error = failure;
        return owned_buffer();
    }
    const uint64_t row_bytes = source_row_bytes(shape.width, shape.depth);
    for (uint32_t y = 0; y < shape.height; ++y)
        store_dib_row(rows + (uint64_t)y * row_bytes, shape.width, shape.depth, dib.row(y));
    return std::move(dib.buffer);
}
