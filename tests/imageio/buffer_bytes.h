// How long a buffer handed out by the library is, from its size and depth or
// from a packed bitmap's own header; shared by the tests and the fuzz
// targets, which copy or touch exactly that much.
#pragma once
#include <cstdint>

// Packed rows of the size and depth (1 bit: 8 pixels a byte).
inline uint64_t buffer_bytes(uint32_t width, uint32_t height, int32_t depth)
{
    const uint64_t row = depth == 1 ? ((uint64_t)width + 7) / 8 : (uint64_t)width * (uint64_t)(depth / 8);
    return row * height;
}

// A packed bitmap as its header declares it: the 40-byte header, the colours
// used (all 2^bits when 0, up to 8 bits), the masks of 16- and 32-bit
// bit-field bitmaps and the image size.
inline uint64_t packed_dib_bytes(const uint8_t* dib)
{
    auto le32 = [](const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; };
    const uint32_t bits = dib[14] | dib[15] << 8;
    const uint32_t used = le32(dib + 32);
    const uint64_t entries = bits <= 8 ? (used ? used : 1u << bits) : 0;
    const uint64_t masks = le32(dib + 16) == 3 && (bits == 16 || bits == 32) ? 12 : 0;
    return 40 + 4 * entries + masks + le32(dib + 20);
}
