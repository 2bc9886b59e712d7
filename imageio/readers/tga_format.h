// What the TGA reader's parts share: the header, the colour map and the
// colours of stored values.
#pragma once
#include <cstdint>

#include "imageio/readers/byte_stream.h"

constexpr uint32_t tga_header_size = 18;

enum : uint8_t {
    TGA_MAPPED = 1,
    TGA_TRUE_COLOUR = 2,
    TGA_GREY = 3,
    TGA_MAPPED_RLE = 9,
    TGA_TRUE_COLOUR_RLE = 10,
    TGA_GREY_RLE = 11,
};

struct tga_header {
    uint8_t id_length;
    uint8_t map_type;         // 0 none, 1 present
    uint8_t image_type;
    uint16_t map_first;       // table position of the map's first entry
    uint16_t map_length;
    uint8_t map_entry_bits;
    uint16_t width;
    uint16_t height;
    uint8_t pixel_bits;
    uint8_t descriptor;       // bit 4: rows stored right to left; bit 5: first stored row is the top row

    bool mapped() const { return image_type == TGA_MAPPED || image_type == TGA_MAPPED_RLE; }
    bool grey() const { return image_type == TGA_GREY || image_type == TGA_GREY_RLE; }
    bool rle() const { return image_type >= TGA_MAPPED_RLE; }
    bool right_to_left() const { return (descriptor & 0x10) != 0; }
    bool top_down() const { return (descriptor & 0x20) != 0; }
    uint32_t pixel_bytes() const { return (pixel_bits + 7u) / 8u; }
};

// Reads the header; 0, or 3 when it is cut short.
int32_t tga_read_header(CISIO& io, tga_header* header);

// 0 when the reader knows the image type, pixel depth, colour map and size,
// else 32.
int32_t tga_check_header(const tga_header& header);

// Skips the image ID and reads the colour map, when there is one, into the
// 256-entry palette (blue, green, red, alpha); entries the map does not
// reach are left as they are. 0, or 3 when the data ends first.
int32_t tga_read_id_and_map(byte_stream& in, const tga_header& header, uint8_t* palette);

// The colour of a stored value of 1 to 4 bytes, as blue, green, red, alpha.
void tga_colour(const uint8_t* value, uint32_t bytes, uint8_t* bgra);

// The colour of a 16-bit greyscale pixel: a grey level, then its alpha.
void tga_grey_alpha(const uint8_t* value, uint8_t* bgra);

// Reports the footer, extension area and developer directory to the trace.
void tga_trace_footer(CISIO& io);
