// From the library's packed rows into the program's image type.
#include "loader/picture_copy.h"
#include "imageio/imageio.h"
#include "raster/kit_test_hooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class PictureCopy : public ::testing::Test {
protected:
    void SetUp() override { kit_init(); }
};

// The colour bytes of one row, without the row's padding.
std::vector<uint8_t> color_row(const raster_image* image, int32_t y)
{
    const uint8_t* row = image->pixels + (size_t)y * image->stride;
    return std::vector<uint8_t>(row, row + 3 * image->width);
}

TEST_F(PictureCopy, TransparencyScanLooksAtAlphaOnly)
{
    std::vector<uint8_t> rgba = {0, 0, 0, 255, 7, 7, 7, 255, 9, 9, 9, 255};
    EXPECT_FALSE(buffer_has_transparency(rgba.data(), 3, 1));
    rgba[11] = 254;
    EXPECT_TRUE(buffer_has_transparency(rgba.data(), 3, 1));
    EXPECT_FALSE(buffer_has_transparency(rgba.data(), 2, 1));  // the last pixel lies outside
}

TEST_F(PictureCopy, PremultiplicationRoundsHalfUp)
{
    EXPECT_EQ(premultiplied(255, 128), 128);
    EXPECT_EQ(premultiplied(200, 255), 200);
    EXPECT_EQ(premultiplied(200, 0), 0);
    EXPECT_EQ(premultiplied(1, 128), 1);    // 0.502 rounds up
    EXPECT_EQ(premultiplied(1, 127), 0);    // 0.498 rounds down
    EXPECT_EQ(premultiplied(100, 128), 50); // 50.196
    EXPECT_EQ(premultiplied(3, 85), 1);     // exactly 1
    EXPECT_EQ(premultiplied(254, 254), 253);  // 253.004
    EXPECT_EQ(premultiplied(128, 129), 65);   // 64.75
}

TEST_F(PictureCopy, ThreeBytesBecomeBgrRowsWithPadding)
{
    // Width 5: a stride of 16 with one byte of padding per row.
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 30; ++i)
        rgb.push_back((uint8_t)(i + 1));
    raster_image* image = image_from_buffer(rgb.data(), 5, 2, 3);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, PIXEL_BGR24);
    EXPECT_EQ(image->stride, 16);
    EXPECT_EQ(image->alpha, nullptr);
    EXPECT_EQ(color_row(image, 0), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13}));
    EXPECT_EQ(color_row(image, 1)[0], 18);
    EXPECT_EQ(image->pixels[15], 0);  // padding stays untouched
    image_free(image);
}

TEST_F(PictureCopy, OpaqueFourBytesLoseTheirAlpha)
{
    const std::vector<uint8_t> rgba = {10, 20, 30, 255, 40, 50, 60, 255};
    raster_image* image = image_from_buffer(rgba.data(), 1, 2, 4);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, PIXEL_BGR24);
    EXPECT_EQ(color_row(image, 0), (std::vector<uint8_t>{30, 20, 10}));
    EXPECT_EQ(color_row(image, 1), (std::vector<uint8_t>{60, 50, 40}));
    image_free(image);
}

TEST_F(PictureCopy, OneTransparentPixelGivesAPremultipliedAlphaPlane)
{
    const std::vector<uint8_t> rgba = {200, 100, 50, 255, 200, 100, 1, 128, 255, 255, 255, 0};
    raster_image* image = image_from_buffer(rgba.data(), 3, 1, 4);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, PIXEL_BGR24 | PIXEL_ALPHA8);
    EXPECT_EQ(image->alpha_stride, 4);
    EXPECT_EQ(color_row(image, 0), (std::vector<uint8_t>{50, 100, 200, 1, 50, 100, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(image->alpha, image->alpha + 3), (std::vector<uint8_t>{255, 128, 0}));
    image_free(image);
}

TEST_F(PictureCopy, EveryValueAndAlphaPairPremultipliesAsComputed)
{
    // Row a holds value v with alpha a in column v.
    std::vector<uint8_t> rgba(256 * 256 * 4);
    for (int a = 0; a < 256; ++a)
        for (int v = 0; v < 256; ++v) {
            uint8_t* p = &rgba[4 * (a * 256 + v)];
            p[0] = p[1] = p[2] = (uint8_t)v;
            p[3] = (uint8_t)a;
        }
    raster_image* image = image_from_buffer(rgba.data(), 256, 256, 4);
    ASSERT_NE(image, nullptr);
    int mismatches = 0;
    for (int a = 0; a < 256; ++a)
        for (int v = 0; v < 256; ++v)
            mismatches += image->pixels[a * image->stride + 3 * v] != premultiplied((uint8_t)v, (uint8_t)a);
    EXPECT_EQ(mismatches, 0);
    image_free(image);
}

TEST_F(PictureCopy, RefusesEmptySizesAndOtherStepsAndSurvivesNoMemory)
{
    const std::vector<uint8_t> rgb(12, 1);
    EXPECT_EQ(image_from_buffer(rgb.data(), 0, 1, 3), nullptr);
    EXPECT_EQ(image_from_buffer(rgb.data(), 1, 0, 3), nullptr);
    EXPECT_EQ(image_from_buffer(rgb.data(), 1, 1, 2), nullptr);
    EXPECT_EQ(image_from_buffer(nullptr, 1, 1, 3), nullptr);
    EXPECT_EQ(image_from_buffer(rgb.data(), 0x80000000u, 1, 3), nullptr);

    const kit_alloc_hook previous = kit_replace_alloc_hook([](uint64_t) -> void* { return nullptr; });
    EXPECT_EQ(image_from_buffer(rgb.data(), 2, 2, 3), nullptr);
    kit_replace_alloc_hook(previous);
}

TEST_F(PictureCopy, TakingTheBufferGivesWhatACopyGives)
{
    // Widths with every amount of row padding, three and four bytes a pixel,
    // and a transparent picture, which is copied.
    for (uint32_t width = 1; width <= 6; ++width)
        for (int step : {3, 4})
            for (bool transparent : {false, true}) {
                if (transparent && step == 3)
                    continue;
                const uint32_t height = 3;
                const size_t bytes = (size_t)width * height * step;
                auto* buffer = static_cast<uint8_t*>(is_global_alloc(bytes));
                ASSERT_NE(buffer, nullptr);
                for (size_t i = 0; i < bytes; ++i)
                    buffer[i] = (step == 4 && i % 4 == 3) ? 255 : (uint8_t)(i * 7 + 1);
                if (transparent)
                    buffer[3] = 100;
                raster_image* copied = image_from_buffer(buffer, width, height, step);
                raster_image* taken = image_taking_buffer(buffer, width, height, step);
                ASSERT_NE(copied, nullptr);
                ASSERT_NE(taken, nullptr);
                EXPECT_EQ(taken->type, copied->type) << width << " " << step;
                EXPECT_EQ(taken->stride, copied->stride);
                for (int32_t y = 0; y < (int32_t)height; ++y) {
                    // Padding included: it is cleared as a new image's is.
                    EXPECT_EQ(std::memcmp(taken->pixels + y * taken->stride, copied->pixels + y * copied->stride,
                                          (size_t)copied->stride),
                              0)
                        << "width " << width << " step " << step << " row " << y;
                }
                image_free(copied);
                image_free(taken);  // releases the library's buffer too (ASan watches)
            }
}

TEST_F(PictureCopy, NoRecordForTakenPixelsFreesTheBuffer)
{
    auto* buffer = static_cast<uint8_t*>(is_global_alloc(12));
    const kit_alloc_hook previous = kit_replace_alloc_hook([](uint64_t) -> void* { return nullptr; });
    EXPECT_EQ(image_taking_buffer(buffer, 2, 2, 3), nullptr);
    kit_replace_alloc_hook(previous);
}

}  // namespace
