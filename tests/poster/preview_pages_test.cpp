#include "poster/preview_pages.h"

#include <gtest/gtest.h>

namespace {

// Three columns of 136 x 200 pixels and two rows at (96, 10).
const preview_geometry grid = {{136, 200}, {96, 10}, {153, 99, 447, 320}};
const int_size pages = {3, 2};

TEST(PreviewPages, OutlinesShareTheirInnerLines)
{
    EXPECT_EQ(preview_grid_rect(grid, pages), (int_rect{96, 10, 504, 410}));
    EXPECT_EQ(preview_page_outline(grid, pages, 0, 0), (int_rect{96, 10, 233, 211}));
    EXPECT_EQ(preview_page_outline(grid, pages, 1, 0), (int_rect{232, 10, 369, 211}));
    // The last column and row end at the grid's edge.
    EXPECT_EQ(preview_page_outline(grid, pages, 2, 1), (int_rect{368, 210, 504, 410}));
    EXPECT_EQ(preview_page_cell(grid, 2, 1), (int_rect{368, 210, 504, 410}));
}

TEST(PreviewPages, ClicksInsideTheGridHitTheirPage)
{
    int32_t column = -1, row = -1;
    ASSERT_TRUE(preview_page_at(grid, pages, 96, 10, &column, &row));
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
    ASSERT_TRUE(preview_page_at(grid, pages, 232, 209, &column, &row));
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 0);
    ASSERT_TRUE(preview_page_at(grid, pages, 503, 409, &column, &row));
    EXPECT_EQ(column, 2);
    EXPECT_EQ(row, 1);
}

TEST(PreviewPages, ClicksOutsideTheGridHitNothing)
{
    int32_t column = -1, row = -1;
    EXPECT_FALSE(preview_page_at(grid, pages, 95, 50, &column, &row));
    EXPECT_FALSE(preview_page_at(grid, pages, 100, 9, &column, &row));
    EXPECT_FALSE(preview_page_at(grid, pages, 504, 50, &column, &row));
    EXPECT_FALSE(preview_page_at(grid, pages, 100, 410, &column, &row));
    EXPECT_FALSE(preview_page_at(grid, pages, -2000000000, -2000000000, &column, &row));
    EXPECT_EQ(column, -1);
    EXPECT_EQ(row, -1);
}

TEST(PreviewPages, PagesOfOnePixelTakeNoClicks)
{
    const preview_geometry tiny = {{1, 5}, {10, 10}, {10, 10, 13, 20}};
    EXPECT_FALSE(preview_grid_usable(tiny));
    int32_t column = -1, row = -1;
    EXPECT_FALSE(preview_page_at(tiny, {3, 2}, 10, 10, &column, &row));
    EXPECT_TRUE(preview_grid_usable(grid));
}

}  // namespace
