// Builds TIFF files in memory with libtiff itself, for the tests, the fuzz
// seeds and the Windows test.
#pragma once
#include <cstdint>
#include <vector>

struct tiff_recipe {
    uint32_t width = 1;
    uint32_t height = 1;
    uint16_t bits = 8;
    uint16_t samples = 3;
    uint16_t extra_samples = 0;      // associated alpha
    uint16_t photometric = 2;        // 0 white is zero, 1 black is zero, 2 RGB, 3 palette
    bool write_photometric = true;
    uint16_t orientation = 0;        // 0: no tag
    uint16_t planar = 1;             // 1 contiguous, 2 one plane a sample
    uint16_t compression = 1;        // 1 none, 5 LZW, 8 deflate, 4 CCITT Group 4 ...
    uint32_t rows_per_strip = 0;     // 0: libtiff's default
    uint32_t tile_size = 0;          // tiles of this width and length (multiple of 16) when not 0
    std::vector<uint16_t> colormap{};  // red, then green, then blue entries, 2^bits each
    std::vector<uint8_t> data{};     // rows as stored, samples interleaved, rows padded to bytes
    float x_resolution = 0;          // with unit inch when not 0
    float y_resolution = 0;
};
std::vector<uint8_t> make_tiff(const std::vector<tiff_recipe>& directories);
inline std::vector<uint8_t> make_tiff(const tiff_recipe& recipe) { return make_tiff(std::vector<tiff_recipe>{recipe}); }
