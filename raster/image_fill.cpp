// Solid, blended and gradient fills.
#include "raster/image_rows.h"

#include <algorithm>
#include <cstring>

namespace {

struct channels {
    uint8_t blue, green, red, alpha;
};

channels split(uint32_t color)
{
    return {(uint8_t)color, (uint8_t)(color >> 8), (uint8_t)(color >> 16), (uint8_t)(color >> 24)};
}

// Writes single pixels until the address is 4-byte aligned, then groups of
// four pixels as three aligned 32-bit words, then the remaining pixels.
void fill_bgr_row(uint8_t* out, int32_t width, const channels& color)
{
    const uint8_t pixel[3] = {color.blue, color.green, color.red};
    int32_t x = 0;
    for (; x < width && ((uintptr_t)out & 3) != 0; ++x, out += 3)
        std::memcpy(out, pixel, 3);

    uint8_t group[12];
    for (int i = 0; i < 12; ++i)
        group[i] = pixel[i % 3];
    uint32_t words[3];
    std::memcpy(words, group, sizeof group);
    for (; x + 4 <= width; x += 4, out += 12) {
        std::memcpy(out, &words[0], 4);
        std::memcpy(out + 4, &words[1], 4);
        std::memcpy(out + 8, &words[2], 4);
    }
    for (; x < width; ++x, out += 3)
        std::memcpy(out, pixel, 3);
}

void blend_bgr_row(uint8_t* out, int32_t width, const channels& color)
{
    const int target[3] = {color.blue, color.green, color.red};
    for (int32_t x = 0; x < width; ++x, out += 3)
        for (int channel = 0; channel < 3; ++channel)
            out[channel] = (uint8_t)(out[channel] + ((color.alpha * (target[channel] - out[channel])) >> 8));
}

uint8_t premultiply(uint8_t value, uint8_t alpha)
{
    return (uint8_t)(int)(alpha / 255.0 * value + 0.5);
}

}  // namespace

// RGB555 colour planes are left untouched by both fills; only grey and
// 24-bit pictures are ever filled.
void image_fill(raster_image* image, uint32_t color)
{
    if (is_empty(image))
        return;
    channels fill = split(color);
    if (has_alpha_plane(image)) {
        fill.blue = premultiply(fill.blue, fill.alpha);
        fill.green = premultiply(fill.green, fill.alpha);
        fill.red = premultiply(fill.red, fill.alpha);
    }
    const int color_bytes = pixel_color_bytes(image->type);
    for (int32_t y = 0; y < image->height; ++y) {
        if (color_bytes == 1)
            std::memset(color_row(image, y), fill.blue, (size_t)image->width);
        else if (color_bytes == 3)
            fill_bgr_row(color_row(image, y), image->width, fill);
        if (has_alpha_plane(image))
            std::memset(alpha_row(image, y), fill.alpha, (size_t)image->width);
    }
}

void image_fill_blend(raster_image* image, uint32_t color)
{
    const channels blend = split(color);
    if (blend.alpha == 255) {
        image_fill(image, color);
        return;
    }
    if (is_empty(image))
        return;
    const int color_bytes = pixel_color_bytes(image->type);
    for (int32_t y = 0; y < image->height; ++y) {
        // Grey images take the blue byte as it is, without blending.
        if (color_bytes == 1)
            std::memset(color_row(image, y), blend.blue, (size_t)image->width);
        else if (color_bytes == 3)
            blend_bgr_row(color_row(image, y), image->width, blend);
    }
}

void image_gradient(raster_image* image, uint32_t top_color, uint32_t bottom_color)
{
    if (is_empty(image))
        return;
    // Single-precision running values per channel (blue, green, red, alpha),
    // advanced by repeated addition; a one-row image takes the top colour.
    float start[4], step[4];
    for (int channel = 0; channel < 4; ++channel) {
        const int top = top_color >> (8 * channel) & 0xFF;
        const int bottom = bottom_color >> (8 * channel) & 0xFF;
        start[channel] = (float)top;
        step[channel] = image->height > 1 ? (float)(bottom - top) / (float)(image->height - 1) : 0.0f;
    }
    for (int32_t y = 0; y < image->height; ++y) {
        int value[4];
        for (int channel = 0; channel < 4; ++channel)
            value[channel] = std::clamp((int)(start[channel] + 0.5f), 0, 255);
        const uint32_t row_color = pack_color(value[0], value[1], value[2], value[3]);
        raster_image row;
        image_view(&row, y, 0, image, image->width, 1);
        if (value[3] == 255)
            image_fill(&row, row_color);
        else if (value[3] != 0)
            image_fill_blend(&row, row_color);
        for (int channel = 0; channel < 4; ++channel)
            start[channel] += step[channel];
    }
}
