// BMP reads of uncompressed files: row order, every bit count, masks,
// palettes, OS/2 headers, indexed output and refusals.
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/reads.h"

#include <gtest/gtest.h>

namespace {

bmp_recipe picture(int32_t width, int32_t height, uint16_t bits, std::vector<uint32_t> pixels)
{
    bmp_recipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.bit_count = bits;
    recipe.pixels = std::move(pixels);
    return recipe;
}

const std::vector<uint32_t> four_colours = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030};

TEST(BmpRead, RowOrderFollowsTheSignOfTheHeight)
{
    // Pixels are given top row first; the writer stores them as the sign says.
    for (int32_t height : {2, -2}) {
        read_result r = read_bmp(make_bmp(picture(2, height, 24, four_colours)), 24);
        ASSERT_TRUE(r.has_buffer);
        EXPECT_EQ(r.error, 0);
        EXPECT_EQ(r.width, 2u);
        EXPECT_EQ(r.height, 2u);
        EXPECT_EQ(r.pixels, rgb_bytes(four_colours)) << "height " << height;
    }
    // The first stored row of a bottom-up file is the last buffer row.
    std::vector<uint8_t> file = make_bmp(picture(2, 2, 24, four_colours));
    file[54] = 0x11;  // blue of the first stored pixel
    read_result r = read_bmp(file, 24);
    EXPECT_EQ(r.pixels[8], 0x11);
}

TEST(BmpRead, SixteenBitsWithoutMasksScaleFiveBitChannels)
{
    read_result r = read_bmp(make_bmp(picture(3, 1, 16, {0x7FFF, 0x0421, 0x7C00})), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{255, 255, 255, 8, 8, 8, 255, 0, 0}));
}

TEST(BmpRead, BitFieldMasksPutTheTopBitOnBitSeven)
{
    bmp_recipe recipe = picture(2, 1, 16, {0x07E0, 0xF81F});
    recipe.compression = 3;
    recipe.masks = {0xF800, 0x07E0, 0x001F};
    read_result r = read_bmp(make_bmp(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    // 5-6-5: green 63 gives 252, no replication of low bits.
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 252, 0, 248, 0, 248}));

    // A mask whose top bit is bit 8 shifts right by one.
    recipe.pixels = {0x01C0, 0x0040};
    recipe.masks = {0x01C0, 0, 0x0007};
    r = read_bmp(make_bmp(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0xE0, 0, 0, 0x20, 0, 0}));
}

TEST(BmpRead, ThirtyTwoBitFilesKeepTheFourthByteAsAlphaOnlyAtDepth32)
{
    const std::vector<uint32_t> pixels = {0x00112233, 0x80445566};
    read_result r32 = read_bmp(make_bmp(picture(2, 1, 32, pixels)), 32);
    ASSERT_TRUE(r32.has_buffer);
    EXPECT_EQ(r32.pixels, (std::vector<uint8_t>{0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0x80}));
    read_result r24 = read_bmp(make_bmp(picture(2, 1, 32, pixels)), 24);
    EXPECT_EQ(r24.pixels, (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
    // Other bit counts are opaque at depth 32.
    read_result opaque = read_bmp(make_bmp(picture(1, 1, 24, {0x010203})), 32);
    EXPECT_EQ(opaque.pixels, (std::vector<uint8_t>{1, 2, 3, 255}));
}

TEST(BmpRead, PalettedFilesGoThroughThePaletteAndShortPalettesRepeatEntryZero)
{
    bmp_recipe one = picture(10, 1, 1, {0, 1, 1, 0, 1, 0, 0, 0, 1, 1});
    one.palette = {0x000000, 0xFFFFFF};
    read_result r = read_bmp(make_bmp(one), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, rgb_bytes({0, 0xFFFFFF, 0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0, 0xFFFFFF, 0xFFFFFF}));

    bmp_recipe four = picture(3, 1, 4, {2, 0, 15});
    four.palette = {0x0A0B0C, 0x111111, 0x203040};  // index 15 is beyond the palette
    r = read_bmp(make_bmp(four), 24);
    EXPECT_EQ(r.pixels, rgb_bytes({0x203040, 0x0A0B0C, 0x0A0B0C}));

    bmp_recipe eight = picture(2, 1, 8, {1, 200});
    eight.palette = {0x000001, 0x00FF00};
    r = read_bmp(make_bmp(eight), 32);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 255, 0, 255, 0, 0, 1, 255}));
}

TEST(BmpRead, RowsAreReadFromTheirOffsetWhereverItLies)
{
    bmp_recipe recipe = picture(1, 1, 24, {0x445566});
    recipe.gap = 7;
    read_result r = read_bmp(make_bmp(recipe), 24);
    EXPECT_EQ(r.pixels, rgb_bytes({0x445566}));

    // An offset inside the headers makes a true-colour read seek back ...
    recipe.gap = 0;
    recipe.off_bits = 50;
    std::vector<uint8_t> file = make_bmp(recipe);
    r = read_bmp(file, 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{file[52], file[51], file[50]}));

    // ... and an indexed read refuse the file.
    bmp_recipe indexed = picture(1, 1, 8, {0});
    indexed.palette = {0x123456};
    indexed.off_bits = 40;
    r = read_bmp(make_bmp(indexed), 8);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 6);
}

TEST(BmpRead, Os2HeadersWithPaletteTriples)
{
    bmp_recipe recipe = picture(3, 2, 8, {0, 1, 2, 2, 1, 0});
    recipe.os2 = true;
    recipe.palette.assign(256, 0x000000);
    recipe.palette[0] = 0xFF0000;
    recipe.palette[1] = 0x00FF00;
    recipe.palette[2] = 0x0000FF;
    read_result r = read_bmp(make_bmp(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, rgb_bytes({0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x00FF00, 0xFF0000}));

    r = read_bmp(make_bmp(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(std::vector<uint8_t>(r.palette.begin(), r.palette.begin() + 12),
              (std::vector<uint8_t>{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}));

    bmp_recipe rgb = picture(2, 1, 24, {0x010203, 0x040506});
    rgb.os2 = true;
    r = read_bmp(make_bmp(rgb), 24);
    EXPECT_EQ(r.pixels, rgb_bytes({0x010203, 0x040506}));
    r = read_bmp(make_bmp(rgb), 8);
    EXPECT_EQ(r.error, 28);

    rgb.bit_count = 16;
    rgb.pixels = {0, 0};
    r = read_bmp(make_bmp(rgb), 24);
    EXPECT_EQ(r.error, 6);
}

TEST(BmpRead, IndexedReadsReturnIndicesAndThePalette)
{
    bmp_recipe four = picture(3, 2, 4, {1, 2, 3, 4, 5, 6});
    four.palette = {0x010203, 0x040506};
    read_result r = read_bmp(make_bmp(four), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    // Entries past the file's count repeat entry 0; the fourth byte is 0.
    EXPECT_EQ(std::vector<uint8_t>(r.palette.begin(), r.palette.begin() + 12),
              (std::vector<uint8_t>{3, 2, 1, 0, 6, 5, 4, 0, 3, 2, 1, 0}));
    EXPECT_EQ(r.palette[1020], 3);

    bmp_recipe one = picture(10, 1, 1, {1, 0, 1, 0, 1, 0, 1, 0, 1, 1});
    one.palette = {0, 0xFFFFFF};
    r = read_bmp(make_bmp(one), 1);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0xAA, 0xC0}));
    r = read_bmp(make_bmp(one), 8);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 0, 1, 0, 1, 0, 1, 0, 1, 1}));

    // More than 256 colours used: only 256 entries are taken.
    bmp_recipe many = picture(1, 1, 8, {255});
    many.palette.assign(300, 0);
    many.palette[255] = 0xABCDEF;
    r = read_bmp(make_bmp(many), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{255}));
    EXPECT_EQ(r.palette[1020], 0xEF);
}

TEST(BmpRead, DepthsThatCannotBeDelivered)
{
    const std::vector<uint8_t> rgb = make_bmp(picture(1, 1, 24, {0}));
    EXPECT_EQ(read_bmp(rgb, 8).error, 28);
    bmp_recipe eight = picture(1, 1, 8, {0});
    eight.palette = {0};
    EXPECT_EQ(read_bmp(make_bmp(eight), 1).error, 28);
    EXPECT_EQ(read_bmp(rgb, 4).error, 5);
    EXPECT_EQ(read_bmp(rgb, 16).error, 5);
    EXPECT_EQ(read_bmp(rgb, 8, 0, false).error, 5);
}

TEST(BmpRead, MalformedHeadersAreRefused)
{
    auto error_of = [](const bmp_recipe& recipe) { return read_bmp(make_bmp(recipe), 24).error; };
    bmp_recipe recipe = picture(1, 1, 24, {0});
    recipe.header_size = 108;
    EXPECT_EQ(error_of(recipe), 6);
    recipe = picture(0, 1, 24, {});
    EXPECT_EQ(error_of(recipe), 6);
    recipe = picture(1, 1, 24, {0});
    recipe.compression = 5;
    EXPECT_EQ(error_of(recipe), 6);
    recipe.compression = 1;  // RLE8 needs 8 bits
    EXPECT_EQ(error_of(recipe), 6);
    recipe = picture(1, 1, 2, {0});
    EXPECT_EQ(error_of(recipe), 6);

    std::vector<uint8_t> file = make_bmp(picture(1, 1, 24, {0}));
    file[0] = 'X';
    read_result r = read_bmp(file, 24);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 6);
    EXPECT_EQ(read_bmp(std::vector<uint8_t>(file.begin(), file.begin() + 10), 24).error, 3);
}

TEST(BmpRead, TruncatedRowsComeBackWithErrorThree)
{
    const std::vector<uint32_t> pixels = {0x111111, 0x222222, 0x333333};
    std::vector<uint8_t> file = make_bmp(picture(1, 3, 24, pixels));
    file.resize(file.size() - 6);  // the top row and half of the middle one
    read_result r = read_bmp(file, 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 3);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x33, 0x33, 0x33}));
}

TEST(BmpRead, AbortCallbackStopsWithTheRowsReadSoFar)
{
    struct counter {
        int calls = 0;
        static int32_t stop_at_second(int32_t step, int32_t total, void* user)
        {
            auto* self = static_cast<counter*>(user);
            EXPECT_EQ(step, self->calls);
            EXPECT_EQ(total, 3);
            return ++self->calls < 2;
        }
    } seen;
    is_set_abort_callback(counter::stop_at_second, &seen);
    read_result r = read_bmp(make_bmp(picture(1, 3, 24, {0x111111, 0x222222, 0x333333})), 24);
    is_set_abort_callback(nullptr, nullptr);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 14);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x33, 0x33, 0x33}));
}

TEST(BmpRead, HugeSizesFailWithoutAllocating)
{
    for (int32_t height : {0x7FFFFFFF, (int32_t)0x80000000}) {
        bmp_recipe recipe = picture(0x7FFFFFFF, height, 32, {});
        read_result r = read_bmp(make_bmp(recipe), 24);
        EXPECT_FALSE(r.has_buffer);
        EXPECT_EQ(r.error, 1);
        r = read_bmp(make_bmp(recipe), 0, IS_FLAG_PACKED_DIB);
        EXPECT_EQ(r.error, 1);
    }
    // One row of a huge width is still refused when it alone passes the limit.
    bmp_recipe wide = picture(0x7FFFFFFF, 1, 8, {});
    wide.palette = {0};
    EXPECT_EQ(read_bmp(make_bmp(wide), 8).error, 1);
}

}  // namespace
