// What the PCX reader's parts share: the header and the palette.
#pragma once
#include <cstdint>

#include "imageio/source.h"

constexpr uint32_t pcx_header_size = 128;

struct pcx_header {
    uint8_t bits_per_plane;
    uint8_t planes;
    uint32_t width;
    uint32_t height;
    uint16_t bytes_per_line;      // per plane
    uint16_t x_resolution;
    uint16_t y_resolution;
    uint8_t header_palette[48];   // 16 entries of red, green, blue

    uint32_t total_bits() const { return (uint32_t)bits_per_plane * planes; }
    bool rgb() const { return bits_per_plane == 8 && planes == 3; }
};

// Reads the header and checks that it describes a picture the reader can
// decode; 0, or 22.
int32_t pcx_read_header(CISIO& io, pcx_header* header);

// The palette in the library's order (blue, green, red, 0): black and white
// for 1-bit files, the header's entries for other files below 8 bits, the
// 256 entries after the 0x0C byte at the end of the file, or a grey ramp.
// Moves the source's position.
void pcx_make_palette(CISIO& io, const pcx_header& header, uint8_t* palette);
