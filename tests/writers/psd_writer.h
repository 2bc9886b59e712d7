// Builds layered image files ("8BPS") in memory for the tests and the fuzz
// seeds: any mode, depth and channel count, raw or run-length rows, colour
// data, image resources and a layer section.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct psd_recipe {
    uint16_t version = 1;
    uint16_t channels = 3;
    uint32_t width = 1;
    uint32_t height = 1;
    uint16_t bits = 8;
    uint16_t mode = 3;                   // 0 bitmap, 1 grey, 2 indexed, 3 RGB, 4 CMYK, 8 duotone
    std::vector<uint8_t> color_data{};   // written as is (768 bytes for indexed files)
    std::vector<uint8_t> resources{};
    std::vector<uint8_t> layers{};
    uint16_t compression = 0;            // 0 raw, 1 run-length
    // Rows as stored unpacked, channel after channel: channels x height rows
    // of width bytes (2 x width at 16 bits, (width + 7) / 8 for bitmaps).
    std::vector<std::vector<uint8_t>> rows{};
    // Run-length rows written as given instead of packing `rows`.
    std::vector<std::vector<uint8_t>> packed_rows{};
};

std::vector<uint8_t> make_psd(const psd_recipe& recipe);

// Byte-oriented run-length packing of one row.
std::vector<uint8_t> pack_psd_row(const std::vector<uint8_t>& row);

// One "8BIM" image resource block with its name and data, both padded to even.
std::vector<uint8_t> image_resource_block(uint16_t id, const std::string& name, const std::vector<uint8_t>& data);

// An indexed file's colour data: 256 reds, 256 greens, 256 blues, from 0xRRGGBB colours.
std::vector<uint8_t> psd_color_table(const std::vector<uint32_t>& colours);
