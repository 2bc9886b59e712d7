// Composing an image with a premultiplied alpha plane over another image.
#include "raster/image_rows.h"

#include <cstring>

namespace {

constexpr int32_t bgr_with_alpha = PIXEL_BGR24 | PIXEL_ALPHA8;

// destination = source + destination * (255 - alpha) / 255, through the
// multiply table. Premultiplied sources keep the sum within a byte.
inline void compose_onto_plain_pixel(const uint8_t* source, uint8_t alpha, uint8_t* destination,
                                     const uint8_t* multiply)
{
    const uint8_t* scale = multiply + alpha * 256;
    for (int channel = 0; channel < 3; ++channel)
        destination[channel] = (uint8_t)(source[channel] + scale[destination[channel]]);
}

void compose_onto_plain_row(const uint8_t* source, const uint8_t* source_alpha, uint8_t* destination,
                            int32_t width, const uint8_t* multiply)
{
    int32_t x = 0;
    // Whole groups of four opaque pixels are copied without arithmetic.
    for (; x + 4 <= width; x += 4) {
        uint32_t group_alpha;
        std::memcpy(&group_alpha, source_alpha + x, 4);
        if (group_alpha == 0xFFFFFFFFu) {
            std::memcpy(destination + 3 * x, source + 3 * x, 12);
            continue;
        }
        for (int32_t i = x; i < x + 4; ++i)
            compose_onto_plain_pixel(source + 3 * i, source_alpha[i], destination + 3 * i, multiply);
    }
    for (; x < width; ++x)
        compose_onto_plain_pixel(source + 3 * x, source_alpha[x], destination + 3 * x, multiply);
}

}  // namespace

void compose_alpha_over_alpha_row(const uint8_t* source, const uint8_t* source_alpha, uint8_t* destination,
                                  uint8_t* destination_alpha, int32_t width)
{
    for (int32_t x = 0; x < width; ++x) {
        const float a = source_alpha[x] / 255.0f;
        const float b = destination_alpha[x] / 255.0f * (1.0f - a);
        for (int channel = 0; channel < 3; ++channel) {
            uint8_t& d = destination[3 * x + channel];
            d = (uint8_t)(int)(source[3 * x + channel] + d * b + 0.5f);
        }
        destination_alpha[x] = (uint8_t)(int)((a + b) * 255 + 0.5f);
    }
}

void image_compose(const raster_image* source, raster_image* destination)
{
    if (is_empty(source))
        return;
    if (!has_alpha_plane(source)) {
        // A source without alpha over a destination with alpha writes nothing:
        // there is no coverage to combine the two alpha values with.
        if (!has_alpha_plane(destination))
            copy_rows(destination, source, source->width, source->height, false);
        return;
    }
    if (source->type != bgr_with_alpha)
        return;
    if (destination->type == PIXEL_BGR24) {
        const uint8_t* multiply = kit_multiply_table();
        for (int32_t y = 0; y < source->height; ++y)
            compose_onto_plain_row(color_row(source, y), alpha_row(source, y), color_row(destination, y),
                                   source->width, multiply);
    } else if (destination->type == bgr_with_alpha && has_alpha_plane(destination)) {
        for (int32_t y = 0; y < source->height; ++y)
            compose_alpha_over_alpha_row(color_row(source, y), alpha_row(source, y), color_row(destination, y),
                                         alpha_row(destination, y), source->width);
    }
}
