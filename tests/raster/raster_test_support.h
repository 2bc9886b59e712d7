// Helpers for the raster kit's tests: owned test images, a check that an
// operation on a view leaves every byte outside the view's rectangle alone,
// and a count of the kit's live blocks.
#pragma once
#include "raster/raster_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

constexpr int32_t BGRA = PIXEL_BGR24 | PIXEL_ALPHA8;

struct image_deleter {
    void operator()(raster_image* image) const { image_free(image); }
};
using image_ptr = std::unique_ptr<raster_image, image_deleter>;

inline image_ptr make_image(int32_t type, int32_t width, int32_t height)
{
    kit_init();
    return image_ptr(image_create(type, width, height));
}

inline size_t plane_bytes(const raster_image* image)
{
    return (size_t)image->height * (size_t)(image->stride + image->alpha_stride);
}

// Fills both planes, padding included, with a recognisable byte pattern.
inline std::vector<uint8_t> scribble(raster_image* image, uint8_t seed = 0x5A)
{
    for (size_t i = 0; i < plane_bytes(image); ++i)
        image->pixels[i] = (uint8_t)(seed + i * 7);
    return std::vector<uint8_t>(image->pixels, image->pixels + plane_bytes(image));
}

// Colour and alpha bytes outside the rectangle, padding included, must be as before.
inline void expect_only_rectangle_changed(const raster_image* image, const std::vector<uint8_t>& before,
                                          int32_t top, int32_t left, int32_t width, int32_t height)
{
    const size_t color_plane = (size_t)image->height * image->stride;
    for (size_t i = 0; i < plane_bytes(image); ++i) {
        const bool in_alpha = i >= color_plane;
        const size_t offset = in_alpha ? i - color_plane : i;
        const size_t row_bytes = in_alpha ? image->alpha_stride : image->stride;
        const int pixel_bytes = in_alpha ? 1 : pixel_color_bytes(image->type);
        const int32_t row = (int32_t)(offset / row_bytes), byte = (int32_t)(offset % row_bytes);
        if (row < top || row >= top + height || byte < left * pixel_bytes || byte >= (left + width) * pixel_bytes) {
            EXPECT_EQ(image->pixels[i], before[i]) << (in_alpha ? "alpha" : "colour") << " row " << row << " byte "
                                                   << byte;
        }
    }
}

inline void set_bgr(raster_image* image, int32_t row, int32_t column, uint32_t color)
{
    std::memcpy(image->pixels + (size_t)row * image->stride + (size_t)column * 3, &color, 3);
    if (image->alpha)
        image->alpha[(size_t)row * image->alpha_stride + column] = (uint8_t)(color >> 24);
}

inline int live_blocks()
{
    int live = 0;
    for (int i = 0; i < kit_alloc_table_size; ++i)
        live += kit_alloc_table()[i].address != nullptr;
    return live;
}
