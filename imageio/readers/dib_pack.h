// Packed device-independent bitmaps made from the library's own buffers:
// the 40-byte header, the palette, then the rows bottom-up, padded to 4
// bytes, colours in blue, green, red order.
#pragma once
#include <cstdint>

// Packs rows of the given depth (1 and 8: indices with the 256-entry
// palette; 16: 5-5-5 words; 24: red, green, blue; 32: red, green, blue,
// alpha) into a new bitmap. Depth 1 keeps 2 palette entries, depth 8 all 256.
// Null with *error set: 5 for another depth, 1 when the bitmap cannot be had.
uint8_t* pack_dib(const uint8_t* rows, uint32_t width, uint32_t height, int32_t depth, const uint8_t* palette,
                  int32_t* error);

// pack_dib that takes the rows' buffer and frees it, whether or not the
// bitmap could be made.
uint8_t* rows_into_dib(uint8_t* rows, uint32_t width, uint32_t height, int32_t depth, const uint8_t* palette,
                       int32_t* error);

// Total bytes of such a bitmap; false for a depth it cannot hold or a size
// past the buffer limit.
bool packed_dib_size(uint32_t width, uint32_t height, int32_t depth, uint64_t* bytes);

// Writes the 40-byte header of a bottom-up bitmap whose rows are stride bytes
// apart, followed by its palette of entries colours (4 bytes each), and
// returns where the rows begin.
uint8_t* write_dib_header(uint8_t* dib, uint32_t width, uint32_t height, int32_t depth, uint64_t stride,
                          const uint8_t* palette, uint32_t entries);
