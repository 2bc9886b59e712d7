#include "raster_test_support.h"

namespace {

TEST(ImageFill, PremultipliesIntoAnAlphaPlane)
{
    image_ptr image = make_image(BGRA, 5, 2);
    image_fill(image.get(), 0x80FF0000);
    for (int32_t x = 0; x < 5; ++x)
        EXPECT_EQ(image_get_pixel(image.get(), 1, x), 0x80800000u);
    image_fill(image.get(), 0x407F7F7F);  // 64 / 255 * 127 + 0.5 = 32.4
    EXPECT_EQ(image_get_pixel(image.get(), 0, 4), 0x40202020u);
}

TEST(ImageFill, EveryWidthAndAlignmentOfA24BitRow)
{
    // Views from columns 0-3 reach every address alignment; widths up to 13
    // cover the leading pixels, whole groups of four and the rest.
    for (int32_t left = 0; left < 4; ++left) {
        for (int32_t width = 0; width <= 13; ++width) {
            image_ptr image = make_image(PIXEL_BGR24, 18, 3);
            const auto before = scribble(image.get());
            raster_image view;
            image_view(&view, 1, left, image.get(), width, 1);
            image_fill(&view, 0x00C0B0A0);
            for (int32_t x = 0; x < width; ++x)
                ASSERT_EQ(image_get_pixel(&view, 0, x), 0xFFC0B0A0u) << left << " " << width << " " << x;
            expect_only_rectangle_changed(image.get(), before, 1, left, width, 1);
        }
    }
}

TEST(ImageFill, GreyTakesBlueAndRgb555IsLeftAlone)
{
    image_ptr gray = make_image(PIXEL_GRAY8, 3, 1);
    image_fill(gray.get(), 0x00123456);
    image_fill_blend(gray.get(), 0x01000099);  // grey is not blended
    EXPECT_EQ(gray->pixels[2], 0x99);
    image_ptr rgb555 = make_image(PIXEL_RGB555, 3, 2);
    const auto before = scribble(rgb555.get());
    image_fill(rgb555.get(), 0xFFFFFFFF);
    image_fill_blend(rgb555.get(), 0x80FFFFFF);
    expect_only_rectangle_changed(rgb555.get(), before, 0, 0, 0, 0);
}

TEST(ImageFillBlend, MovesTowardTheColourByItsAlpha)
{
    image_ptr image = make_image(BGRA, 2, 1);
    set_bgr(image.get(), 0, 0, 0x1100C800);
    set_bgr(image.get(), 0, 1, 0x22FFFFFF);
    // d + ((A * (v - d)) >> 8); a negative product shifts toward minus infinity.
    image_fill_blend(image.get(), 0x80FF00FF);
    EXPECT_EQ(image_get_pixel(image.get(), 0, 0), 0x117F647Fu);  // 0 -> 127, 200 -> 100
    EXPECT_EQ(image_get_pixel(image.get(), 0, 1), 0x22FF7FFFu);  // 255 -> 127
    const auto before = scribble(image.get());
    image_fill_blend(image.get(), 0x00FFFFFF);
    expect_only_rectangle_changed(image.get(), before, 0, 0, 0, 0);
    image_fill_blend(image.get(), 0xFF102030);
    EXPECT_EQ(image_get_pixel(image.get(), 0, 1), 0xFF102030u);
}

TEST(ImageGradient, RunningSinglePrecisionValuesAndAlphaModes)
{
    image_ptr one_row = make_image(PIXEL_BGR24, 3, 1);
    image_gradient(one_row.get(), 0xFF102030, 0xFFFFFFFF);
    EXPECT_EQ(image_get_pixel(one_row.get(), 0, 2), 0xFF102030u);

    // Blue 0 -> 10 over 4 rows: 0, 3.33, 6.67, 10.
    image_ptr steps = make_image(PIXEL_BGR24, 1, 4);
    image_gradient(steps.get(), 0xFF000000, 0xFF00000A);
    const uint8_t blues[4] = {0, 3, 7, 10};
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(steps->pixels[y * steps->stride], blues[y]) << y;

    // Alpha 0 leaves the row, 128 blends (32 + (128 * 223 >> 8) = 143), 255 fills.
    image_ptr image = make_image(PIXEL_BGR24, 2, 3);
    image_fill(image.get(), 0xFF202020);
    image_gradient(image.get(), 0x00FFFFFF, 0xFFFFFFFF);
    EXPECT_EQ(image_get_pixel(image.get(), 0, 0), 0xFF202020u);
    EXPECT_EQ(image_get_pixel(image.get(), 1, 0), 0xFF8F8F8Fu);
    EXPECT_EQ(image_get_pixel(image.get(), 2, 0), 0xFFFFFFFFu);
}

}  // namespace
