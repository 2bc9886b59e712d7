// Builds BMP files in memory for the tests and the fuzz seeds: every header
// variant, palettes, masks, gaps, RLE data and damaged files.
#pragma once
#include <cstdint>
#include <vector>

struct bmp_recipe {
    int32_t width = 1;
    int32_t height = 1;              // negative: rows stored top row first
    uint16_t bit_count = 24;
    uint32_t compression = 0;        // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    bool os2 = false;                // 12-byte header, palette of 3-byte entries
    std::vector<uint32_t> palette{}; // 0xRRGGBB
    uint32_t colors_used = 0;        // written as is (0: the palette's size for Windows headers)
    bool colors_used_literal = false;  // write colors_used even when 0
    std::vector<uint32_t> masks{};   // red, green, blue (compression 3)
    uint32_t gap = 0;                // bytes between palette and pixel data
    int64_t off_bits = -1;           // written instead of the true offset when >= 0
    uint32_t header_size = 0;        // written instead of 40 or 12 when non-zero
    uint32_t image_size = 0;
    // Pixels top row first: palette indices (1 to 8 bits), 16-bit words,
    // 0xRRGGBB (24) or 0xAARRGGBB (32). Ignored when rle is set.
    std::vector<uint32_t> pixels{};
    std::vector<uint8_t> rle{};      // pixel data written as is (RLE streams)
};

std::vector<uint8_t> make_bmp(const bmp_recipe& recipe);

// One stored row, padded to 4 bytes.
std::vector<uint8_t> pack_bmp_row(const uint32_t* pixels, int32_t width, uint16_t bit_count);

// Three bytes a pixel, as the library returns them, for expected buffers.
std::vector<uint8_t> rgb_bytes(const std::vector<uint32_t>& colours);
