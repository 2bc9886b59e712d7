// Tinting: each pixel's luma, shifted by the brightness, is the lightness of
// a colour of one hue and saturation (the HLS model). The result depends on
// the luma alone, so it is worked out once per grey level.
#include "face/face_effects.h"
#include "raster/image_rows.h"

namespace {

// Lightness after the brightness shift: towards black for a negative shift,
// towards white for a positive one.
double shifted_lightness(double x, double shift)
{
    if (shift < 0) {
        const double l = x * (shift + 1);
        return l < 0 ? 0 : l;
    }
    const double l = x + shift * (1 - x);
    return l > 1 ? 1 : l;
}

double hue_value(double m1, double m2, int hue)
{
    if (hue < 60)
        return m1 + (m2 - m1) * hue / 60;
    if (hue < 180)
        return m2;
    if (hue < 240)
        return m1 + (m2 - m1) * (240 - hue) / 60;
    return m1;
}

uint8_t to_byte(double value)
{
    const double level = value * 255 + 0.5;
    if (!(level >= 0))
        return 0;
    return level > 255 ? 255 : (uint8_t)level;
}

int modulo_360(int64_t angle) { return (int)((angle % 360 + 360) % 360); }

}  // namespace

// Every hue angle is taken modulo 360, the hue itself included, so that hues
// outside 0..359 tint as the same hue within it.
void image_colorize(raster_image* image, int32_t hue, int32_t brightness, int32_t saturation)
{
    if (pixel_color_bytes(image->type) != 3 || is_empty(image))
        return;
    const double shift = brightness / 100.0, s = saturation / 100.0;
    const int red_hue = modulo_360((int64_t)hue + 120), green_hue = modulo_360(hue),
              blue_hue = modulo_360((int64_t)hue - 120);
    uint8_t tint[256][3];
    for (int luma = 0; luma < 256; ++luma) {
        const double l = shifted_lightness(luma / 255.0, shift);
        const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
        const double m1 = 2 * l - m2;
        tint[luma][0] = to_byte(hue_value(m1, m2, blue_hue));
        tint[luma][1] = to_byte(hue_value(m1, m2, green_hue));
        tint[luma][2] = to_byte(hue_value(m1, m2, red_hue));
    }
    const int32_t width = image->width;
    for (int32_t y = 0; y < image->height; ++y) {
        uint8_t* pixel = color_row(image, y);
        uint32_t last = 0xFFFFFFFF;  // no colour: the first pixel is always looked up
        const uint8_t* color = tint[0];
        for (int32_t x = 0; x < width; ++x, pixel += 3) {
            const uint32_t bgr = pixel[0] | pixel[1] << 8 | pixel[2] << 16;
            if (bgr != last) {
                color = tint[bgr_to_gray(bgr)];
                last = bgr;
            }
            pixel[0] = color[0];
            pixel[1] = color[1];
            pixel[2] = color[2];
        }
    }
}
