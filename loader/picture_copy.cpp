#include "loader/picture_copy.h"

#include <array>
#include <cstddef>
#include <limits>

bool buffer_has_transparency(const uint8_t* rgba, uint32_t width, uint32_t height)
{
    const uint64_t pixels = (uint64_t)width * height;
    for (uint64_t i = 0; i < pixels; ++i)
        if (rgba[4 * i + 3] != 255)
            return true;
    return false;
}

uint8_t premultiplied(uint8_t value, uint8_t alpha)
{
    return (uint8_t)((double)value * alpha / 255.0 + 0.5);
}

namespace {

void copy_opaque(const uint8_t* buffer, int step, raster_image* image)
{
    const uint8_t* in = buffer;
    for (int32_t y = 0; y < image->height; ++y) {
        uint8_t* out = image->pixels + (size_t)y * image->stride;
        for (int32_t x = 0; x < image->width; ++x, in += step, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
}

using premultiply_table = std::array<std::array<uint8_t, 256>, 256>;  // [alpha][value]

// Every product is looked up instead of divided per pixel; the table holds
// exactly what premultiplied() computes.
const premultiply_table& premultiply_products()
{
    static const premultiply_table table = [] {
        premultiply_table t;
        for (int a = 0; a < 256; ++a)
            for (int v = 0; v < 256; ++v)
                t[a][v] = premultiplied((uint8_t)v, (uint8_t)a);
        return t;
    }();
    return table;
}

void copy_premultiplied(const uint8_t* rgba, raster_image* image)
{
    const premultiply_table& table = premultiply_products();
    const uint8_t* in = rgba;
    for (int32_t y = 0; y < image->height; ++y) {
        uint8_t* out = image->pixels + (size_t)y * image->stride;
        uint8_t* alpha = image->alpha + (size_t)y * image->alpha_stride;
        for (int32_t x = 0; x < image->width; ++x, in += 4, out += 3) {
            const std::array<uint8_t, 256>& scale = table[in[3]];
            out[0] = scale[in[2]];
            out[1] = scale[in[1]];
            out[2] = scale[in[0]];
            alpha[x] = in[3];
        }
    }
}

}  // namespace

raster_image* image_from_buffer(const uint8_t* buffer, uint32_t width, uint32_t height, int bytes_per_pixel)
{
    constexpr uint32_t side_limit = (uint32_t)std::numeric_limits<int32_t>::max();
    if (!buffer || width == 0 || height == 0 || width > side_limit || height > side_limit ||
        (bytes_per_pixel != 3 && bytes_per_pixel != 4))
        return nullptr;
    const bool transparent = bytes_per_pixel == 4 && buffer_has_transparency(buffer, width, height);
    raster_image* image = image_create(transparent ? PIXEL_BGR24 | PIXEL_ALPHA8 : PIXEL_BGR24, (int32_t)width,
                                       (int32_t)height);
    if (!image)
        return nullptr;
    if (transparent)
        copy_premultiplied(buffer, image);
    else
        copy_opaque(buffer, bytes_per_pixel, image);
    return image;
}
