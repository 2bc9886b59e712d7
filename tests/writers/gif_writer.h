// Builds GIF files in memory for the tests and the fuzz seeds: colour
// tables, extensions, several frames, interlaced storage and LZW data with
// or without clears when the table is full.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct gif_frame {
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t width = 1;
    uint16_t height = 1;
    std::vector<uint32_t> local_table{};  // 0xRRGGBB, padded to a power of two
    bool interlaced = false;            // flag only: pixels are stored as given
    std::vector<uint8_t> pixels{};      // rows in stored order
    uint8_t min_code_size = 8;
    bool clear_when_full = true;        // else codes go on at 12 bits without new entries
    uint32_t block_size = 255;          // bytes a data sub-block
    bool graphic_control = false;
    int32_t transparent = -1;           // written in the graphic control extension
    std::vector<uint8_t> data{};        // LZW bytes written instead of the encoded pixels
};

struct gif_recipe {
    std::string version = "89a";
    uint16_t screen_width = 0;          // 0: the first frame's size
    uint16_t screen_height = 0;
    std::vector<uint32_t> global_table{};
    int32_t loop_count = -1;            // NETSCAPE2.0 extension when 0 or more
    std::string comment{};
    std::vector<gif_frame> frames{};
};

std::vector<uint8_t> make_gif(const gif_recipe& recipe);

// LZW codes of the pixels, clear first and end last, packed into bytes.
std::vector<uint8_t> gif_lzw_encode(const std::vector<uint8_t>& pixels, uint8_t min_code_size,
                                    bool clear_when_full = true);

// Codes of one width packed least significant bit first, for image data
// made by hand.
std::vector<uint8_t> gif_pack_codes(const std::vector<uint32_t>& codes, uint32_t width);

// Rows given top first put into the order an interlaced image stores them.
std::vector<uint8_t> gif_interlace(const std::vector<uint8_t>& rows, uint32_t width, uint32_t height);
