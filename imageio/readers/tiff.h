// The TIFF reader over libtiff: any directory of the file, true colour
// through libtiff's RGBA interface turned as the Orientation tag says, and
// bilevel, grey and palette images from their strips or tiles.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// Reader flags (IS_FLAG_PACKED_DIB, 2: the depth follows the directory and
// a packed bitmap is returned).
enum : uint32_t {
    TIFF_FLAG_IGNORE_ORIENTATION = 1,  // true colour as stored, whatever the Orientation tag
};

struct tiff_header_query {
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t bits_per_pixel = 0;  // bits per sample x samples per pixel
    float x_resolution = 0;
    float y_resolution = 0;
    int32_t resolution_unit = 0;
};

// Depth 1 or 8 (bilevel, grey and palette images; the 256-entry palette
// required), 16 (16-bit grey, least significant byte first), 24 or 32.
uint8_t* tiff_read(read_context& context, uint32_t* width, uint32_t* height, int32_t directory, int32_t depth,
                   uint8_t* palette, uint32_t flags);

// The generic read's row: directory 0, no flags.
uint8_t* tiff_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                           uint8_t* palette);

// The directory's size, bits and resolution; false with context.error set
// (3 no rewind, 20 not a TIFF, 5 no such directory).
bool tiff_query_header(read_context& context, int32_t directory, tiff_header_query* query);

// Above 8 bits a pixel: 32 for 32-bit pixels, else 24; up to 8 bits: 1 for a
// bilevel first directory, else 8. 0 when the header cannot be read.
int32_t tiff_suggest_depth(read_context& context);

uint8_t* is_read_tiff(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t directory, int32_t depth,
                      uint8_t* palette, uint32_t flags);
