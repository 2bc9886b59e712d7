// Builds PCX files in memory for the tests and the fuzz seeds: any plane
// layout, header and 256-entry palettes, run-length rows.
#pragma once
#include <cstdint>
#include <vector>

// Planes of 1, 2, 4 or 8 bits; other sizes are made by patching the header
// (bits per plane at offset 3, planes at 65).
struct pcx_recipe {
    uint8_t version = 5;
    uint8_t bits_per_plane = 8;
    uint8_t planes = 1;
    uint16_t xmin = 0;
    uint16_t ymin = 0;
    uint16_t width = 1;
    uint16_t height = 1;
    uint16_t bytes_per_line = 0;         // 0: the smallest even count that holds a row
    uint16_t x_resolution = 72;
    uint16_t y_resolution = 72;
    std::vector<uint32_t> header_palette{};  // up to 16 entries 0xRRGGBB
    std::vector<uint32_t> palette{};       // 256 entries after a 0x0C byte when not empty
    // Top row first: the pixel's value over all planes (plane 0 the low
    // bits), or 0xRRGGBB for three 8-bit planes.
    std::vector<uint32_t> pixels{};
};

std::vector<uint8_t> make_pcx(const pcx_recipe& recipe);

// Bytes per line and plane that make_pcx writes for the recipe.
uint16_t pcx_bytes_per_line(const pcx_recipe& recipe);
