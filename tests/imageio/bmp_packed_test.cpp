// Packed device-independent bitmaps taken from BMP files.
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/reads.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> without_file_header(const std::vector<uint8_t>& file, uint32_t image_size)
{
    std::vector<uint8_t> dib(file.begin() + 14, file.end());
    for (int i = 0; i < 4; ++i)
        dib[20 + i] = (uint8_t)(image_size >> (8 * i));
    return dib;
}

TEST(BmpPacked, WindowsFilesAreCopiedWithTheImageSizeFilledIn)
{
    bmp_recipe recipe;
    recipe.width = 3;
    recipe.height = 2;
    recipe.bit_count = 8;
    recipe.palette = {0x112233, 0x445566};
    recipe.pixels = {0, 1, 0, 1, 0, 1};
    recipe.gap = 6;  // skipped: the rows follow the palette in the bitmap
    std::vector<uint8_t> file = make_bmp(recipe);
    read_result r = read_bmp(file, 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.width, 3u);
    EXPECT_EQ(r.height, 2u);
    file.erase(file.begin() + 62, file.begin() + 68);
    EXPECT_EQ(r.pixels, without_file_header(file, 8));

    bmp_recipe masked;
    masked.width = 2;
    masked.height = -1;
    masked.bit_count = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels = {0x1234, 0xABCD};
    file = make_bmp(masked);
    r = read_bmp(file, 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, without_file_header(file, 4));
}

TEST(BmpPacked, Os2FilesGetAWindowsHeaderAndFourBytePaletteEntries)
{
    bmp_recipe recipe;
    recipe.os2 = true;
    recipe.width = 3;
    recipe.height = 1;
    recipe.bit_count = 1;
    recipe.palette = {0x0000FF, 0xFFFFFF};
    recipe.pixels = {1, 0, 1};
    read_result r = read_bmp(make_bmp(recipe), 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    std::vector<uint8_t> expected(40, 0);
    expected[0] = 40;
    expected[4] = 3;
    expected[8] = 1;
    expected[12] = 1;
    expected[14] = 1;
    expected[20] = 4;
    const std::vector<uint8_t> tail = {0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0xA0, 0, 0, 0};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(r.pixels, expected);
}

TEST(BmpPacked, TruncatedPixelDataKeepsTheBitmapWithErrorThree)
{
    bmp_recipe recipe;
    recipe.width = 4;
    recipe.height = 2;
    recipe.bit_count = 24;
    recipe.pixels.assign(8, 0x445566);
    std::vector<uint8_t> file = make_bmp(recipe);
    file.resize(file.size() - 5);
    read_result r = read_bmp(file, 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 3);
    EXPECT_EQ(r.pixels.size(), 40u + 24u);
    EXPECT_EQ(r.pixels[40 + 18], 0x66);
    EXPECT_EQ(r.pixels[40 + 19], 0);
}

TEST(BmpPacked, AnImageSizeBeyondThePixelsIsCutToWhatTheBitmapHolds)
{
    bmp_recipe recipe;
    recipe.width = 3;
    recipe.height = 2;
    recipe.bit_count = 32;
    recipe.image_size = 0xF7000000;
    recipe.pixels.assign(6, 0x11223344);
    read_result r = read_bmp(make_bmp(recipe), 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 0);
    ASSERT_EQ(r.pixels.size(), 40u + 24u);
    EXPECT_EQ(r.pixels[20], 24);
    EXPECT_EQ(r.pixels[23], 0);
    EXPECT_EQ(r.pixels[63], 0x11);
}

}  // namespace
