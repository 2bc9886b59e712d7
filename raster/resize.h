// Scaling a picture or view into a destination image of a set size.
#pragma once
#include <cstdint>

#include "raster/raster_image.h"

enum : int {
    RESIZE_NEAREST = 0,   // nearest neighbour, for everything shown on screen
    RESIZE_LANCZOS3 = 7,  // separable Lanczos filter with a support of 3, for printing
};

// Receives the fraction of the job done (0..1) and a second argument that is
// always 0; returns false to stop the work.
using resize_progress_fn = bool (*)(double fraction, int reserved);

// Scales source (PIXEL_GRAY8 or PIXEL_BGR24, alpha planes ignored) into
// destination of the same colour type. True when every destination pixel was
// written; false for an unknown method, when progress stopped the work, or
// when memory ran out.
bool image_resize(resize_progress_fn progress, const raster_image* source, raster_image* destination, int method);

// One rectangle of a larger filtered resample: destination receives the
// pixels from (x, y) on, at the destination's size, of source scaled to
// full_width x full_height with the Lanczos filter, exactly as image_resize
// with RESIZE_LANCZOS3 gives them there, while only the source pixels that
// rectangle reads are resampled. False also when the rectangle does not lie
// inside the full size.
bool image_resize_part(resize_progress_fn progress, const raster_image* source, int32_t full_width,
                       int32_t full_height, int32_t x, int32_t y, raster_image* destination);

// The Lanczos kernel with a support of 3.
double lanczos3(double x);
