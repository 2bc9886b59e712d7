#include "poster/page_flags.h"
#include "poster/print_job.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Walks the grid as the job does, from (0, 0), and lists the pages it prints.
std::vector<grid_position> printed_pages(const page_flags& flags, bool portrait)
{
    std::vector<grid_position> pages;
    grid_position at = {0, 0};
    do {
        if (page_flag(flags, at.column, at.row))
            pages.push_back(at);
    } while (next_grid_position(at, {flags.columns, flags.rows}, portrait));
    return pages;
}

TEST(PageOrder, PortraitRunsDownColumnsLandscapeAcrossRows)
{
    page_flags flags;
    ASSERT_TRUE(reset_page_flags(flags, 3, 2));
    EXPECT_EQ(printed_pages(flags, true),
              (std::vector<grid_position>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(printed_pages(flags, false),
              (std::vector<grid_position>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));

    // One page off: five pages, the others in the same order.
    set_page_flag(flags, 1, 0, 0);
    EXPECT_EQ(all_papers(flags), 5);
    EXPECT_EQ(printed_pages(flags, true), (std::vector<grid_position>{{0, 0}, {0, 1}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(printed_pages(flags, false), (std::vector<grid_position>{{0, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));

    // The first page off, and every page off.
    set_page_flag(flags, 0, 0, 0);
    EXPECT_EQ(printed_pages(flags, true).front(), (grid_position{0, 1}));
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            set_page_flag(flags, c, r, 0);
    EXPECT_TRUE(printed_pages(flags, true).empty());
}

TEST(PageOrder, EndsAfterTheLastPageAndOnEmptyGrids)
{
    grid_position at = {0, 0};
    EXPECT_FALSE(next_grid_position(at, {1, 1}, true));
    EXPECT_FALSE(next_grid_position(at, {1, 1}, false));
    EXPECT_EQ(at, (grid_position{0, 0}));
    EXPECT_FALSE(next_grid_position(at, {0, 4}, true));
    at = {3, 1};
    EXPECT_FALSE(next_grid_position(at, {4, 2}, true));
    EXPECT_FALSE(next_grid_position(at, {4, 2}, false));
    EXPECT_EQ(at, (grid_position{3, 1}));
}

// The worked example of the layout, on a tile whose print_rect starts at
// (18, 18) and a crop that starts at (100, 50).
print_area example_area()
{
    print_area area{};
    area.print_size = {18500, 27200};
    area.print_rect = {18, 18, 18 + 4370, 18 + 6425};
    area.page_margin = {500, 500, 2000, 2000};
    area.paper = {21000, 29700};
    return area;
}

TEST(PageRects, RelativeAndAbsoluteRectanglesOfTheWorkedExample)
{
    const smm_size poster = {40000, 30000};
    const int_rect crop = {100, 50, 4100, 3050};
    page_rects r{};
    ASSERT_TRUE(page_rects_for(poster, example_area(), crop, 0, 0, &r));
    EXPECT_EQ(r.page_du, (int_size{4370, 6425}));
    EXPECT_EQ(r.image_rect, (int_rect{0, 0, 1075, 1500}));
    EXPECT_EQ(r.page_rect, (int_rect{1830, 2881, 4370, 6425}));
    EXPECT_EQ(r.picture_rect, (int_rect{100, 50, 1175, 1550}));
    EXPECT_EQ(r.device_rect, (int_rect{1848, 2899, 4388, 6443}));

    ASSERT_TRUE(page_rects_for(poster, example_area(), crop, 2, 1, &r));
    EXPECT_EQ(r.image_rect, (int_rect{2925, 1500, 4000, 3000}));
    EXPECT_EQ(r.picture_rect, (int_rect{3025, 1550, 4100, 3050}));
    EXPECT_EQ(r.device_rect, (int_rect{18, 18, 2557, 3561}));
}

TEST(PageRects, RefusesPagesOffTheGridAndTilesWithoutPixels)
{
    const smm_size poster = {40000, 30000};
    const int_rect crop = {0, 0, 4000, 3000};
    page_rects r{};
    r.page_du = {7, 7};
    EXPECT_FALSE(page_rects_for(poster, example_area(), crop, 3, 0, &r));
    EXPECT_FALSE(page_rects_for(poster, example_area(), {10, 10, 10, 20}, 0, 0, &r));
    print_area flat = example_area();
    flat.print_rect.right = flat.print_rect.left;
    EXPECT_FALSE(page_rects_for(poster, flat, crop, 0, 0, &r));
    EXPECT_EQ(r.page_du, (int_size{7, 7}));
}

TEST(CornerMarks, EightArmsOfFiveMillimetresInDrawingOrder)
{
    // 600 dpi: 118 pixels; 300 dpi: 59 pixels (5 mm, truncated).
    const auto marks = corner_marks({1848, 2899, 4388, 6443}, 600, 300);
    const std::array<line_segment, 8> expected = {{
        {{1848, 2899}, {1848, 2899 + 59}},
        {{1848, 2899}, {1848 + 118, 2899}},
        {{1848, 6442}, {1848, 6442 - 59}},
        {{1848, 6442}, {1848 + 118, 6442}},
        {{4387, 6442}, {4387, 6442 - 59}},
        {{4387, 6442}, {4387 - 118, 6442}},
        {{4387, 2899}, {4387, 2899 + 59}},
        {{4387, 2899}, {4387 - 118, 2899}},
    }};
    EXPECT_EQ(marks, expected);
}

TEST(SheetPicture, PaperDrawingFitsTheFrameKeepingTheAspect)
{
    // Frame 138 x 74 leaves 128 x 64; the paper's height decides (scale 1/128).
    EXPECT_EQ(paper_drawing_rect({5, 7, 143, 81}, {4096, 8192}), (int_rect{48, 2, 80, 66}));
    // Its width decides when the paper is wide.
    EXPECT_EQ(paper_drawing_rect({0, 0, 74, 138}, {8192, 4096}), (int_rect{-5, 43, 59, 75}));
    // No paper, or a frame too small for the shadow: an empty drawing.
    const int_rect empty = paper_drawing_rect({0, 0, 100, 100}, {0, 100});
    EXPECT_EQ(empty.left, empty.right);
    const int_rect tiny = paper_drawing_rect({0, 0, 8, 8}, {100, 100});
    EXPECT_EQ(tiny.left, tiny.right);
}

TEST(SheetPicture, PageRectangleScaledThroughSmmIntoTheDrawing)
{
    // (1830, 2881, 4370, 6425) at 600 dpi is (7747, 12196, 18499, 27199) smm
    // from the tile; with the 500 smm margins, e.g. x' = 8247 * 32 / 20996 + 48.
    int_rect out{};
    ASSERT_TRUE(sheet_picture_rect({1830, 2881, 4370, 6425}, 600, 600, {500, 500, 2000, 2000}, {20996, 29700},
                                   {48, 2, 80, 66}, &out));
    EXPECT_EQ(out, (int_rect{60, 29, 76, 61}));

    const int_rect before = out;
    EXPECT_FALSE(sheet_picture_rect({0, 0, 10, 10}, 0, 600, {}, {100, 100}, {0, 0, 10, 10}, &out));
    EXPECT_FALSE(sheet_picture_rect({0, 0, 10, 10}, 600, 600, {}, {100, 0}, {0, 0, 10, 10}, &out));
    EXPECT_EQ(out, before);
}

TEST(PieceView, InsideTheOnlyAcceptedAndEmptyPiecesWidenedToOnePixel)
{
    kit_init();
    raster_image* picture = image_create(PIXEL_BGR24, 3, 2);
    ASSERT_NE(picture, nullptr);
    raster_image view{};
    ASSERT_TRUE(piece_view(picture, {1, 1, 3, 2}, &view));
    EXPECT_EQ(view.pixels, picture->pixels + picture->stride + 3);
    EXPECT_EQ(view.width, 2);
    EXPECT_EQ(view.height, 1);

    // A piece of no pixels, also at the far edge, keeps one pixel inside.
    ASSERT_TRUE(piece_view(picture, {3, 0, 3, 2}, &view));
    EXPECT_EQ(view.pixels, picture->pixels + 2 * 3);
    EXPECT_EQ(view.width, 1);
    ASSERT_TRUE(piece_view(picture, {1, 2, 2, 2}, &view));
    EXPECT_EQ(view.pixels, picture->pixels + picture->stride + 3);
    EXPECT_EQ(view.height, 1);

    EXPECT_FALSE(piece_view(picture, {-1, 0, 2, 2}, &view));
    EXPECT_FALSE(piece_view(picture, {0, 0, 4, 2}, &view));
    EXPECT_FALSE(piece_view(picture, {2, 0, 1, 2}, &view));
    EXPECT_FALSE(piece_view(nullptr, {0, 0, 1, 1}, &view));
    image_free(picture);
}

}  // namespace
