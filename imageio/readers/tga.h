// The TGA reader: colour-mapped, true-colour and greyscale files (16-bit
// greyscale: grey and alpha), raw or run-length encoded, with rows stored
// either way up and either way across.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// Depth 8 for colour-mapped and greyscale files of 8-bit pixels (indices and
// the 256-entry palette, required), 24 or 32 for every file; with
// IS_FLAG_PACKED_DIB a packed bitmap at the file's depth when that is 24 or
// 32, else at 24.
uint8_t* tga_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags);

// The generic read's row: tga_read without flags.
uint8_t* tga_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

struct tga_header_query {
    uint32_t width;
    uint32_t height;
    uint32_t pixel_depth;
};

// Reads the 18-byte header; false (error 3) when it is cut short.
bool tga_query_header(read_context& context, tga_header_query* query);

// Depth for a generic read at depth 0: 8 up to 8 bits a pixel, 32 for 32,
// else 24; 0 when the header cannot be read.
int32_t tga_suggest_depth(read_context& context);

uint8_t* is_read_tga(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags);
