// Operations through an 8-bit mask: darkening (shadows) and masked blending.
#include "raster/image_rows.h"

#include <cstring>

namespace {

constexpr int32_t bgr_with_alpha = PIXEL_BGR24 | PIXEL_ALPHA8;

inline void darken_pixel(uint8_t* pixel, uint8_t mask, const uint8_t* multiply)
{
    const uint8_t* scale = multiply + mask * 256;
    for (int channel = 0; channel < 3; ++channel)
        pixel[channel] = scale[pixel[channel]];
}

// d * (255 - m) / 255, rounded, through the multiply table. Groups of four
// pixels under a zero mask stay as they are and are skipped.
void darken_plain_row(const uint8_t* mask, uint8_t* pixels, int32_t width, const uint8_t* multiply)
{
    int32_t x = 0;
    for (; x + 4 <= width; x += 4) {
        uint32_t group_mask;
        std::memcpy(&group_mask, mask + x, 4);
        if (group_mask == 0)
            continue;
        for (int32_t i = x; i < x + 4; ++i)
            darken_pixel(pixels + 3 * i, mask[i], multiply);
    }
    for (; x < width; ++x)
        darken_pixel(pixels + 3 * x, mask[x], multiply);
}

// An image with alpha is shadowed by composing black with the mask as its
// alpha over it, so coverage grows where the mask is set.
void darken_alpha_rows(const raster_image* mask, raster_image* image)
{
    const size_t row_bytes = (size_t)mask->width * 3;
    auto* black = static_cast<uint8_t*>(kit_alloc(row_bytes));
    if (!black)
        return;
    std::memset(black, 0, row_bytes);
    for (int32_t y = 0; y < mask->height; ++y)
        compose_alpha_over_alpha_row(black, color_row(mask, y), color_row(image, y), alpha_row(image, y),
                                     mask->width);
    kit_free(black);
}

}  // namespace

void image_darken_by_mask(const raster_image* mask, raster_image* image)
{
    if (is_empty(mask) || pixel_color_bytes(mask->type) != 1)
        return;
    if (image->type == PIXEL_BGR24) {
        const uint8_t* multiply = kit_multiply_table();
        for (int32_t y = 0; y < mask->height; ++y)
            darken_plain_row(color_row(mask, y), color_row(image, y), mask->width, multiply);
    } else if (image->type == bgr_with_alpha && has_alpha_plane(image)) {
        darken_alpha_rows(mask, image);
    }
}

// Blends grey into grey or 24-bit colour into 24-bit colour; the source's
// alpha plane, if any, plays no part.
void image_blend_masked(raster_image* destination, const raster_image* source, const raster_image* mask)
{
    const int color_bytes = pixel_color_bytes(destination->type);
    if (is_empty(mask) || pixel_color_bytes(mask->type) != 1 || color_bytes != pixel_color_bytes(source->type) ||
        (color_bytes != 1 && color_bytes != 3))
        return;
    for (int32_t y = 0; y < mask->height; ++y) {
        const uint8_t* weights = color_row(mask, y);
        const uint8_t* in = color_row(source, y);
        uint8_t* out = color_row(destination, y);
        if (has_alpha_plane(destination)) {
            uint8_t* out_alpha = alpha_row(destination, y);
            for (int32_t x = 0; x < mask->width; ++x) {
                // A full mask gives e = 1 and f = 0: the source pixel, opaque.
                if (weights[x] == 255) {
                    std::memcpy(out + color_bytes * x, in + color_bytes * x, (size_t)color_bytes);
                    out_alpha[x] = 255;
                    continue;
                }
                const float e = weights[x] / 255.0f;
                const float f = out_alpha[x] / 255.0f * (1.0f - e);
                for (int channel = 0; channel < color_bytes; ++channel) {
                    uint8_t& d = out[color_bytes * x + channel];
                    d = (uint8_t)(int)(in[color_bytes * x + channel] * e + d * f + 0.5f);
                }
                out_alpha[x] = (uint8_t)(int)((e + f) * 255 + 0.5f);
            }
        } else {
            for (int32_t x = 0; x < mask->width; ++x)
                for (int channel = 0; channel < color_bytes; ++channel) {
                    uint8_t& d = out[color_bytes * x + channel];
                    d = (uint8_t)(d + (((in[color_bytes * x + channel] - d) * weights[x]) >> 8));
                }
        }
    }
}
