// One button face: the plate (gradient, relief, inner shadow, tint) on a
// canvas with alpha over its blurred, offset drop shadow, trimmed to what is
// visible. Each stage works on images of the plate's size plus a margin as
// wide as its blur reaches, so that no blur is cut off at an edge.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "face/render_face.h"
#include "raster/kit_scoped.h"

namespace {

constexpr int32_t bgr_with_alpha = PIXEL_BGR24 | PIXEL_ALPHA8;

bool fits_int32(int64_t value) { return value >= 0 && value <= std::numeric_limits<int32_t>::max(); }

// A cleared image of width by height plus margin on every side; null when
// that size cannot be represented or the kit has no memory for it.
raster_image* create_with_margin(int32_t type, int32_t width, int32_t height, int32_t margin)
{
    const int64_t full_width = (int64_t)width + 2 * (int64_t)margin;
    const int64_t full_height = (int64_t)height + 2 * (int64_t)margin;
    if (!fits_int32(full_width) || !fits_int32(full_height))
        return nullptr;
    raster_image* image = image_create(type, (int32_t)full_width, (int32_t)full_height);
    if (image)
        image_fill(image, 0);
    return image;
}

raster_image view_of(const raster_image* image, int64_t left, int64_t top, int32_t width, int32_t height)
{
    raster_image view;
    image_view(&view, (int32_t)top, (int32_t)left, image, width, height);
    return view;
}

// Clears the map and lays the mask into it at (margin, margin).
void place_mask(raster_image* map, const raster_image* mask, int32_t margin)
{
    image_fill(map, 0);
    raster_image inside = view_of(map, margin, margin, mask->width, mask->height);
    image_copy(&inside, mask);
}

// The colour plate at (margin, margin) of a margin-wide black surround: the
// gradient lit as a relief by the blurred mask, darkened along its inner
// edges by the blurred inverse mask, and tinted.
raster_image* render_plate(const face_style& style, int32_t margin)
{
    const raster_image* mask = style.mask;
    scoped_image color(create_with_margin(PIXEL_BGR24, mask->width, mask->height, margin));
    scoped_image height(create_with_margin(PIXEL_GRAY8, mask->width, mask->height, margin));
    if (!color.image || !height.image)
        return nullptr;
    raster_image plate = view_of(color.image, margin, margin, mask->width, mask->height);
    image_gradient(&plate, style.top_color, style.bottom_color);

    place_mask(height.image, mask, margin);
    if (image_blur(height.image, style.bevel_sigma) < 0)
        return nullptr;
    image_emboss(color.image, height.image, style.light, style.bevel_depth);

    place_mask(height.image, mask, margin);
    image_invert(height.image);
    if (image_blur(height.image, style.inner_shadow_sigma) < 0)
        return nullptr;
    image_fade(height.image, style.inner_shadow_opacity);
    const raster_image inner_shadow = view_of(height.image, margin, margin, mask->width, mask->height);
    image_darken_by_mask(&inner_shadow, &plate);  // a plate without alpha needs no memory for this

    image_colorize(&plate, style.hue, style.brightness, style.saturation);
    return color.release();
}

// The mask at (margin, margin), blurred and faded: the drop shadow's alpha.
raster_image* render_drop_shadow(const face_style& style, int32_t margin)
{
    scoped_image shadow(create_with_margin(PIXEL_GRAY8, style.mask->width, style.mask->height, margin));
    if (!shadow.image)
        return nullptr;
    place_mask(shadow.image, style.mask, margin);
    if (image_blur(shadow.image, style.drop_shadow_sigma) < 0)
        return nullptr;
    image_fade(shadow.image, style.drop_shadow_opacity);
    return shadow.release();
}

// The canvas in plate coordinates: it holds the plate and the shadow image.
struct canvas_box {
    int64_t left, top, width, height;
};

canvas_box canvas_around(const raster_image* mask, const raster_image* shadow, int64_t shadow_x, int64_t shadow_y)
{
    const int64_t left = std::min<int64_t>(shadow_x, 0), top = std::min<int64_t>(shadow_y, 0);
    const int64_t right = std::max<int64_t>(mask->width, shadow_x + shadow->width);
    const int64_t bottom = std::max<int64_t>(mask->height, shadow_y + shadow->height);
    return {left, top, right - left, bottom - top};
}

}  // namespace

raster_image* render_face(const face_style* style, int32_t* face_x, int32_t* face_y)
{
    if (!style || !style->mask || pixel_color_bytes(style->mask->type) != 1 || style->mask->width < 0 ||
        style->mask->height < 0)
        return nullptr;
    const raster_image* mask = style->mask;
    const int32_t margin = image_blur(nullptr, style->bevel_sigma);
    const int32_t shadow_margin = image_blur(nullptr, style->drop_shadow_sigma);
    if (margin < 0 || shadow_margin < 0 || image_blur(nullptr, style->inner_shadow_sigma) < 0)
        return nullptr;

    scoped_image color(render_plate(*style, margin));
    scoped_image shadow(color.image ? render_drop_shadow(*style, shadow_margin) : nullptr);
    if (!shadow.image)
        return nullptr;

    // Shadow, then the plate through the unblurred mask: a hard edge, with
    // only the shadow where the mask is 0.
    const int64_t shadow_x = (int64_t)style->drop_shadow_dx - shadow_margin;
    const int64_t shadow_y = (int64_t)style->drop_shadow_dy - shadow_margin;
    const canvas_box box = canvas_around(mask, shadow.image, shadow_x, shadow_y);
    if (!fits_int32(box.width) || !fits_int32(box.height))
        return nullptr;
    scoped_image canvas(image_create(bgr_with_alpha, (int32_t)box.width, (int32_t)box.height));
    if (!canvas.image)
        return nullptr;
    image_fill(canvas.image, 0);
    raster_image under = view_of(canvas.image, shadow_x - box.left, shadow_y - box.top, shadow.image->width,
                                 shadow.image->height);
    if (!image_darken_by_mask(shadow.image, &under))
        return nullptr;
    const raster_image plate = view_of(color.image, margin, margin, mask->width, mask->height);
    raster_image on_canvas = view_of(canvas.image, -box.left, -box.top, mask->width, mask->height);
    image_blend_masked(&on_canvas, &plate, mask);

    int32_t trim_left = 0, trim_top = 0;
    const raster_image visible = image_bounds(canvas.image, 0, &trim_left, &trim_top);
    raster_image* face = image_create(bgr_with_alpha, visible.width, visible.height);
    if (!face)
        return nullptr;
    image_copy(face, &visible);
    if (face_x)
        *face_x = (int32_t)(-box.left - trim_left);
    if (face_y)
        *face_y = (int32_t)(-box.top - trim_top);
    return face;
}
