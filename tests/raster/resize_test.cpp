#include "raster/resize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "raster/kit_test_hooks.h"
#include "raster/resize_paths.h"
#include "tests/raster/resize_test_images.h"

namespace {

struct ResizeTest : ::testing::Test {
    std::mt19937 random{12345};
    void SetUp() override { kit_init(); }
};

std::vector<resize_path> supported_paths()
{
    std::vector<resize_path> paths;
    for (const resize_path path : {resize_path::plain, resize_path::sse41, resize_path::avx2})
        if (resize_path_supported(path))
            paths.push_back(path);
    return paths;
}

// Records the callback's calls and answers false from call number stop_at on.
struct progress_log {
    std::vector<double> fractions;
    std::vector<int> reserved;
    size_t stop_at = SIZE_MAX;
};
progress_log g_progress;

bool record_progress(double fraction, int reserved)
{
    g_progress.fractions.push_back(fraction);
    g_progress.reserved.push_back(reserved);
    return g_progress.fractions.size() < g_progress.stop_at;
}

void reset_progress(size_t stop_at = SIZE_MAX)
{
    g_progress = progress_log{};
    g_progress.stop_at = stop_at;
}

TEST_F(ResizeTest, UnknownMethodsAreRefusedWithoutTouchingAnything)
{
    image_ptr source = make_image(PIXEL_BGR24, 8, 6);
    image_ptr target = make_image(PIXEL_BGR24, 5, 4);
    fill_random(source.get(), random);
    fill_random(target.get(), random);
    const std::vector<uint8_t> before = block_bytes(*target);
    for (const int method : {-1, 1, 2, 6, 8, 255}) {
        reset_progress();
        EXPECT_FALSE(image_resize(record_progress, source.get(), target.get(), method)) << method;
        EXPECT_TRUE(g_progress.fractions.empty());
        EXPECT_EQ(block_bytes(*target), before);
    }
}

TEST_F(ResizeTest, ImagesThatCannotBeResampledAreRefused)
{
    image_ptr bgr = make_image(PIXEL_BGR24, 4, 4);
    image_ptr gray = make_image(PIXEL_GRAY8, 4, 4);
    image_ptr rgb555 = make_image(PIXEL_RGB555, 4, 4);
    image_ptr empty = make_image(PIXEL_BGR24, 0, 3);
    for (const int method : {RESIZE_NEAREST, RESIZE_LANCZOS3}) {
        EXPECT_FALSE(image_resize(nullptr, bgr.get(), gray.get(), method));
        EXPECT_FALSE(image_resize(nullptr, rgb555.get(), rgb555.get(), method));
        EXPECT_FALSE(image_resize(nullptr, empty.get(), bgr.get(), method));
        EXPECT_TRUE(image_resize(nullptr, bgr.get(), empty.get(), method));
    }
}

TEST_F(ResizeTest, FilteredEqualSizesReproduceTheSourceAndLeaveAlphaAlone)
{
    for (const resize_path path : supported_paths()) {
        for (const int32_t type : {(int32_t)PIXEL_GRAY8, PIXEL_BGR24 | PIXEL_ALPHA8}) {
            image_ptr parent = make_image(type, 50, 40);
            fill_random(parent.get(), random);
            raster_image view;
            image_view(&view, 3, 5, parent.get(), 41, 33);
            image_ptr target = make_image(type, 41, 33);
            std::fill(target->alpha, target->alpha + 33 * target->alpha_stride, 0x5A);
            ASSERT_TRUE(resize_filtered(nullptr, &view, target.get(), path));
            EXPECT_EQ(pixel_bytes(*target), pixel_bytes(view)) << resize_path_name(path);
            EXPECT_TRUE(std::all_of(target->alpha, target->alpha + 33 * target->alpha_stride,
                                    [](uint8_t a) { return a == 0x5A; }));
        }
    }
}

TEST_F(ResizeTest, FilteredEnlargementOfOnePixelIsUniform)
{
    image_ptr source = make_image(PIXEL_BGR24, 1, 1);
    source->pixels[0] = 0x10, source->pixels[1] = 0x80, source->pixels[2] = 0xF0;
    for (const resize_path path : supported_paths()) {
        image_ptr target = make_image(PIXEL_BGR24, 70, 9);
        ASSERT_TRUE(resize_filtered(nullptr, source.get(), target.get(), path));
        for (int32_t y = 0; y < 9; ++y)
            for (int32_t x = 0; x < 70; ++x)
                ASSERT_TRUE(std::equal(source->pixels, source->pixels + 3, pixel_at(*target, x, y))) << x << "," << y;
    }
}

// A step enlarged four times: output x sits at source x / 4, the step lies
// between outputs 12 and 16, the first lobe of ringing at 9-11 and 17-19.
std::vector<uint8_t> enlarged_step(uint8_t dark, uint8_t bright, resize_path path)
{
    image_ptr source = make_image(PIXEL_GRAY8, 8, 2);
    for (int32_t x = 0; x < 8; ++x)
        source->pixels[x] = source->pixels[source->stride + x] = x < 4 ? dark : bright;
    image_ptr target = make_image(PIXEL_GRAY8, 32, 3);
    EXPECT_TRUE(resize_filtered(nullptr, source.get(), target.get(), path));
    return std::vector<uint8_t>(target->pixels + target->stride, target->pixels + target->stride + 32);
}

TEST_F(ResizeTest, HardEdgesRingAndTheRingingIsClamped)
{
    for (const resize_path path : supported_paths()) {
        const std::vector<uint8_t> soft = enlarged_step(40, 200, path);
        const std::vector<uint8_t> hard = enlarged_step(0, 255, path);
        for (const int32_t x : {9, 10, 11}) {
            EXPECT_LT(soft[x], 40) << x;
            EXPECT_EQ(hard[x], 0) << x << " on " << resize_path_name(path);
        }
        for (const int32_t x : {17, 18, 19}) {
            EXPECT_GT(soft[x], 200) << x;
            EXPECT_EQ(hard[x], 255) << x << " on " << resize_path_name(path);
        }
        EXPECT_EQ(hard[12], 0);
        EXPECT_EQ(hard[16], 255);
    }
}

TEST_F(ResizeTest, FilteredProgressCountsRowsThenColumns)
{
    image_ptr source = make_image(PIXEL_BGR24, 60, 37);
    image_ptr target = make_image(PIXEL_BGR24, 150, 20);
    fill_random(source.get(), random);
    std::vector<double> expected;
    for (int32_t y = 0; y < 37; ++y)
        expected.push_back(0.5 * (y + 1) / 37);
    for (int32_t x = 0; x < 150; ++x)
        expected.push_back(0.5 + 0.5 * (x + 1) / 150);
    for (const resize_path path : supported_paths()) {
        reset_progress();
        ASSERT_TRUE(resize_filtered(record_progress, source.get(), target.get(), path));
        EXPECT_EQ(g_progress.fractions, expected) << resize_path_name(path);
        EXPECT_EQ(g_progress.reserved, std::vector<int>(expected.size(), 0));
    }
}

TEST_F(ResizeTest, FilteredStopWritesExactlyTheColumnsBeforeIt)
{
    image_ptr source = make_image(PIXEL_BGR24, 60, 37);
    fill_random(source.get(), random);
    image_ptr full = make_image(PIXEL_BGR24, 150, 20);
    ASSERT_TRUE(resize_filtered(nullptr, source.get(), full.get(), resize_path::plain));
    // Stops in the first pass (calls 1 and 10), at the first column, at a
    // strip boundary and at the last column.
    for (const resize_path path : supported_paths()) {
        for (const size_t stop_at : {1, 10, 38, 37 + 128, 37 + 129, 37 + 150}) {
            image_ptr target = make_image(PIXEL_BGR24, 150, 20);
            fill_random(target.get(), random);
            const std::vector<uint8_t> before = pixel_bytes(*target);
            const int live = live_blocks();
            reset_progress(stop_at);
            EXPECT_FALSE(resize_filtered(record_progress, source.get(), target.get(), path));
            EXPECT_EQ(g_progress.fractions.size(), stop_at);
            EXPECT_EQ(live_blocks(), live);
            const size_t written = stop_at > 37 ? stop_at - 38 : 0;
            for (int32_t y = 0; y < 20; ++y) {
                for (int32_t x = 0; x < 150; ++x) {
                    const uint8_t* expected = (size_t)x < written ? pixel_at(*full, x, y) : &before[(y * 150 + x) * 3];
                    ASSERT_TRUE(std::equal(expected, expected + 3, pixel_at(*target, x, y)))
                        << resize_path_name(path) << " stop " << stop_at << " at " << x << "," << y;
                }
            }
        }
    }
}

std::vector<int> g_allocations_left;
kit_alloc_hook g_real_alloc;

void* failing_alloc(uint64_t size)
{
    if (g_allocations_left.back()-- == 0)
        return nullptr;
    return g_real_alloc(size);
}

TEST_F(ResizeTest, FilteredFailsCleanlyWhenMemoryRunsOut)
{
    image_ptr source = make_image(PIXEL_BGR24, 30, 20);
    fill_random(source.get(), random);
    for (const resize_path path : supported_paths()) {
        image_ptr target = make_image(PIXEL_BGR24, 45, 12);
        fill_random(target.get(), random);
        const std::vector<uint8_t> before = block_bytes(*target);
        const int live = live_blocks();
        bool done = false;
        for (int allowed = 0; !done && allowed < 20; ++allowed) {
            g_allocations_left = {allowed};
            g_real_alloc = kit_replace_alloc_hook(failing_alloc);
            done = resize_filtered(nullptr, source.get(), target.get(), path);
            kit_replace_alloc_hook(g_real_alloc);
            EXPECT_EQ(live_blocks(), live) << resize_path_name(path) << " with " << allowed << " blocks";
            if (!done) {
                EXPECT_EQ(block_bytes(*target), before);
            }
        }
        EXPECT_TRUE(done);
    }
}

TEST_F(ResizeTest, NearestMapsFirstToFirstAndLastToLast)
{
    image_ptr source = make_image(PIXEL_BGR24, 7, 5);
    fill_random(source.get(), random);
    image_ptr same = make_image(PIXEL_BGR24, 7, 5);
    ASSERT_TRUE(image_resize(nullptr, source.get(), same.get(), RESIZE_NEAREST));
    EXPECT_EQ(pixel_bytes(*same), pixel_bytes(*source));

    image_ptr column = make_image(PIXEL_BGR24, 1, 3);
    ASSERT_TRUE(image_resize(nullptr, source.get(), column.get(), RESIZE_NEAREST));
    for (const int32_t y : {0, 1, 2})
        EXPECT_TRUE(std::equal(pixel_at(*column, 0, y), pixel_at(*column, 0, y) + 3, pixel_at(*source, 0, y * 2)));

    // Past 32767 pixels the 16.16 positions need more than 32 bits.
    image_ptr wide = make_image(PIXEL_GRAY8, 40000, 1);
    for (int32_t x = 0; x < 40000; ++x)
        wide->pixels[x] = (uint8_t)(x % 251);
    image_ptr three = make_image(PIXEL_GRAY8, 3, 1);
    ASSERT_TRUE(image_resize(nullptr, wide.get(), three.get(), RESIZE_NEAREST));
    EXPECT_EQ(three->pixels[0], 0);
    EXPECT_EQ(three->pixels[1], 20000 % 251);
    EXPECT_EQ(three->pixels[2], 39999 % 251);
}

TEST_F(ResizeTest, NearestReportsEachRowAndStopsBetweenRows)
{
    image_ptr source = make_image(PIXEL_GRAY8, 9, 9);
    fill_random(source.get(), random);
    image_ptr target = make_image(PIXEL_GRAY8, 4, 4);
    fill_random(target.get(), random);
    const std::vector<uint8_t> before = pixel_bytes(*target);
    reset_progress(2);
    EXPECT_FALSE(image_resize(record_progress, source.get(), target.get(), RESIZE_NEAREST));
    EXPECT_EQ(g_progress.fractions, (std::vector<double>{0.25, 0.5}));
    const std::vector<uint8_t> after = pixel_bytes(*target);
    EXPECT_NE(std::vector<uint8_t>(after.begin(), after.begin() + 4), std::vector<uint8_t>(before.begin(), before.begin() + 4));
    EXPECT_EQ(std::vector<uint8_t>(after.begin() + 4, after.end()), std::vector<uint8_t>(before.begin() + 4, before.end()));
}

}  // namespace
