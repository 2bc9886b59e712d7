// The JPEG 2000 module: lossless files written with OpenJPEG come back
// exactly at every depth, components are sampled on the reference grid,
// and the module reads only through the callback table it was given.
#include "imageio/buffer.h"
#include "imageio/readers/j2k.h"
#include "tests/imageio/reads.h"
#include "tests/writers/j2k_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Installs the library's table the way the application does.
void install_table()
{
    is_io_callbacks* table = is_make_io_callbacks(0);
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(j2k_set_io_callbacks(table));
    is_global_free(table);
}

read_result read_j2k(const std::vector<uint8_t>& file, int32_t depth, double scale = 1.0, uint32_t flags = 0)
{
    install_table();
    return read_codec(file, depth, [&](ISSourceRecord* s, uint32_t* w, uint32_t* h, uint8_t*) {
        return j2k_read(s, w, h, depth, scale, flags);
    });
}

j2k_recipe planes_of(uint32_t width, uint32_t height, int components, int color_space)
{
    j2k_recipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.color_space = color_space;
    for (int c = 0; c < components; ++c) {
        std::vector<int32_t> plane;
        for (uint32_t i = 0; i < width * height; ++i)
            plane.push_back((int32_t)((i * 37 + c * 91 + i / width * 11) % 256));
        recipe.planes.push_back(plane);
    }
    return recipe;
}

// The planes interleaved as 8-bit pixels.
std::vector<uint8_t> interleaved(const j2k_recipe& recipe, size_t channels)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < recipe.planes[0].size(); ++i)
        for (size_t c = 0; c < channels; ++c)
            out.push_back((uint8_t)recipe.planes[c < recipe.planes.size() ? c : 0][i]);
    return out;
}

TEST(J2kModule, LosslessColourAtEveryDepth)
{
    const j2k_recipe recipe = planes_of(5, 4, 3, 1);
    const std::vector<uint8_t> file = make_j2k(recipe);
    ASSERT_FALSE(file.empty());
    read_result rgb = read_j2k(file, 24);
    ASSERT_TRUE(rgb.has_buffer) << rgb.error;
    EXPECT_EQ(rgb.width, 5u);
    EXPECT_EQ(rgb.height, 4u);
    EXPECT_EQ(rgb.pixels, interleaved(recipe, 3));
    EXPECT_EQ(is_get_last_error(), 0);

    read_result rgba = read_j2k(file, 32);
    ASSERT_TRUE(rgba.has_buffer);
    EXPECT_EQ(rgba.pixels[3], 255);
    EXPECT_EQ(rgba.pixels[4], rgb.pixels[3]);

    read_result deep = read_j2k(file, 48);
    ASSERT_TRUE(deep.has_buffer);
    EXPECT_EQ(deep.pixels[0], 0);  // 8 bits shifted up to fill 16
    EXPECT_EQ(deep.pixels[1], rgb.pixels[0]);

    read_result grey = read_j2k(file, 8);
    EXPECT_FALSE(grey.has_buffer);
    EXPECT_EQ(grey.error, 5);
    EXPECT_EQ(j2k_get_last_error(), 5);
    EXPECT_EQ(read_j2k(file, 12).error, 5);

    j2k_recipe four = planes_of(3, 2, 4, 1);
    read_result alpha = read_j2k(make_j2k(four), 32);
    EXPECT_EQ(alpha.pixels, interleaved(four, 4));
}

TEST(J2kModule, GreyCodestreamsAndPrecisions)
{
    j2k_recipe recipe = planes_of(6, 3, 1, 0);
    recipe.jp2 = false;
    const std::vector<uint8_t> file = make_j2k(recipe);
    EXPECT_EQ(read_j2k(file, 8).pixels, interleaved(recipe, 1));
    EXPECT_EQ(read_j2k(file, 24).pixels, interleaved(recipe, 3));  // grey in all three channels

    // Codestream 4 bytes into the file.
    std::vector<uint8_t> shifted = {1, 2, 3, 4};
    shifted.insert(shifted.end(), file.begin(), file.end());
    EXPECT_EQ(read_j2k(shifted, 8).pixels, interleaved(recipe, 1));

    j2k_recipe twelve;
    twelve.width = 2;
    twelve.precision = 12;
    twelve.color_space = 2;
    twelve.planes = {{0xABC, 0x123}};
    const std::vector<uint8_t> deep = make_j2k(twelve);
    EXPECT_EQ(read_j2k(deep, 16).pixels, (std::vector<uint8_t>{0xC0, 0xAB, 0x30, 0x12}));
    EXPECT_EQ(read_j2k(deep, 8).pixels, (std::vector<uint8_t>{0xAB, 0x12}));

    j2k_recipe negative;
    negative.width = 3;
    negative.is_signed = true;
    negative.color_space = 2;
    negative.planes = {{-128, 0, 127}};
    EXPECT_EQ(read_j2k(make_j2k(negative), 8).pixels, (std::vector<uint8_t>{0, 128, 255}));
}

TEST(J2kModule, SubsampledComponentsOnTheReferenceGrid)
{
    // Luma at every position, chroma at every other column and row, and an
    // image origin that is not on the chroma grid.
    j2k_recipe recipe;
    recipe.width = 5;
    recipe.height = 3;
    recipe.x0 = 1;
    recipe.y0 = 1;
    recipe.color_space = 1;
    recipe.dx = {1, 2, 2};
    recipe.dy = {1, 2, 2};
    for (size_t c = 0; c < 3; ++c) {
        uint32_t w = 0, h = 0;
        j2k_component_size(recipe, c, &w, &h);
        std::vector<int32_t> plane;
        for (uint32_t i = 0; i < w * h; ++i)
            plane.push_back((int32_t)(10 * c + i));
        recipe.planes.push_back(plane);
    }
    read_result r = read_j2k(make_j2k(recipe), 24);
    ASSERT_TRUE(r.has_buffer) << r.error;
    ASSERT_EQ(r.width, 5u);
    // Chroma columns (x + 1 - 2) / 2 truncated: 0, 0, 1, 1, 2; rows likewise 0, 0, 1.
    const uint32_t chroma_width = 3;
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 5; ++x) {
            const uint32_t column = x == 0 ? 0 : (x - 1) / 2;
            const uint32_t row = y == 0 ? 0 : (y - 1) / 2;
            const uint8_t* p = &r.pixels[(y * 5 + x) * 3];
            ASSERT_EQ(p[0], y * 5 + x) << x << "," << y;
            ASSERT_EQ(p[1], 10 + row * chroma_width + column) << x << "," << y;
            ASSERT_EQ(p[2], 20 + row * chroma_width + column) << x << "," << y;
        }
    }

    // Scale 2 takes every other pixel of every other row.
    const j2k_recipe full = planes_of(6, 4, 3, 1);
    const std::vector<uint8_t> all = interleaved(full, 3);
    read_result half = read_j2k(make_j2k(full), 24, 2.0);
    ASSERT_EQ(half.width, 3u);
    ASSERT_EQ(half.height, 2u);
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 3; ++x)
            EXPECT_EQ(0, std::memcmp(&half.pixels[(y * 3 + x) * 3], &all[(2 * y * 6 + 2 * x) * 3], 3));
}

TEST(J2kModule, YccFilesComeBackAsRgb)
{
    j2k_recipe recipe;
    recipe.width = 4;
    recipe.height = 4;
    recipe.color_space = 3;
    recipe.planes = {std::vector<int32_t>(16, 76), std::vector<int32_t>(16, 85), std::vector<int32_t>(16, 255)};
    read_result r = read_j2k(make_j2k(recipe), 24);
    ASSERT_TRUE(r.has_buffer) << r.error;
    EXPECT_LE(max_difference(r.pixels, repeated({255, 0, 0}, 16)), 2);
}

TEST(J2kModule, PackedBitmapThroughAFileSource)
{
    const j2k_recipe recipe = planes_of(3, 2, 3, 1);
    temp_file named("picture.jp2", make_j2k(recipe));
    ISSourceRecord* source = is_open_file_source(named.path());
    EXPECT_EQ(is_guess_format(source), IS_FORMAT_JP2);
    is_seek(source, 0, 0);
    install_table();
    uint32_t w = 0, h = 0;
    uint8_t* dib = j2k_read(source, &w, &h, 24, 1.0, IS_FLAG_PACKED_DIB);
    is_close_source(source);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib[14], 24);
    // Bottom row first, blue first; rows padded to 12 bytes.
    const std::vector<uint8_t> rgb = interleaved(recipe, 3);
    EXPECT_EQ(dib[40], rgb[9 + 2]);
    EXPECT_EQ(dib[42], rgb[9 + 0]);
    EXPECT_EQ(dib[40 + 12 + 2], rgb[0]);
    is_global_free(dib);
}

int32_t refuse(int32_t, int32_t, void*)
{
    return 0;
}

TEST(J2kModule, RefusalsAndDamage)
{
    EXPECT_FALSE(j2k_set_io_callbacks(nullptr));
    EXPECT_EQ(j2k_get_last_error(), 5);
    is_io_callbacks* table = is_make_io_callbacks(0);
    table->table_size = 48;  // the size of a table of 32-bit words
    EXPECT_FALSE(j2k_set_io_callbacks(table));
    EXPECT_EQ(j2k_get_last_error(), 5);
    is_global_free(table);

    const std::vector<uint8_t> file = make_j2k(planes_of(16, 16, 3, 1));
    trace_capture trace;
    read_result garbage = read_j2k(std::vector<uint8_t>(64, 0x55), 24);
    EXPECT_FALSE(garbage.has_buffer);
    EXPECT_EQ(garbage.error, 1000);  // through the table: the library's last error
    EXPECT_EQ(j2k_get_last_error(), 1000);

    std::vector<uint8_t> cut(file.begin(), file.begin() + 60);
    EXPECT_EQ(read_j2k(cut, 24).error, 1000);

    is_set_abort_callback(refuse, nullptr);
    EXPECT_EQ(read_j2k(file, 24).error, 14);
    is_set_abort_callback(nullptr, nullptr);

    is_set_buffer_limit(16 * 16 * 3 * 4 - 1);
    EXPECT_EQ(read_j2k(file, 24).error, 1);
    is_set_buffer_limit(0);
    EXPECT_EQ(read_j2k(file, 24, 0.0).error, 5);
}

}  // namespace
