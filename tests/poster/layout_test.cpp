#include "poster/layout.h"
#include "poster/page_flags.h"

#include <gtest/gtest.h>

namespace {

const smm_size a4_tile = {18500, 27200};

TEST(PreviewLayout, TooTallForTheWidthFitsTheHeight)
{
    preview_geometry g{};
    ASSERT_TRUE(preview_layout({600, 440}, {40000, 30000}, a4_tile, &g));
    EXPECT_EQ(g.cell, (int_size{136, 200}));
    EXPECT_EQ(g.grid_origin, (int_point{96, 10}));
    EXPECT_EQ(g.picture_rect, (int_rect{153, 99, 447, 320}));
}

TEST(PreviewLayout, WidthFitWhenTheGridIsLowEnough)
{
    preview_geometry g{};
    // Room 580 x 960: 193-pixel cells are 283 high, two rows fit.
    ASSERT_TRUE(preview_layout({600, 1000}, {40000, 30000}, a4_tile, &g));
    EXPECT_EQ(g.cell, (int_size{193, 283}));
    EXPECT_EQ(g.grid_origin, (int_point{(580 - 579) / 2 + 10, (960 - 566) / 2 + 10}));
    const int32_t pic_w = win_mul_div(40000, 579, 3 * 18500);
    EXPECT_EQ(g.picture_rect.right - g.picture_rect.left, pic_w);
    EXPECT_EQ(g.picture_rect.left, (579 - pic_w) / 2 + g.grid_origin.x);
}

TEST(PreviewLayout, AWindowWithoutRoomGivesEmptyCells)
{
    preview_geometry g{};
    ASSERT_TRUE(preview_layout({15, 30}, {40000, 30000}, a4_tile, &g));
    EXPECT_EQ(g.cell, (int_size{0, 0}));
    EXPECT_EQ(g.grid_origin, (int_point{10, 10}));
    EXPECT_EQ(g.picture_rect, (int_rect{10, 10, 10, 10}));
    // A very tall tile in a normal window: the width fit overflows nothing.
    ASSERT_TRUE(preview_layout({600, 440}, {1, 2000000000}, {1, 2000000000}, &g));
    EXPECT_EQ(g.cell.height, 400);
    EXPECT_EQ(g.cell.width, 0);
}

TEST(PreviewLayout, RefusesWhatTheGridRefuses)
{
    preview_geometry g{{7, 7}, {7, 7}, {7, 7, 7, 7}};
    EXPECT_FALSE(preview_layout({600, 440}, {40000, 30000}, {0, 27200}, &g));
    EXPECT_FALSE(preview_layout({600, 440}, {10000000, 10000000}, {1, 1}, &g));
    EXPECT_EQ(g.cell, (int_size{7, 7}));
}

TEST(PageFlags, CountFollowsTheSwitches)
{
    page_flags flags;
    ASSERT_TRUE(reset_page_flags(flags, 3, 2));
    EXPECT_EQ(all_papers(flags), 6);
    set_page_flag(flags, 2, 1, 0);
    EXPECT_EQ(page_flag(flags, 2, 1), 0);
    EXPECT_EQ(page_flag(flags, 1, 1), 1);
    EXPECT_EQ(all_papers(flags), 5);
    set_page_flag(flags, 2, 1, 0);  // already off
    EXPECT_EQ(all_papers(flags), 5);
    set_page_flag(flags, 2, 1, 1);
    EXPECT_EQ(all_papers(flags), 6);
    set_page_flag(flags, 0, 0, 0);
    set_page_flag(flags, 0, 0, 2);  // any non-zero value switches on, once
    set_page_flag(flags, 0, 0, 2);
    EXPECT_EQ(page_flag(flags, 0, 0), 1);
    EXPECT_EQ(all_papers(flags), 6);
    // Entries are row-major: (2, 0) and (0, 1) are distinct.
    set_page_flag(flags, 0, 1, 0);
    EXPECT_EQ(page_flag(flags, 2, 0), 1);
    EXPECT_EQ(flags.entries[3], 0);
}

TEST(PageFlags, OutsideTheGridAndRefusedSizesChangeNothing)
{
    page_flags flags;
    ASSERT_TRUE(reset_page_flags(flags, 2, 2));
    set_page_flag(flags, 0, 1, 0);
    set_page_flag(flags, 2, 0, 0);
    set_page_flag(flags, -1, 0, 0);
    set_page_flag(flags, 0, 2, 0);
    EXPECT_EQ(all_papers(flags), 3);
    EXPECT_EQ(page_flag(flags, 2, 0), 0);
    EXPECT_EQ(page_flag(flags, 0, -1), 0);

    EXPECT_FALSE(reset_page_flags(flags, 0, 5));
    EXPECT_FALSE(reset_page_flags(flags, 3, -1));
    EXPECT_FALSE(reset_page_flags(flags, 10001, 1));
    EXPECT_FALSE(reset_page_flags(flags, 65536, 65536));
    EXPECT_EQ(flags.columns, 2);
    EXPECT_EQ(all_papers(flags), 3);
    EXPECT_TRUE(reset_page_flags(flags, 100, 100));
    EXPECT_EQ(all_papers(flags), 10000);
}

TEST(RecomputeLayout, SelectionSurvivesWhileThePageCountHolds)
{
    page_flags flags;
    poster_layout layout{};
    ASSERT_EQ(recompute_layout_geometry({600, 440}, {40000, 30000}, a4_tile, 0, {4000, 3000}, flags, &layout),
              layout_refusal::none);
    EXPECT_EQ(layout.npages, (int_size{3, 2}));
    EXPECT_EQ(layout.preview.cell, (int_size{136, 200}));
    EXPECT_EQ(all_papers(flags), 6);
    set_page_flag(flags, 1, 1, 0);

    // Another picture and poster on the same 3 x 2 grid keep the switched-off page.
    ASSERT_EQ(recompute_layout_geometry({800, 600}, {50000, 40000}, a4_tile, 0, {1200, 960}, flags, &layout),
              layout_refusal::none);
    EXPECT_EQ(page_flag(flags, 1, 1), 0);
    EXPECT_EQ(all_papers(flags), 5);

    // A refused layout changes neither the selection nor the layout.
    const poster_layout before = layout;
    EXPECT_EQ(recompute_layout_geometry({800, 600}, {50000, 40000}, {0, 0}, 0, {1200, 960}, flags, &layout),
              layout_refusal::no_tile);
    EXPECT_EQ(recompute_layout_geometry({800, 600}, {50000, 40000}, a4_tile, 0, {0, 960}, flags, &layout),
              layout_refusal::no_crop);
    EXPECT_EQ(layout.npages, before.npages);
    EXPECT_EQ(layout.preview.picture_rect, before.preview.picture_rect);
    EXPECT_EQ(all_papers(flags), 5);

    // A new page count selects every page again.
    ASSERT_EQ(recompute_layout_geometry({800, 600}, {60000, 40000}, a4_tile, 0, {1500, 1000}, flags, &layout),
              layout_refusal::none);
    EXPECT_EQ(layout.npages, (int_size{4, 2}));
    EXPECT_EQ(all_papers(flags), 8);
}

}  // namespace
