// Builds PNG files in memory with libpng itself, for the tests, the fuzz
// seeds and the Windows test.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct png_recipe {
    uint32_t width = 1;
    uint32_t height = 1;
    int bit_depth = 8;
    int color_type = 2;              // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    bool interlaced = false;
    std::vector<uint16_t> samples{}; // width x height x channels, top row first
    std::vector<uint32_t> palette{}; // 0xRRGGBB
    std::vector<uint8_t> palette_alphas{};  // tRNS of palette files
    bool has_transparent_colour = false;
    uint16_t transparent[3] = {};  // tRNS colour: grey, or red, green, blue
    bool has_background = false;
    uint16_t background[3] = {};   // bKGD: grey, or red, green, blue
    uint8_t background_index = 0;    // bKGD of palette files
    double gamma = 0;                // gAMA when not 0
    std::vector<std::pair<std::string, std::string>> texts{};
    bool texts_after_image = false;
};
std::vector<uint8_t> make_png(const png_recipe& recipe);
