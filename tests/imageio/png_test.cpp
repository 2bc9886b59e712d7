// The PNG reader: every colour type at the depths it can be delivered at,
// transparency, backgrounds, 16-bit samples, interlacing, text and damage.
#include "imageio/buffer.h"
#include "imageio/readers/png.h"
#include "imageio/thread_state.h"
#include "tests/imageio/reads.h"
#include "tests/writers/png_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

read_result read_png(const std::vector<uint8_t>& file, int32_t depth, uint32_t flags = 0, bool palette = true)
{
    return read_codec(file, depth, [&](ISSourceRecord* s, uint32_t* w, uint32_t* h, uint8_t* p) {
        return is_read_png(s, w, h, depth, palette ? p : nullptr, flags);
    });
}

std::vector<uint8_t> entry(const read_result& r, int i)
{
    return std::vector<uint8_t>(r.palette.begin() + 4 * i, r.palette.begin() + 4 * i + 4);
}

png_recipe palette_file(bool transparency)
{
    png_recipe recipe;
    recipe.color_type = 3;
    recipe.width = 4;
    recipe.height = 1;
    recipe.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    if (transparency)
        recipe.palette_alphas = {0, 128};
    recipe.samples = {0, 1, 2, 1};
    return recipe;
}

TEST(PngReader, PaletteWithAndWithoutTransparency)
{
    const std::vector<uint8_t> file = make_png(palette_file(true));
    read_result indices = read_png(file, 8);
    ASSERT_TRUE(indices.has_buffer) << indices.error;
    EXPECT_EQ(indices.pixels, (std::vector<uint8_t>{0, 1, 2, 1}));
    EXPECT_EQ(entry(indices, 0), (std::vector<uint8_t>{0, 0, 255, 0}));
    EXPECT_EQ(entry(indices, 1), (std::vector<uint8_t>{0, 255, 0, 128}));
    EXPECT_EQ(entry(indices, 2), (std::vector<uint8_t>{255, 0, 0, 255}));  // past tRNS: opaque
    EXPECT_EQ(entry(indices, 3), (std::vector<uint8_t>{0, 0, 0, 0}));

    EXPECT_EQ(read_png(file, 32).pixels,
              (std::vector<uint8_t>{255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255, 255, 0, 255, 0, 128}));
    // 24 bits: composited on the default background, black.
    read_result rgb = read_png(file, 24);
    ASSERT_TRUE(rgb.has_buffer);
    EXPECT_EQ(std::vector<uint8_t>(rgb.pixels.begin(), rgb.pixels.begin() + 3), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_NEAR(rgb.pixels[4], 128, 1);
    EXPECT_EQ(std::vector<uint8_t>(rgb.pixels.begin() + 6, rgb.pixels.begin() + 9), (std::vector<uint8_t>{0, 0, 255}));

    const std::vector<uint8_t> opaque = make_png(palette_file(false));
    EXPECT_EQ(read_png(opaque, 32).pixels,
              (std::vector<uint8_t>{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255}));
    read_result plain = read_png(opaque, 8);
    EXPECT_EQ(entry(plain, 0), (std::vector<uint8_t>{0, 0, 255, 0}));

    // The generic read takes a palette file at 32 bits directly.
    trace_capture trace;
    EXPECT_EQ(read_generic(file, 32).pixels, read_png(file, 32).pixels);
    EXPECT_TRUE(trace.contains("Reading generic as PNG32\n"));
}

TEST(PngReader, SmallPalettesAndGreyLevels)
{
    png_recipe four = palette_file(false);
    four.bit_depth = 4;
    trace_capture trace;
    read_result generic = read_generic(make_png(four), 0);
    EXPECT_EQ(generic.depth, 8);
    EXPECT_EQ(generic.pixels, (std::vector<uint8_t>{0, 1, 2, 1}));
    EXPECT_TRUE(trace.contains("Reading generic as PNG8\n"));

    png_recipe one = palette_file(false);
    one.bit_depth = 1;
    one.palette.resize(2);
    one.width = 10;
    one.samples = {1, 0, 1, 1, 0, 0, 0, 0, 1, 1};
    read_result bits = read_generic(make_png(one), 0);
    EXPECT_EQ(bits.depth, 1);
    EXPECT_EQ(bits.pixels, (std::vector<uint8_t>{0xB0, 0xC0}));
    EXPECT_EQ(read_png(make_png(palette_file(false)), 1).error, 17);  // 8-bit indices do not fit 1 bit

    png_recipe grey;
    grey.color_type = 0;
    grey.bit_depth = 2;
    grey.width = 4;
    grey.samples = {0, 1, 2, 3};
    const std::vector<uint8_t> file = make_png(grey);
    read_result levels = read_png(file, 8);
    EXPECT_EQ(levels.pixels, (std::vector<uint8_t>{0, 1, 2, 3}));
    EXPECT_EQ(entry(levels, 2), (std::vector<uint8_t>{170, 170, 170, 0}));
    EXPECT_EQ(read_png(file, 24).pixels,
              (std::vector<uint8_t>{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}));
    EXPECT_EQ(read_generic(file, 0).depth, 24);

    png_recipe colour;
    colour.samples = {1, 2, 3};
    EXPECT_EQ(read_png(make_png(colour), 8).error, 28);
    EXPECT_EQ(read_png(make_png(colour), 1).error, 28);
    EXPECT_EQ(read_png(file, 8, 0, false).error, 5);
    EXPECT_EQ(read_png(file, 12).error, 5);
}

TEST(PngReader, SixteenBitSamples)
{
    png_recipe recipe;
    recipe.bit_depth = 16;
    recipe.width = 2;
    recipe.samples = {0x1234, 0xABCD, 0xFF00, 0x0001, 0x8080, 0x7FFF};
    const std::vector<uint8_t> file = make_png(recipe);
    EXPECT_EQ(read_png(file, 24).pixels, (std::vector<uint8_t>{0x12, 0xAB, 0xFF, 0x00, 0x80, 0x7F}));
    EXPECT_EQ(read_png(file, 48).pixels,
              (std::vector<uint8_t>{0x34, 0x12, 0xCD, 0xAB, 0x00, 0xFF, 0x01, 0x00, 0x80, 0x80, 0xFF, 0x7F}));
    read_result rgba16 = read_png(file, 64);
    ASSERT_EQ(rgba16.pixels.size(), 16u);
    EXPECT_EQ(rgba16.pixels[6], 0xFF);
    EXPECT_EQ(rgba16.pixels[7], 0xFF);
    EXPECT_EQ(rgba16.pixels[8], 0x01);

    png_recipe eight;
    eight.samples = {0x12, 0x34, 0x56};
    EXPECT_EQ(read_png(make_png(eight), 48).pixels, (std::vector<uint8_t>{0x12, 0x12, 0x34, 0x34, 0x56, 0x56}));

    png_recipe grey;
    grey.color_type = 0;
    grey.bit_depth = 16;
    grey.samples = {0xBEEF};
    EXPECT_EQ(read_png(make_png(grey), 16, PNG_FLAG_GREY16).pixels, (std::vector<uint8_t>{0xEF, 0xBE}));
    EXPECT_EQ(read_png(make_png(grey), 16).pixels, (std::vector<uint8_t>{0xBE, 0xFF}));  // grey, opaque alpha

    png_recipe grey_alpha;
    grey_alpha.color_type = 4;
    grey_alpha.samples = {90, 40};
    EXPECT_EQ(read_png(make_png(grey_alpha), 16).pixels, (std::vector<uint8_t>{90, 40}));
    EXPECT_EQ(read_png(make_png(grey_alpha), 48).error, 28);
    EXPECT_EQ(read_png(make_png(grey_alpha), 16, PNG_FLAG_GREY16).error, 28);
}

TEST(PngReader, AlphaIsCompositedOnTheBackgroundAt24Bits)
{
    png_recipe recipe;
    recipe.color_type = 6;
    recipe.width = 3;
    recipe.samples = {200, 100, 50, 255, 200, 100, 50, 0, 10, 20, 30, 0};
    const std::vector<uint8_t> plain = make_png(recipe);
    EXPECT_EQ(read_png(plain, 24).pixels, (std::vector<uint8_t>{200, 100, 50, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(read_png(plain, 32).pixels, (std::vector<uint8_t>(recipe.samples.begin(), recipe.samples.end())));
    EXPECT_FALSE(is_thread_state()->png.has_file_background);

    recipe.has_background = true;
    recipe.background[0] = 0x40;
    recipe.background[1] = 0x80;
    recipe.background[2] = 0xC0;
    const std::vector<uint8_t> with_background = make_png(recipe);
    EXPECT_EQ(read_png(with_background, 24).pixels,
              (std::vector<uint8_t>{200, 100, 50, 0x40, 0x80, 0xC0, 0x40, 0x80, 0xC0}));
    ASSERT_TRUE(is_thread_state()->png.has_file_background);
    EXPECT_EQ(is_thread_state()->png.file_background.green, 0x80);

    // 8-bit RGBA is read at 32 bits when the depth is left open.
    trace_capture trace;
    EXPECT_EQ(read_generic(with_background, 0).depth, 32);
    EXPECT_TRUE(trace.contains("Reading generic as PNG32\n"));
    read_png(plain, 24);
    EXPECT_FALSE(is_thread_state()->png.has_file_background);

    png_recipe grey;
    grey.color_type = 0;
    grey.width = 2;
    grey.samples = {7, 9};
    grey.has_transparent_colour = true;
    grey.transparent[0] = 9;
    EXPECT_EQ(read_png(make_png(grey), 32).pixels, (std::vector<uint8_t>{7, 7, 7, 255, 9, 9, 9, 0}));
    EXPECT_EQ(read_png(make_png(grey), 24).pixels, (std::vector<uint8_t>{7, 7, 7, 0, 0, 0}));
}

TEST(PngReader, InterlacedTextAndGamma)
{
    png_recipe recipe;
    recipe.width = 7;
    recipe.height = 5;
    for (uint16_t i = 0; i < 7 * 5 * 3; ++i)
        recipe.samples.push_back((uint16_t)(i * 7 % 256));
    recipe.texts = {{"Title", "poster"}, {"Author", "nobody"}};
    const read_result progressive = [&] {
        png_recipe interlaced = recipe;
        interlaced.interlaced = true;
        interlaced.texts_after_image = true;
        return read_png(make_png(interlaced), 24);
    }();
    ASSERT_TRUE(progressive.has_buffer);
    EXPECT_EQ(progressive.pixels, std::vector<uint8_t>(recipe.samples.begin(), recipe.samples.end()));
    const auto& texts = is_thread_state()->png.texts;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].key, "Title");
    EXPECT_EQ(texts[1].text, "nobody");

    png_recipe grey;
    grey.color_type = 0;
    grey.width = 3;
    grey.samples = {0, 128, 255};
    grey.gamma = 1 / 2.2;
    const std::vector<uint8_t> file = make_png(grey);
    EXPECT_EQ(read_png(file, 8).pixels, (std::vector<uint8_t>{0, 128, 255}));
    read_result corrected = read_png(file, 8, PNG_FLAG_GAMMA);
    EXPECT_EQ(corrected.pixels[0], 0);
    EXPECT_NEAR(corrected.pixels[1], 151, 1);  // (128 / 255) ^ (1 / (0.45455 x 2.9))
    EXPECT_EQ(corrected.pixels[2], 255);
    EXPECT_TRUE(is_thread_state()->png.texts.empty());
}

int32_t stop_at_row_2(int32_t step, int32_t, void*)
{
    return step < 2;
}

TEST(PngReader, DamagedFilesKeepTheRowsReadAndReportTheError)
{
    png_recipe recipe;
    recipe.width = 64;
    recipe.height = 64;
    for (int i = 0; i < 64 * 64 * 3; ++i)
        recipe.samples.push_back((uint16_t)((i * 2654435761u) >> 24));  // noise: compresses badly
    std::vector<uint8_t> file = make_png(recipe);
    file.resize(file.size() / 2);
    trace_capture trace;
    read_result cut = read_png(file, 24);
    ASSERT_TRUE(cut.has_buffer);
    EXPECT_EQ(cut.error, 15);
    EXPECT_TRUE(trace.contains("read Error\n"));
    EXPECT_EQ(cut.pixels[0], recipe.samples[0]);
    EXPECT_EQ(cut.pixels.back(), 0);  // not reached
    read_result generic = read_generic(file, 24);
    EXPECT_FALSE(generic.has_buffer);
    EXPECT_EQ(generic.error, 15);

    std::vector<uint8_t> header_only = make_png(recipe);
    read_result short_header = read_png(std::vector<uint8_t>(header_only.begin(), header_only.begin() + 20), 24);
    EXPECT_FALSE(short_header.has_buffer);
    EXPECT_EQ(short_header.error, 15);

    // A chunk that claims nearly 2 GB is neither allocated nor believed.
    std::vector<uint8_t> huge_chunk(header_only.begin(), header_only.begin() + 33);
    const uint8_t claim[] = {0x76, 0, 0, 0x0C, 't', 'E', 'X', 't', 'C', 'o', 'm'};
    huge_chunk.insert(huge_chunk.end(), claim, claim + sizeof claim);
    is_set_buffer_limit(1 << 20);
    read_result refused = read_png(huge_chunk, 24);
    is_set_buffer_limit(0);
    EXPECT_FALSE(refused.has_buffer);
    EXPECT_EQ(refused.error, 15);

    std::vector<uint8_t> bad_crc = make_png(recipe);
    bad_crc[29] ^= 1;  // IHDR's CRC
    EXPECT_EQ(read_png(bad_crc, 24).error, 15);

    is_set_abort_callback(stop_at_row_2, nullptr);
    read_result cancelled = read_png(make_png(recipe), 32);
    is_set_abort_callback(nullptr, nullptr);
    ASSERT_TRUE(cancelled.has_buffer);
    EXPECT_EQ(cancelled.error, 14);
    EXPECT_EQ(cancelled.pixels[3], 255);
    EXPECT_EQ(cancelled.pixels[4 * 64 * 2 + 3], 0);
}

}  // namespace
