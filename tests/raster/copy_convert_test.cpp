#include "raster_test_support.h"

namespace {

TEST(ImageConvert, PerPixelFunctions)
{
    image_ptr gray = make_image(PIXEL_GRAY8, 4, 1), bgr = make_image(PIXEL_BGR24, 4, 1);
    gray->pixels[1] = 0x40;
    EXPECT_TRUE(image_convert(bgr.get(), gray.get()));
    EXPECT_EQ(image_get_pixel(bgr.get(), 0, 1), 0xFF404040u);

    // Luminance, rounded: pure red, green, blue and white.
    const uint32_t colors[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    const uint8_t levels[4] = {76, 150, 29, 255};
    for (int32_t x = 0; x < 4; ++x)
        set_bgr(bgr.get(), 0, x, colors[x]);
    EXPECT_TRUE(image_convert(gray.get(), bgr.get()));
    EXPECT_EQ(0, std::memcmp(gray->pixels, levels, 4));

    // 5-bit channels scale by 255 / 31, truncated: 1 -> 8, 16 -> 131, 31 -> 255.
    image_ptr rgb555 = make_image(PIXEL_RGB555, 1, 1);
    const uint16_t word = 1 << 10 | 16 << 5 | 31;
    std::memcpy(rgb555->pixels, &word, 2);
    raster_image first;
    image_view(&first, 0, 0, bgr.get(), 1, 1);  // the destination's size governs
    EXPECT_TRUE(image_convert(&first, rgb555.get()));
    EXPECT_EQ(image_get_pixel(bgr.get(), 0, 0), 0xFF0883FFu);
    EXPECT_EQ(image_get_pixel(bgr.get(), 0, 1), 0xFF00FF00u);
}

TEST(ImageConvert, IntoAndOutOfRgb555)
{
    image_ptr bgr = make_image(PIXEL_BGR24, 1, 1), gray = make_image(PIXEL_GRAY8, 1, 1);
    image_ptr rgb555 = make_image(PIXEL_RGB555, 1, 1);
    uint16_t word;
    set_bgr(bgr.get(), 0, 0, 0x0FF807);  // the top five bits of each channel
    EXPECT_TRUE(image_convert(rgb555.get(), bgr.get()));
    std::memcpy(&word, rgb555->pixels, 2);
    EXPECT_EQ(word, 1 << 10 | 31 << 5 | 0);
    // Through the expanded colour: 0.299 * 8 + 0.587 * 255 + 0.5 = 152.6.
    EXPECT_TRUE(image_convert(gray.get(), rgb555.get()));
    EXPECT_EQ(gray->pixels[0], 152);
    gray->pixels[0] = 0x9F;
    EXPECT_TRUE(image_convert(rgb555.get(), gray.get()));
    std::memcpy(&word, rgb555->pixels, 2);
    EXPECT_EQ(word, 19 << 10 | 19 << 5 | 19);
}

TEST(ImageConvert, AlphaPlanesAreNeitherCopiedNorTouched)
{
    image_ptr with_alpha = make_image(BGRA, 3, 2), plain = make_image(PIXEL_BGR24, 3, 2);
    image_fill(with_alpha.get(), 0x80FF0000);
    EXPECT_TRUE(image_convert(plain.get(), with_alpha.get()));
    EXPECT_EQ(image_get_pixel(plain.get(), 1, 2), 0xFF800000u);  // premultiplied colour, alpha dropped

    image_ptr gray = make_image(PIXEL_GRAY8, 3, 2);
    gray->pixels[0] = 0x20;
    EXPECT_TRUE(image_convert(with_alpha.get(), gray.get()));
    EXPECT_EQ(image_get_pixel(with_alpha.get(), 0, 0), 0x80202020u);
    EXPECT_TRUE(image_convert(with_alpha.get(), plain.get()));
    EXPECT_EQ(image_get_pixel(with_alpha.get(), 0, 0), 0x80800000u);

    // A copy into a picture without an alpha plane takes the colours only.
    with_alpha->pixels[0] = 0x11;
    image_copy(plain.get(), with_alpha.get());
    EXPECT_EQ(image_get_pixel(plain.get(), 0, 0), 0xFF800011u);
}

TEST(ImageConvert, UnsupportedPairIsRefusedAndNothingWritten)
{
    image_ptr odd = make_image(4, 2, 2), bgr = make_image(PIXEL_BGR24, 2, 2);
    const auto before = scribble(bgr.get());
    EXPECT_FALSE(image_convert(bgr.get(), odd.get()));
    EXPECT_FALSE(image_convert(odd.get(), bgr.get()));
    expect_only_rectangle_changed(bgr.get(), before, 0, 0, 0, 0);
}

}  // namespace
