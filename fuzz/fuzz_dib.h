// The length a packed bitmap made from rows declares: header, palette and
// padded rows, as the fuzz targets check it.
#pragma once
#include <cstdint>
#include <cstring>

inline uint64_t fuzz_packed_dib_bytes(const uint8_t* dib)
{
    uint32_t width = 0, height = 0, entries = 0;
    uint16_t bits = 0;
    std::memcpy(&width, dib + 4, 4);
    std::memcpy(&height, dib + 8, 4);
    std::memcpy(&bits, dib + 14, 2);
    std::memcpy(&entries, dib + 32, 4);
    return 40 + 4ull * entries + ((uint64_t)width * bits + 31) / 32 * 4 * height;
}
