// Vectorised kernels of the filtered resampler, chosen at run time.
#pragma once
#include "raster/resize_internal.h"
#include "raster/resize_paths.h"

struct resize_simd_kernels {
    resize_prepare_fn prepare_bgr;  // packs a horizontal 24-bit table for row_bgr
    resize_row_fn row_bgr;          // horizontal pass, one 24-bit row
    resize_rows_fn rows;            // vertical pass, a run of bytes of one row
};

// Null when the compiler or the processor lacks the path's instructions.
const resize_simd_kernels* resize_simd_kernels_for(resize_path path);
