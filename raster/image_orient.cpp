// Turning a picture the way an Orientation value says. Mirroring and the half
// turn move pixels within the image; the quarter turns and transpositions need
// an image of the exchanged size.
#include "raster/image_rows.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

void swap_pixels(uint8_t* a, uint8_t* b, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        std::swap(a[i], b[i]);
}

void mirror_rows(raster_image* image, const int bytes)
{
    for (int32_t y = 0; y < image->height; ++y) {
        uint8_t* row = color_row(image, y);
        for (int32_t left = 0, right = image->width - 1; left < right; ++left, --right)
            swap_pixels(row + (size_t)left * bytes, row + (size_t)right * bytes, bytes);
    }
}

void flip_rows(raster_image* image)
{
    const size_t bytes = color_row_bytes(image, image->width);
    for (int32_t top = 0, bottom = image->height - 1; top < bottom; ++top, --bottom)
        swap_pixels(color_row(image, top), color_row(image, bottom), (int)bytes);
}

// Where the shown pixel (x, y) comes from in the stored picture of size
// width x height, for the values that exchange the sides.
struct quarter_map {
    bool mirror_x;  // source column counted from the right
    bool mirror_y;  // source row counted from the bottom
};

quarter_map quarter_map_of(int32_t orientation)
{
    switch (orientation) {
    case 6: return {false, true};   // x = y', y = H - 1 - x'
    case 7: return {true, true};    // x = W - 1 - y', y = H - 1 - x'
    case 8: return {true, false};   // x = W - 1 - y', y = x'
    default: return {false, false}; // 5: x = y', y = x'
    }
}

// Shown (x', y') takes stored (column y', row x') with the mirrors applied;
// walked in tiles so that both images are read and written near each other.
void copy_turned(const raster_image* stored, raster_image* shown, quarter_map map, int bytes)
{
    constexpr int32_t tile = 64;
    for (int32_t y0 = 0; y0 < shown->height; y0 += tile)
        for (int32_t x0 = 0; x0 < shown->width; x0 += tile)
            for (int32_t y = y0; y < std::min(y0 + tile, shown->height); ++y) {
                const int32_t column = map.mirror_x ? stored->width - 1 - y : y;
                const uint8_t* in = stored->pixels + (size_t)column * bytes;
                uint8_t* out = color_row(shown, y) + (size_t)x0 * bytes;
                for (int32_t x = x0; x < std::min(x0 + tile, shown->width); ++x, out += bytes) {
                    const int32_t row = map.mirror_y ? stored->height - 1 - x : x;
                    std::memcpy(out, in + (ptrdiff_t)row * stored->stride, (size_t)bytes);
                }
            }
}

}  // namespace

raster_image* image_orient(raster_image* image, int32_t orientation)
{
    const int bytes = pixel_color_bytes(image->type);
    switch (orientation) {
    case 2:
        mirror_rows(image, bytes);
        return image;
    case 3:
        mirror_rows(image, bytes);
        flip_rows(image);
        return image;
    case 4:
        flip_rows(image);
        return image;
    case 5:
    case 6:
    case 7:
    case 8:
        break;
    default:
        return image;
    }
    // Only the colour plane is turned: the loader's pictures that carry an
    // orientation (JPEG) have no alpha plane.
    raster_image* shown = image_create(image->type & ~PIXEL_ALPHA8, image->height, image->width);
    if (!shown)
        return nullptr;
    copy_turned(image, shown, quarter_map_of(orientation), bytes);
    image_free(image);
    return shown;
}
