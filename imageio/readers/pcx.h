// The PCX reader: run-length encoded planes of 1 to 8 bits, merged into
// indices, and three 8-bit planes of red, green and blue.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

// Depth 1 (1-bit files), 8 (files of up to 8 bits; indices) or 24; 1 and 8
// return the 256-entry palette (required). With IS_FLAG_PACKED_DIB a packed
// bitmap at the file's own depth (1, 4, 8 or 24).
uint8_t* pcx_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                  uint32_t flags);

// The generic read's row: pcx_read without flags.
uint8_t* pcx_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

struct pcx_header_query {
    uint32_t width;
    uint32_t height;
    uint32_t total_bits;   // bits a pixel over all planes
    uint32_t x_resolution;
    uint32_t y_resolution;
};

// Reads the 128-byte header; false (error 22) when it is unreadable or gives
// no usable picture.
bool pcx_query_header(read_context& context, pcx_header_query* query);

// Depth for a generic read at depth 0: 1 for 1-bit files, 8 up to 8 bits,
// else 24; 0 when the header is not usable.
int32_t pcx_suggest_depth(read_context& context);

uint8_t* is_read_pcx(ISSourceRecord* source, uint32_t* width, uint32_t* height, int32_t depth, uint8_t* palette,
                     uint32_t flags);
