#include "tests/writers/bmp_writer.h"

#include "imageio/bytes.h"
#include "tests/writers/byte_output.h"

#include <cstdlib>

std::vector<uint8_t> pack_bmp_row(const uint32_t* pixels, int32_t width, uint16_t bit_count)
{
    std::vector<uint8_t> row;
    if (bit_count < 8) {
        row.assign(((size_t)width * bit_count + 7) / 8, 0);
        const int per_byte = 8 / bit_count;
        for (int32_t x = 0; x < width; ++x) {
            const int shift = 8 - bit_count * (x % per_byte + 1);
            row[x / per_byte] |= (uint8_t)(pixels[x] << shift);
        }
    } else {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = pixels[x];
            switch (bit_count) {
            case 8: row.push_back((uint8_t)v); break;
            case 16: append_le16(row, v); break;
            case 24: row.push_back((uint8_t)v); row.push_back((uint8_t)(v >> 8)); row.push_back((uint8_t)(v >> 16)); break;
            default: append_le32(row, v); break;
            }
        }
    }
    while (row.size() % 4)
        row.push_back(0);
    return row;
}

std::vector<uint8_t> make_bmp(const bmp_recipe& recipe)
{
    std::vector<uint8_t> out = {'B', 'M'};
    append_le32(out, 0);  // file size, patched below
    append_le32(out, 0);
    append_le32(out, 0);  // offset of the pixels, patched below
    if (recipe.os2) {
        append_le32(out, recipe.header_size ? recipe.header_size : 12);
        append_le16(out, (uint32_t)recipe.width);
        append_le16(out, (uint32_t)recipe.height);
        append_le16(out, 1);
        append_le16(out, recipe.bit_count);
    } else {
        append_le32(out, recipe.header_size ? recipe.header_size : 40);
        append_le32(out, (uint32_t)recipe.width);
        append_le32(out, (uint32_t)recipe.height);
        append_le16(out, 1);
        append_le16(out, recipe.bit_count);
        append_le32(out, recipe.compression);
        append_le32(out, recipe.image_size);
        append_le32(out, 2835);
        append_le32(out, 2835);
        const bool literal = recipe.colors_used_literal || recipe.colors_used;
        append_le32(out, literal ? recipe.colors_used : (uint32_t)recipe.palette.size());
        append_le32(out, 0);
        for (uint32_t mask : recipe.masks)
            append_le32(out, mask);
    }
    for (uint32_t colour : recipe.palette) {
        out.push_back((uint8_t)colour);
        out.push_back((uint8_t)(colour >> 8));
        out.push_back((uint8_t)(colour >> 16));
        if (!recipe.os2)
            out.push_back(0);
    }
    out.insert(out.end(), recipe.gap, 0xEE);
    put_le32(out.data() + 10, recipe.off_bits >= 0 ? (uint32_t)recipe.off_bits : (uint32_t)out.size());
    if (!recipe.rle.empty()) {
        out.insert(out.end(), recipe.rle.begin(), recipe.rle.end());
    } else {
        const int64_t rows = std::abs((int64_t)recipe.height);
        for (int64_t i = 0; i < rows; ++i) {
            // Positive heights store the bottom row first.
            const int64_t y = recipe.height < 0 ? i : rows - 1 - i;
            if ((size_t)(y + 1) * recipe.width > recipe.pixels.size())
                break;
            const std::vector<uint8_t> row = pack_bmp_row(recipe.pixels.data() + (size_t)y * recipe.width,
                                                          recipe.width, recipe.bit_count);
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    put_le32(out.data() + 2, (uint32_t)out.size());
    return out;
}

std::vector<uint8_t> rgb_bytes(const std::vector<uint32_t>& colours)
{
    std::vector<uint8_t> out;
    for (uint32_t c : colours) {
        out.push_back((uint8_t)(c >> 16));
        out.push_back((uint8_t)(c >> 8));
        out.push_back((uint8_t)c);
    }
    return out;
}
