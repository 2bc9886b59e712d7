// A raster image owned by one holder and freed with it.
#pragma once
#include <memory>

#include "raster/raster_image.h"

struct image_release {
    void operator()(raster_image* image) const { image_free(image); }
};
using owned_image = std::unique_ptr<raster_image, image_release>;
