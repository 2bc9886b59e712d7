// The four faces of a skinned button and their composition over the window's
// background: rendered once when the button is made, composed again whenever
// it moves.
#include "face/button_faces.h"

#include <utility>

#include "face/render_face.h"
#include "raster/kit_scoped.h"

namespace {

void set_caption(raster_image* face, int32_t face_x, int32_t face_y, int32_t width, int32_t height,
                 const raster_image* caption)
{
    const caption_fit fit = fit_caption(caption->width, caption->height, width, height);
    raster_image shown, place;
    image_view(&shown, fit.top, fit.left, caption, fit.width, fit.height);
    image_view(&place, face_y + fit.y, face_x + fit.x, face, fit.width, fit.height);
    image_compose(&shown, &place);
}

}  // namespace

caption_fit fit_caption(int32_t caption_width, int32_t caption_height, int32_t plate_width, int32_t plate_height)
{
    if (plate_width >= caption_width && plate_height >= caption_height)
        return {0, 0, caption_width, caption_height, (plate_width - caption_width) / 2,
                (plate_height - caption_height) / 2};
    caption_fit fit = {0, 0, caption_width, caption_height, 0, 0};
    if (caption_width > plate_width) {
        fit.left = (caption_width - plate_width) / 2;
        fit.width = plate_width;
    }
    if (plate_height < caption_height) {
        fit.top = (caption_height - plate_height) / 2;
        fit.height = plate_height;
    }
    return fit;
}

bool caption_view(const raster_image* strip, int32_t row, raster_image* out)
{
    if (!strip || row < 0 || row >= strip->height / caption_row_height)
        return false;
    image_view(out, row * caption_row_height, 0, strip, strip->width, caption_row_height);
    return true;
}

bool render_button_faces(int32_t width, int32_t height, int32_t hue, const raster_image* caption,
                         button_faces* faces)
{
    scoped_image mask(image_create(PIXEL_GRAY8, width, height));
    if (!mask.image)
        return false;
    image_fill(mask.image, 0xFFFFFFFF);
    for (const int32_t x : {0, width - 1})
        for (const int32_t y : {0, height - 1})
            image_clear_pixel(mask.image, x, y);
    face_style style;
    style.mask = mask.image;
    for (int32_t state = 0; state < button_face_count; ++state) {
        style.brightness = button_face_brightness;
        style.hue = hue;
        style.saturation = button_state_saturation[state];
        owned_image face(render_face(&style, &faces->face_x, &faces->face_y));
        if (!face) {
            for (owned_image& made : faces->face)
                made.reset();
            return false;
        }
        if (caption)
            set_caption(face.get(), faces->face_x, faces->face_y, width, height, caption);
        faces->face[state] = std::move(face);
    }
    return true;
}

bool compose_button_faces(button_faces* faces, const raster_image* pattern, int32_t x, int32_t y,
                          uint32_t plain_color)
{
    for (int32_t state = 0; state < button_face_count; ++state) {
        const raster_image* face = faces->face[state].get();
        if (!face)
            return false;
        owned_image& composed = faces->composed[state];
        if (!composed)
            composed.reset(image_create(PIXEL_BGR24, face->width, face->height));
        if (!composed)
            return false;
        if (pattern)
            image_tile(composed.get(), pattern, x, y);
        else
            image_fill(composed.get(), plain_color);
        image_compose(face, composed.get());
    }
    return true;
}
