// The generic read's table of format readers. A reader is registered by
// filling its row: a name for the trace, how the depth is chosen when the
// caller leaves it open, which depth families it serves, and the read
// function. Rows whose read function is still null fail with error 17.
#pragma once
#include <cstdint>

#include "imageio/read_context.h"

enum reader_index : int32_t {
    READER_JPEG = 0,
    READER_BMP = 1,
    READER_GIF = 2,
    READER_PCX = 3,
    READER_PNG = 4,
    READER_TIFF = 5,
    READER_TGA = 6,
    READER_WMF = 7,
    READER_EMF = 8,
    READER_PSD = 9,
    READER_WBMP = 10,
    READER_TLA = 11,
    READER_TLA_PROTECTED = 12,
    READER_PCD = 13,
    READER_UNKNOWN = 14,
    READER_COUNT = 15,
};

// How a depth family (1, 8, 24, 32 bits) is delivered.
enum family_route : uint8_t {
    ROUTE_NONE,    // not at all: error 17
    ROUTE_DIRECT,  // by the reader at that depth
    ROUTE_VIA_8,   // 8-bit read expanded through its palette
    ROUTE_VIA_24,  // 24-bit read given alpha 255
};

enum depth_family : int32_t { FAMILY_1, FAMILY_8, FAMILY_24, FAMILY_32, FAMILY_COUNT };

// Reads the picture at depth 1, 8, 24 or 32 (1 and 8 fill the 256-entry
// palette); sets context.error on failure. A buffer may come back together
// with an error when the reader keeps the rows decoded before a failure.
using reader_read_fn = uint8_t* (*)(read_context& context, uint32_t* width, uint32_t* height, int32_t depth,
                                    uint8_t* palette);
// Reads only the header and suggests the depth to read at; 0 when the header
// gives no answer (the generic read then uses 24).
using reader_depth_fn = int32_t (*)(read_context& context);

struct reader_entry {
    const char* name;            // as traced: "Reading generic as " name and family
    int32_t fixed_depth;         // suggestion when there is no header query (0: ask suggest_depth)
    reader_depth_fn suggest_depth;
    family_route routes[FAMILY_COUNT];
    reader_read_fn read;
};

const reader_entry& reader_for(int32_t index);

