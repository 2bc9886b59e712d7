// Scaling a picture or view into a destination image of a set size.
#pragma once
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

// The Lanczos kernel with a support of 3.
double lanczos3(double x);
