// The effects that build a button face, each working in place on an image
// or a view: Gaussian blur, relief lighting (emboss), tinting, inversion and
// fading. Sizes are those of the image named as governing; nothing outside
// its rectangle is read or written.
#pragma once
#include <cstdint>

#include "raster/raster_image.h"

struct vector3 {
    double x, y, z;
};

// A Phong-style light over a height map.
struct lighting {
    vector3 direction = {-0.57735026918963, 0.57735026918963, 0.57735026918963};
    double intensity = 0.655;
    double ambient_level = 1.0;
    double diffuse = 0.1;
    double specular = 0.7;
    double specular_exponent = 1.0;
    double ambient = 0.2;
    vector3 view = {0.0, 0.0, 1.0};
};

// The largest Gaussian radius a blur takes (a sigma of about 19,700).
constexpr int32_t blur_radius_limit = 65536;

// Blurs every colour channel of a grey or 24-bit image with a Gaussian of
// the given sigma, edges replicated; other pixel types and the alpha plane
// are left alone. With image null it only answers the radius. Returns the
// Gaussian radius (0: the image stays as it is), or -1 when the sigma would
// need a radius beyond blur_radius_limit or the kit could not lend the
// working memory; the image is then unchanged.
int32_t image_blur(raster_image* image, double sigma);

// Lights the colour bytes of a grey or 24-bit image as a relief whose height
// is the grey height map of the same size (another size or type changes
// nothing). light null means the default lighting; depth scales the heights.
void image_emboss(raster_image* image, const raster_image* height_map, const lighting* light, double depth);

// Tints a 24-bit image to one hue (degrees, any value, taken modulo 360):
// each pixel's luma, shifted by brightness percent, becomes the lightness of
// a colour of that hue and the given saturation percent.
void image_colorize(raster_image* image, int32_t hue, int32_t brightness, int32_t saturation);

// Every colour byte v of a grey or 24-bit image becomes 255 - v.
void image_invert(raster_image* image);

// Scales every byte of a grey image by factor in 8-bit fixed point; factors
// are taken between 0 and 1.
void image_fade(raster_image* image, double factor);
