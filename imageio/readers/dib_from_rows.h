// Packed device-independent bitmaps made from pixels in the library's own
// layout, for readers that can return one instead of packed rows.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

constexpr uint32_t packed_dib_header_size = 40;

// Bytes of a packed bitmap of the size and depth: header, palette and rows
// padded to 4 bytes. False for a depth other than 1, 4, 8, 24 or 32 or a
// size beyond the buffer limit.
bool rows_dib_size(uint32_t width, uint32_t height, int32_t depth, uint64_t* bytes);

// A packed bitmap of depth 1, 4, 8, 24 or 32, bottom-up, made from a
// reader's buffer of rows top row first in the library's layout (packed bits
// for depth 1, one index a byte for 4 and 8, red, green, blue (and alpha)
// for 24 and 32), which it frees. Indexed depths take their entries (blue,
// green, red, fourth byte) from palette. Sets context.error (5 for another
// depth, 1 for no memory) and returns null on failure.
uint8_t* packed_dib_from_rows(read_context& context, uint8_t* rows, uint32_t width, uint32_t height, int32_t depth,
                              const uint8_t* palette);
