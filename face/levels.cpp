// Byte-wise level changes of masks and shadows: inversion and fading.
#include "face/face_effects.h"
#include "raster/image_rows.h"

void image_invert(raster_image* image)
{
    const int channels = pixel_color_bytes(image->type);
    if ((channels != 1 && channels != 3) || is_empty(image))
        return;
    const size_t bytes = color_row_bytes(image, image->width);
    for (int32_t y = 0; y < image->height; ++y) {
        uint8_t* row = color_row(image, y);
        for (size_t i = 0; i < bytes; ++i)
            row[i] = (uint8_t)(255 - row[i]);
    }
}

// Factors beyond 0..1 would wrap bytes round; they are held to that range.
void image_fade(raster_image* image, double factor)
{
    if (pixel_color_bytes(image->type) != 1 || is_empty(image))
        return;
    const double scaled = factor * 256;
    const uint16_t k = !(scaled > 0) ? 0 : scaled > 256 ? 256 : (uint16_t)scaled;
    const int32_t width = image->width;
    for (int32_t y = 0; y < image->height; ++y) {
        uint8_t* row = color_row(image, y);
        for (int32_t x = 0; x < width; ++x)
            row[x] = (uint8_t)((uint16_t)(k * row[x]) >> 8);  // at most 256 * 255: 16 bits suffice
    }
}
