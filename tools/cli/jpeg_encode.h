// JPEG encoding of a 24-bit picture for the PDF writer's compressed images.
#pragma once
#include <cstdint>
#include <vector>

#include "raster/raster_image.h"

// image (PIXEL_BGR24, or a view of one) as a baseline JPEG at quality 1 to
// 100; empty when it has no pixels.
std::vector<uint8_t> encode_jpeg(const raster_image* image, int quality);
