// The GIF reader: the first image of a GIF file as 8-bit indices with its
// palette and transparent index.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// The first image, at its own size, as one index a byte; the palette
// (required) gets 256 entries of blue, green, red and a fourth byte of 0 for
// the transparent index and 255 for the others; *transparent (may be null)
// the transparent index or -1. With IS_FLAG_PACKED_DIB an 8-bit packed
// bitmap instead (palette not needed). Image data that ends early leaves the
// rows not reached 0 and is no error.
uint8_t* gif_read(read_context& context, uint32_t* width, uint32_t* height, int32_t* transparent, uint8_t* palette,
                  uint32_t flags);

// The generic read's row: gif_read at depth 8.
uint8_t* gif_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

uint8_t* is_read_gif(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t* transparent,
                     uint8_t* palette, uint32_t flags);
