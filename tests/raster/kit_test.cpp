#include "raster/raster_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct KitTest : ::testing::Test {
    void SetUp() override { kit_init(); }
};

TEST_F(KitTest, CreateLaysOutOneBlockWithPaddedStrides)
{
    raster_image* plain = image_create(PIXEL_BGR24, 5, 2);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->stride, 16);
    EXPECT_EQ(plain->alpha, nullptr);
    EXPECT_EQ(plain->alpha_stride, 0);
    EXPECT_EQ(plain->pixels, reinterpret_cast<uint8_t*>(plain) + sizeof(raster_image));
    EXPECT_EQ(plain->block_size, 2 * 16 + sizeof(raster_image));

    raster_image* with_alpha = image_create(PIXEL_BGR24 | PIXEL_ALPHA8, 5, 2);
    ASSERT_NE(with_alpha, nullptr);
    EXPECT_EQ(with_alpha->stride, 16);
    EXPECT_EQ(with_alpha->alpha_stride, 8);
    EXPECT_EQ(with_alpha->alpha, with_alpha->pixels + 32);
    EXPECT_EQ(with_alpha->block_size, 2 * (16 + 8) + sizeof(raster_image));
    for (uint32_t i = 0; i < 2 * (16 + 8); ++i)
        EXPECT_EQ(with_alpha->pixels[i], 0) << i;
    image_free(plain);
    image_free(with_alpha);
}

TEST_F(KitTest, CreateRefusesBlocksBeyondThirtyTwoBits)
{
    EXPECT_EQ(image_create(PIXEL_BGR24, 40000, 40000), nullptr);
    EXPECT_EQ(image_create(PIXEL_BGR24 | PIXEL_ALPHA8, 0x7FFFFFFF, 0x7FFFFFFF), nullptr);
    EXPECT_EQ(image_create(PIXEL_BGR24, -1, 4), nullptr);
    raster_image* empty = image_create(PIXEL_GRAY8, 0, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->block_size, sizeof(raster_image));
    image_free(empty);
}

TEST_F(KitTest, ViewSharesPixelsOfTheRectangle)
{
    raster_image* image = image_create(PIXEL_BGR24 | PIXEL_ALPHA8, 10, 8);
    ASSERT_NE(image, nullptr);
    raster_image view;
    image_view(&view, 2, 3, image, 4, 5);
    EXPECT_EQ(view.width, 4);
    EXPECT_EQ(view.height, 5);
    EXPECT_EQ(view.stride, image->stride);
    EXPECT_EQ(view.block_size, image->block_size);
    EXPECT_EQ(view.pixels, image->pixels + 2 * image->stride + 3 * 3);
    EXPECT_EQ(view.alpha, image->alpha + 2 * image->alpha_stride + 3);

    raster_image* gray = image_create(PIXEL_GRAY8, 10, 8);
    image_view(&view, 1, 1, gray, 2, 2);
    EXPECT_EQ(view.alpha, nullptr);
    image_free(gray);
    image_free(image);
}

std::vector<std::string> g_log;

TEST_F(KitTest, TableRecordsBlocksAndLogsWhenFull)
{
    g_log.clear();
    kit_set_log_hook([](const char* text) { g_log.emplace_back(text); });
    const uint32_t first_sequence = kit_alloc_sequence();
    std::vector<void*> blocks;
    for (int i = 0; i < kit_alloc_table_size; ++i) {
        blocks.push_back(kit_alloc(64));
        ASSERT_NE(blocks.back(), nullptr);
    }
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(kit_alloc_sequence(), first_sequence + kit_alloc_table_size);

    void* unrecorded = kit_alloc(64);
    ASSERT_NE(unrecorded, nullptr);
    ASSERT_EQ(g_log.size(), 1u);
    EXPECT_EQ(g_log[0], "mem tab is full");
    kit_free(unrecorded);  // must be released although the table never held it

    kit_free(blocks[7]);
    EXPECT_EQ(kit_alloc_table()[7].address, nullptr);
    void* reused = kit_alloc(128);
    EXPECT_EQ(kit_alloc_table()[7].address, reused);
    EXPECT_EQ(kit_alloc_table()[7].size, 128u);
    blocks[7] = reused;
    for (void* block : blocks)
        kit_free(block);
    for (int i = 0; i < kit_alloc_table_size; ++i)
        EXPECT_EQ(kit_alloc_table()[i].address, nullptr);
    kit_set_log_hook(nullptr);
    kit_free(nullptr);
}

TEST_F(KitTest, MultiplyTableRoundsScaledValues)
{
    const uint8_t* table = kit_multiply_table();
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(table[v], v);
        EXPECT_EQ(table[255 * 256 + v], 0);
    }
    EXPECT_EQ(table[128 * 256 + 255], 127);
}

}  // namespace
