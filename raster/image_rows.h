// Row access and per-row helpers shared by the raster kit's pixel operations
// and the face effects built on them (face/); other callers use
// raster_image.h.
#pragma once
#include "raster/raster_image.h"

#include <cstddef>
#include <cstdint>

inline uint8_t* color_row(const raster_image* image, int32_t row)
{
    return image->pixels + (ptrdiff_t)row * image->stride;
}

inline uint8_t* alpha_row(const raster_image* image, int32_t row)
{
    return image->alpha + (ptrdiff_t)row * image->alpha_stride;
}

// Bytes of colour pixels in one row; never includes the padding after them.
inline size_t color_row_bytes(const raster_image* image, int32_t width)
{
    return (size_t)width * (size_t)pixel_color_bytes(image->type);
}

inline bool has_alpha_plane(const raster_image* image) { return image->alpha != nullptr; }
inline bool is_empty(const raster_image* image) { return image->width <= 0 || image->height <= 0; }

inline uint32_t pack_color(int blue, int green, int red, int alpha)
{
    return (uint32_t)blue | (uint32_t)green << 8 | (uint32_t)red << 16 | (uint32_t)alpha << 24;
}

// The grey level of a BGR24 value: 0.299 red + 0.587 green + 0.114 blue,
// rounded.
inline uint32_t bgr_to_gray(uint32_t bgr)
{
    const double red = bgr >> 16 & 0xFF, green = bgr >> 8 & 0xFF, blue = bgr & 0xFF;
    return (uint32_t)(0.299 * red + 0.587 * green + 0.114 * blue + 0.5);
}

// An RGB555 word as a BGR24 value, each 5-bit channel scaled by 255 / 31.
uint32_t expand_rgb555(uint32_t word);

// Copies width by height colour bytes (and alpha bytes when both images carry
// an alpha plane) row by row. Nothing is copied when the colour pixel sizes
// differ, since rows of one could not be laid into the other.
void copy_rows(raster_image* destination, const raster_image* source, int32_t width, int32_t height,
               bool with_alpha);

// Composes one row of a premultiplied source with alpha over a destination row
// with alpha, both 3 bytes per colour pixel, in single precision.
void compose_alpha_over_alpha_row(const uint8_t* source, const uint8_t* source_alpha, uint8_t* destination,
                                  uint8_t* destination_alpha, int32_t width);
