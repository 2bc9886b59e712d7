#include "tests/writers/wbmp_writer.h"

#include <cstddef>

std::vector<uint8_t> wbmp_number(uint64_t value)
{
    std::vector<uint8_t> groups;
    do {
        groups.insert(groups.begin(), (uint8_t)(value & 0x7F));
        value >>= 7;
    } while (value);
    for (size_t i = 0; i + 1 < groups.size(); ++i)
        groups[i] |= 0x80;
    return groups;
}

std::vector<uint8_t> make_wbmp(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels)
{
    std::vector<uint8_t> out = {0, 0};
    for (uint64_t v : {(uint64_t)width, (uint64_t)height}) {
        const std::vector<uint8_t> n = wbmp_number(v);
        out.insert(out.end(), n.begin(), n.end());
    }
    const uint32_t row_bytes = (width + 7) / 8;
    for (uint32_t y = 0; y < height; ++y) {
        std::vector<uint8_t> row(row_bytes, 0);
        for (uint32_t x = 0; x < width; ++x) {
            const size_t at = (size_t)y * width + x;
            if (at < pixels.size() && pixels[at])
                row[x / 8] |= (uint8_t)(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
