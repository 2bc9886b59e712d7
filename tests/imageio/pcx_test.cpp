// PCX reads: every plane layout, the three palettes, depths, the generic
// read's choices and damaged files.
#include "imageio/readers/pcx.h"
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/reads.h"
#include "tests/writers/pcx_writer.h"

#include <gtest/gtest.h>

namespace {

read_result read_pcx(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0)
{
    return read_format(is_read_pcx, file, depth, flags);
}

pcx_recipe picture(uint8_t bits, uint8_t planes, uint16_t width, uint16_t height, std::vector<uint32_t> pixels)
{
    pcx_recipe recipe;
    recipe.bits_per_plane = bits;
    recipe.planes = planes;
    recipe.width = width;
    recipe.height = height;
    recipe.pixels = std::move(pixels);
    return recipe;
}

std::vector<uint8_t> entry(const read_result& r, uint32_t index)
{
    return std::vector<uint8_t>(r.palette.begin() + 4 * index, r.palette.begin() + 4 * index + 4);
}

TEST(PcxRead, TwentyFourBitFilesInterleaveTheirPlanes)
{
    // Wide enough for runs of more than one byte and bytes of 0xC0 and more.
    std::vector<uint32_t> pixels(70, 0xC1C2C3);
    pixels[0] = 0x010203;
    pixels[69] = 0xFFFFFE;
    pcx_recipe recipe = picture(8, 3, 35, 2, pixels);
    recipe.xmin = 10;
    recipe.ymin = 5;
    read_result r = read_pcx(make_pcx(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.width, 35u);
    EXPECT_EQ(r.height, 2u);
    EXPECT_EQ(r.pixels, rgb_bytes(pixels));
    EXPECT_EQ(read_pcx(make_pcx(recipe), 8).error, 28);
}

TEST(PcxRead, TwoColourFilesAreBlackAndWhiteWhateverTheHeaderSays)
{
    pcx_recipe recipe = picture(1, 1, 10, 1, {1, 0, 1, 1, 0, 0, 0, 0, 1, 1});
    recipe.header_palette = {0xFF0000, 0x00FF00};
    read_result r = read_pcx(make_pcx(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, rgb_bytes({0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0, 0xFFFFFF, 0xFFFFFF}));

    r = read_pcx(make_pcx(recipe), 1);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0xB0, 0xC0}));
    EXPECT_EQ(std::vector<uint8_t>(r.palette.begin(), r.palette.begin() + 8),
              (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
    EXPECT_EQ(r.palette[8], 0xCD);  // a 1-bit read fills two entries only

    r = read_pcx(make_pcx(recipe), 8);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 0, 1, 1, 0, 0, 0, 0, 1, 1}));
}

TEST(PcxRead, PlanesMergeIntoIndicesThroughTheHeaderPalette)
{
    const std::vector<uint32_t> header = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
                                          0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF,
                                          0x00FFFF, 0xFFFFFF};
    // Four planes of one bit, one plane of four bits, two planes of two.
    for (auto [bits, planes] : {std::pair<uint8_t, uint8_t>{1, 4}, {4, 1}, {2, 2}}) {
        pcx_recipe recipe = picture(bits, planes, 5, 2, {0, 1, 9, 15, 7, 12, 3, 14, 2, 8});
        recipe.header_palette = header;
        read_result r = read_pcx(make_pcx(recipe), 8);
        ASSERT_TRUE(r.has_buffer) << (int)bits;
        EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 1, 9, 15, 7, 12, 3, 14, 2, 8}));
        EXPECT_EQ(entry(r, 9), (std::vector<uint8_t>{0, 0, 255, 0}));
        EXPECT_EQ(entry(r, 200), entry(r, 0));
        r = read_pcx(make_pcx(recipe), 24);
        EXPECT_EQ(r.pixels, rgb_bytes({0, 0x800000, 0xFF0000, 0xFFFFFF, 0xC0C0C0, 0x0000FF, 0x808000, 0x00FFFF,
                                       0x008000, 0x808080}));
        EXPECT_EQ(read_pcx(make_pcx(recipe), 1).error, 28);
    }
    // Two bits take four header entries; the rest repeat entry 0.
    pcx_recipe two = picture(2, 1, 4, 1, {3, 2, 1, 0});
    two.header_palette = header;
    read_result r = read_pcx(make_pcx(two), 8);
    EXPECT_EQ(entry(r, 3), (std::vector<uint8_t>{0, 0x80, 0x80, 0}));
    EXPECT_EQ(entry(r, 4), entry(r, 0));
}

TEST(PcxRead, EightBitFilesUseTheTrailingPaletteOrAGreyRamp)
{
    pcx_recipe recipe = picture(8, 1, 3, 1, {0, 0x7F, 0xFF});
    read_result r = read_pcx(make_pcx(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 0, 0, 0x7F, 0x7F, 0x7F, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(read_pcx(make_pcx(recipe), 8).pixels, (std::vector<uint8_t>{0, 0x7F, 0xFF}));

    recipe.palette.assign(256, 0x010203);
    recipe.palette[0x7F] = 0xA0B0C0;
    r = read_pcx(make_pcx(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 0x7F, 0xFF}));
    EXPECT_EQ(entry(r, 0x7F), (std::vector<uint8_t>{0xC0, 0xB0, 0xA0, 0}));
    r = read_pcx(make_pcx(recipe), 24);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 2, 3, 0xA0, 0xB0, 0xC0, 1, 2, 3}));
}

TEST(PcxRead, PackedBitmapsAtTheFilesDepth)
{
    pcx_recipe four = picture(1, 4, 3, 1, {1, 15, 2});
    four.header_palette = {0, 0x112233};
    read_result r = read_pcx(make_pcx(four), 0, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(r.has_buffer);
    ASSERT_EQ(r.pixels.size(), 40u + 64 + 4);
    EXPECT_EQ(r.pixels[14], 4);
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.begin() + 44, r.pixels.begin() + 48),
              (std::vector<uint8_t>{0x33, 0x22, 0x11, 0}));
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.end() - 4, r.pixels.end()), (std::vector<uint8_t>{0x1F, 0x20, 0, 0}));

    r = read_pcx(make_pcx(picture(1, 1, 9, 2, {1, 0, 0, 0, 0, 0, 0, 0, 1})), 0, IS_FLAG_PACKED_DIB);
    ASSERT_EQ(r.pixels.size(), 48u + 8);
    EXPECT_EQ(std::vector<uint8_t>(r.pixels.end() - 8, r.pixels.end()), (std::vector<uint8_t>{0, 0, 0, 0, 0x80, 0x80, 0, 0}));

    EXPECT_EQ(read_pcx(make_pcx(picture(2, 1, 1, 1, {0})), 0, IS_FLAG_PACKED_DIB).error, 5);
}

TEST(PcxRead, UnusableHeadersAndDamagedRows)
{
    auto error_of = [](const pcx_recipe& recipe, int32_t depth = 24) {
        read_result r = read_pcx(make_pcx(recipe), depth);
        EXPECT_FALSE(r.has_buffer);
        return r.error;
    };
    EXPECT_EQ(read_pcx(std::vector<uint8_t>(127, 0x0A), 24).error, 22);
    auto patched_error = [](uint8_t bits, uint8_t planes) {
        std::vector<uint8_t> file = make_pcx(picture(8, 1, 1, 1, {0}));
        file[3] = bits;
        file[65] = planes;
        return read_pcx(file, 24).error;
    };
    EXPECT_EQ(patched_error(8, 0), 22);
    EXPECT_EQ(patched_error(16, 3), 22);  // more than 32 bits
    EXPECT_EQ(patched_error(16, 1), 22);
    pcx_recipe inverted = picture(8, 1, 1, 1, {0});
    inverted.xmin = 5;
    inverted.width = 0;                                     // xmax below xmin
    EXPECT_EQ(error_of(inverted), 22);
    // Pixels wider than 8 bits other than red, green, blue would index past the palette.
    EXPECT_EQ(error_of(picture(8, 4, 1, 1, {0})), 22);
    EXPECT_EQ(error_of(picture(4, 4, 1, 1, {0})), 22);
    EXPECT_EQ(patched_error(3, 1), 22);
    // Lines too short for the width.
    pcx_recipe narrow = picture(8, 1, 10, 1, std::vector<uint32_t>(10, 1));
    narrow.bytes_per_line = 9;
    EXPECT_EQ(error_of(narrow), 22);
    narrow = picture(1, 1, 17, 1, std::vector<uint32_t>(17, 1));
    narrow.bytes_per_line = 2;
    EXPECT_EQ(error_of(narrow, 1), 22);

    std::vector<uint8_t> file = make_pcx(picture(8, 1, 4, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    file.resize(file.size() - 2);
    EXPECT_EQ(read_pcx(file, 8).error, 3);
    file.resize(128);
    EXPECT_EQ(read_pcx(file, 8).error, 3);

    EXPECT_EQ(read_pcx(make_pcx(picture(8, 1, 1, 1, {0})), 4).error, 5);
    EXPECT_EQ(read_format(is_read_pcx, make_pcx(picture(8, 1, 1, 1, {0})), 8, 0, false).error, 5);
}

TEST(PcxRead, RunsMayGoOnIntoTheNextRow)
{
    std::vector<uint8_t> file = make_pcx(picture(8, 1, 2, 2, {}));
    file.resize(128);
    file.insert(file.end(), {0xC3, 0x44, 0x55});
    read_result r = read_pcx(file, 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x44, 0x44, 0x44, 0x55}));
}

TEST(PcxRead, TheAbortCallbackAndTheGenericRead)
{
    const pcx_recipe grey = picture(8, 1, 2, 3, {1, 2, 3, 4, 5, 6});
    abort_at at{2};
    is_set_abort_callback(abort_at_step, &at);
    read_result r = read_pcx(make_pcx(grey), 8);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_EQ(r.error, 14);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(at.calls, 3);

    trace_capture trace;
    r = read_generic(make_pcx(grey), 0);
    EXPECT_EQ(r.depth, 8);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(trace.contains("Reading generic as PCX8\n"));
    r = read_generic(make_pcx(picture(1, 1, 3, 1, {1, 0, 1})), 0);
    EXPECT_EQ(r.depth, 1);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0xA0}));
    r = read_generic(make_pcx(picture(8, 3, 1, 1, {0x102030})), 0);
    EXPECT_EQ(r.depth, 24);
    r = read_generic(make_pcx(picture(8, 3, 1, 1, {0x102030})), 32);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x10, 0x20, 0x30, 255}));
}

}  // namespace
