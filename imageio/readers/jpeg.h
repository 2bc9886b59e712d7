// The JPEG reader over libjpeg: greyscale, colour and CMYK/YCCK files, scaled
// decoding from the thread's scale, and the file's comments and markers kept
// in the thread state.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// Reader flags (IS_FLAG_PACKED_DIB, 2, returns a packed bitmap).
enum : uint32_t {
    JPEG_FLAG_KEEP_CMYK = 1,       // CMYK and YCCK as the four decoded bytes, at 32 bits
    JPEG_FLAG_KEEP_YCBCR = 4,      // colour as Y, Cb, Cr
    JPEG_FLAG_PAD_ROWS = 8,        // rows padded to 4 bytes
    JPEG_FLAG_KEEP_POSITION = 16,  // the source is left right after the JPEG data
};

enum : uint32_t { JPEG_SAW_JFIF = 1, JPEG_SAW_ADOBE = 2 };

struct jpeg_header_query {
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t bits_per_pixel = 0;  // components x 8
    int32_t x_density = 0;
    int32_t y_density = 0;
    int32_t density_unit = 0;
    int32_t color_space = 0;     // libjpeg's colour space of the file
    uint32_t marker_flags = 0;   // JPEG_SAW_*
};

// Depth 8 (greyscale files), 24, or 32 (CMYK or YCCK with JPEG_FLAG_KEEP_CMYK).
uint8_t* jpeg_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint32_t flags);

// The generic read's row: at 8 bits the palette is a grey ramp.
uint8_t* jpeg_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                           uint8_t* palette);

// Reads the header only; false with context.error 9 when it cannot be read.
bool jpeg_query_header(read_context& context, jpeg_header_query* query);

// 8 for greyscale files, 24 for the others, 0 when the header cannot be read.
int32_t jpeg_suggest_depth(read_context& context);

uint8_t* is_read_jpeg(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint32_t flags);
