#include "raster_test_support.h"

namespace {

image_ptr numbered_pattern(int32_t type)
{
    image_ptr pattern = make_image(type, 3, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            set_bgr(pattern.get(), y, x, (uint32_t)(0x80 + 10 * y + x) << 24 | (uint32_t)(y * 3 + x + 1) * 0x010101u);
    return pattern;
}

void expect_tiled(const raster_image* destination, const raster_image* pattern, int32_t phase_x, int32_t phase_y)
{
    const uint32_t compared = destination->alpha ? 0xFFFFFFFFu : 0x00FFFFFFu;
    for (int32_t y = 0; y < destination->height; ++y)
        for (int32_t x = 0; x < destination->width; ++x)
            EXPECT_EQ(image_get_pixel(destination, y, x) & compared,
                      image_get_pixel(pattern, (y + phase_y) % 2, (x + phase_x) % 3) & compared)
                << y << "," << x;
}

TEST(ImageTile, PhasesAndWrappingBands)
{
    image_ptr pattern = numbered_pattern(BGRA);
    for (int32_t phase_y = 0; phase_y < 2; ++phase_y) {
        for (int32_t phase_x = 0; phase_x < 3; ++phase_x) {
            image_ptr destination = make_image(BGRA, 7, 5);
            image_tile(destination.get(), pattern.get(), phase_x, phase_y);
            expect_tiled(destination.get(), pattern.get(), phase_x, phase_y);
        }
    }
    // Behind a plain picture only the pattern's colours; phases outside the
    // pattern are taken modulo its size.
    image_ptr plain = make_image(PIXEL_BGR24, 5, 4);
    image_tile(plain.get(), pattern.get(), -1, 5);
    expect_tiled(plain.get(), pattern.get(), 2, 1);
}

TEST(ImagePixel, GetAndClear)
{
    image_ptr gray = make_image(PIXEL_GRAY8, 3, 2);
    gray->pixels[gray->stride + 2] = 0x40;
    EXPECT_EQ(image_get_pixel(gray.get(), 1, 2), 0xFF404040u);
    EXPECT_EQ(image_get_pixel(gray.get(), 2, 0), 0u);  // outside
    image_clear_pixel(gray.get(), 2, 1);
    EXPECT_EQ(gray->pixels[gray->stride + 2], 0);
    const auto before = scribble(gray.get());
    image_clear_pixel(gray.get(), 3, 0);  // padding, not a pixel
    image_clear_pixel(gray.get(), 0, -1);
    expect_only_rectangle_changed(gray.get(), before, 0, 0, 0, 0);

    image_ptr bgra = make_image(BGRA, 2, 2);
    set_bgr(bgra.get(), 1, 0, 0x7F102030);
    image_clear_pixel(bgra.get(), 0, 1);
    EXPECT_EQ(image_get_pixel(bgra.get(), 1, 0), 0x7F102030u);
}

TEST(ImageBounds, SmallestRectangleOfDifferingPixels)
{
    image_ptr image = make_image(PIXEL_BGR24, 6, 5);
    image_fill(image.get(), 0xFFFFFFFF);
    int32_t left = -1, top = -1;
    raster_image found = image_bounds(image.get(), 0xFFFFFFFF, &left, &top);
    EXPECT_EQ(found.pixels, image->pixels);
    EXPECT_EQ(found.width * 1000 + found.height * 100 + left * 10 + top, 1100);

    set_bgr(image.get(), 1, 3, 0xFFFFFE);
    set_bgr(image.get(), 3, 1, 0x000000);
    found = image_bounds(image.get(), 0xFFFFFFFF, &left, &top);
    EXPECT_EQ(found.pixels, image->pixels + image->stride + 3);
    EXPECT_EQ(found.width * 1000 + found.height * 100 + left * 10 + top, 3311);
    EXPECT_EQ(image_bounds(image.get(), 0xFFFFFFFF, nullptr, nullptr).width, 3);

    // Against background 0 a black pixel with a little alpha still counts.
    image_ptr face = make_image(BGRA, 4, 4);
    face->alpha[2 * face->alpha_stride + 2] = 5;
    found = image_bounds(face.get(), 0, &left, &top);
    EXPECT_EQ(found.alpha, face->alpha + 2 * face->alpha_stride + 2);
    EXPECT_EQ(found.width * 1000 + found.height * 100 + left * 10 + top, 1122);
}

}  // namespace
