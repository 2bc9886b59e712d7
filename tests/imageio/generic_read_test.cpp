// The generic read: depth choice, families, refusals and the trace.
#include "imageio/generic_read.h"
#include "tests/writers/bmp_writer.h"
#include "tests/imageio/reads.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bmp_recipe paletted(uint16_t bits)
{
    bmp_recipe recipe;
    recipe.width = 3;
    recipe.height = 1;
    recipe.bit_count = bits;
    recipe.palette = {0x000000, 0xFF8000};
    recipe.pixels = {1, 0, 1};
    return recipe;
}

TEST(GenericRead, DepthZeroFollowsTheBitmapsBitCount)
{
    trace_capture trace;
    read_result four = read_generic(make_bmp(paletted(4)), 0);
    ASSERT_TRUE(four.has_buffer);
    EXPECT_EQ(four.depth, 8);
    EXPECT_EQ(four.pixels, (std::vector<uint8_t>{1, 0, 1}));
    EXPECT_EQ(std::vector<uint8_t>(four.palette.begin() + 4, four.palette.begin() + 8),
              (std::vector<uint8_t>{0x00, 0x80, 0xFF, 0}));
    EXPECT_TRUE(trace.contains("Reading generic as BMP8\n"));

    read_result one = read_generic(make_bmp(paletted(1)), 0);
    EXPECT_EQ(one.depth, 1);
    EXPECT_EQ(one.pixels, (std::vector<uint8_t>{0xA0}));
    EXPECT_TRUE(trace.contains("Reading generic as BMP1\n"));

    bmp_recipe rgba;
    rgba.bit_count = 32;
    rgba.pixels = {0x7F010203};
    read_result r32 = read_generic(make_bmp(rgba), 0);
    EXPECT_EQ(r32.depth, 32);
    EXPECT_EQ(r32.pixels, (std::vector<uint8_t>{1, 2, 3, 0x7F}));
    EXPECT_TRUE(trace.contains("Reading generic as BMP32\n"));

    bmp_recipe sixteen;
    sixteen.bit_count = 16;
    sixteen.pixels = {0x7FFF};
    read_result r16 = read_generic(make_bmp(sixteen), 0);
    EXPECT_EQ(r16.depth, 24);
    EXPECT_EQ(r16.pixels, (std::vector<uint8_t>{255, 255, 255}));
    EXPECT_TRUE(trace.contains("Reading generic as BMP\n"));
}

TEST(GenericRead, WantedDepthsSelectAFamily)
{
    const std::vector<uint8_t> file = make_bmp(paletted(8));
    read_result r = read_generic(file, 16);  // above 8: the 24-bit family
    EXPECT_EQ(r.depth, 24);
    EXPECT_EQ(r.pixels, rgb_bytes({0xFF8000, 0, 0xFF8000}));
    r = read_generic(file, 4);  // 2 to 8: the 8-bit family
    EXPECT_EQ(r.depth, 8);
    r = read_generic(file, 32);
    EXPECT_EQ(r.depth, 32);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0xFF, 0x80, 0, 255, 0, 0, 0, 255, 0xFF, 0x80, 0, 255}));

    memory_source source(file);
    uint32_t width = 0, height = 0;
    int32_t depth = 0;
    EXPECT_EQ(is_read_generic(source.get(), 8, &width, &height, &depth, nullptr), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);
    EXPECT_EQ(is_read_generic(source.get(), -1, &width, &height, &depth, nullptr), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);
}

TEST(GenericRead, TheTwoApplicationEntryPoints)
{
    bmp_recipe recipe;
    recipe.width = 2;
    recipe.pixels = {0x102030, 0x405060};
    temp_file file("p.bmp", make_bmp(recipe));
    ISSourceRecord* source = is_open_file_source(file.path());
    uint32_t width = 0, height = 0;
    uint8_t* rgb = is_read_generic_rgb24(source, &width, &height);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 1u);
    EXPECT_EQ(std::vector<uint8_t>(rgb, rgb + 6), rgb_bytes(recipe.pixels));
    is_global_free(rgb);
    uint8_t* rgba = is_read_generic_rgba32(source, &width, &height);
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(rgba, rgba + 8), (std::vector<uint8_t>{0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255}));
    is_global_free(rgba);
    is_close_source(source);
}

TEST(GenericRead, UnknownAndProtectedFilesAreRefused)
{
    trace_capture trace;
    read_result r = read_generic(std::vector<uint8_t>(1000, 7), 24);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 2);
    EXPECT_TRUE(trace.contains("Unknown format in generic read\n"));

    r = read_generic(std::vector<uint8_t>{'T', 'L', 'A', 1, 0, 0}, 24);
    EXPECT_EQ(r.error, 52);

    // A short file of unknown content named as a BMP goes to the BMP reader.
    temp_file named("p.bmp", std::vector<uint8_t>(100, 7));
    ISSourceRecord* source = is_open_file_source(named.path());
    r = read_generic(source, 24);
    EXPECT_EQ(r.error, 6);
    is_close_source(source);
}

TEST(GenericRead, BareSignaturesFailWithTheirReadersCode)
{
    struct stub {
        std::vector<uint8_t> file;
        int32_t error;  // at every depth the reader serves
    };
    const stub stubs[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 0}, 9},                 // JPEG
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, 15},  // PNG
        {{'I', 'I', 0x2A, 0}, 20},                           // TIFF
    };
    for (const stub& s : stubs) {
        for (int32_t depth : {0, 1, 8, 24, 32}) {
            read_result r = read_generic(s.file, depth);
            EXPECT_FALSE(r.has_buffer);
            const bool no_route = s.file[0] == 0xFF && depth == 1;  // JPEG has no 1-bit family
            EXPECT_EQ(r.error, no_route ? 17 : s.error) << (int)s.file[0] << " at " << depth;
        }
    }
    EXPECT_EQ(is_read_pcd(nullptr, nullptr, nullptr, 6, 0), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);
}

TEST(GenericRead, PartialPicturesAreNotHandedOn)
{
    bmp_recipe recipe;
    recipe.height = 2;
    recipe.pixels = {1, 2};
    std::vector<uint8_t> file = make_bmp(recipe);
    file.resize(file.size() - 2);
    read_result r = read_generic(file, 24);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 3);
    EXPECT_EQ(r.width, 0u);
    EXPECT_EQ(r.height, 0u);
}

TEST(GenericRead, ExpansionsThroughThePaletteAndToOpaqueAlpha)
{
    uint8_t palette[1024] = {};
    std::memcpy(palette + 4 * 200, "\x01\x02\x03\x99", 4);
    const uint8_t indices[] = {200, 0};
    owned_buffer rgb = expand_indexed_to_rgb(indices, 2, 1, palette);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(rgb.get(), rgb.get() + 6), (std::vector<uint8_t>{3, 2, 1, 0, 0, 0}));
    owned_buffer rgba = expand_rgb_to_rgba(rgb.get(), 1, 2);
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(rgba.get(), rgba.get() + 8), (std::vector<uint8_t>{3, 2, 1, 255, 0, 0, 0, 255}));
    EXPECT_EQ(expand_rgb_to_rgba(indices, 0x10000, 0x10000), nullptr);
}

}  // namespace
