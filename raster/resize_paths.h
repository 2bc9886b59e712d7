// The resampler's methods and code paths, for tests and benchmarks: the plain
// path is the reference, the vectorised ones give bit-identical results.
#pragma once
#include <cstdint>

#include "raster/raster_image.h"
#include "raster/resize.h"

enum class resize_path : int32_t {
    plain = 0,  // scalar, column by column through the packed column buffer
    sse41 = 1,
    avx2 = 2,
};

// Whether this build and this processor can run the path.
bool resize_path_supported(resize_path path);
// The fastest supported path; image_resize uses it for the filtered method.
resize_path resize_best_path();
const char* resize_path_name(resize_path path);

// The filtered method on the given path; false also when the path is not
// supported.
bool resize_filtered(resize_progress_fn progress, const raster_image* source, raster_image* destination,
                     resize_path path);
// image_resize_part on the given path.
bool resize_filtered_part(resize_progress_fn progress, const raster_image* source, int32_t full_width,
                          int32_t full_height, int32_t x, int32_t y, raster_image* destination, resize_path path);
// The nearest-neighbour method.
bool resize_nearest(resize_progress_fn progress, const raster_image* source, raster_image* destination);
