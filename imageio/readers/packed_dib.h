// Packed device-independent bitmaps made by the readers: the 40-byte header,
// the palette (2 entries at 1 bit, 16 at 4, 256 at 8), then bottom-up rows
// padded to 4 bytes, colours in blue, green, red order.
#pragma once
#include <cstdint>

#include "imageio/buffer.h"

constexpr uint32_t packed_dib_header_size = 40;

// Size, depth (1, 4, 8, 16, 24 or 32) and the resolution fields as given.
struct dib_shape {
    uint32_t width;
    uint32_t height;
    int32_t depth;
    int32_t x_resolution = 0;
    int32_t y_resolution = 0;
};

struct packed_dib {
    owned_buffer buffer;
    uint32_t height = 0;
    uint64_t stride = 0;       // bytes of one padded row
    uint64_t bits_offset = 0;  // header and palette

    // Row y counted from the top of the picture.
    uint8_t* row(uint32_t y) const { return buffer.get() + bits_offset + (uint64_t)(height - 1 - y) * stride; }
};

// Allocates the bitmap with its header and palette (entries of 4 bytes:
// blue, green, red, fourth byte; none at 16 bits and above; a null palette
// leaves them 0). 0, 5 for another depth, 1 for a size past the buffer limit
// or no memory.
int32_t make_packed_dib(const dib_shape& shape, const uint8_t* palette, packed_dib* dib);

// Copies one row in the library's layout into a bitmap row: 1 bit packed
// as is, 4 bits from one index a byte, 8 bits and 16-bit 5-5-5 words as is,
// 24 and 32 bits from red, green, blue (and alpha) to blue, green, red.
void store_dib_row(const uint8_t* row, uint32_t width, int32_t depth, uint8_t* dib_row);

// The whole bitmap from top-down rows in the library's layout; empty with
// *error set (as make_packed_dib) when it cannot be made, *error untouched
// otherwise (a reader's partial-read error stays).
owned_buffer packed_dib_from_rows(const uint8_t* rows, const dib_shape& shape, const uint8_t* palette,
                                  int32_t* error);

// Bytes of one packed row (no padding) at 1, 8, 16, 24, 32, 48 or 64 bits.
uint64_t packed_row_bytes(uint32_t width, int32_t depth);
