// Turning an image library buffer (packed rows, top row first, red, green,
// blue and, with 4 bytes a pixel, alpha) into a raster image.
#pragma once
#include <cstdint>

#include "raster/raster_image.h"

// True when any pixel of a 4-byte-a-pixel buffer has an alpha other than
// 255; the scan stops at the first one.
bool buffer_has_transparency(const uint8_t* rgba, uint32_t width, uint32_t height);

// value x alpha / 255, rounded half up.
uint8_t premultiplied(uint8_t value, uint8_t alpha);

// A new image of the buffer's size, or null (size out of range or no
// memory). Three bytes a pixel give PIXEL_BGR24; four bytes give PIXEL_BGR24
// as well when every pixel is opaque (the alpha is dropped), and otherwise
// PIXEL_BGR24 | PIXEL_ALPHA8 with the colours premultiplied by alpha.
raster_image* image_from_buffer(const uint8_t* buffer, uint32_t width, uint32_t height, int bytes_per_pixel);

// The same image, made from a library buffer whose ownership passes here:
// an opaque picture's buffer itself becomes the image's pixels (rearranged
// in place into padded rows of blue, green, red, and released with
// is_global_free when the image is freed), so that a large picture is never
// held twice; a transparent one is copied as image_from_buffer does and the
// buffer freed. Null, the buffer freed, when the image cannot be made.
raster_image* image_taking_buffer(uint8_t* buffer, uint32_t width, uint32_t height, int bytes_per_pixel);
