// Effects limited to a part of an image, for render_face, which keeps only
// the plate's part of some of its working images: the result there is
// exactly that of the whole effect.
#pragma once
#include <cstdint>

#include "face/blur_kernel.h"
#include "face/face_effects.h"
#include "raster/raster_image.h"

// image_blur, with the result written only to the width by height rectangle
// at (left, top) (the rest of the image is left half blurred), in the shared
// working memory when one is given (-1 when it is too small) or else in its
// own.
int32_t blur_area(raster_image* image, double sigma, int32_t left, int32_t top, int32_t width, int32_t height,
                  blur_workspace* shared);

// image_emboss of an image that covers only part of its height map, from
// (left, top) on: neighbours are read outside that part, and the edges are
// those of the whole map. Nothing happens when the image does not fit.
void emboss_area(raster_image* image, const raster_image* height_map, int32_t left, int32_t top,
                 const lighting* light, double depth);
