// Photo CD reads: stored resolutions, upsampling, the Huffman-coded
// differences of resolutions 4 and 5, colour, rotation, the descending
// retry the application relies on, and damaged files.
#include "tests/imageio/reads.h"
#include "tests/writers/pcd_writer.h"

#include "imageio/buffer.h"
#include "imageio/readers/pcd.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using bytes = std::vector<uint8_t>;

// The byte a neutral grey of this luma becomes.
uint8_t grey(int luma)
{
    return pcd_tone_table()[(int)(1.402 * luma)];
}

bytes grey_pixel(int luma)
{
    return bytes(3, grey(luma));
}

pcd_recipe grey_file(uint8_t luma, int stored = 3)
{
    pcd_recipe recipe;
    recipe.stored = stored;
    recipe.base = [luma](int, int plane, uint32_t, uint32_t) { return pcd_grey_base(plane, luma); };
    return recipe;
}

TEST(PcdColour, ToneTableAndConversion)
{
    const uint8_t* tone = pcd_tone_table();
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(tone[i], i);
    const int points[][2] = {{50, 49}, {100, 101}, {150, 153}, {200, 199}, {250, 233}, {300, 249}, {340, 254}, {344, 255}, {350, 255}};
    for (const auto& p : points)
        EXPECT_EQ(tone[p[0]], p[1]) << p[0];
    for (int i = 1; i < 351; ++i)
        EXPECT_GE(tone[i], tone[i - 1]) << i;

    // Black, saturated white, and a colour whose terms all count:
    // red 140.2 - 69.56, green 140.2 - 19.54 + 35.41, blue 140.2 + 100.72.
    bytes pixels = {0, 156, 137, 255, 156, 137, 100, 200, 100};
    read_context context{CISIO(nullptr), is_thread_state()};
    ASSERT_EQ(pcd_ycc_to_rgb(context, pixels.data(), 3, 1), 0);
    EXPECT_EQ(pixels, (bytes{0, 0, 0, 255, 255, 255, tone[70], tone[156], tone[240]}));
}

TEST(PcdUpsample, NewPixelsAreRoundedMeans)
{
    // 2 x 2 at the top left of a 4 x 4 plane.
    bytes plane = {10, 20, 0, 0, 30, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    pcd_upsample(plane.data(), 4, 2, 2);
    EXPECT_EQ(plane, (bytes{10, 15, 20, 20,     // even row: copies and horizontal means
                            20, 28, 35, 35,     // odd row: vertical means, the four-pixel mean, last column
                            30, 40, 50, 50,
                            30, 40, 50, 50}));  // the last row repeats the one above
    // Rows wider apart than the picture keep their step.
    bytes wide(6 * 2, 9);
    wide[0] = 1;
    pcd_upsample(wide.data(), 6, 1, 1);
    EXPECT_EQ(bytes(wide.begin(), wide.begin() + 2), (bytes{1, 1}));
    EXPECT_EQ(bytes(wide.begin() + 6, wide.begin() + 8), (bytes{1, 1}));
    EXPECT_EQ(wide[2], 9);
}

// Planes of 8 x 4 luma (4 x 2 chroma) filled with 100, and a context over
// a memory source holding a difference stream.
struct difference_fixture {
    bytes y = bytes(32, 100), c1 = bytes(32, 100), c2 = bytes(32, 100);
    pcd_planes planes{y.data(), c1.data(), c2.data(), 8, 4};

    int32_t add(const bytes& stream, int tables)
    {
        memory_source source(stream);
        read_context context{CISIO(source.get()), is_thread_state()};
        return pcd_add_differences(context, planes, 8, 4, tables);
    }
    bytes row(const bytes& plane, uint32_t r, uint32_t length) const
    {
        return bytes(plane.begin() + 8 * r, plane.begin() + 8 * r + length);
    }
};

TEST(PcdDifferences, AddedToTheirRowsAndClamped)
{
    difference_fixture f;
    pcd_differences d{{pcd_default_codes()},
                      {{1, 0, {1, -1, 10, -10, 100, -100, 127, -128}},
                       {2, 0, {127, 127, 0, 0, 0, 0, 0, 0}},
                       {2, 0, {127, 0, 0, 0, 0, 0, 0, 0}},  // a row may come twice
                       {2, 2, {1, 0, 0, -1}},                // C1 row 1
                       {3, 3, {0, 10, 0, 0}}},               // C2 row 1
                      4};
    ASSERT_EQ(f.add(encode_pcd_differences(d).bytes, 1), 0);
    EXPECT_EQ(f.row(f.y, 0, 8), bytes(8, 100));
    EXPECT_EQ(f.row(f.y, 1, 8), (bytes{101, 99, 110, 90, 200, 0, 227, 0}));
    EXPECT_EQ(f.row(f.y, 2, 8), (bytes{255, 227, 100, 100, 100, 100, 100, 100}));
    EXPECT_EQ(f.row(f.c1, 1, 4), (bytes{101, 100, 100, 99}));
    EXPECT_EQ(f.row(f.c2, 1, 4), (bytes{100, 110, 100, 100}));
    EXPECT_EQ(f.row(f.c1, 0, 4), bytes(4, 100));
}

TEST(PcdDifferences, EachPlaneHasItsTableAtResolutionFive)
{
    // The chroma tables code the differences differently from the luma table.
    std::vector<pcd_code> c1_codes = {{1, 0b1, 0}, {2, 0b01, 5}, {2, 0b00, -5}};
    std::vector<pcd_code> c2_codes = {{2, 0b11, 0}, {2, 0b10, 7}, {1, 0b0, -7}};
    difference_fixture f;
    pcd_differences d{{pcd_default_codes(), c1_codes, c2_codes},
                      {{0, 0, {1, 0, 0, 0, 0, 0, 0, -1}}, {0, 2, {5, -5, 0, 5}}, {2, 3, {7, -7, 0, 7}}},
                      4};
    ASSERT_EQ(f.add(encode_pcd_differences(d).bytes, 3), 0);
    EXPECT_EQ(f.row(f.y, 0, 8), (bytes{101, 100, 100, 100, 100, 100, 100, 99}));
    EXPECT_EQ(f.row(f.c1, 0, 4), (bytes{105, 95, 100, 105}));
    EXPECT_EQ(f.row(f.c2, 1, 4), (bytes{107, 93, 100, 107}));
}

TEST(PcdDifferences, CorruptCodesSkipToTheNextRowAndTheEndOfDataEndsThem)
{
    difference_fixture f;
    pcd_differences d{{pcd_default_codes()},
                      {{0, 0, {1, pcd_unmatched_difference, 1, 1}}, {3, 0, {10, 10}}},
                      4};
    trace_capture trace;
    ASSERT_EQ(f.add(encode_pcd_differences(d).bytes, 1), 0);
    EXPECT_TRUE(trace.contains("Corrupt PCD image, skipping to sync byte"));
    EXPECT_EQ(f.row(f.y, 0, 4), (bytes{101, 100, 100, 100}));
    EXPECT_EQ(f.row(f.y, 3, 4), (bytes{110, 110, 100, 100}));

    // Cut inside the second row, without a closing header: what came is kept.
    difference_fixture cut;
    bytes stream = encode_pcd_differences(d).bytes;
    stream.resize(stream.size() - 7);
    EXPECT_EQ(cut.add(stream, 1), 0);
    EXPECT_EQ(cut.row(cut.y, 0, 1), (bytes{101}));

    // Rows after the closing header are not read.
    difference_fixture closed;
    d.rows = {{1, 0, {1}}};
    bytes after = encode_pcd_differences(d).bytes;
    pcd_differences more{{pcd_default_codes()}, {{2, 0, {1}}}, 4};
    const bytes extra = encode_pcd_differences(more).bytes;
    const size_t table_bytes = 1 + 4 * pcd_default_codes().size();
    after.insert(after.end(), extra.begin() + table_bytes, extra.end());
    EXPECT_EQ(closed.add(after, 1), 0);
    EXPECT_EQ(closed.y[16], 100);
    EXPECT_EQ(closed.y[8], 101);
}

TEST(PcdDifferences, DamagedHeadersAndTables)
{
    // A row number past the picture, an unknown plane.
    for (const pcd_diff_row& row : {pcd_diff_row{5, 0, {1}}, pcd_diff_row{8191, 0, {1}}, pcd_diff_row{0, 1, {1}}}) {
        difference_fixture f;
        pcd_differences d{{pcd_default_codes()}, {row}, 4};
        EXPECT_EQ(f.add(encode_pcd_differences(d).bytes, 1), 63) << row.row << " " << row.plane;
    }
    // More codes than the last row holds: the row takes its width, the rest
    // is skipped on the way to the next sync mark.
    difference_fixture last;
    EXPECT_EQ(last.add(encode_pcd_differences({{pcd_default_codes()}, {{3, 0, std::vector<int>(12, 1)}}, 4}).bytes, 1), 0);
    EXPECT_EQ(last.row(last.y, 3, 8), bytes(8, 101));
    EXPECT_EQ(last.row(last.y, 2, 8), bytes(8, 100));
    // A code of 17 bits.
    difference_fixture f;
    bytes stream = encode_pcd_differences({{pcd_default_codes()}, {}, 4}).bytes;
    stream[1] = 16;
    EXPECT_EQ(f.add(stream, 1), 63);
    // Tables cut short.
    EXPECT_EQ(f.add({0x05, 0, 0}, 1), 3);
}

TEST(PcdRead, StoredResolutionsFromTheirOwnPlanes)
{
    pcd_recipe recipe;
    recipe.base = [](int resolution, int plane, uint32_t x, uint32_t y) -> uint8_t {
        return plane == 0 ? (uint8_t)(40 * resolution + (x + y) % 7) : pcd_grey_base(plane, 0);
    };
    const bytes file = make_pcd(recipe);
    for (int resolution : {1, 2, 3}) {
        trace_capture trace;
        read_result r = read_pcd(file, resolution);
        ASSERT_TRUE(r.has_buffer) << resolution;
        EXPECT_EQ(r.error, 0);
        EXPECT_EQ(r.width, 192u << (resolution - 1));
        EXPECT_EQ(r.height, 128u << (resolution - 1));
        // Chroma is neutral everywhere, so each pixel is the grey of its luma.
        for (uint32_t y : {0u, 1u, 5u, r.height - 1})
            for (uint32_t x : {0u, 3u, r.width - 1})
                EXPECT_EQ(rgb_at(r, x, y), grey_pixel(40 * resolution + (x + y) % 7)) << resolution << ": " << x << "," << y;
        char expected[64];
        std::snprintf(expected, sizeof expected, "Reading PCD sub-image #%d (%u x %u)\n", resolution, r.width, r.height);
        EXPECT_TRUE(trace.contains(expected));
    }
    // Below 1 reads 1.
    read_result low = read_pcd(file, 0);
    EXPECT_EQ(low.width, 192u);
    EXPECT_EQ(rgb_at(low, 0, 0), grey_pixel(40));
}

TEST(PcdRead, ChromaIsHalfSizeAndUpsampled)
{
    // C1 200 and C2 100 on the first chroma row only.
    pcd_recipe recipe;
    recipe.stored = 1;
    recipe.base = [](int, int plane, uint32_t, uint32_t y) -> uint8_t {
        if (plane == 0)
            return 100;
        return y == 0 ? (plane == 1 ? 200 : 100) : pcd_grey_base(plane, 0);
    };
    read_result r = read_pcd(make_pcd(recipe), 1);
    ASSERT_TRUE(r.has_buffer);
    const uint8_t* tone = pcd_tone_table();
    EXPECT_EQ(rgb_at(r, 5, 0), (bytes{tone[70], tone[156], tone[240]}));
    EXPECT_EQ(rgb_at(r, 5, 3), grey_pixel(100));
}

TEST(PcdRead, RotationsTurnThePicture)
{
    // Distinct corners: upright (0, 0), (191, 0) and (0, 127) of a 192 x 128 picture.
    pcd_recipe recipe;
    recipe.stored = 1;
    recipe.base = [](int, int plane, uint32_t x, uint32_t y) -> uint8_t {
        return plane == 0 ? (uint8_t)(x / 2 + y) : pcd_grey_base(plane, 0);
    };
    const struct {
        int rotation;
        uint32_t origin[2], top_right[2], bottom_left[2];
    } turns[] = {
        {1, {0, 191}, {0, 0}, {127, 191}},      // counter-clockwise
        {2, {191, 127}, {0, 127}, {191, 0}},
        {3, {127, 0}, {127, 191}, {0, 0}},      // clockwise: the first row becomes the last column
    };
    for (const auto& t : turns) {
        recipe.rotation = t.rotation;
        read_result r = read_pcd(make_pcd(recipe), 1);
        ASSERT_TRUE(r.has_buffer);
        EXPECT_EQ(r.width, t.rotation == 2 ? 192u : 128u);
        EXPECT_EQ(rgb_at(r, t.origin[0], t.origin[1]), grey_pixel(0)) << t.rotation;
        EXPECT_EQ(rgb_at(r, t.top_right[0], t.top_right[1]), grey_pixel(95)) << t.rotation;
        EXPECT_EQ(rgb_at(r, t.bottom_left[0], t.bottom_left[1]), grey_pixel(127)) << t.rotation;
    }
}

// Resolution 3 grey 100; resolution 4 adds 10 to the first four pixels of
// luma row 5; resolution 5 adds 1 to the first pixel of luma row 20.
pcd_recipe five_resolutions()
{
    pcd_recipe recipe = grey_file(100);
    recipe.has_res4 = true;
    recipe.res4_rows = {{5, 0, {10, 10, 10, 10}}};
    recipe.has_res5 = true;
    recipe.res5_rows = {{20, 0, {1}}};
    return recipe;
}

TEST(PcdRead, ResolutionsFourAndFiveAddTheirDifferences)
{
    const bytes file = make_pcd(five_resolutions());
    read_result r4 = read_pcd(file, 4);
    ASSERT_TRUE(r4.has_buffer);
    EXPECT_EQ(r4.error, 0);
    EXPECT_EQ(r4.width, 1536u);
    EXPECT_EQ(r4.height, 1024u);
    EXPECT_EQ(rgb_at(r4, 0, 5), grey_pixel(110));
    EXPECT_EQ(rgb_at(r4, 3, 5), grey_pixel(110));
    EXPECT_EQ(rgb_at(r4, 4, 5), grey_pixel(100));
    EXPECT_EQ(rgb_at(r4, 0, 4), grey_pixel(100));

    read_result r5 = read_pcd(file, 5);
    ASSERT_TRUE(r5.has_buffer);
    EXPECT_EQ(r5.width, 3072u);
    EXPECT_EQ(r5.height, 2048u);
    EXPECT_EQ(rgb_at(r5, 6, 10), grey_pixel(110));   // row 5 doubled
    EXPECT_EQ(rgb_at(r5, 7, 10), grey_pixel(105));   // between 110 and 100
    EXPECT_EQ(rgb_at(r5, 0, 9), grey_pixel(105));
    EXPECT_EQ(rgb_at(r5, 0, 20), grey_pixel(101));
    EXPECT_EQ(rgb_at(r5, 1, 20), grey_pixel(100));
}

TEST(PcdRead, ResolutionSixIsFiveDoubledAndRotationSwapsItsSides)
{
    pcd_recipe recipe = five_resolutions();
    recipe.rotation = 1;
    read_result r = read_pcd(make_pcd(recipe), 9);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.width, 4096u);
    EXPECT_EQ(r.height, 6144u);
    // Upright (0, 40) carries resolution 5's (0, 20); a quarter turn
    // counter-clockwise puts upright (x, y) at (y, 6143 - x).
    EXPECT_EQ(rgb_at(r, 40, 6143), grey_pixel(101));
    EXPECT_EQ(rgb_at(r, 40, 6141), grey_pixel(100));
}

TEST(PcdRead, OnlyStoredResolutionsFailAboveThreeAsTheDescendingRetryExpects)
{
    const bytes file = make_pcd(grey_file(60));
    read_result r4 = read_pcd(file, 4);
    EXPECT_FALSE(r4.has_buffer);
    EXPECT_EQ(r4.error, 3);
    // The application's road: 6 down to 1, rewinding after each failure.
    memory_source source(file);
    int32_t taken = 0;
    for (int32_t resolution = 6; resolution >= 1 && !taken; --resolution) {
        uint32_t w = 0, h = 0;
        uint8_t* buffer = is_read_pcd(source.get(), &w, &h, resolution, 0);
        if (buffer) {
            taken = resolution;
            EXPECT_EQ(w, 768u);
            is_global_free(buffer);
        }
        is_seek(source.get(), 0, 0);
    }
    EXPECT_EQ(taken, 3);
    // A file holding resolution 1 only.
    EXPECT_EQ(read_pcd(make_pcd(grey_file(60, 1)), 2).error, 3);
    EXPECT_TRUE(read_pcd(make_pcd(grey_file(60, 1)), 1).has_buffer);
}

TEST(PcdRead, TooLittleMemoryForAResolutionIsErrorOne)
{
    is_set_buffer_limit(20u << 20);
    read_result r = read_pcd(make_pcd(grey_file(60, 1)), 6);
    is_set_buffer_limit(0);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 1);
}

TEST(PcdRead, NotAnImagePack)
{
    pcd_recipe overview = grey_file(1, 1);
    overview.overview = true;
    EXPECT_EQ(read_pcd(make_pcd(overview), 1).error, 64);
    bytes file = make_pcd(grey_file(1, 1));
    file[2049] = 'X';
    EXPECT_EQ(read_pcd(file, 1).error, 63);
    file.resize(6000);
    EXPECT_EQ(read_pcd(file, 1).error, 63);
    EXPECT_EQ(is_read_pcd(nullptr, nullptr, nullptr, 1, 0), nullptr);
    EXPECT_EQ(is_get_last_error(), 5);

    // The generic read sends an overview pack named .pcd to this reader.
    temp_file named("album.pcd", make_pcd(overview));
    ISSourceRecord* source = is_open_file_source(named.path());
    EXPECT_EQ(read_generic(source, 24).error, 64);
    is_close_source(source);
}

TEST(PcdRead, GenericReadTakesResolutionThree)
{
    const bytes file = make_pcd(grey_file(90));
    read_result r = read_generic(file, 0);
    ASSERT_TRUE(r.has_buffer);
    EXPECT_EQ(r.depth, 24);
    EXPECT_EQ(r.width, 768u);
    EXPECT_EQ(rgb_at(r, 10, 10), grey_pixel(90));
    read_result wide = read_generic(file, 32);
    EXPECT_EQ(wide.depth, 32);
    EXPECT_EQ(wide.pixels[3], 255);
    EXPECT_EQ(read_generic(file, 8).error, 17);
}

TEST(PcdRead, PackedBitmapsParkTheSavedCallbackBlock)
{
    static bool cleared_during_read;
    cleared_during_read = false;
    uint8_t* block = is_thread_state()->saved_callback_block;
    std::memset(block, 0x5A, is_saved_callback_block_size);
    is_set_abort_callback(
        [](int32_t, int32_t, void*) -> int32_t {
            cleared_during_read = is_thread_state()->saved_callback_block[0] == 0;
            return 1;
        },
        nullptr);
    read_result dib = read_pcd(make_pcd(grey_file(90, 1)), 1, IS_FLAG_PACKED_DIB);
    is_set_abort_callback(nullptr, nullptr);
    ASSERT_TRUE(dib.has_buffer);
    EXPECT_TRUE(cleared_during_read);
    EXPECT_EQ(block[0], 0x5A);
    EXPECT_EQ(dib.pixels.size(), 40u + 192 * 3 * 128);
    EXPECT_EQ(dib.pixels[14], 24);
    EXPECT_EQ(dib.pixels[40], grey(90));
    std::memset(block, 0, is_saved_callback_block_size);
}

TEST(PcdRead, CancelledReadsReturnNothing)
{
    is_set_abort_callback([](int32_t row, int32_t, void*) -> int32_t { return row < 3; }, nullptr);
    read_result r = read_pcd(make_pcd(grey_file(90, 1)), 1);
    is_set_abort_callback(nullptr, nullptr);
    EXPECT_FALSE(r.has_buffer);
    EXPECT_EQ(r.error, 14);
}

}  // namespace
