// Rendering one button face: a plate shape lit as a bevelled relief, shaded
// along its inner edges, tinted, and set on a transparent canvas with a soft
// drop shadow.
#pragma once
#include <cstdint>

#include "face/face_effects.h"
#include "raster/raster_image.h"

struct face_style {
    const raster_image* mask = nullptr;  // the plate's shape, PIXEL_GRAY8: 255 inside, 0 outside
    uint32_t top_color = 0xFFB2B2B2;     // gradient at the plate's top
    uint32_t bottom_color = 0xFF626262;  // and at its bottom
    int32_t hue = 211;                   // degrees
    int32_t brightness = 4;              // percent, lightness shift before tinting
    int32_t saturation = 57;             // percent
    const lighting* light = nullptr;     // null: the default lighting
    double bevel_sigma = 4.0;            // blur of the height map; its radius is the margin around the plate
    double bevel_depth = 2.5;
    double inner_shadow_sigma = 2.5;
    double inner_shadow_opacity = 0.75;
    double drop_shadow_sigma = 2.0;
    double drop_shadow_opacity = 0.45;
    int32_t drop_shadow_dx = 1;
    int32_t drop_shadow_dy = 1;
};

// Returns a new PIXEL_BGR24 | PIXEL_ALPHA8 image, trimmed to its visible
// pixels, and stores where the plate's top-left corner lies in it (either
// out argument may be null). An empty mask gives a 1 by 1 transparent face.
// Returns null, having released everything it took, when the style has no
// mask, the mask is not 8-bit or has a negative size, a sigma needs a radius
// beyond blur_radius_limit, the face's size cannot be represented, or the
// kit could not lend any of the memory the rendering needs.
raster_image* render_face(const face_style* style, int32_t* face_x, int32_t* face_y);
