// GIF reads: LZW at every code size (2 to 11), full tables, interlacing, the first
// frame only, transparency, cut-off and broken data, refusals and the
// generic read.
#include "imageio/readers/gif.h"
#include "tests/imageio/reads.h"
#include "tests/writers/gif_writer.h"

#include <gtest/gtest.h>

namespace {

struct gif_result {
    read_result read;
    int32_t transparent = -5;
};

gif_result read_gif(const std::vector<uint8_t>& file, uint32_t flags = 0, bool with_palette = true)
{
    memory_source source(file);
    gif_result result;
    read_result& r = result.read;
    r.depth = 8;
    uint8_t* buffer = is_read_gif(source.get(), &r.width, &r.height, &result.transparent,
                                  with_palette ? r.palette.data() : nullptr, flags);
    take_buffer(buffer, flags, &r);
    return result;
}

std::vector<uint8_t> pattern(size_t count, uint32_t colours, uint32_t seed = 1)
{
    std::vector<uint8_t> pixels(count);
    uint32_t state = seed;
    for (size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        // Stretches of repeats as well as changes, so that strings grow.
        pixels[i] = (i % 7 < 3 && i > 0) ? pixels[i - 1] : (uint8_t)((state >> 16) % colours);
    }
    return pixels;
}

gif_recipe one_frame(uint16_t width, uint16_t height, std::vector<uint8_t> pixels, uint8_t code_size = 8)
{
    gif_recipe recipe;
    recipe.global_table = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
    gif_frame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels = std::move(pixels);
    frame.min_code_size = code_size;
    recipe.frames.push_back(frame);
    return recipe;
}

TEST(GifRead, CodesOfEveryWidthAcrossSubBlocks)
{
    for (uint8_t code_size : {2, 3, 5, 8}) {
        for (uint32_t block : {255u, 1u, 7u}) {
            gif_recipe recipe = one_frame(23, 17, pattern(23 * 17, 1u << code_size), code_size);
            recipe.frames[0].block_size = block;
            gif_result g = read_gif(make_gif(recipe));
            ASSERT_TRUE(g.read.has_buffer) << (int)code_size;
            EXPECT_EQ(g.read.error, 0);
            EXPECT_EQ(g.read.width, 23u);
            EXPECT_EQ(g.read.height, 17u);
            EXPECT_EQ(g.read.pixels, recipe.frames[0].pixels) << (int)code_size << " block " << block;
        }
    }
}

TEST(GifRead, CodeSizesAboveEightUpToEleven)
{
    // 256 colours, roots used up to 233; at size 11 the clear and end codes,
    // and so every code, take the full 12 bits from the start.
    gif_recipe recipe = one_frame(100, 100, pattern(10000, 234, 3));
    recipe.global_table.assign(256, 0x808080);
    for (uint8_t code_size : {9, 10, 11}) {
        recipe.frames[0].min_code_size = code_size;
        gif_result g = read_gif(make_gif(recipe));
        ASSERT_TRUE(g.read.has_buffer) << (int)code_size;
        EXPECT_EQ(g.read.error, 0);
        EXPECT_EQ(g.read.pixels, recipe.frames[0].pixels) << (int)code_size;
    }

    // A code that names no string ends the decoding, the pixels so far kept:
    // at size 11 one beyond the next free code (2050), at size 9 a root that
    // is no palette index.
    recipe = one_frame(2, 2, {}, 11);
    recipe.frames[0].data = gif_pack_codes({2048, 5, 4000, 5}, 12);
    gif_result g = read_gif(make_gif(recipe));
    ASSERT_TRUE(g.read.has_buffer);
    EXPECT_EQ(g.read.error, 0);
    EXPECT_EQ(g.read.pixels, (std::vector<uint8_t>{5, 0, 0, 0}));
    recipe.frames[0].min_code_size = 9;
    recipe.frames[0].data = gif_pack_codes({512, 7, 300, 7}, 10);
    g = read_gif(make_gif(recipe));
    ASSERT_TRUE(g.read.has_buffer);
    EXPECT_EQ(g.read.pixels, (std::vector<uint8_t>{7, 0, 0, 0}));
}

TEST(GifRead, FullTablesWithAndWithoutAClear)
{
    // Enough changing pixels for the table to fill several times.
    gif_recipe recipe = one_frame(120, 100, pattern(12000, 256, 7));
    for (bool clear : {true, false}) {
        recipe.frames[0].clear_when_full = clear;
        gif_result g = read_gif(make_gif(recipe));
        ASSERT_TRUE(g.read.has_buffer);
        EXPECT_EQ(g.read.pixels, recipe.frames[0].pixels) << "clear " << clear;
    }
}

TEST(GifRead, PaletteTransparencyAndTheFourthByte)
{
    gif_recipe recipe = one_frame(2, 1, {0, 3}, 2);
    gif_result g = read_gif(make_gif(recipe));
    ASSERT_TRUE(g.read.has_buffer);
    EXPECT_EQ(g.transparent, -1);
    EXPECT_EQ(std::vector<uint8_t>(g.read.palette.begin(), g.read.palette.begin() + 16),
              (std::vector<uint8_t>{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 0x56, 0x34, 0x12, 255}));
    EXPECT_EQ(g.read.palette[4 * 200 + 3], 255);

    recipe.frames[0].transparent = 2;
    g = read_gif(make_gif(recipe));
    EXPECT_EQ(g.transparent, 2);
    EXPECT_EQ(g.read.palette[4 * 2 + 3], 0);
    EXPECT_EQ(g.read.palette[4 * 1 + 3], 255);

    // A graphic control extension without the transparency flag.
    recipe.frames[0].transparent = -1;
    recipe.frames[0].graphic_control = true;
    EXPECT_EQ(read_gif(make_gif(recipe)).transparent, -1);
}

TEST(GifRead, OnlyTheFirstFrameAtItsOwnSizeAndTable)
{
    gif_recipe recipe;
    recipe.screen_width = 10;
    recipe.screen_height = 8;
    recipe.global_table = {0x111111, 0x222222};
    recipe.loop_count = 0;
    recipe.comment = "two frames";
    gif_frame first;
    first.left = 2;
    first.top = 1;
    first.width = 3;
    first.height = 2;
    first.local_table = {0xA00000, 0x00B000, 0x0000C0};
    first.pixels = {0, 1, 2, 2, 1, 0};
    first.min_code_size = 2;
    gif_frame second = first;
    second.local_table.clear();
    second.pixels = {1, 1, 1, 1, 1, 1};
    recipe.frames = {first, second};
    gif_result g = read_gif(make_gif(recipe));
    ASSERT_TRUE(g.read.has_buffer);
    EXPECT_EQ(g.read.width, 3u);
    EXPECT_EQ(g.read.height, 2u);
    EXPECT_EQ(g.read.pixels, first.pixels);
    EXPECT_EQ(std::vector<uint8_t>(g.read.palette.begin(), g.read.palette.begin() + 12),
              (std::vector<uint8_t>{0, 0, 0xA0, 255, 0, 0xB0, 0, 255, 0xC0, 0, 0, 255}));
}

TEST(GifRead, InterlacedRowsArriveInFourPasses)
{
    gif_recipe recipe = one_frame(1, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 4);
    recipe.frames[0].interlaced = true;
    gif_result g = read_gif(make_gif(recipe));
    ASSERT_TRUE(g.read.has_buffer);
    // Stored rows go to 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
    EXPECT_EQ(g.read.pixels, (std::vector<uint8_t>{0, 5, 3, 6, 2, 7, 4, 8, 1, 9}));

    for (uint16_t height : {1, 2, 3, 5, 13}) {
        const std::vector<uint8_t> rows = pattern(5u * height, 16, height);
        recipe = one_frame(5, height, gif_interlace(rows, 5, height), 4);
        recipe.frames[0].interlaced = true;
        EXPECT_EQ(read_gif(make_gif(recipe)).read.pixels, rows) << height;
    }
}

TEST(GifRead, DataThatEndsEarlyOrBreaksOffKeepsTheRowsDecoded)
{
    // Distinct values make one code per pixel, so a cut leaves whole rows undone.
    std::vector<uint8_t> pixels(16 * 16);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (uint8_t)(i * 37);
    gif_recipe recipe = one_frame(16, 16, pixels);
    std::vector<uint8_t> file = make_gif(recipe);
    file.resize(file.size() / 2);
    gif_result g = read_gif(file);
    ASSERT_TRUE(g.read.has_buffer);
    EXPECT_EQ(g.read.error, 0);
    EXPECT_EQ(std::vector<uint8_t>(g.read.pixels.begin(), g.read.pixels.begin() + 16),
              std::vector<uint8_t>(pixels.begin(), pixels.begin() + 16));
    EXPECT_EQ(std::vector<uint8_t>(g.read.pixels.end() - 16, g.read.pixels.end()), std::vector<uint8_t>(16, 0));
    read_result generic = read_generic(file, 24);
    EXPECT_TRUE(generic.has_buffer);
    EXPECT_EQ(generic.error, 0);

    // Code size 2: clear, 3, then 7 where the next free code is 6; then the
    // end code. Only the first pixel is decoded.
    recipe = one_frame(2, 2, {}, 2);
    recipe.frames[0].data = {0x1C, 0x0A};  // codes 4, 3, 7 of three bits, then 5
    g = read_gif(make_gif(recipe));
    ASSERT_TRUE(g.read.has_buffer);
    EXPECT_EQ(g.read.error, 0);
    EXPECT_EQ(g.read.pixels, (std::vector<uint8_t>{3, 0, 0, 0}));

    // A code after a clear that is not a single byte.
    recipe.frames[0].data = {0x34};  // codes 4, 6
    g = read_gif(make_gif(recipe));
    EXPECT_EQ(g.read.pixels, (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(GifRead, FilesThatAreRefused)
{
    auto error_of = [](const std::vector<uint8_t>& file) {
        gif_result g = read_gif(file);
        EXPECT_FALSE(g.read.has_buffer);
        EXPECT_EQ(g.read.width, 0u);
        return g.read.error;
    };
    const gif_recipe good = one_frame(2, 2, {0, 1, 2, 3}, 2);
    std::vector<uint8_t> file = make_gif(good);
    file[4] = '8';
    EXPECT_EQ(error_of(file), 12);
    file = make_gif(good);
    file[6] = file[7] = 0;
    EXPECT_EQ(error_of(file), 12);
    file = make_gif(good);
    file.resize(20);  // inside the global table
    EXPECT_EQ(error_of(file), 12);
    EXPECT_EQ(error_of(std::vector<uint8_t>(file.begin(), file.begin() + 10)), 12);

    gif_recipe local = good;
    local.frames[0].local_table = {1, 2, 3, 4};
    file = make_gif(local);
    file.resize(13 + 12 + 10 + 5);
    EXPECT_EQ(error_of(file), 12);

    gif_recipe empty = good;
    empty.frames.clear();
    EXPECT_EQ(error_of(make_gif(empty)), 3);
    empty.comment = "no image";
    file = make_gif(empty);
    file.resize(file.size() - 4);
    EXPECT_EQ(error_of(file), 3);

    for (uint8_t code_size : {0, 1, 12}) {
        gif_recipe bad = good;
        bad.frames[0].min_code_size = code_size;
        bad.frames[0].data = {0};
        EXPECT_EQ(error_of(make_gif(bad)), 12) << (int)code_size;
    }
    gif_recipe flat = good;
    flat.frames[0].height = 0;
    EXPECT_EQ(error_of(make_gif(flat)), 12);

    EXPECT_EQ(read_gif(make_gif(good), 0, false).read.error, 5);
}

TEST(GifRead, TheAbortCallbackCountsRowsDone)
{
    abort_at at{2};
    is_set_abort_callback(abort_at_step, &at);
    gif_result g = read_gif(make_gif(one_frame(4, 3, pattern(12, 4), 2)));
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_FALSE(g.read.has_buffer);
    EXPECT_EQ(g.read.error, 14);
    EXPECT_EQ(at.calls, 2);
}

TEST(GifRead, PackedBitmapsHoldTheWholePalette)
{
    gif_recipe recipe = one_frame(3, 2, {0, 1, 2, 3, 0, 1}, 2);
    recipe.frames[0].transparent = 1;
    gif_result g = read_gif(make_gif(recipe), IS_FLAG_PACKED_DIB, false);
    ASSERT_TRUE(g.read.has_buffer);
    ASSERT_EQ(g.read.pixels.size(), 40u + 1024 + 8);
    EXPECT_EQ(g.read.pixels[14], 8);
    EXPECT_EQ(g.read.pixels[32] | g.read.pixels[33] << 8, 256);
    EXPECT_EQ(std::vector<uint8_t>(g.read.pixels.begin() + 40, g.read.pixels.begin() + 48),
              (std::vector<uint8_t>{0, 0, 255, 255, 0, 255, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(g.read.pixels.end() - 8, g.read.pixels.end()),
              (std::vector<uint8_t>{3, 0, 1, 0, 0, 1, 2, 0}));
    EXPECT_EQ(g.transparent, 1);
}

TEST(GifRead, TheGenericReadGoesThroughEightBits)
{
    const std::vector<uint8_t> file = make_gif(one_frame(2, 1, {3, 0}, 2));
    trace_capture trace;
    read_result r = read_generic(file, 0);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.depth, 8);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{3, 0}));
    EXPECT_TRUE(trace.contains("Reading generic as GIF8\n"));
    r = read_generic(file, 24);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x12, 0x34, 0x56, 255, 0, 0}));
    EXPECT_TRUE(trace.contains("Reading generic as GIF\n"));
    r = read_generic(file, 32);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x12, 0x34, 0x56, 255, 255, 0, 0, 255}));
    EXPECT_EQ(read_generic(file, 1).error, 17);
}

}  // namespace
