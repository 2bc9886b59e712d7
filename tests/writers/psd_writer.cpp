#include "tests/writers/psd_writer.h"

#include "tests/writers/byte_output.h"

namespace {

void put_section(std::vector<uint8_t>& out, const std::vector<uint8_t>& data)
{
    append_be32(out, (uint32_t)data.size());
    out.insert(out.end(), data.begin(), data.end());
}

}  // namespace

std::vector<uint8_t> pack_psd_row(const std::vector<uint8_t>& row)
{
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < row.size()) {
        size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            out.push_back((uint8_t)(int8_t)(1 - (int)run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // Literals until the next run of three or the packet is full.
        size_t start = i, count = 0;
        while (i < row.size() && count < 128) {
            if (i + 2 < row.size() && row[i] == row[i + 1] && row[i] == row[i + 2])
                break;
            ++i;
            ++count;
        }
        out.push_back((uint8_t)(count - 1));
        out.insert(out.end(), row.begin() + start, row.begin() + start + count);
    }
    return out;
}

std::vector<uint8_t> image_resource_block(uint16_t id, const std::string& name, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out = {'8', 'B', 'I', 'M'};
    append_be16(out, id);
    out.push_back((uint8_t)name.size());
    out.insert(out.end(), name.begin(), name.end());
    if ((name.size() + 1) % 2)
        out.push_back(0);
    append_be32(out, (uint32_t)data.size());
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2)
        out.push_back(0);
    return out;
}

std::vector<uint8_t> psd_color_table(const std::vector<uint32_t>& colours)
{
    std::vector<uint8_t> table(768, 0);
    for (size_t i = 0; i < colours.size() && i < 256; ++i) {
        table[i] = (uint8_t)(colours[i] >> 16);
        table[256 + i] = (uint8_t)(colours[i] >> 8);
        table[512 + i] = (uint8_t)colours[i];
    }
    return table;
}

std::vector<uint8_t> make_psd(const psd_recipe& recipe)
{
    std::vector<uint8_t> out = {'8', 'B', 'P', 'S'};
    append_be16(out, recipe.version);
    out.insert(out.end(), 6, 0);
    append_be16(out, recipe.channels);
    append_be32(out, recipe.height);
    append_be32(out, recipe.width);
    append_be16(out, recipe.bits);
    append_be16(out, recipe.mode);
    put_section(out, recipe.color_data);
    put_section(out, recipe.resources);
    put_section(out, recipe.layers);
    append_be16(out, recipe.compression);
    if (recipe.compression != 1) {
        for (const std::vector<uint8_t>& row : recipe.rows)
            out.insert(out.end(), row.begin(), row.end());
        return out;
    }
    std::vector<std::vector<uint8_t>> packed = recipe.packed_rows;
    if (packed.empty())
        for (const std::vector<uint8_t>& row : recipe.rows)
            packed.push_back(pack_psd_row(row));
    for (const std::vector<uint8_t>& row : packed)
        append_be16(out, (uint32_t)row.size());
    for (const std::vector<uint8_t>& row : packed)
        out.insert(out.end(), row.begin(), row.end());
    return out;
}
