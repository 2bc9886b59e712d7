// The library's own lossless container ("TLAU"): typed chunks, then blocks
// of zlib-compressed rows with prediction filters. Rows are stored top row
// first and handed out in that order. Files signed "TLA" and byte 1 are
// password-protected; no key can be made for them here, so they are refused.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

enum tla_pixel_format : uint16_t {
    TLA_INDEXED = 1,   // one index a pixel, with a palette of blue, green, red, alpha
    TLA_RGB555 = 2,    // 16-bit word: red bits 10-14, green 5-9, blue 0-4, alpha bit 15
    TLA_RGB = 3,
    TLA_RGBA = 4,
};

// Output modes of the read.
enum : int32_t {
    TLA_MODE_INDEXED = 1,  // 8-bit indices with the palette (indexed files only)
    TLA_MODE_16 = 2,       // 5-5-5 words, bit 15 set for opaque pixels
    TLA_MODE_24 = 3,
    TLA_MODE_32 = 4,
};

// Reads the picture in the given mode; with IS_FLAG_PACKED_DIB a packed
// bitmap of the matching depth. The file's tag chunks replace the thread's
// tag list.
uint8_t* tla_read(read_context& context, uint32_t* width, uint32_t* height, uint8_t* palette, int32_t mode,
                  uint32_t flags);

// The generic read's row: depth 8, 24 or 32 as modes 1, 3 and 4.
uint8_t* tla_generic_read(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                          uint8_t* palette);

struct tla_header_query {
    uint32_t width;
    uint32_t height;
    int32_t bits_per_pixel;  // 8, 16, 24 or 32
};

bool tla_query_header(read_context& context, tla_header_query* query);

// 8 for indexed files, 32 for 16- and 32-bit files, else 24; 0 when the
// header cannot be read.
int32_t tla_suggest_depth(read_context& context);

uint8_t* is_read_tla(ISSourceRecord* source, uint32_t* width, uint32_t* height, uint8_t* palette, int32_t mode,
                     uint32_t flags);
