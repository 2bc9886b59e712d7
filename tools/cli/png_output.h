// Writing pictures as PNG files: RGB, or RGBA when the picture has
// transparency.
#pragma once
#include <cstdint>
#include <string>

#include "raster/raster_image.h"

// How the image data is compressed: libpng's defaults, or, for large
// pictures written often such as the sheets at printer resolution, the fast
// way of png_bands.h (several bands at once, zlib's fastest level).
enum class png_effort { normal, fast };

// A PIXEL_BGR24 image as RGB; with an alpha plane as RGBA, its premultiplied
// colours divided back by alpha. False with a reason on failure (the file is
// then removed).
bool write_image_png(const char* path, const raster_image* image, std::string* error,
                     png_effort effort = png_effort::normal);

// An image library buffer (3 bytes a pixel RGB, or 4 bytes RGBA): RGBA when
// any pixel is not opaque, otherwise RGB.
bool write_buffer_png(const char* path, const uint8_t* buffer, uint32_t width, uint32_t height,
                      int bytes_per_pixel, std::string* error);

// A premultiplied colour value back to its straight value, rounded.
uint8_t unpremultiplied(uint8_t value, uint8_t alpha);
