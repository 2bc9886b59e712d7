// Builds JPEG files in memory with libjpeg itself, for the tests, the fuzz
// seeds and the Windows test.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct jpeg_recipe {
    uint32_t width = 1;
    uint32_t height = 1;
    int components = 3;              // 1 grey, 3 colour, 4 CMYK (or YCCK)
    bool ycck = false;
    bool adobe_marker = false;       // written by libjpeg for CMYK and YCCK anyway
    std::vector<uint8_t> pixels{};   // width x height x components, top row first
    int quality = 100;
    bool progressive = false;
    bool full_chroma = false;        // colour without subsampling
    std::vector<std::string> comments{};
    std::vector<std::pair<int, std::vector<uint8_t>>> markers{};  // code, data
};
std::vector<uint8_t> make_jpeg(const jpeg_recipe& recipe);

// The bytes of an EXIF APP1 marker (for jpeg_recipe::markers with code 0xE1)
// whose first directory holds one Orientation tag, in Intel or Motorola byte
// order.
std::vector<uint8_t> exif_orientation_app1(uint16_t orientation, bool big_endian = false);
