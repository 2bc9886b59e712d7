// Helpers of the resampler tests: owned images, pixels set directly, byte
// snapshots and a count of the kit's live blocks.
#pragma once
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "raster/raster_image.h"

struct image_deleter {
    void operator()(raster_image* image) const { image_free(image); }
};
using image_ptr = std::unique_ptr<raster_image, image_deleter>;

inline image_ptr make_image(int32_t type, int32_t width, int32_t height)
{
    return image_ptr(image_create(type, width, height));
}

inline uint8_t* pixel_at(const raster_image& image, int32_t x, int32_t y)
{
    return image.pixels + (ptrdiff_t)y * image.stride + (ptrdiff_t)x * pixel_color_bytes(image.type);
}

// Fills every byte of the block behind the header, padding included.
inline void fill_random(raster_image* image, std::mt19937& random)
{
    const uint32_t bytes = image->block_size - sizeof(raster_image);
    for (uint32_t i = 0; i < bytes; ++i)
        image->pixels[i] = (uint8_t)random();
}

inline std::vector<uint8_t> block_bytes(const raster_image& image)
{
    return std::vector<uint8_t>(image.pixels, image.pixels + (image.block_size - sizeof(raster_image)));
}

// The colour bytes of the image's rectangle, row after row.
inline std::vector<uint8_t> pixel_bytes(const raster_image& image)
{
    std::vector<uint8_t> bytes;
    const int32_t row = image.width * pixel_color_bytes(image.type);
    for (int32_t y = 0; y < image.height; ++y)
        bytes.insert(bytes.end(), pixel_at(image, 0, y), pixel_at(image, 0, y) + row);
    return bytes;
}

inline int live_blocks()
{
    int live = 0;
    for (int i = 0; i < kit_alloc_table_size; ++i)
        live += kit_alloc_table()[i].address != nullptr;
    return live;
}
