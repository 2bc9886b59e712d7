// One button face: the plate (gradient, relief, inner shadow, tint) over its
// blurred, offset drop shadow on a transparent canvas, trimmed to what is
// visible. The height map and the shadow are the plate's size plus a margin
// as wide as their blur reaches, so that no blur is cut off at an edge; the
// colour plate needs no margin, since only the plate is ever shown of it.
// Faces are rendered forty at a time at start-up, and every kit block is a
// region of virtual memory of its own, so a rendering takes two blocks: its
// working memory and the face.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "face/face_areas.h"
#include "face/render_face.h"
#include "raster/kit_scoped.h"

namespace {

constexpr int32_t bgr_with_alpha = PIXEL_BGR24 | PIXEL_ALPHA8;
constexpr uint32_t grey_zero = 0xFF000000;  // image_get_pixel of a grey 0

bool in_int32(int64_t value)
{
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

bool fits_size(int64_t value) { return value >= 0 && in_int32(value); }

// The rendering's working memory is one kit block: the blurs' workspace,
// a grey map that holds first the height map and then the shadow, and the
// colour plate. No part may pass the kit's limit for a block.
constexpr uint64_t part_limit = std::numeric_limits<uint32_t>::max();

uint64_t plane_bytes(int32_t type, int64_t width, int64_t height)
{
    return (uint64_t)padded_row_bytes(width, pixel_color_bytes(type)) * (uint64_t)height;
}

// An image record over memory the caller owns, its rows padded as
// image_create pads them.
raster_image image_over(uint8_t* memory, int32_t type, int64_t width, int64_t height)
{
    return {(int32_t)width, (int32_t)height, type, memory, (int32_t)padded_row_bytes(width, pixel_color_bytes(type)),
            nullptr, 0, 0};
}

raster_image view_of(const raster_image* image, int64_t left, int64_t top, int64_t width, int64_t height)
{
    raster_image view;
    image_view(&view, (int32_t)top, (int32_t)left, image, (int32_t)width, (int32_t)height);
    return view;
}

// Clears the map and lays the mask into it at (margin, margin).
void place_mask(raster_image* map, const raster_image* mask, int32_t margin)
{
    image_fill(map, 0);
    raster_image inside = view_of(map, margin, margin, mask->width, mask->height);
    image_copy(&inside, mask);
}

// The colour plate: the gradient lit as a relief by the blurred mask,
// darkened along its inner edges by the blurred inverse mask, and tinted.
// Of the height map, only the part that the plate reads is blurred whole:
// the plate and a pixel around it for the relief, the plate alone for the
// inner shadow.
bool render_plate(const face_style& style, int32_t margin, raster_image* height, raster_image* color,
                  blur_workspace* blur)
{
    const raster_image* mask = style.mask;
    image_gradient(color, style.top_color, style.bottom_color);

    place_mask(height, mask, margin);
    if (blur_area(height, style.bevel_sigma, margin - 1, margin - 1, mask->width + 2, mask->height + 2, blur) < 0)
        return false;
    emboss_area(color, height, margin, margin, style.light, style.bevel_depth);

    place_mask(height, mask, margin);
    image_invert(height);
    if (blur_area(height, style.inner_shadow_sigma, margin, margin, mask->width, mask->height, blur) < 0)
        return false;
    raster_image inner_shadow = view_of(height, margin, margin, mask->width, mask->height);
    image_fade(&inner_shadow, style.inner_shadow_opacity);
    image_darken_by_mask(&inner_shadow, color);  // an image without alpha needs no memory for this

    image_colorize(color, style.hue, style.brightness, style.saturation);
    return true;
}

// The drop shadow's alpha: the mask at (margin, margin), blurred and faded.
bool render_drop_shadow(const face_style& style, int32_t margin, raster_image* shadow, blur_workspace* blur)
{
    place_mask(shadow, style.mask, margin);
    if (blur_area(shadow, style.drop_shadow_sigma, 0, 0, shadow->width, shadow->height, blur) < 0)
        return false;
    image_fade(shadow, style.drop_shadow_opacity);
    return true;
}

// A rectangle in plate coordinates; width 0 when there is nothing in it.
struct box {
    int64_t left, top, width, height;
};

// Where a grey image laid at (x, y) is not 0.
box nonzero_box(const raster_image* gray, int64_t x, int64_t y)
{
    if (gray->width <= 0 || gray->height <= 0)
        return {x, y, 0, 0};
    int32_t left = 0, top = 0;
    const raster_image seen = image_bounds(gray, grey_zero, &left, &top);
    if (seen.width == 1 && seen.height == 1 && image_get_pixel(&seen, 0, 0) == grey_zero)
        return {x, y, 0, 0};
    return {x + left, y + top, seen.width, seen.height};
}

box unite(const box& a, const box& b)
{
    if (a.width == 0)
        return b;
    if (b.width == 0)
        return a;
    const int64_t left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.left + a.width, b.left + b.width) - left,
            std::max(a.top + a.height, b.top + b.height) - top};
}

// The canvas holding the shadow (black, with the shadow as alpha) and over
// it the plate through the unblurred mask, a hard edge, trimmed to its
// visible pixels. A canvas pixel is visible exactly where the shadow or the
// mask is not 0, so the face is made at the trimmed size at once; when
// nothing is visible it is the canvas's top-left pixel.
raster_image* compose_face(const face_style& style, const raster_image* color, const raster_image* shadow,
                           int64_t shadow_x, int64_t shadow_y, int32_t* face_x, int32_t* face_y)
{
    const raster_image* mask = style.mask;
    const box plate_part = nonzero_box(mask, 0, 0), shadow_part = nonzero_box(shadow, shadow_x, shadow_y);
    box visible = unite(plate_part, shadow_part);
    if (visible.width == 0)
        visible = {std::min<int64_t>(shadow_x, 0), std::min<int64_t>(shadow_y, 0), 1, 1};
    if (!fits_size(visible.width) || !fits_size(visible.height) || !in_int32(-visible.left) ||
        !in_int32(-visible.top))
        return nullptr;
    scoped_image face(image_create(bgr_with_alpha, (int32_t)visible.width, (int32_t)visible.height));
    if (!face.image)
        return nullptr;
    image_fill(face.image, 0);
    if (shadow_part.width > 0) {
        // Composing black through the shadow onto the fresh, transparent
        // face (image_darken_by_mask on an image with alpha) leaves the
        // colours 0 and makes the alpha the shadow's value: it is copied.
        const raster_image alpha = view_of(shadow, shadow_part.left - shadow_x, shadow_part.top - shadow_y,
                                           shadow_part.width, shadow_part.height);
        const raster_image under = view_of(face.image, shadow_part.left - visible.left,
                                           shadow_part.top - visible.top, shadow_part.width, shadow_part.height);
        raster_image under_alpha = {under.width, under.height, PIXEL_GRAY8, under.alpha, under.alpha_stride,
                                    nullptr,     0,            under.block_size};
        image_copy(&under_alpha, &alpha);
    }
    if (plate_part.width > 0) {
        const raster_image edge = view_of(mask, plate_part.left, plate_part.top, plate_part.width, plate_part.height);
        const raster_image plate =
            view_of(color, plate_part.left, plate_part.top, plate_part.width, plate_part.height);
        raster_image over = view_of(face.image, plate_part.left - visible.left, plate_part.top - visible.top,
                                    plate_part.width, plate_part.height);
        image_blend_masked(&over, &plate, &edge);
    }
    if (face_x)
        *face_x = (int32_t)-visible.left;
    if (face_y)
        *face_y = (int32_t)-visible.top;
    return face.release();
}

}  // namespace

raster_image* render_face(const face_style* style, int32_t* face_x, int32_t* face_y)
{
    if (!style || !style->mask || pixel_color_bytes(style->mask->type) != 1 || style->mask->width < 0 ||
        style->mask->height < 0)
        return nullptr;
    const raster_image* mask = style->mask;
    const int32_t margin = image_blur(nullptr, style->bevel_sigma);
    const int32_t inner_radius = image_blur(nullptr, style->inner_shadow_sigma);
    const int32_t shadow_margin = image_blur(nullptr, style->drop_shadow_sigma);
    if (margin < 0 || inner_radius < 0 || shadow_margin < 0)
        return nullptr;

    // The grey map is wide enough for either margin; the height map and the
    // shadow are its views with their own margins.
    const int64_t reach = std::max(margin, shadow_margin);
    const int64_t map_width = mask->width + 2 * reach, map_height = mask->height + 2 * reach;
    if (!fits_size(map_width) || !fits_size(map_height))
        return nullptr;
    const int32_t widest = std::max({margin, inner_radius, shadow_margin});
    const auto longest = (int32_t)std::max(map_width, map_height);
    const uint64_t workspace_bytes = (blur_workspace::bytes_for(widest, longest) + 7) / 8 * 8;
    const uint64_t map_bytes = plane_bytes(PIXEL_GRAY8, map_width, map_height);
    const uint64_t color_bytes = plane_bytes(PIXEL_BGR24, mask->width, mask->height);
    if (workspace_bytes > part_limit || map_bytes > part_limit || color_bytes > part_limit)
        return nullptr;
    const scoped_block scratch(kit_alloc(workspace_bytes + map_bytes + color_bytes));
    if (!scratch.block)
        return nullptr;
    auto* base = static_cast<uint8_t*>(scratch.block);
    blur_workspace blur(widest, longest, base);
    raster_image map = image_over(base + workspace_bytes, PIXEL_GRAY8, map_width, map_height);
    raster_image color = image_over(base + workspace_bytes + map_bytes, PIXEL_BGR24, mask->width, mask->height);

    raster_image height = view_of(&map, reach - margin, reach - margin, mask->width + 2 * (int64_t)margin,
                                  mask->height + 2 * (int64_t)margin);
    if (!render_plate(*style, margin, &height, &color, &blur))
        return nullptr;
    raster_image shadow = view_of(&map, reach - shadow_margin, reach - shadow_margin,
                                  mask->width + 2 * (int64_t)shadow_margin, mask->height + 2 * (int64_t)shadow_margin);
    if (!render_drop_shadow(*style, shadow_margin, &shadow, &blur))
        return nullptr;
    return compose_face(*style, &color, &shadow, (int64_t)style->drop_shadow_dx - shadow_margin,
                        (int64_t)style->drop_shadow_dy - shadow_margin, face_x, face_y);
}
