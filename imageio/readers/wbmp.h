// The WBMP reader: type-0 wireless bitmaps, one bit a pixel, 1 white.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// Depth 1 (rows as stored) or 8 (one byte 0 or 1 a pixel), with the palette
// black and white (required); with IS_FLAG_PACKED_DIB a 1-bit packed bitmap.
uint8_t* wbmp_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                   uint32_t flags);

// The generic read's row: wbmp_read without flags.
uint8_t* wbmp_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                           uint8_t* palette);

struct wbmp_header_query {
    uint32_t width;
    uint32_t height;
};

// Reads the type, the fixed header byte, width and height; false with error
// 53 (not a type-0 WBMP, a size of 0 or one beyond 32 bits) or 3.
bool wbmp_query_header(read_context& context, wbmp_header_query* query);

uint8_t* is_read_wbmp(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                      uint32_t flags);
