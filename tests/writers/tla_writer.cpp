#include "tests/writers/tla_writer.h"

#include "tests/writers/byte_output.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <zlib.h>

namespace {

uint8_t paeth(int left, int above, int corner)
{
    const int p = left + above - corner;
    const int a = std::abs(p - left), b = std::abs(p - above), c = std::abs(p - corner);
    if (a <= b && a <= c)
        return (uint8_t)left;
    return (uint8_t)(b <= c ? above : corner);
}

}  // namespace

std::vector<uint8_t> tla_deflate(const std::vector<uint8_t>& data)
{
    uLongf size = compressBound((uLong)data.size());
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, data.data(), (uLong)data.size(), 9);
    out.resize(size);
    return out;
}

void put_tla_chunk(std::vector<uint8_t>& out, uint16_t type, const std::vector<uint8_t>& data)
{
    out.push_back(0);
    append_le16(out, type);
    append_le32(out, (uint32_t)data.size());
    out.insert(out.end(), data.begin(), data.end());
}

void put_tla_block(std::vector<uint8_t>& out, const std::vector<uint8_t>& compressed, uint16_t rows,
                   uint16_t filters)
{
    std::vector<uint8_t> header;
    append_le32(header, (uint32_t)compressed.size());
    append_le16(header, rows);
    append_le16(header, filters);
    put_tla_chunk(out, 106, header);
    out.insert(out.end(), compressed.begin(), compressed.end());
}

std::vector<uint8_t> tla_filter(const std::vector<uint8_t>& rows, uint32_t row_bytes, uint32_t pixel_bytes,
                                uint16_t filters)
{
    std::vector<uint8_t> cur = rows;
    const size_t count = row_bytes ? rows.size() / row_bytes : 0;
    if (filters & 1) {
        std::vector<uint8_t> next = cur;
        for (size_t y = 0; y < count; ++y)
            for (uint32_t i = pixel_bytes; i < row_bytes; ++i)
                next[y * row_bytes + i] = (uint8_t)(cur[y * row_bytes + i] - cur[y * row_bytes + i - pixel_bytes]);
        cur = next;
    }
    if (filters & 2) {
        std::vector<uint8_t> next = cur;
        for (size_t y = 1; y < count; ++y)
            for (uint32_t i = 0; i < row_bytes; ++i)
                next[y * row_bytes + i] = (uint8_t)(cur[y * row_bytes + i] - cur[(y - 1) * row_bytes + i]);
        cur = next;
    }
    if (filters & 4) {
        std::vector<uint8_t> next = cur;
        for (size_t y = 1; y < count; ++y)
            for (uint32_t i = pixel_bytes; i < row_bytes; ++i) {
                const size_t at = y * row_bytes + i;
                next[at] = (uint8_t)(cur[at] - paeth(cur[at - pixel_bytes], cur[at - row_bytes],
                                                     cur[at - row_bytes - pixel_bytes]));
            }
        cur = next;
    }
    return cur;
}

std::vector<uint8_t> make_tla(const tla_recipe& recipe)
{
    std::vector<uint8_t> out(recipe.signature, recipe.signature + 4);
    std::vector<uint8_t> data;
    append_le16(data, recipe.version);
    put_tla_chunk(out, 100, data);

    const uint16_t entries = recipe.palette_entries >= 0 ? (uint16_t)recipe.palette_entries : (uint16_t)recipe.palette.size();
    data.clear();
    append_le16(data, recipe.width);
    append_le16(data, recipe.height);
    append_le16(data, recipe.pixel_format);
    append_le16(data, entries);
    put_tla_chunk(out, 101, data);

    data.clear();
    for (uint32_t colour : recipe.palette)
        append_le32(data, colour);  // blue, green, red, alpha
    put_tla_chunk(out, 104, data);

    data.clear();
    append_le16(data, (uint32_t)recipe.tags.size());
    put_tla_chunk(out, 102, data);
    for (const std::vector<uint8_t>& tag : recipe.tags)
        put_tla_chunk(out, 105, tag);
    put_tla_chunk(out, 103, {});

    const uint32_t pixel_bytes = recipe.pixel_format >= 1 && recipe.pixel_format <= 4 ? recipe.pixel_format : 1;
    const uint32_t row_bytes = recipe.width * pixel_bytes;
    std::vector<tla_block_recipe> blocks = recipe.blocks;
    if (blocks.empty())
        blocks.push_back({recipe.height, 0});
    size_t row = 0;
    for (const tla_block_recipe& block : blocks) {
        const size_t from = std::min(row * row_bytes, recipe.pixels.size());
        const size_t to = std::min((row + block.rows) * row_bytes, recipe.pixels.size());
        std::vector<uint8_t> rows(recipe.pixels.begin() + from, recipe.pixels.begin() + to);
        const uint16_t applied = recipe.prefiltered ? 0 : block.filters;
        put_tla_block(out, tla_deflate(tla_filter(rows, row_bytes, pixel_bytes, applied)), block.rows, block.filters);
        row += block.rows;
    }
    return out;
}
