// RLE4 and RLE8 bitmaps: runs, literals with padding, line ends, deltas,
// early ends, and pixels that fall outside the picture.
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/reads.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t background = 0x102030;

bmp_recipe rle8(int32_t width, int32_t height, std::vector<uint8_t> data)
{
    bmp_recipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.bit_count = 8;
    recipe.compression = 1;
    recipe.palette = {background, 0xFF0000, 0x00FF00, 0x0000FF};
    recipe.rle = std::move(data);
    return recipe;
}

// Bottom row: a run; middle row: a literal of three (padded); top row:
// reached by a delta, then a run; end of bitmap.
const std::vector<uint8_t> rle8_stream = {
    0x03, 0x01,                    // three pixels of 1
    0x00, 0x00,                    // end of line
    0x00, 0x03, 0x02, 0x03, 0x01, 0x00,  // literal 2 3 1, pad
    0x00, 0x00,                    // end of line
    0x00, 0x02, 0x02, 0x00,        // two to the right
    0x02, 0x03,                    // two pixels of 3
    0x00, 0x01,                    // end of bitmap
};

TEST(BmpRle, Rle8DecodesRunsLiteralsLineEndsAndDeltas)
{
    const std::vector<uint8_t> file = make_bmp(rle8(4, 3, rle8_stream));
    read_result indices = read_bmp(file, 8);
    ASSERT_TRUE(indices.has_buffer);
    EXPECT_EQ(indices.error, 0);
    EXPECT_EQ(indices.pixels, (std::vector<uint8_t>{0, 0, 3, 3, 2, 3, 1, 0, 1, 1, 1, 0}));

    read_result rgb = read_bmp(file, 24);
    ASSERT_TRUE(rgb.has_buffer);
    EXPECT_EQ(rgb.pixels, rgb_bytes({background, background, 0x0000FF, 0x0000FF,
                                     0x00FF00, 0x0000FF, 0xFF0000, background,
                                     0xFF0000, 0xFF0000, 0xFF0000, background}));

    read_result rgba = read_bmp(file, 32);
    ASSERT_TRUE(rgba.has_buffer);
    EXPECT_EQ(rgba.pixels[3], 255);
    EXPECT_EQ(rgba.pixels[47], 255);
}

TEST(BmpRle, Rle4AlternatesNibblesAndDropsPixelsPastTheRightEdge)
{
    bmp_recipe recipe = rle8(5, 2, {
        0x05, 0x12,                          // 1 2 1 2 1
        0x00, 0x00,
        0x00, 0x03, 0x34, 0x50,              // literal 3 4 5 (two bytes, no pad)
        0x00, 0x05, 0x67, 0x89, 0xA0, 0x00,  // literal of five: 6 7 fit, 8 9 10 dropped; pad
        0x00, 0x01,
    });
    recipe.bit_count = 4;
    recipe.compression = 2;
    read_result r = read_bmp(make_bmp(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{3, 4, 5, 6, 7, 1, 2, 1, 2, 1}));
}

TEST(BmpRle, StreamWithoutEndCodeKeepsTheRowsDecodedWithErrorThree)
{
    const std::vector<uint8_t> file = make_bmp(rle8(3, 3, {0x03, 0x02, 0x00, 0x00, 0x01}));
    read_result rgb = read_bmp(file, 24);
    ASSERT_TRUE(rgb.has_buffer);
    EXPECT_EQ(rgb.error, 3);
    EXPECT_EQ(rgb.pixels, rgb_bytes({background, background, background, background, background, background,
                                     0x00FF00, 0x00FF00, 0x00FF00}));
    read_result indices = read_bmp(file, 8);
    EXPECT_EQ(indices.error, 3);
    EXPECT_EQ(indices.pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 2, 2, 2}));
}

TEST(BmpRle, MovesPastTheTopOrFarRightWriteNothing)
{
    bmp_recipe recipe = rle8(2, 2, {
        0x00, 0x02, 0xFF, 0x00,  // far to the right
        0xFF, 0x01,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // three line ends: above the top
        0xFF, 0x03,
        0x00, 0x02, 0x00, 0xFF,  // further up still
        0x00, 0x04, 0x01, 0x01, 0x01, 0x01,
        0x00, 0x01,
    });
    read_result r = read_bmp(make_bmp(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>(4, 0)));
}

TEST(BmpRle, AbortIsAskedAtEveryRowChange)
{
    struct stop {
        static int32_t at_first(int32_t, int32_t, void*) { return 0; }
    };
    is_set_abort_callback(stop::at_first, nullptr);
    read_result r = read_bmp(make_bmp(rle8(4, 3, rle8_stream)), 8);
    is_set_abort_callback(nullptr, nullptr);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 14);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0}));
}

TEST(BmpRle, PixelDataThatStartsInsideThePaletteIsRefused)
{
    bmp_recipe recipe = rle8(1, 1, {0x00, 0x01});
    recipe.off_bits = 54;
    EXPECT_EQ(read_bmp(make_bmp(recipe), 24).error, 6);
    EXPECT_EQ(read_bmp(make_bmp(recipe), 8).error, 6);
}

}  // namespace
