#include "tests/writers/pcx_writer.h"

#include "imageio/bytes.h"

#include <cstddef>

namespace {

// Run-length bytes: runs of up to 63, and single bytes of 0xC0 or more as
// runs of one.
void put_runs(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        size_t run = 1;
        while (i + run < bytes.size() && run < 63 && bytes[i + run] == bytes[i])
            ++run;
        if (run > 1 || bytes[i] >= 0xC0)
            out.push_back((uint8_t)(0xC0 | run));
        out.push_back(bytes[i]);
        i += run;
    }
}

}  // namespace

uint16_t pcx_bytes_per_line(const pcx_recipe& recipe)
{
    if (recipe.bytes_per_line)
        return recipe.bytes_per_line;
    const uint32_t bytes = ((uint32_t)recipe.width * recipe.bits_per_plane + 7) / 8;
    return (uint16_t)((bytes + 1) & ~1u);
}

std::vector<uint8_t> make_pcx(const pcx_recipe& recipe)
{
    std::vector<uint8_t> out(128, 0);
    out[0] = 0x0A;
    out[1] = recipe.version;
    out[2] = 1;
    out[3] = recipe.bits_per_plane;
    put_le16(out.data() + 4, recipe.xmin);
    put_le16(out.data() + 6, recipe.ymin);
    put_le16(out.data() + 8, (uint16_t)(recipe.xmin + recipe.width - 1u));
    put_le16(out.data() + 10, (uint16_t)(recipe.ymin + recipe.height - 1u));
    put_le16(out.data() + 12, recipe.x_resolution);
    put_le16(out.data() + 14, recipe.y_resolution);
    for (size_t i = 0; i < recipe.header_palette.size() && i < 16; ++i) {
        out[16 + 3 * i] = (uint8_t)(recipe.header_palette[i] >> 16);
        out[17 + 3 * i] = (uint8_t)(recipe.header_palette[i] >> 8);
        out[18 + 3 * i] = (uint8_t)recipe.header_palette[i];
    }
    out[65] = recipe.planes;
    const uint16_t bpl = pcx_bytes_per_line(recipe);
    put_le16(out.data() + 66, bpl);
    put_le16(out.data() + 68, 1);

    const bool rgb = recipe.bits_per_plane == 8 && recipe.planes == 3;
    const uint32_t bits = recipe.bits_per_plane;
    for (uint32_t y = 0; y < recipe.height; ++y) {
        std::vector<uint8_t> line((size_t)bpl * recipe.planes, 0);
        for (uint32_t x = 0; x < recipe.width; ++x) {
            const size_t at = (size_t)y * recipe.width + x;
            const uint32_t value = at < recipe.pixels.size() ? recipe.pixels[at] : 0;
            for (uint32_t p = 0; p < recipe.planes; ++p) {
                // Lines declared too short for the width keep what fits.
                uint8_t* plane = line.data() + (size_t)p * bpl;
                const uint32_t bit = x * bits;
                if (bit / 8 >= bpl)
                    continue;
                if (rgb) {
                    plane[x] = (uint8_t)(value >> (16 - 8 * p));
                    continue;
                }
                const uint32_t part = value >> (p * bits) & ((1u << bits) - 1);
                plane[bit / 8] |= (uint8_t)(part << (8 - bits - bit % 8));
            }
        }
        put_runs(out, line);
    }
    if (!recipe.palette.empty()) {
        out.push_back(0x0C);
        for (size_t i = 0; i < 256; ++i) {
            const uint32_t c = i < recipe.palette.size() ? recipe.palette[i] : 0;
            out.push_back((uint8_t)(c >> 16));
            out.push_back((uint8_t)(c >> 8));
            out.push_back((uint8_t)c);
        }
    }
    return out;
}
