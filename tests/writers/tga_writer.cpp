#include "tests/writers/tga_writer.h"

#include "tests/writers/byte_output.h"

#include <algorithm>
#include <cstddef>

namespace {

void put_value(std::vector<uint8_t>& out, uint32_t value, uint32_t bytes)
{
    for (uint32_t i = 0; i < bytes; ++i)
        out.push_back(i < 4 ? (uint8_t)(value >> (8 * i)) : 0);
}

// Run packets for two or more equal values, literal packets otherwise, at
// most 128 values a packet.
void put_runs(std::vector<uint8_t>& out, const std::vector<uint32_t>& values, uint32_t bytes)
{
    size_t i = 0;
    while (i < values.size()) {
        size_t run = 1;
        while (i + run < values.size() && run < 128 && values[i + run] == values[i])
            ++run;
        if (run >= 2) {
            out.push_back((uint8_t)(0x80 | (run - 1)));
            put_value(out, values[i], bytes);
            i += run;
            continue;
        }
        size_t literal = 1;
        while (i + literal < values.size() && literal < 128 &&
               !(i + literal + 1 < values.size() && values[i + literal] == values[i + literal + 1]))
            ++literal;
        out.push_back((uint8_t)(literal - 1));
        for (size_t k = 0; k < literal; ++k)
            put_value(out, values[i + k], bytes);
        i += literal;
    }
}

}  // namespace

std::vector<uint8_t> make_tga(const tga_recipe& recipe)
{
    std::vector<uint8_t> out;
    const uint8_t map_type = recipe.map_type >= 0 ? (uint8_t)recipe.map_type : (recipe.map.empty() ? 0 : 1);
    out.push_back((uint8_t)recipe.id.size());
    out.push_back(map_type);
    out.push_back(recipe.image_type);
    append_le16(out, recipe.map_first);
    append_le16(out, (uint32_t)recipe.map.size());
    out.push_back(recipe.map_entry_bits);
    append_le16(out, 0);
    append_le16(out, 0);
    append_le16(out, recipe.width);
    append_le16(out, recipe.height);
    out.push_back(recipe.pixel_bits);
    out.push_back((uint8_t)((recipe.top_down ? 0x20 : 0) | (recipe.right_to_left ? 0x10 : 0) | (recipe.alpha_bits & 15)));
    out.insert(out.end(), recipe.id.begin(), recipe.id.end());
    for (uint32_t entry : recipe.map)
        put_value(out, entry, (recipe.map_entry_bits + 7u) / 8u);

    // Rows in stored order: bottom row first unless the file is top-down.
    std::vector<std::vector<uint32_t>> rows;
    for (uint32_t i = 0; i < recipe.height; ++i) {
        const uint32_t y = recipe.top_down ? i : recipe.height - 1u - i;
        const size_t at = (size_t)y * recipe.width;
        if (at + recipe.width > recipe.pixels.size())
            continue;
        rows.emplace_back(recipe.pixels.begin() + at, recipe.pixels.begin() + at + recipe.width);
        if (recipe.right_to_left)
            std::reverse(rows.back().begin(), rows.back().end());
    }
    const uint32_t bytes = (recipe.pixel_bits + 7u) / 8u;
    const bool rle = recipe.image_type >= 9;
    if (rle && recipe.runs_across_rows) {
        std::vector<uint32_t> all;
        for (const auto& row : rows)
            all.insert(all.end(), row.begin(), row.end());
        put_runs(out, all, bytes);
    } else {
        for (const auto& row : rows) {
            if (rle)
                put_runs(out, row, bytes);
            else
                for (uint32_t v : row)
                    put_value(out, v, bytes);
        }
    }
    if (recipe.footer) {
        uint32_t extension_offset = 0;
        if (recipe.extension) {
            extension_offset = (uint32_t)out.size();
            out.push_back(0xEF);
            out.push_back(0x01);  // the area's own size, 495
            out.resize(out.size() + 493, 0);
        }
        put_value(out, extension_offset, 4);
        put_value(out, recipe.developer ? 18 : 0, 4);
        const char signature[] = "TRUEVISION-XFILE.";
        out.insert(out.end(), signature, signature + sizeof signature);  // with its NUL
    }
    return out;
}
