#include "tests/writers/pcd_writer.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t sector = 2048;

class bit_writer {
public:
    void put(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if (used_ == 0)
                bytes.push_back(0);
            if (value >> i & 1)
                bytes.back() |= (uint8_t)(0x80 >> used_);
            used_ = (used_ + 1) % 8;
        }
    }
    void align() { used_ = 0; }
    std::vector<uint8_t> bytes;

private:
    int used_ = 0;
};

const pcd_code& code_for(const std::vector<pcd_code>& table, int difference)
{
    for (const pcd_code& code : table)
        if (code.difference == difference)
            return code;
    std::abort();  // the tests use only differences their tables hold
}

void put_table(bit_writer& out, const std::vector<pcd_code>& table)
{
    out.bytes.push_back((uint8_t)(table.size() - 1));
    for (const pcd_code& code : table) {
        const uint16_t aligned = (uint16_t)(code.code << (16 - code.length));
        out.bytes.push_back((uint8_t)(code.length - 1));
        out.bytes.push_back((uint8_t)(aligned >> 8));
        out.bytes.push_back((uint8_t)aligned);
        out.bytes.push_back((uint8_t)(int8_t)code.difference);
    }
}

// A sync mark and the row header: two spare bits, 13 of row, 2 of plane.
void put_header(bit_writer& out, uint32_t row, int plane)
{
    out.align();
    out.bytes.insert(out.bytes.end(), {0xFF, 0xFF, 0xFE});
    out.put(0, 2);
    out.put(row, 13);
    out.put((uint32_t)plane, 2);
}

void put_planes(std::vector<uint8_t>& file, const pcd_recipe& recipe, int resolution, uint32_t offset)
{
    const uint32_t width = 192u << (resolution - 1), height = 128u << (resolution - 1);
    file.resize(offset);
    for (uint32_t pair = 0; pair < height / 2; ++pair) {
        for (uint32_t dy = 0; dy < 2; ++dy)
            for (uint32_t x = 0; x < width; ++x)
                file.push_back(recipe.base(resolution, 0, x, 2 * pair + dy));
        for (int plane = 1; plane <= 2; ++plane)
            for (uint32_t x = 0; x < width / 2; ++x)
                file.push_back(recipe.base(resolution, plane, x, pair));
    }
}

// Where the reader's sector reads stand once it has read the closing header
// of a difference stream that begins at `start`: its window runs 6 bytes
// past the closing sync mark, and whole sectors are read.
uint32_t position_after(uint32_t start, const pcd_stream& stream)
{
    const uint32_t needed = stream.end_sync + 6;
    return start + (needed + sector - 1) / sector * sector;
}

}  // namespace

std::vector<pcd_code> pcd_default_codes()
{
    return {{1, 0b0, 0},        {3, 0b100, 1},      {3, 0b101, -1},      {4, 0b1100, 10},      {4, 0b1101, -10},
            {5, 0b11100, 100},  {5, 0b11101, -100}, {6, 0b111100, 127},  {6, 0b111101, -128}};
}

uint8_t pcd_grey_base(int plane, uint8_t luma)
{
    return plane == 0 ? luma : plane == 1 ? 156 : 137;
}

pcd_stream encode_pcd_differences(const pcd_differences& differences)
{
    bit_writer out;
    for (const std::vector<pcd_code>& table : differences.tables)
        put_table(out, table);
    const bool three = differences.tables.size() == 3;
    for (const pcd_diff_row& row : differences.rows) {
        put_header(out, row.row, row.plane);
        const std::vector<pcd_code>& table = differences.tables[three && row.plane >= 2 ? row.plane - 1 : 0];
        for (int difference : row.differences) {
            if (difference == pcd_unmatched_difference) {
                out.put(0b111110, 6);
                continue;
            }
            const pcd_code& code = code_for(table, difference);
            out.put(code.code, code.length);
        }
    }
    out.align();
    pcd_stream stream;
    stream.end_sync = (uint32_t)out.bytes.size();
    put_header(out, differences.end_row, 0);
    out.align();
    stream.bytes = std::move(out.bytes);
    return stream;
}

std::vector<uint8_t> make_pcd(const pcd_recipe& recipe)
{
    // The first sector of an image pack is filled with 0xFF.
    std::vector<uint8_t> file(3 * sector, 0);
    std::memset(file.data(), 0xFF, sector);
    if (recipe.overview)
        std::memcpy(file.data(), "PCD_OPA", 7);
    else
        std::memcpy(file.data() + sector, "PCD_IPI", 7);
    file[0xE02] = (uint8_t)recipe.rotation;
    put_planes(file, recipe, 1, 4 * sector);
    if (recipe.stored >= 2)
        put_planes(file, recipe, 2, 23 * sector);
    if (recipe.stored >= 3)
        put_planes(file, recipe, 3, 96 * sector);
    if (!recipe.has_res4)
        return file;

    const uint32_t res4_start = (uint32_t)file.size() + 4 * sector;
    const pcd_stream res4 = encode_pcd_differences({{pcd_default_codes()}, recipe.res4_rows, 1024});
    file.resize(res4_start);
    file.insert(file.end(), res4.bytes.begin(), res4.bytes.end());
    if (!recipe.has_res5) {
        file.resize(position_after(res4_start, res4), 0);
        return file;
    }
    const uint32_t res5_start = (position_after(res4_start, res4) / sector + 12) * sector;
    const std::vector<pcd_code> codes = pcd_default_codes();
    const pcd_stream res5 = encode_pcd_differences({{codes, codes, codes}, recipe.res5_rows, 2048});
    file.resize(res5_start, 0);
    file.insert(file.end(), res5.bytes.begin(), res5.bytes.end());
    file.resize(position_after(res5_start, res5), 0);
    return file;
}
