// The face effects on small images whose results are worked out by hand.
#include "face/blur_kernel.h"
#include "face/face_effects.h"
#include "tests/raster/raster_test_support.h"

#include <cmath>
#include <functional>

namespace {

image_ptr gray_line(std::vector<uint8_t> values, bool column = false)
{
    const auto count = (int32_t)values.size();
    image_ptr image = make_image(PIXEL_GRAY8, column ? 1 : count, column ? count : 1);
    for (int32_t i = 0; i < count; ++i)
        image->pixels[column ? i * image->stride : i] = values[i];
    return image;
}

std::vector<uint8_t> line_of(const raster_image* image)
{
    std::vector<uint8_t> values;
    for (int32_t y = 0; y < image->height; ++y)
        for (int32_t x = 0; x < image->width; ++x)
            values.push_back((uint8_t)image_get_pixel(image, y, x));
    return values;
}

// An image record over a heap buffer of exactly its pixels, rows unpadded.
struct heap_image {
    std::vector<uint8_t> bytes;
    raster_image image;
    heap_image(int32_t type, int32_t width, int32_t height)
        : bytes((size_t)(width * height * pixel_color_bytes(type)), 0x80),
          image{width, height, type, bytes.data(), width * pixel_color_bytes(type), nullptr, 0, 0}
    {
    }
};

TEST(FaceBlur, RadiusAndKernel)
{
    // sqrt(2 s^2 ln 255) rounded up: 13.3, 8.3, 6.66, 0.9987; 0.4994 is below half a pixel.
    const std::pair<double, int32_t> radii[] = {{4.0, 14}, {2.5, 9},  {2.0, 7},  {0.3, 1},
                                                {0.15, 0}, {NAN, 0}, {1e6, -1}};
    for (const auto& [sigma, radius] : radii)
        EXPECT_EQ(image_blur(nullptr, sigma), radius) << sigma;
    std::vector<int64_t> memory(blur_workspace::bytes_for(14, 30) / 8 + 1);
    blur_workspace kernel(14, 30, memory.data());
    kernel.prepare(14, 4.0);
    EXPECT_EQ(kernel.weights[14], 65536);
    EXPECT_EQ(kernel.weights[13], 63520);  // exp(-1/32) * 65536 = 63519.6
    EXPECT_EQ(kernel.weights[0], 143);     // exp(-196/32) * 65536 = 143.4
    EXPECT_EQ(kernel.weights[28], 143);
    EXPECT_EQ(kernel.total, 656769);  // offsets -14..13: the +14 weight takes no part

    // The blur's working memory is one block from the kit, given back.
    image_ptr image = make_image(PIXEL_GRAY8, 20, 10);
    const int live = live_blocks();
    const uint32_t sequence = kit_alloc_sequence();
    EXPECT_EQ(image_blur(image.get(), 4.0), 14);
    EXPECT_EQ(kit_alloc_sequence(), sequence + 1);
    EXPECT_EQ(live_blocks(), live);
}

TEST(FaceBlur, EdgesReplicateAndTheLastOffsetIsLeftOut)
{
    // Radius 1, weights 253, 65536, (253): each value mixes with the one before it only.
    for (const bool column : {false, true}) {
        image_ptr rising = gray_line({0, 255}, column), falling = gray_line({255, 0}, column);
        EXPECT_EQ(image_blur(rising.get(), 0.3), 1);
        image_blur(falling.get(), 0.3);
        EXPECT_EQ(line_of(rising.get()), (std::vector<uint8_t>{0, 254}));   // (32894 + 255 * 65536) / 65789
        EXPECT_EQ(line_of(falling.get()), (std::vector<uint8_t>{255, 1}));  // (32894 + 255 * 253) / 65789
        // Radius 14 over two pixels: 255 times the weights of offsets 1..13 (295545), then 0..13.
        image_ptr tiny = gray_line({0, 255}, column);
        image_blur(tiny.get(), 4.0);
        EXPECT_EQ(line_of(tiny.get()), (std::vector<uint8_t>{115, 140}));
    }
    std::vector<uint8_t> step(40, 0);
    std::fill(step.begin() + 20, step.end(), 255);
    image_ptr edge = gray_line(step), single = gray_line({77});
    image_blur(edge.get(), 4.0);
    image_blur(single.get(), 4.0);
    const std::vector<uint8_t> blurred = line_of(edge.get());
    EXPECT_EQ(std::vector<uint8_t>(blurred.begin() + 18, blurred.begin() + 22),
              (std::vector<uint8_t>{90, 115, 140, 165}));
    EXPECT_EQ(line_of(single.get()), std::vector<uint8_t>{77});

    image_ptr color = make_image(PIXEL_BGR24, 5, 3);
    const auto before = scribble(color.get());
    EXPECT_EQ(image_blur(color.get(), 0.1), 0);
    expect_only_rectangle_changed(color.get(), before, 0, 0, 0, 0);
}

TEST(FaceEmboss, FlatMapsStayAndStepsAreLitFromTheLeft)
{
    image_ptr color = make_image(PIXEL_BGR24, 4, 3), map = make_image(PIXEL_GRAY8, 4, 3);
    for (const uint8_t level : {0, 77}) {
        image_fill(map.get(), level);
        const auto before = scribble(color.get());
        image_emboss(color.get(), map.get(), nullptr, 2.5);
        expect_only_rectangle_changed(color.get(), before, 0, 0, 0, 0);
    }
    // A rise faces the light (shade 24: (24 * 255 + 103 * 100) / 127), a fall
    // turns away (shade -74: 100 * 54 >> 7); the outer columns see no slope.
    const std::pair<std::vector<uint8_t>, std::vector<uint8_t>> steps[] = {{{0, 0, 255, 255}, {100, 129, 129, 100}},
                                                                          {{255, 255, 0, 0}, {100, 42, 42, 100}}};
    for (const auto& [heights, expected] : steps) {
        for (int32_t y = 0; y < 3; ++y)
            std::memcpy(map->pixels + y * map->stride, heights.data(), 4);
        image_fill(color.get(), 0xFF646464);
        image_emboss(color.get(), map.get(), nullptr, 2.5);
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(image_get_pixel(color.get(), 1, x), 0xFF000000u | expected[x] * 0x010101u) << x;
    }
}

TEST(FaceColorize, HuesSaturationsAndGrey)
{
    // Grey 128 with brightness 4: L = 0.5219; m2 = L + S - L S, m1 = 2 L - m2.
    const struct {
        int32_t hue, brightness, saturation;
        uint32_t before, after;
    } cases[] = {
        {211, 4, 69, 0x808080, 0x3182D9},  {344, 4, 69, 0x808080, 0xD9315E}, {211, 4, 100, 0x808080, 0x0B81FF},
        {344, 4, 100, 0x808080, 0xFF0B4C}, {571, 4, 69, 0x808080, 0x3182D9}, {-149, 4, 69, 0x808080, 0x3182D9},
        {211, 4, 0, 0x646464, 0x6A6A6A},   {211, 4, 0, 0xFF0000, 0x535353},  {211, -50, 0, 0xFF0000, 0x262626},
    };
    image_ptr image = make_image(PIXEL_BGR24, 1, 1);
    for (const auto& c : cases) {
        set_bgr(image.get(), 0, 0, c.before);
        image_colorize(image.get(), c.hue, c.brightness, c.saturation);
        EXPECT_EQ(image_get_pixel(image.get(), 0, 0), 0xFF000000u | c.after) << c.hue << " " << c.saturation;
    }
}

TEST(FaceLevels, InvertAndFade)
{
    image_ptr mask = gray_line({0, 1, 200, 255});
    image_invert(mask.get());
    EXPECT_EQ(line_of(mask.get()), (std::vector<uint8_t>{255, 254, 55, 0}));
    image_ptr color = make_image(BGRA, 1, 1);
    set_bgr(color.get(), 0, 0, 0x80102030);
    image_invert(color.get());
    EXPECT_EQ(image_get_pixel(color.get(), 0, 0), 0x80EFDFCFu);

    const std::pair<double, std::vector<uint8_t>> fades[] = {
        {0.75, {0, 191, 150, 191}}, {0.45, {0, 114, 89, 114}}, {2.0, {0, 255, 200, 255}}, {-1.0, {0, 0, 0, 0}}};
    for (const auto& [factor, expected] : fades) {
        image_ptr shadow = gray_line({0, 255, 200, 255});
        image_fade(shadow.get(), factor);
        EXPECT_EQ(line_of(shadow.get()), expected) << factor;
    }
}

TEST(FaceEffects, ViewsAndTinySizesStayInBounds)
{
    image_ptr map = make_image(PIXEL_GRAY8, 4, 3);
    image_fill(map.get(), 0);
    map->pixels[map->stride + 2] = 255;
    const std::pair<const char*, std::function<void(raster_image*)>> effects[] = {
        {"blur", [](raster_image* image) { image_blur(image, 4.0); }},
        {"emboss", [&](raster_image* image) { image_emboss(image, map.get(), nullptr, 2.5); }},
        {"colorize", [](raster_image* image) { image_colorize(image, 344, 4, 100); }},
        {"invert", [](raster_image* image) { image_invert(image); }},
        {"fade", [](raster_image* image) { image_fade(image, 0.45); }},
    };
    for (const int32_t type : {(int32_t)PIXEL_GRAY8, (int32_t)PIXEL_BGR24}) {
        for (const auto& [name, apply] : effects) {
            SCOPED_TRACE(name);
            image_ptr image = make_image(type, 9, 6);
            const auto before = scribble(image.get());
            raster_image view;
            image_view(&view, 1, 2, image.get(), 4, 3);
            apply(&view);
            expect_only_rectangle_changed(image.get(), before, 1, 2, 4, 3);
            // Heap images of exactly their rows, so that the sanitizer sees any stray read.
            for (const auto& [width, height] : {std::pair{0, 0}, {1, 1}, {1, 3}, {4, 1}}) {
                heap_image tiny(type, width, height), tiny_map(PIXEL_GRAY8, width, height);
                apply(&tiny.image);
                image_emboss(&tiny.image, &tiny_map.image, nullptr, 2.5);
            }
        }
    }
}

}  // namespace
