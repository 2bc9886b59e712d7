// A horizontal 24-bit contribution table rearranged for 16-bit multiply-add:
// each entry's list becomes a window of whole groups of four consecutive
// source pixels with one weight per pixel (pairs that mirror onto the same
// pixel are merged). Integer sums are exact in any order, so results stay
// bit-identical to the pair lists.
#pragma once
#include <cstdint>

#include "raster/resize_table.h"

struct resize_packed_entry {
    int32_t start;   // first source byte of the window; -1: the entry keeps its pair list
    int32_t groups;  // groups of four pixels in the window
};

// Weights of one group, as two 8-lane halves for the pixel pairs (0, 1) and
// (2, 3): w0 w1 w0 w1 w0 w1 0 0 | w2 w3 w2 w3 w2 w3 0 0, matching the blue,
// green and red bytes of the two pixels spread to 16 bits.
constexpr int resize_group_weights = 16;

struct resize_packed_view {
    int32_t group_stride;  // groups reserved per entry
    const resize_packed_entry* entries;
    const int16_t* weights;  // entry i's groups start at i * group_stride * resize_group_weights
};

// Adds the packed form to a table of a 24-bit line (offsets are pixel index
// times 3). An entry keeps its pair list when a merged weight does not fit 16
// bits or its window cannot be read 16 bytes per group inside the line.
bool resize_pack_bgr(resize_table* table);
// The packed form of a table; null entries when there is none.
resize_packed_view resize_packed_of(const resize_table& table);
