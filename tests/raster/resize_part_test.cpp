#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "raster/resize_paths.h"
#include "tests/raster/resize_test_images.h"

namespace {

// Cuts a random full-size resample into a random grid of parts: each part,
// resampled on its own, must equal its rectangle of the whole, byte for byte,
// on every path, for enlargements, reductions and tiny sources alike.
TEST(ResizePart, PartsLaidSideBySideEqualTheWholeResample)
{
    kit_init();
    std::mt19937 random(1313);
    auto length = [&random](int32_t most) { return (int32_t)(1 + random() % most); };
    for (int round = 0; round < 60; ++round) {
        const int32_t type = round % 3 == 0 ? PIXEL_GRAY8 : PIXEL_BGR24;
        image_ptr source = make_image(type, length(round % 2 ? 9 : 70), length(round % 2 ? 9 : 70));
        fill_random(source.get(), random);
        const int32_t width = length(120);
        const int32_t height = length(120);
        image_ptr whole = make_image(type, width, height);
        ASSERT_TRUE(image_resize(nullptr, source.get(), whole.get(), RESIZE_LANCZOS3));
        const int32_t cut_x = length(width);
        const int32_t cut_y = length(height);
        for (int32_t y = 0; y < height; y += cut_y) {
            for (int32_t x = 0; x < width; x += cut_x) {
                const int32_t w = std::min(cut_x, width - x);
                const int32_t h = std::min(cut_y, height - y);
                raster_image expected;
                image_view(&expected, y, x, whole.get(), w, h);
                for (resize_path path : {resize_path::plain, resize_best_path()}) {
                    image_ptr part = make_image(type, w, h);
                    ASSERT_TRUE(resize_filtered_part(nullptr, source.get(), width, height, x, y, part.get(), path));
                    ASSERT_EQ(pixel_bytes(*part), pixel_bytes(expected))
                        << source->width << "x" << source->height << " -> " << width << "x" << height << " part at "
                        << x << "," << y << " on " << resize_path_name(path);
                }
            }
        }
    }
    EXPECT_EQ(live_blocks(), 0);
}

TEST(ResizePart, RefusesAPartOutsideTheWholeAndLeavesNoBlocks)
{
    kit_init();
    image_ptr source = make_image(PIXEL_BGR24, 10, 10);
    image_ptr part = make_image(PIXEL_BGR24, 5, 5);
    EXPECT_FALSE(image_resize_part(nullptr, source.get(), 20, 20, 16, 0, part.get()));
    EXPECT_FALSE(image_resize_part(nullptr, source.get(), 20, 20, 0, -1, part.get()));
    EXPECT_TRUE(image_resize_part(nullptr, source.get(), 20, 20, 15, 15, part.get()));
    source.reset();
    part.reset();
    EXPECT_EQ(live_blocks(), 0);
}

}  // namespace
