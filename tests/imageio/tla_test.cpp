// TLA reads: every pixel format in every mode, the filters, blocks, tags,
// the generic read's depths, refusals and damaged files.
#include "tests/imageio/reads.h"
#include "tests/writers/tla_writer.h"

#include "imageio/readers/tla.h"
#include "imageio/thread_state.h"

#include <gtest/gtest.h>

namespace {

using bytes = std::vector<uint8_t>;

tla_recipe picture(uint16_t pixel_format, uint16_t width, uint16_t height, bytes pixels)
{
    tla_recipe recipe;
    recipe.pixel_format = pixel_format;
    recipe.width = width;
    recipe.height = height;
    recipe.pixels = std::move(pixels);
    return recipe;
}

// A 2 x 2 RGB picture, rows stored top row first.
const bytes rgb_pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

TEST(TlaRead, RgbRowsComeTopRowFirst)
{
    const bytes file = make_tla(picture(3, 2, 2, rgb_pixels));
    read_result r = read_tla(file, TLA_MODE_24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.width, 2u);
    EXPECT_EQ(r.height, 2u);
    EXPECT_EQ(r.pixels, rgb_pixels);
    r = read_tla(file, TLA_MODE_32);
    EXPECT_EQ(r.pixels, (bytes{1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255}));
}

TEST(TlaRead, RgbaDropsAlphaAtTwentyFourBits)
{
    const bytes file = make_tla(picture(4, 2, 1, {1, 2, 3, 4, 5, 6, 7, 200}));
    EXPECT_EQ(read_tla(file, TLA_MODE_24).pixels, (bytes{1, 2, 3, 5, 6, 7}));
    EXPECT_EQ(read_tla(file, TLA_MODE_32).pixels, (bytes{1, 2, 3, 4, 5, 6, 7, 200}));
    // To 5-5-5 words: opaque above half alpha.
    EXPECT_EQ(read_tla(file, TLA_MODE_16).pixels, (bytes{0, 0, 0, 0x80}));
}

TEST(TlaRead, FiveFiveFiveWords)
{
    // 0x7FFF (white, alpha bit clear) and 0x8000 | red 1 green 2 blue 3.
    const uint16_t second = 0x8000 | 1 << 10 | 2 << 5 | 3;
    const bytes file = make_tla(picture(2, 2, 1, {0xFF, 0x7F, (uint8_t)second, (uint8_t)(second >> 8)}));
    EXPECT_EQ(read_tla(file, TLA_MODE_24).pixels, (bytes{248, 248, 248, 8, 16, 24}));
    EXPECT_EQ(read_tla(file, TLA_MODE_32).pixels, (bytes{248, 248, 248, 0, 8, 16, 24, 255}));
    EXPECT_EQ(read_tla(file, TLA_MODE_16).pixels, (bytes{0xFF, 0x7F, (uint8_t)second, (uint8_t)(second >> 8)}));
}

TEST(TlaRead, IndexedFilesGoThroughTheirPalette)
{
    tla_recipe recipe = picture(1, 3, 1, {0, 2, 1});
    recipe.palette = {0xFF102030, 0x10405060, 0x81708090};
    const bytes file = make_tla(recipe);
    read_result indices = read_tla(file, TLA_MODE_INDEXED);
    ASSERT_TRUE(indices.has_buffer);
    EXPECT_EQ(indices.pixels, (bytes{0, 2, 1}));
    EXPECT_EQ(bytes(indices.palette.begin(), indices.palette.begin() + 16),
              (bytes{0x30, 0x20, 0x10, 0xFF, 0x60, 0x50, 0x40, 0x10, 0x90, 0x80, 0x70, 0x81, 0, 0, 0, 0}));
    EXPECT_EQ(read_tla(file, TLA_MODE_24).pixels, (bytes{0x10, 0x20, 0x30, 0x70, 0x80, 0x90, 0x40, 0x50, 0x60}));
    EXPECT_EQ(read_tla(file, TLA_MODE_32).pixels,
              (bytes{0x10, 0x20, 0x30, 0xFF, 0x70, 0x80, 0x90, 0x81, 0x40, 0x50, 0x60, 0x10}));
    const uint16_t first = 0x8000 | (0x10 >> 3) << 10 | (0x20 >> 3) << 5 | 0x30 >> 3;
    read_result words = read_tla(file, TLA_MODE_16);
    EXPECT_EQ(words.pixels[0] | words.pixels[1] << 8, first);
    EXPECT_EQ(words.pixels[2] | words.pixels[3] << 8, 0x8000 | (0x70 >> 3) << 10 | (0x80 >> 3) << 5 | 0x90 >> 3);
    EXPECT_EQ(words.pixels[5] & 0x80, 0);  // alpha 0x10 is transparent

    // Indices are for indexed files only.
    EXPECT_EQ(read_tla(make_tla(picture(3, 2, 2, rgb_pixels)), TLA_MODE_INDEXED).error, 52);
}

TEST(TlaFilters, UndoneInTheOrderPaethUpLeft)
{
    // A picture with gradients and noise, in blocks of different filters.
    const uint16_t width = 7, height = 9;
    for (uint16_t format : {1, 3, 4}) {
        tla_recipe recipe = picture(format, width, height, {});
        if (format == 1)
            recipe.palette.assign(256, 0);
        for (uint32_t i = 0; i < (uint32_t)width * height * format; ++i)
            recipe.pixels.push_back((uint8_t)(i * 37 + (i / 5) * (i % 3) * 11));
        recipe.blocks = {{2, 7}, {3, 4}, {1, 0}, {2, 3}, {1, 6}};
        read_result r = read_tla(make_tla(recipe), format == 1 ? TLA_MODE_INDEXED : format == 3 ? TLA_MODE_24 : TLA_MODE_32);
        ASSERT_TRUE(r.has_buffer) << format;
        EXPECT_EQ(r.pixels, recipe.pixels) << "pixel format " << format;
    }
}

TEST(TlaFilters, PaethTiesPreferLeftThenAbove)
{
    // Two rows of two one-byte pixels; only the last byte is predicted.
    // Left 0, above 30, corner 20: left and corner are equally near (10).
    // Left 30, above 0, corner 20: above and corner are equally near (10).
    for (const bytes& rows : {bytes{20, 30, 0, 50}, bytes{20, 0, 30, 50}}) {
        tla_recipe recipe = picture(1, 2, 2, rows);
        recipe.palette.assign(256, 0);
        recipe.blocks = {{2, 4}};
        recipe.prefiltered = true;  // stored as given: the last byte adds the prediction
        read_result r = read_tla(make_tla(recipe), TLA_MODE_INDEXED);
        ASSERT_TRUE(r.has_buffer);
        EXPECT_EQ(r.pixels, rows);
    }
}

TEST(TlaRead, TagChunksAreKeptInTheThreadState)
{
    tla_recipe recipe = picture(3, 2, 2, rgb_pixels);
    recipe.tags = {{1, 2, 3}, {}, {9}};
    ASSERT_TRUE(read_tla(make_tla(recipe), TLA_MODE_24).has_buffer);
    const ISPtrVector<CFileDataTag>& tags = is_thread_state()->tags;
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0]->data, (bytes{1, 2, 3}));
    EXPECT_TRUE(tags[1]->data.empty());
    EXPECT_EQ(tags[2]->data, (bytes{9}));
    // The next read replaces them.
    ASSERT_TRUE(read_tla(make_tla(picture(3, 2, 2, rgb_pixels)), TLA_MODE_24).has_buffer);
    EXPECT_TRUE(is_thread_state()->tags.empty());
}

TEST(TlaRead, RefusedFiles)
{
    EXPECT_EQ(read_tla({'T', 'L', 'A', 1, 0, 0, 0}, TLA_MODE_24).error, 52);
    EXPECT_EQ(read_tla({'T', 'L', 'A', 'X', 0, 0, 0}, TLA_MODE_24).error, 3);
    tla_recipe recipe = picture(3, 2, 2, rgb_pixels);
    recipe.version = 2;
    EXPECT_EQ(read_tla(make_tla(recipe), TLA_MODE_24).error, 11);
    for (uint16_t format : {0, 5}) {
        recipe = picture(format, 2, 2, rgb_pixels);
        EXPECT_EQ(read_tla(make_tla(recipe), TLA_MODE_24).error, 3) << format;
    }
    recipe = picture(3, 0, 2, {});
    EXPECT_EQ(read_tla(make_tla(recipe), TLA_MODE_24).error, 3);
    EXPECT_EQ(read_tla(make_tla(picture(3, 2, 2, rgb_pixels)), 5).error, 5);
    EXPECT_EQ(read_tla(make_tla(picture(3, 2, 2, rgb_pixels)), 0).error, 5);
}

TEST(TlaRead, PalettesAreCheckedAgainstTheirCountAndChunk)
{
    tla_recipe recipe = picture(1, 1, 1, {0});
    recipe.palette.assign(300, 0xFF000000);
    EXPECT_EQ(read_tla(make_tla(recipe), TLA_MODE_24).error, 3);  // more than 256 entries
    recipe.palette.assign(4, 0);
    recipe.palette_entries = 5;
    EXPECT_EQ(read_tla(make_tla(recipe), TLA_MODE_24).error, 3);  // chunk shorter than its count
    // Indices past the file's entries read entry colours of zero.
    recipe = picture(1, 2, 1, {0, 200});
    recipe.palette = {0xFF0A0B0C};
    EXPECT_EQ(read_tla(make_tla(recipe), TLA_MODE_24).pixels, (bytes{0x0A, 0x0B, 0x0C, 0, 0, 0}));
}

TEST(TlaRead, DamagedBlocks)
{
    const tla_recipe recipe = picture(3, 2, 2, rgb_pixels);
    const bytes good = make_tla(recipe);
    bytes head = good;
    // The block chunk is the last one: find it by its header.
    size_t block = 0;
    for (size_t i = 4; i + 3 < good.size(); ++i)
        if (good[i] == 0 && good[i + 1] == 106 && good[i + 2] == 0 && good[i + 3] == 8) {
            block = i;
            break;
        }
    ASSERT_NE(block, 0u);
    head.resize(block);

    // No block at all, another chunk instead, or a block without rows.
    EXPECT_EQ(read_tla(head, TLA_MODE_24).error, 6);
    bytes other = head;
    put_tla_chunk(other, 107, bytes(8, 0));
    EXPECT_EQ(read_tla(other, TLA_MODE_24).error, 6);
    bytes empty = head;
    put_tla_block(empty, {}, 0, 0);
    EXPECT_EQ(read_tla(empty, TLA_MODE_24).error, 6);

    // Inflated data shorter or longer than the rows, corrupt data, and a
    // block with more rows than the picture.
    tla_recipe shorter = recipe;
    shorter.pixels.resize(9);
    EXPECT_EQ(read_tla(make_tla(shorter), TLA_MODE_24).error, 3);
    bytes longer = head;
    bytes thirteen = rgb_pixels;
    thirteen.push_back(0);
    put_tla_block(longer, tla_deflate(thirteen), 2, 0);
    EXPECT_EQ(read_tla(longer, TLA_MODE_24).error, 3);
    bytes exact = head;
    put_tla_block(exact, tla_deflate(rgb_pixels), 2, 0);
    EXPECT_EQ(read_tla(exact, TLA_MODE_24).pixels, rgb_pixels);
    bytes corrupt = good;
    corrupt[block + 15] ^= 0xFF;
    EXPECT_EQ(read_tla(corrupt, TLA_MODE_24).error, 3);
    tla_recipe too_many = recipe;
    too_many.blocks = {{3, 0}};
    EXPECT_EQ(read_tla(make_tla(too_many), TLA_MODE_24).error, 3);
    // The second block is missing.
    tla_recipe split = recipe;
    split.blocks = {{1, 0}};
    read_result r = read_tla(make_tla(split), TLA_MODE_24);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 6);
    // A declared size beyond the compressed bytes cuts the stream short.
    bytes cut = good;
    cut.resize(cut.size() - 3);
    EXPECT_EQ(read_tla(cut, TLA_MODE_24).error, 3);
}

TEST(TlaRead, CancelledReadsReturnNothing)
{
    is_set_abort_callback([](int32_t step, int32_t, void*) -> int32_t { return step < 1; }, nullptr);
    read_result r = read_tla(make_tla(picture(3, 2, 2, rgb_pixels)), TLA_MODE_24);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 14);
}

TEST(TlaRead, PackedBitmaps)
{
    read_result dib = read_tla(make_tla(picture(3, 2, 2, rgb_pixels)), TLA_MODE_24, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(dib.has_buffer);
    EXPECT_EQ(bytes(dib.pixels.begin() + 40, dib.pixels.end()), (bytes{9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
    tla_recipe indexed = picture(1, 1, 1, {0});
    indexed.palette = {0x80112233};
    dib = read_tla(make_tla(indexed), TLA_MODE_INDEXED, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(dib.has_buffer);
    EXPECT_EQ(dib.pixels[14], 8);
    EXPECT_EQ(bytes(dib.pixels.begin() + 40, dib.pixels.begin() + 44), (bytes{0x33, 0x22, 0x11, 0}));
    dib = read_tla(make_tla(picture(2, 1, 1, {0xFF, 0x7F})), TLA_MODE_16, IS_FLAG_PACKED_DIB);
    EXPECT_EQ(dib.pixels[14], 16);
    EXPECT_EQ(bytes(dib.pixels.begin() + 40, dib.pixels.end()), (bytes{0xFF, 0x7F, 0, 0}));
}

TEST(TlaRead, GenericReadDepthsAndTheProtectedSignature)
{
    tla_recipe indexed = picture(1, 2, 1, {1, 0});
    indexed.palette = {0xFF000000, 0xFFFFFFFF};
    struct {
        tla_recipe recipe;
        int32_t depth;
    } cases[] = {{indexed, 8}, {picture(2, 1, 1, {0, 0x80}), 32}, {picture(3, 1, 1, {1, 2, 3}), 24},
                 {picture(4, 1, 1, {1, 2, 3, 4}), 32}};
    for (const auto& c : cases) {
        read_result r = read_generic(make_tla(c.recipe), 0);
        ASSERT_TRUE(r.has_buffer) << c.recipe.pixel_format;
        EXPECT_EQ(r.depth, c.depth) << c.recipe.pixel_format;
    }
    read_result r = read_generic(make_tla(indexed), 0);
    EXPECT_EQ(r.pixels, (bytes{1, 0}));
    EXPECT_EQ(bytes(r.palette.begin() + 4, r.palette.begin() + 8), (bytes{255, 255, 255, 255}));
    EXPECT_EQ(read_generic(make_tla(picture(3, 1, 1, {1, 2, 3})), 8).error, 52);
    EXPECT_EQ(read_generic(make_tla(picture(4, 1, 1, {1, 2, 3, 4})), 32).pixels, (bytes{1, 2, 3, 4}));

    tla_recipe locked = picture(3, 1, 1, {1, 2, 3});
    locked.signature = "TLA\x01";
    for (int32_t depth : {0, 8, 24, 32}) {
        read_result refused = read_generic(make_tla(locked), depth);
        EXPECT_FALSE(refused.has_buffer);
        EXPECT_EQ(refused.error, 52);
    }
}

}  // namespace
