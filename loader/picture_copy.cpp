#include "loader/picture_copy.h"

#include "imageio/imageio.h"

#include <array>
#include <cstddef>
#include <cstring>
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

namespace {

void release_library_buffer(void* pixels)
{
    is_global_free(pixels);
}

// Packed rows of 3 bytes a pixel into rows stride bytes apart, in place: the
// rows move down, so the last row goes first and each row is walked from its
// end; a pixel is read before anything is written over it.
void widen_rgb_rows(uint8_t* buffer, uint32_t width, uint32_t height, size_t stride)
{
    const size_t packed = (size_t)width * 3;
    for (size_t y = height; y-- > 0;) {
        const uint8_t* in = buffer + y * packed;
        uint8_t* out = buffer + y * stride;
        for (size_t x = width; x-- > 0;) {
            const uint8_t red = in[3 * x], green = in[3 * x + 1], blue = in[3 * x + 2];
            out[3 * x] = blue;
            out[3 * x + 1] = green;
            out[3 * x + 2] = red;
        }
        std::memset(out + packed, 0, stride - packed);
    }
}

// Packed rows of 4 bytes a pixel (alpha dropped) into rows stride bytes
// apart, in place: the rows move up, so the first row goes first and each
// row is walked from its start.
void narrow_rgba_rows(uint8_t* buffer, uint32_t width, uint32_t height, size_t stride)
{
    const size_t packed = (size_t)width * 4;
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* in = buffer + y * packed;
        uint8_t* out = buffer + y * stride;
        for (size_t x = 0; x < width; ++x) {
            const uint8_t red = in[4 * x], green = in[4 * x + 1], blue = in[4 * x + 2];
            out[3 * x] = blue;
            out[3 * x + 1] = green;
            out[3 * x + 2] = red;
        }
        std::memset(out + (size_t)width * 3, 0, stride - (size_t)width * 3);
    }
}

}  // namespace

raster_image* image_taking_buffer(uint8_t* buffer, uint32_t width, uint32_t height, int bytes_per_pixel)
{
    constexpr uint32_t side_limit = (uint32_t)std::numeric_limits<int32_t>::max();
    const int64_t stride = padded_row_bytes(width, 3);
    if (!buffer || width == 0 || height == 0 || width > side_limit || height > side_limit ||
        stride > std::numeric_limits<int32_t>::max() || (bytes_per_pixel != 3 && bytes_per_pixel != 4) ||
        (bytes_per_pixel == 4 && buffer_has_transparency(buffer, width, height))) {
        raster_image* image = image_from_buffer(buffer, width, height, bytes_per_pixel);
        is_global_free(buffer);
        return image;
    }
    const uint64_t bytes = (uint64_t)stride * height;
    if (bytes_per_pixel == 3) {
        if ((uint64_t)stride != (uint64_t)width * 3) {
            auto* wider = static_cast<uint8_t*>(is_global_realloc(buffer, bytes));
            if (!wider) {
                is_global_free(buffer);
                return nullptr;
            }
            buffer = wider;
        }
        widen_rgb_rows(buffer, width, height, (size_t)stride);
    } else {
        narrow_rgba_rows(buffer, width, height, (size_t)stride);
        // Giving back the alpha's share is welcome but not needed.
        if (auto* narrower = static_cast<uint8_t*>(is_global_realloc(buffer, bytes)))
            buffer = narrower;
    }
    raster_image* image =
        image_adopt(PIXEL_BGR24, (int32_t)width, (int32_t)height, (int32_t)stride, buffer, release_library_buffer);
    if (!image)
        is_global_free(buffer);
    return image;
}
