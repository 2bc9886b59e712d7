// The BMP reader: Windows and OS/2 bitmaps, uncompressed, RLE4 and RLE8, and
// 16-bit files with bit-field masks.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// Depth 24 or 32 (true colour), 1 or 8 (indices, palette of 256 entries
// required), or with IS_FLAG_PACKED_DIB the file's own packed bitmap. A read
// cut short by the end of the data (error 3) or by the abort callback
// (error 14) still returns the buffer, rows not reached left as they started.
uint8_t* bmp_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags);

// The generic read's row: bmp_read without flags.
uint8_t* bmp_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

struct bmp_header_query {
    int32_t width;
    int32_t height;       // negative for rows stored top row first
    uint16_t bit_count;
    int32_t x_resolution;
    int32_t y_resolution;
    int32_t resolution_unit;  // 1 pixels per centimetre, 2 pixels per metre
};

// Reads the file header and the info header. With per_centimetre the
// resolution is the stored pixels per metre divided by 100 (unit 1), else as
// stored (unit 2). Sets context.error and returns false for a file that is
// not a BMP.
bool bmp_query_header(read_context& context, bmp_header_query* query, bool per_centimetre);

// Depth for a generic read at depth 0: the bit count up to 8, 32 for 32-bit
// files, 24 otherwise; 0 when the header cannot be read.
int32_t bmp_suggest_depth(read_context& context);
