// Builds JPEG, PNG, TIFF and JPEG 2000 files in memory with the codec
// libraries themselves, for the tests, the fuzz seeds and the Windows test.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct jpeg_spec {
    uint32_t width = 1;
    uint32_t height = 1;
    int components = 3;              // 1 grey, 3 colour, 4 CMYK (or YCCK)
    bool ycck = false;
    bool adobe_marker = false;       // written by libjpeg for CMYK and YCCK anyway
    std::vector<uint8_t> pixels;     // width x height x components, top row first
    int quality = 100;
    bool progressive = false;
    bool full_chroma = false;        // colour without subsampling
    std::vector<std::string> comments;
    std::vector<std::pair<int, std::vector<uint8_t>>> markers;  // code, data
};
std::vector<uint8_t> make_jpeg(const jpeg_spec& recipe);

struct png_spec {
    uint32_t width = 1;
    uint32_t height = 1;
    int bit_depth = 8;
    int color_type = 2;              // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    bool interlaced = false;
    std::vector<uint16_t> samples;   // width x height x channels, top row first
    std::vector<uint32_t> palette;   // 0xRRGGBB
    std::vector<uint8_t> palette_alphas;  // tRNS of palette files
    bool has_transparent_colour = false;
    uint16_t transparent[3] = {};    // tRNS colour: grey, or red, green, blue
    bool has_background = false;
    uint16_t background[3] = {};     // bKGD: grey, or red, green, blue
    uint8_t background_index = 0;    // bKGD of palette files
    double gamma = 0;                // gAMA when not 0
    std::vector<std::pair<std::string, std::string>> texts;
    bool texts_after_image = false;
};
std::vector<uint8_t> make_png(const png_spec& recipe);

struct tiff_spec {
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
    std::vector<uint16_t> colormap;  // red, then green, then blue entries, 2^bits each
    std::vector<uint8_t> data;       // rows as stored, samples interleaved, rows padded to bytes
    float x_resolution = 0;          // with unit inch when not 0
    float y_resolution = 0;
};
std::vector<uint8_t> make_tiff(const std::vector<tiff_spec>& directories);
inline std::vector<uint8_t> make_tiff(const tiff_spec& recipe) { return make_tiff(std::vector<tiff_spec>{recipe}); }

struct j2k_spec {
    uint32_t width = 1;              // image area on the reference grid
    uint32_t height = 1;
    uint32_t x0 = 0;                 // image origin on the reference grid
    uint32_t y0 = 0;
    int precision = 8;
    bool is_signed = false;
    bool jp2 = true;                 // JP2 file, or a bare codestream
    int color_space = 0;             // 0 unspecified, 1 sRGB, 2 grey, 3 sYCC
    std::vector<uint32_t> dx;        // per component step (1 when missing)
    std::vector<uint32_t> dy;
    std::vector<std::vector<int32_t>> planes;  // per component, samples at its own size
};
// Lossless encoding; an empty vector when OpenJPEG refuses.
std::vector<uint8_t> make_j2k(const j2k_spec& recipe);
// The size of one component of the recipe.
void j2k_component_size(const j2k_spec& recipe, size_t component, uint32_t* width, uint32_t* height);
