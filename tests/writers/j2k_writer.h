// Builds JPEG 2000 files and codestreams in memory with OpenJPEG itself,
// for the tests and the fuzz seeds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct j2k_recipe {
    uint32_t width = 1;              // image area on the reference grid
    uint32_t height = 1;
    uint32_t x0 = 0;                 // image origin on the reference grid
    uint32_t y0 = 0;
    int precision = 8;
    bool is_signed = false;
    bool jp2 = true;                 // JP2 file, or a bare codestream
    int color_space = 0;             // 0 unspecified, 1 sRGB, 2 grey, 3 sYCC
    std::vector<uint32_t> dx{};      // per component step (1 when missing)
    std::vector<uint32_t> dy{};
    std::vector<std::vector<int32_t>> planes{};  // per component, samples at its own size
};
// Lossless encoding; an empty vector when OpenJPEG refuses.
std::vector<uint8_t> make_j2k(const j2k_recipe& recipe);
// The size of one component of the recipe.
void j2k_component_size(const j2k_recipe& recipe, size_t component, uint32_t* width, uint32_t* height);
