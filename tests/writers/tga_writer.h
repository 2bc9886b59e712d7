// Builds TGA files in memory for the tests and the fuzz seeds: every image
// type, colour maps at any first index, rows stored either way up and either
// way across, run-length packets within or across rows, footer and
// extension area.
#pragma once
#include <cstdint>
#include <vector>

struct tga_recipe {
    uint8_t image_type = 2;
    uint8_t pixel_bits = 24;
    uint16_t width = 1;
    uint16_t height = 1;
    bool top_down = false;             // descriptor bit 5
    bool right_to_left = false;        // descriptor bit 4: rows stored from their right end
    uint8_t alpha_bits = 0;            // descriptor bits 0 to 3
    std::vector<uint8_t> id{};
    int32_t map_type = -1;             // -1: 1 when the map has entries, else 0
    uint8_t map_entry_bits = 24;
    uint16_t map_first = 0;
    std::vector<uint32_t> map{};       // stored values, as pixels
    // Stored values top row first: an index or grey level, a 16-bit word,
    // 0xRRGGBB or 0xAARRGGBB, written in pixel_bits / 8 bytes.
    std::vector<uint32_t> pixels{};
    bool runs_across_rows = true;      // run-length packets may span rows
    bool footer = false;
    bool extension = false;            // a 495-byte extension area named by the footer
    bool developer = false;            // a developer directory offset in the footer
};

std::vector<uint8_t> make_tga(const tga_recipe& recipe);
