#include "raster_test_support.h"

namespace {

TEST(ImageCompose, OpaqueGroupsCopyAndOtherPixelsMatchTheRemainder)
{
    // Width 11: pixels 0-3 form an opaque group, 4-7 a group holding one
    // opaque pixel, 8-10 the remainder; pixel i and i + 4 share their values.
    image_ptr source = make_image(BGRA, 11, 1), target = make_image(PIXEL_BGR24, 11, 1);
    const uint32_t sources[4] = {0x80643214, 0x00000000, 0xFF0A0B0C, 0x10101010};
    const uint32_t targets[4] = {0xC86419, 0x4D4D4D, 0xFFFFFF, 0xF0F0F0};
    for (int32_t x = 0; x < 11; ++x) {
        set_bgr(source.get(), 0, x, x < 4 ? 0xFF000000 | (uint32_t)x * 0x0F0E0D : sources[x % 4]);
        set_bgr(target.get(), 0, x, targets[x % 4]);
    }
    image_compose(source.get(), target.get());
    EXPECT_EQ(0, std::memcmp(target->pixels, source->pixels, 12));
    for (int32_t x = 4; x < 7; ++x)
        EXPECT_EQ(image_get_pixel(target.get(), 0, x), image_get_pixel(target.get(), 0, x + 4)) << x;
    // s + round((255 - 128) * d / 255): 100 + 100, 50 + 50, 20 + 12.
    EXPECT_EQ(image_get_pixel(target.get(), 0, 4), 0xFFC86420u);
    EXPECT_EQ(image_get_pixel(target.get(), 0, 5), 0xFF4D4D4Du);
    EXPECT_EQ(image_get_pixel(target.get(), 0, 6), 0xFF0A0B0Cu);
}

TEST(ImageCompose, AlphaOverAlphaAndPlainSources)
{
    image_ptr source = make_image(BGRA, 3, 1), target = make_image(BGRA, 3, 1);
    const uint32_t sources[3] = {0x80404040, 0x00000000, 0x33141414};
    const uint32_t targets[3] = {0xFFC8C8C8, 0x64323232, 0x00000000};
    for (int32_t x = 0; x < 3; ++x) {
        set_bgr(source.get(), 0, x, sources[x]);
        set_bgr(target.get(), 0, x, targets[x]);
    }
    image_compose(source.get(), target.get());
    EXPECT_EQ(image_get_pixel(target.get(), 0, 0), 0xFFA4A4A4u);  // 64 + 200 * 0.498 + 0.5 = 164.1
    EXPECT_EQ(image_get_pixel(target.get(), 0, 1), 0x64141414u);  // 50 * 100 / 255 + 0.5 = 20.1
    EXPECT_EQ(image_get_pixel(target.get(), 0, 2), 0x33141414u);

    // Plain over plain copies; plain over alpha writes nothing.
    image_ptr plain = make_image(PIXEL_BGR24, 3, 1), copy = make_image(PIXEL_BGR24, 3, 1);
    image_fill(plain.get(), 0xFF123456);
    image_compose(plain.get(), copy.get());
    EXPECT_EQ(image_get_pixel(copy.get(), 0, 2), 0xFF123456u);
    const auto before = scribble(target.get());
    image_compose(plain.get(), target.get());
    expect_only_rectangle_changed(target.get(), before, 0, 0, 0, 0);
}

TEST(ImageDarkenByMask, PlainImageScalesByInverseMask)
{
    // Group 0-3 under a zero mask; group 4-7 and the remainder 8-10 share
    // mask values; pixels of 200, one column and one row beyond the mask.
    image_ptr mask = make_image(PIXEL_GRAY8, 11, 1), image = make_image(PIXEL_BGR24, 12, 2);
    const uint8_t values[11] = {0, 0, 0, 0, 128, 0, 255, 64, 128, 0, 255};
    const uint8_t expected[12] = {200, 200, 200, 200, 100, 200, 0, 150, 100, 200, 0, 200};
    std::memcpy(mask->pixels, values, sizeof values);
    image_fill(image.get(), 0xFFC8C8C8);
    image_darken_by_mask(mask.get(), image.get());
    for (int32_t x = 0; x < 12; ++x) {
        EXPECT_EQ(image_get_pixel(image.get(), 0, x), 0xFF000000u | expected[x] * 0x010101u) << x;
        EXPECT_EQ(image_get_pixel(image.get(), 1, x), 0xFFC8C8C8u) << x;
    }
}

TEST(ImageDarkenByMask, AlphaImageComposesBlackThroughTheMask)
{
    image_ptr mask = make_image(PIXEL_GRAY8, 3, 1), image = make_image(BGRA, 3, 1);
    const uint8_t values[3] = {128, 51, 0};
    std::memcpy(mask->pixels, values, sizeof values);
    set_bgr(image.get(), 0, 0, 0xFFC8C8C8);
    set_bgr(image.get(), 0, 1, 0x64323232);
    const uint32_t sequence = kit_alloc_sequence();
    image_darken_by_mask(mask.get(), image.get());
    EXPECT_EQ(kit_alloc_sequence(), sequence + 1);  // one row buffer, released again
    for (int i = 0; i < kit_alloc_table_size; ++i)
        EXPECT_FALSE(kit_alloc_table()[i].sequence == sequence && kit_alloc_table()[i].address);
    EXPECT_EQ(image_get_pixel(image.get(), 0, 0), 0xFF646464u);  // 200 * 0.498 + 0.5 = 100.1
    // b = 100 / 255 * 0.8: 50 * 0.314 + 0.5 = 16.2; alpha (0.2 + 0.314) * 255 + 0.5 = 131.5.
    EXPECT_EQ(image_get_pixel(image.get(), 0, 1), 0x83101010u);
    EXPECT_EQ(image_get_pixel(image.get(), 0, 2), 0x00000000u);
}

TEST(ImageBlendMasked, PlainAndAlphaDestinations)
{
    image_ptr mask = make_image(PIXEL_GRAY8, 3, 1);
    const uint8_t values[3] = {255, 128, 0};
    std::memcpy(mask->pixels, values, sizeof values);
    image_ptr source = make_image(PIXEL_BGR24, 3, 1), target = make_image(PIXEL_BGR24, 3, 1);
    for (int32_t x = 0; x < 3; ++x) {
        set_bgr(source.get(), 0, x, 0xC800FF);
        set_bgr(target.get(), 0, x, 0x64FF00);
    }
    image_blend_masked(target.get(), source.get(), mask.get());
    // A full swing at 255 leaves one step: 0 -> 254, and 255 -> 0.
    EXPECT_EQ(image_get_pixel(target.get(), 0, 0), 0xFFC700FEu);
    EXPECT_EQ(image_get_pixel(target.get(), 0, 1), 0xFF967F7Fu);
    EXPECT_EQ(image_get_pixel(target.get(), 0, 2), 0xFF64FF00u);

    image_ptr with_alpha = make_image(BGRA, 3, 1);
    std::memset(mask->pixels, 102, 3);  // e = 0.4
    set_bgr(with_alpha.get(), 0, 0, 0xFF656565);
    image_blend_masked(with_alpha.get(), source.get(), mask.get());
    // s * 0.4 + 101 * 0.6 + 0.5 for s = 200, 0, 255: 141.1, 61.1, 163.1.
    EXPECT_EQ(image_get_pixel(with_alpha.get(), 0, 0), 0xFF8D3DA3u);
    EXPECT_EQ(image_get_pixel(with_alpha.get(), 0, 1), 0x66500066u);  // alpha 0.4 * 255 + 0.5 = 102.5
}

}  // namespace
