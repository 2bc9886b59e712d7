// Single-pixel access and the bounding box of an image's content.
#include "raster/image_rows.h"

#include <cstring>

namespace {

bool inside(const raster_image* image, int32_t row, int32_t column)
{
    return row >= 0 && row < image->height && column >= 0 && column < image->width;
}

// The pixel's colour as image_get_pixel gives it, for coordinates inside.
uint32_t pixel_value(const raster_image* image, int32_t row, int32_t column)
{
    const uint8_t* pixel = color_row(image, row) + (ptrdiff_t)column * pixel_color_bytes(image->type);
    uint32_t color = 0;
    switch (pixel_color_bytes(image->type)) {
    case 1:
        color = pixel[0] * 0x010101u;
        break;
    case 2:
        color = expand_rgb555((uint32_t)pixel[0] | (uint32_t)pixel[1] << 8);
        break;
    case 3:
        color = pack_color(pixel[0], pixel[1], pixel[2], 0);
        break;
    }
    const uint32_t alpha = has_alpha_plane(image) ? alpha_row(image, row)[column] : 255u;
    return color | alpha << 24;
}

}  // namespace

// Coordinates outside the image read as 0 (transparent black) rather than
// reading memory that belongs to no pixel.
uint32_t image_get_pixel(const raster_image* image, int32_t row, int32_t column)
{
    return inside(image, row, column) ? pixel_value(image, row, column) : 0;
}

// Each row is searched from its left end for its first differing pixel and,
// when there is one, from its right end for its last, so that the inside of
// a picture is never read.
raster_image image_bounds(const raster_image* source, uint32_t background, int32_t* out_left, int32_t* out_top)
{
    int32_t left = source->width, right = -1, top = source->height, bottom = -1;
    for (int32_t y = 0; y < source->height; ++y) {
        int32_t first = 0;
        while (first < source->width && pixel_value(source, y, first) == background)
            ++first;
        if (first == source->width)
            continue;
        int32_t last = source->width - 1;
        while (pixel_value(source, y, last) == background)
            --last;
        left = first < left ? first : left;
        right = last > right ? last : right;
        top = y < top ? y : top;
        bottom = y;
    }
    if (right < 0) {
        left = top = 0;
        right = bottom = 0;
    }
    raster_image view;
    image_view(&view, top, left, source, right - left + 1, bottom - top + 1);
    if (out_left)
        *out_left = left;
    if (out_top)
        *out_top = top;
    return view;
}

// Only grey images (masks) are cleared; coordinates outside are ignored.
void image_clear_pixel(raster_image* image, int32_t x, int32_t y)
{
    if (pixel_color_bytes(image->type) == 1 && inside(image, y, x))
        color_row(image, y)[x] = 0;
}
