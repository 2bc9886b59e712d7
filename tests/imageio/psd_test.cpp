// PSD reads: every colour mode, raw and run-length rows, the depths and the
// packed bitmap, the sections before the pixels, refusals and damaged files.
#include "tests/imageio/reads.h"
#include "tests/writers/psd_writer.h"

#include "imageio/buffer.h"
#include "imageio/readers/psd.h"

#include <gtest/gtest.h>

namespace {

using bytes = std::vector<uint8_t>;

// A 2 x 2 RGB picture; an optional fourth channel of 0x77.
psd_recipe rgb_picture(uint16_t channels = 3, uint16_t compression = 0)
{
    psd_recipe recipe;
    recipe.width = 2;
    recipe.height = 2;
    recipe.channels = channels;
    recipe.compression = compression;
    recipe.rows = {{10, 11}, {12, 13}, {20, 21}, {22, 23}, {30, 31}, {32, 33}};
    for (uint16_t c = 3; c < channels; ++c)
        recipe.rows.insert(recipe.rows.end(), {{0x77, 0x77}, {0x77, 0x77}});
    return recipe;
}

const bytes rgb_expected = {10, 20, 30, 11, 21, 31, 12, 22, 32, 13, 23, 33};

psd_recipe one_channel(uint16_t mode, uint32_t width, std::vector<bytes> rows)
{
    psd_recipe recipe;
    recipe.mode = mode;
    recipe.channels = 1;
    recipe.width = width;
    recipe.height = (uint32_t)rows.size();
    recipe.rows = std::move(rows);
    return recipe;
}

TEST(PsdRead, RgbRawAndRunLengthGiveTheSameRowsAndIgnoreExtraChannels)
{
    for (uint16_t compression : {0, 1}) {
        for (uint16_t channels : {3, 4, 5}) {
            read_result r = read_psd(make_psd(rgb_picture(channels, compression)), 24);
            ASSERT_TRUE(r.has_buffer) << compression << " " << channels;
            EXPECT_EQ(r.error, 0);
            EXPECT_EQ(r.width, 2u);
            EXPECT_EQ(r.height, 2u);
            EXPECT_EQ(r.pixels, rgb_expected) << "compression " << compression << ", channels " << channels;
        }
    }
    // At 32 bits alpha is opaque, not the file's alpha channel.
    read_result r = read_psd(make_psd(rgb_picture(4, 1)), 32);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (bytes{10, 20, 30, 255, 11, 21, 31, 255, 12, 22, 32, 255, 13, 23, 33, 255}));
}

TEST(PsdRead, LayersAreSkippedAndTheirLengthTraced)
{
    psd_recipe recipe = rgb_picture();
    recipe.layers = bytes(37, 0xEE);
    recipe.resources = image_resource_block(1005, "", bytes(16, 0));
    trace_capture trace;
    read_result r = read_psd(make_psd(recipe), 24);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, rgb_expected);
    // 26 header bytes, the three sections with their lengths.
    const int reached = 26 + 4 + 4 + (int)recipe.resources.size() + 4 + 37;
    EXPECT_TRUE(trace.contains("read " + std::to_string(reached) + ". layersLen 37\n"));
}

TEST(PsdRead, SixteenBitChannelsKeepTheHighByte)
{
    psd_recipe recipe = one_channel(1, 2, {{0x12, 0x34, 0xAB, 0xCD}});
    recipe.bits = 16;
    read_result r = read_psd(make_psd(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.pixels, (bytes{0x12, 0xAB}));
    recipe.compression = 1;  // run-length data is 8-bit only
    EXPECT_EQ(read_psd(make_psd(recipe), 8).error, 47);
}

TEST(PsdRead, GreyscaleAndDuotoneAreValuesWithAGreyRamp)
{
    for (uint16_t mode : {1, 8}) {
        const bytes file = make_psd(one_channel(mode, 3, {{0, 128, 255}}));
        read_result values = read_psd(file, 8);
        ASSERT_TRUE(values.has_buffer);
        EXPECT_EQ(values.pixels, (bytes{0, 128, 255}));
        EXPECT_EQ(bytes(values.palette.begin() + 4 * 200, values.palette.begin() + 4 * 201), (bytes{200, 200, 200, 0}));
        read_result rgb = read_psd(file, 24);
        EXPECT_EQ(rgb.pixels, (bytes{0, 0, 0, 128, 128, 128, 255, 255, 255}));
    }
}

TEST(PsdRead, IndexedFilesUseTheirColourTable)
{
    psd_recipe recipe = one_channel(2, 2, {{1, 2}});
    recipe.color_data = psd_color_table({0, 0x102030, 0xA0B0C0});
    recipe.color_data.resize(800, 0x55);  // a longer section is skipped past
    const bytes file = make_psd(recipe);
    read_result values = read_psd(file, 8);
    ASSERT_TRUE(values.has_buffer);
    EXPECT_EQ(values.pixels, (bytes{1, 2}));
    EXPECT_EQ(bytes(values.palette.begin() + 4, values.palette.begin() + 12), (bytes{0x30, 0x20, 0x10, 0, 0xC0, 0xB0, 0xA0, 0}));
    read_result rgb = read_psd(file, 24);
    EXPECT_EQ(rgb.pixels, (bytes{0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0}));

    recipe.color_data.resize(700);  // too short to be a colour table
    EXPECT_EQ(read_psd(make_psd(recipe), 8).error, 3);
}

TEST(PsdRead, BitmapsAreZeroWhiteAndOneBlack)
{
    psd_recipe recipe = one_channel(0, 10, {{0xA0, 0x40}, {0x00, 0xC0}});
    recipe.bits = 1;
    for (uint16_t compression : {0, 1}) {
        recipe.compression = compression;
        read_result values = read_psd(make_psd(recipe), 8);
        ASSERT_TRUE(values.has_buffer);
        EXPECT_EQ(values.pixels, (bytes{1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}));
        EXPECT_EQ(bytes(values.palette.begin(), values.palette.begin() + 8), (bytes{255, 255, 255, 0, 0, 0, 0, 0}));
        read_result rgb = read_psd(make_psd(recipe), 24);
        EXPECT_EQ(rgb_at(rgb, 0, 0), (bytes{0, 0, 0}));
        EXPECT_EQ(rgb_at(rgb, 1, 0), (bytes{255, 255, 255}));
        EXPECT_EQ(rgb_at(rgb, 9, 1), (bytes{0, 0, 0}));
    }
}

TEST(PsdRead, CmykIsMultipliedByBlackOrKeptAsStored)
{
    psd_recipe recipe;
    recipe.mode = 4;
    recipe.channels = 4;
    recipe.width = 2;
    recipe.rows = {{10, 200}, {20, 100}, {30, 50}, {255, 128}};
    const bytes file = make_psd(recipe);
    read_result rgb = read_psd(file, 24);
    ASSERT_TRUE(rgb.has_buffer);
    // Black 255 leaves the stored values; 128 scales them by 128 / 255, truncated.
    EXPECT_EQ(rgb.pixels, (bytes{10, 20, 30, 100, 50, 25}));
    read_result rgba = read_psd(file, 32);
    EXPECT_EQ(rgba.pixels, (bytes{10, 20, 30, 255, 100, 50, 25, 255}));
    read_result kept = read_psd(file, 24, PSD_FLAG_KEEP_CMYK);
    EXPECT_EQ(kept.pixels, (bytes{10, 20, 30, 255, 200, 100, 50, 128}));
}

TEST(PsdRead, DepthEightIsOnlyForOneChannelModes)
{
    EXPECT_EQ(read_psd(make_psd(rgb_picture()), 8).error, 28);
    EXPECT_EQ(read_psd(make_psd(rgb_picture()), 16).error, 5);
    memory_source source(make_psd(one_channel(1, 1, {{9}})));
    uint32_t w, h;
    EXPECT_EQ(is_read_psd(source.get(), &w, &h, 8, nullptr, 0), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);
    EXPECT_EQ(is_read_psd(source.get(), nullptr, &h, 24, nullptr, 0), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);
}

TEST(PsdRead, RefusedHeaders)
{
    struct change {
        size_t at;
        uint8_t value;
        int32_t error;
    } changes[] = {
        {0, 'X', 46},      // signature
        {5, 2, 46},        // version 2
        {23, 4, 47},       // 4 bits per channel
        {25, 7, 47},       // colour mode 7
        {25, 4, 47},       // CMYK with three channels
        {23, 1, 47},       // 1 bit per channel in RGB mode
        {13, 2, 47},       // two channels for RGB
        {21, 0, 46},       // width 0
    };
    for (const change& c : changes) {
        bytes file = make_psd(rgb_picture());
        file[c.at] = c.value;
        read_result r = read_psd(file, 24);
        EXPECT_FALSE(r.has_buffer);
        EXPECT_EQ(r.error, c.error) << "byte " << c.at;
    }
    bytes unknown_compression = make_psd(rgb_picture());
    unknown_compression[26 + 12 + 1] = 2;
    EXPECT_EQ(read_psd(unknown_compression, 24).error, 3);
    bytes cut = make_psd(rgb_picture());
    cut.resize(10);
    EXPECT_EQ(read_psd(cut, 24).error, 3);
}

TEST(PsdRunLength, LeftoverBytesAreTracedAndTheRowKept)
{
    psd_recipe recipe = one_channel(1, 4, {{0}, {0}});
    recipe.compression = 1;
    recipe.packed_rows = {
        {0xFD, 7, 0x00, 9},           // repeat of 4 fills the row; a literal is left
        {0x01, 5, 6, 0xFF, 8, 0x80},  // literal, repeat of 2; a skipped -128 is left
    };
    trace_capture trace;
    read_result r = read_psd(make_psd(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.pixels, (bytes{7, 7, 7, 7, 5, 6, 8, 8}));
    EXPECT_TRUE(trace.contains("RLE Row Size Mismatch in PSD decode [1].\n"));

    trace_capture literal;
    recipe.packed_rows = {{0x03, 1, 2, 3, 4, 0x00, 9}, {0xFD, 2}};
    r = read_psd(make_psd(recipe), 8);
    EXPECT_EQ(r.pixels, (bytes{1, 2, 3, 4, 2, 2, 2, 2}));
    EXPECT_TRUE(literal.contains("RLE Row Size Mismatch in PSD decode [2].\n"));

    // A packet longer than the row is cut at the row's end.
    recipe.packed_rows = {{0x05, 1, 2, 3, 4, 5, 6}, {0x80, 0xF9, 3}};
    r = read_psd(make_psd(recipe), 8);
    EXPECT_EQ(r.pixels, (bytes{1, 2, 3, 4, 3, 3, 3, 3}));
}

TEST(PsdRunLength, RowsShortOfDataEndTheReadWithTheRowsBefore)
{
    psd_recipe recipe = one_channel(1, 3, {{0}, {0}});
    recipe.compression = 1;
    // The second row's literal packet needs 3 bytes; its count gives 2.
    recipe.packed_rows = {{0xFE, 4}, {0x02, 5, 6}};
    read_result r = read_psd(make_psd(recipe), 8);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 3);
    EXPECT_EQ(r.pixels, (bytes{4, 4, 4, 0, 0, 0}));
    // A count past the end of the file.
    recipe.packed_rows = {{0xFE, 4}, bytes(50, 0)};
    bytes file = make_psd(recipe);
    file.resize(file.size() - 40);
    r = read_psd(file, 8);
    EXPECT_EQ(r.error, 3);
    EXPECT_EQ(r.pixels, (bytes{4, 4, 4, 0, 0, 0}));
    // The generic read hands on no partial picture.
    read_result generic = read_generic(file, 24);
    EXPECT_FALSE(generic.has_buffer);
    EXPECT_EQ(generic.error, 3);
}

TEST(PsdRunLength, HugeHeightsFailOnTheTableNotOnMemory)
{
    // One byte wide and a million rows high, in a file of a few bytes: the
    // byte-count table cannot be in the file, so nothing that large is read.
    psd_recipe recipe = one_channel(1, 1, {});
    recipe.height = 1000000;
    recipe.channels = 60000;
    recipe.compression = 1;
    read_result r = read_psd(make_psd(recipe), 8);
    EXPECT_EQ(r.error, 3);
    // Beyond the buffer limit the output is refused first.
    recipe.width = 100000;
    EXPECT_EQ(read_psd(make_psd(recipe), 8).error, 1);
}

TEST(PsdRead, CancelledAfterARowKeepsTheRowsRead)
{
    static int calls;
    calls = 0;
    is_set_abort_callback([](int32_t, int32_t total, void*) -> int32_t { return total == 6 && ++calls < 2; }, nullptr);
    read_result r = read_psd(make_psd(rgb_picture()), 24);
    is_set_abort_callback(nullptr, nullptr);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.error, 14);
    EXPECT_EQ(r.pixels, (bytes{10, 0, 0, 11, 0, 0, 12, 0, 0, 13, 0, 0}));
}

TEST(PsdRead, PackedBitmaps)
{
    read_result dib = read_psd(make_psd(rgb_picture()), 24, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(dib.has_buffer);
    ASSERT_EQ(dib.pixels.size(), 40u + 2 * 8);
    EXPECT_EQ(dib.pixels[14], 24);
    // Bottom row first, blue green red, rows padded to 8 bytes.
    EXPECT_EQ(bytes(dib.pixels.begin() + 40, dib.pixels.end()),
              (bytes{32, 22, 12, 33, 23, 13, 0, 0, 30, 20, 10, 31, 21, 11, 0, 0}));

    read_result indexed = read_psd(make_psd(one_channel(1, 1, {{77}})), 8, IS_FLAG_PACKED_DIB);
    ASSERT_TRUE(indexed.has_buffer);
    ASSERT_EQ(indexed.pixels.size(), 40u + 1024 + 4);
    EXPECT_EQ(indexed.pixels[32], 0);  // 256 entries
    EXPECT_EQ(indexed.pixels[33], 1);
    EXPECT_EQ(indexed.pixels[40 + 4 * 77], 77);
    EXPECT_EQ(indexed.pixels[40 + 1024], 77);
}

TEST(PsdRead, GenericReadChoosesTheDepthFromTheColourMode)
{
    read_result grey = read_generic(make_psd(one_channel(1, 2, {{5, 6}})), 0);
    ASSERT_TRUE(grey.has_buffer);
    EXPECT_EQ(grey.depth, 8);
    EXPECT_EQ(grey.pixels, (bytes{5, 6}));
    read_result rgba_file = read_generic(make_psd(rgb_picture(4)), 0);
    EXPECT_EQ(rgba_file.depth, 24);
    EXPECT_EQ(rgba_file.pixels, rgb_expected);
    read_result wide = read_generic(make_psd(rgb_picture()), 32);
    EXPECT_EQ(wide.depth, 32);
    EXPECT_EQ(wide.pixels.size(), 16u);
    EXPECT_EQ(read_generic(make_psd(rgb_picture()), 1).error, 17);
}

TEST(PsdHeaderQuery, ReadsTheResolutionResource)
{
    psd_recipe recipe = rgb_picture();
    const bytes resolution = {0, 72, 0x80, 0, 0, 1, 0, 1, 0, 150, 0, 0, 0, 2, 0, 2};
    recipe.resources = image_resource_block(1000, "x", {1, 2, 3});
    const bytes second = image_resource_block(1005, "", resolution);
    recipe.resources.insert(recipe.resources.end(), second.begin(), second.end());
    memory_source source(make_psd(recipe));
    read_context context{CISIO(source.get()), is_thread_state()};
    psd_header_query query;
    ASSERT_TRUE(psd_query_header(context, &query, true));
    EXPECT_EQ(query.width, 2u);
    EXPECT_EQ(query.mode, PSD_RGB);
    EXPECT_TRUE(query.has_resolution);
    EXPECT_EQ(query.x_resolution, 0x00488000u);  // 72.5
    EXPECT_EQ(query.x_unit, 1);
    EXPECT_EQ(query.y_resolution, 150u << 16);
    EXPECT_EQ(query.y_unit, 2);
}

TEST(PsdRead, ImageResourcesAreKeptWhole)
{
    psd_recipe recipe = rgb_picture();
    recipe.resources = image_resource_block(1028, "", {0x1C, 2, 5, 0, 3, 'a', 'b', 'c'});
    memory_source source(make_psd(recipe));
    read_context context{CISIO(source.get()), is_thread_state()};
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> resources;
    uint8_t* buffer = psd_read(context, &w, &h, 24, nullptr, 0, &resources);
    ASSERT_NE(buffer, nullptr);
    is_global_free(buffer);
    EXPECT_EQ(resources, recipe.resources);
}

}  // namespace
