// Packed device-independent bitmaps made by the readers: a 40-byte header,
// the palette (2 entries at 1 bit, 256 at 8 bits), then bottom-up rows
// padded to 4 bytes, colours in blue, green, red order.
#pragma once
#include <cstdint>

#include "imageio/readers/owned_buffer.h"

struct packed_dib {
    owned_buffer buffer;
    uint32_t height = 0;
    uint64_t stride = 0;      // bytes of one padded row
    uint64_t bits_offset = 0; // header and palette

    // Row y counted from the top of the picture.
    uint8_t* row(uint32_t y) const { return buffer.get() + bits_offset + (uint64_t)(height - 1 - y) * stride; }
};

// Allocates the bitmap with its header and palette (palette entries of 4
// bytes, blue, green, red, fourth byte; ignored at 24 and 32 bits). The
// resolution fields take x_resolution and y_resolution as given. False for a
// depth other than 1, 8, 24 and 32, or a size past the buffer limit.
bool make_packed_dib(uint32_t width, uint32_t height, int32_t depth, const uint8_t* palette,
                     int32_t x_resolution, int32_t y_resolution, packed_dib* dib);

// Copies one row of packed pixels (red, green, blue order at 24 and 32 bits)
// into a bitmap row, swapping to blue, green, red.
void store_dib_row(const uint8_t* row, uint32_t width, int32_t depth, uint8_t* dib_row);

// The whole bitmap from packed top-down rows; null when it cannot be made.
uint8_t* packed_dib_from_rows(const uint8_t* rows, uint32_t width, uint32_t height, int32_t depth,
                              const uint8_t* palette, int32_t x_resolution, int32_t y_resolution);

// Bytes of one packed row (no padding) at 1, 8, 16, 24, 32, 48 or 64 bits.
uint64_t packed_row_bytes(uint32_t width, int32_t depth);
