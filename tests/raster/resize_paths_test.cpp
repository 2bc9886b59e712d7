#include "raster/resize_paths.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/raster/resize_test_images.h"

namespace {

struct case_shape {
    int32_t type, source_width, source_height, width, height;
};

// Resizes a random source into a view of a larger destination on the plain
// path and on the given path; every byte of the destination blocks, inside the
// views or not, must agree. The source rows may be longer than the pixels,
// and its last row ends exactly where its buffer ends, so that the sanitizer
// sees any read past the last pixel.
void expect_same_as_plain(resize_path path, const case_shape& shape, std::mt19937& random)
{
    const std::string label = std::string(resize_path_name(path)) + " type " + std::to_string(shape.type) + " " +
                              std::to_string(shape.source_width) + "x" + std::to_string(shape.source_height) +
                              " -> " + std::to_string(shape.width) + "x" + std::to_string(shape.height);
    const int32_t margin = (int32_t)(random() % 3);
    const int32_t bytes = pixel_color_bytes(shape.type);
    const int32_t stride = (int32_t)padded_row_bytes(shape.source_width + margin, bytes);
    std::vector<uint8_t> source((size_t)stride * (shape.source_height - 1) + shape.source_width * bytes);
    for (uint8_t& byte : source)
        byte = (uint8_t)random();
    const raster_image source_view{shape.source_width, shape.source_height, shape.type, source.data(), stride,
                                   nullptr, 0, 0};

    image_ptr reference = make_image(shape.type, shape.width + margin, shape.height + margin);
    fill_random(reference.get(), random);
    image_ptr fast = make_image(shape.type, shape.width + margin, shape.height + margin);
    std::copy(reference->pixels, reference->pixels + (reference->block_size - sizeof(raster_image)), fast->pixels);
    raster_image reference_view, fast_view;
    image_view(&reference_view, margin, 0, reference.get(), shape.width, shape.height);
    image_view(&fast_view, margin, 0, fast.get(), shape.width, shape.height);

    ASSERT_TRUE(resize_filtered(nullptr, &source_view, &reference_view, resize_path::plain)) << label;
    ASSERT_TRUE(resize_filtered(nullptr, &source_view, &fast_view, path)) << label;
    ASSERT_EQ(block_bytes(*fast), block_bytes(*reference)) << label;
}

TEST(ResizePaths, FastPathsMatchThePlainPathBitForBit)
{
    kit_init();
    ASSERT_TRUE(resize_path_supported(resize_path::plain));
    ASSERT_TRUE(resize_path_supported(resize_best_path()));
    std::mt19937 random(2024);
    auto length = [&random]() {
        switch (random() % 4) {
        case 0:
            return (int32_t)(1 + random() % 3);  // tiny
        case 1:
            return (int32_t)(1 + random() % 20);
        default:
            return (int32_t)(1 + random() % 180);
        }
    };
    for (const resize_path path : {resize_path::sse41, resize_path::avx2}) {
        if (!resize_path_supported(path))
            continue;
        const case_shape fixed[] = {
            {PIXEL_BGR24, 300, 40, 1000, 93},  // enlarge
            {PIXEL_BGR24, 512, 400, 128, 100}, // reduce by 4
            {PIXEL_GRAY8, 333, 250, 97, 131},
            {PIXEL_BGR24, 77, 66, 77, 66},     // equal
            {PIXEL_BGR24, 1, 1, 45, 3},
            {PIXEL_GRAY8, 3, 2, 1, 50},
            {PIXEL_BGR24, 180, 9, 50, 7},      // packed windows moved left at the right edge
        };
        for (const case_shape& shape : fixed)
            expect_same_as_plain(path, shape, random);
        for (int i = 0; i < 150; ++i) {
            const int32_t type = random() % 2 ? PIXEL_BGR24 : PIXEL_GRAY8;
            expect_same_as_plain(path, {type, length(), length(), length(), length()}, random);
        }
    }
}

}  // namespace
