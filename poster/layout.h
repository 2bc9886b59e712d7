// The arithmetic of a layout recomputation: the page grid, the page
// selection that goes with it and the preview geometry, from plain numbers.
// The Windows side adds the preview picture, the paper name and the repaint.
#pragma once
#include "poster/geometry.h"
#include "poster/page_flags.h"

struct poster_layout {
    int_size npages;            // pages across and down
    preview_geometry preview;
};

// Lays out a poster of size poster on tiles of size page, overlapping by a
// glue band of overlap smm (0: none), showing a crop of crop pixels in a
// preview of the given client size. The selection is reset
// to all pages when the grid changes size and kept otherwise, so pages the
// user switched off stay off while the page count holds. A refused layout
// (check_layout) changes neither the selection nor *out.
layout_refusal recompute_layout_geometry(int_size client, smm_size poster, smm_size page, int32_t overlap,
                                         int_size crop, page_flags& flags, poster_layout* out);
