// The PNG reader over libpng: every colour type and bit depth, transparency
// from alpha channels or tRNS, background compositing, gamma, interlacing,
// and the file's text entries and bKGD colour kept in the thread state.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// Reader flags (IS_FLAG_PACKED_DIB, 2, turns 32-bit pixels to blue, green,
// red, alpha).
enum : uint32_t {
    PNG_FLAG_GAMMA = 1,     // correct from the file's gamma to the thread's display gamma
    PNG_FLAG_GREY16 = 4,    // depth 16 is 16-bit grey rather than grey and alpha
};

struct png_header_query {
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t bit_depth = 0;
    int32_t color_type = 0;
    int32_t interlace = 0;
    int32_t palette_entries = 0;       // entries written to the palette buffer
    bool has_transparent_colour = false;
    is_png_color transparent_colour{};  // the tRNS colour of grey and RGB files
    uint32_t x_resolution = 0;         // pHYs
    uint32_t y_resolution = 0;
    int32_t resolution_unit = 0;
};

// Depth 1 or 8 (palette and grey files, indices or levels, the 256-entry
// palette required), 16 (grey and alpha, or 16-bit grey), 24, 32, 48 or 64
// (16-bit samples, least significant byte first). A failure after the
// pixels were allocated returns them, rows not reached left zero.
uint8_t* png_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags);

uint8_t* png_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

// Reads up to the image data. The palette (may be null) receives PLTE with
// the tRNS alphas. False with context.error 15 or 16 when it cannot be read.
bool png_query_header(read_context& context, png_header_query* query, uint8_t* palette);

// Palette files: 1 at bit depth 1, 4 at 2 to 4, else 8; 8-bit RGBA: 32;
// others 1 at bit depth 1, else 24. 0 when the header cannot be read.
int32_t png_suggest_depth(read_context& context);

uint8_t* is_read_png(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags);
