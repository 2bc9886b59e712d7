// The faces of one skinned button: one rendered face per interaction state,
// each with the button's caption picture on its plate, and the same faces
// composed over the window's background pattern at the button's place.
#pragma once
#include <cstdint>

#include "raster/owned_image.h"
#include "raster/raster_image.h"

enum button_state : int32_t {
    BUTTON_NORMAL = 0,
    BUTTON_HOT = 1,              // pointer over the button
    BUTTON_PRESSED = 2,          // left button held, pointer over the button
    BUTTON_PRESSED_OUTSIDE = 3,  // left button held, pointer off the button
};
constexpr int32_t button_face_count = 4;

// Tint saturation per state; the fifth entry belongs to a disabled face,
// which no button renders.
constexpr int32_t button_state_saturation[5] = {69, 100, 69, 69, 0};
constexpr int32_t button_face_brightness = 4;

// The caption strip holds one caption per row of this height, across its
// full width.
constexpr int32_t caption_row_height = 29;

struct button_faces {
    owned_image face[button_face_count];      // PIXEL_BGR24 | PIXEL_ALPHA8, by state
    owned_image composed[button_face_count];  // PIXEL_BGR24, the faces over the background; none until composed
    int32_t face_x = 0;                       // the plate's top-left corner inside the faces
    int32_t face_y = 0;
};

// The part of a caption a plate shows (left, top, width, height inside the
// caption) and where it goes inside the plate (x, y). A caption that fits is
// centred; one that does not goes to the plate's top-left corner, narrowed to
// the plate's width and cut to its height around its middle.
struct caption_fit {
    int32_t left, top, width, height;
    int32_t x, y;
};
caption_fit fit_caption(int32_t caption_width, int32_t caption_height, int32_t plate_width,
                        int32_t plate_height);

// Row `row` of the caption strip as a view; false when the strip has no such
// row.
bool caption_view(const raster_image* strip, int32_t row, raster_image* out);

// Renders the four faces of a plate of width by height pixels whose corner
// pixels are cut off, tinted with hue at each state's saturation, with the
// caption (a view with alpha, or null) set on each plate. False, with faces
// left empty, when a face cannot be rendered.
bool render_button_faces(int32_t width, int32_t height, int32_t hue, const raster_image* caption,
                         button_faces* faces);

// Composes every face over the pattern tiled from phase (x, y), the faces'
// place in a window the pattern covers from its origin; over a plain colour
// (blue in the low byte) when there is no pattern. False when the kit could
// not lend the composed images.
bool compose_button_faces(button_faces* faces, const raster_image* pattern, int32_t x, int32_t y,
                          uint32_t plain_color);
