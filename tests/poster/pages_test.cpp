#include "poster/geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const smm_size a4_tile = {18500, 27200};

TEST(MulDiv, TruncatesTowardZeroWithA64BitProduct)
{
    EXPECT_EQ(mul_div64(7750, 4000, 40000), 775);
    EXPECT_EQ(mul_div64(-7, 3, 2), -10);
    EXPECT_EQ(mul_div64(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(mul_div64(100000, 100000, 1000000), 10000);
    EXPECT_EQ(mul_div64(5, 5, 0), 0);
}

TEST(MulDiv, RoundsHalfAwayFromZeroAndReportsFailureAsMinusOne)
{
    EXPECT_EQ(win_mul_div(5, 1, 2), 3);
    EXPECT_EQ(win_mul_div(-5, 1, 2), -3);
    EXPECT_EQ(win_mul_div(5, -1, 2), -3);
    EXPECT_EQ(win_mul_div(5, 1, -2), -3);
    EXPECT_EQ(win_mul_div(-5, -1, -2), -3);
    EXPECT_EQ(win_mul_div(7, 1, 3), 2);   // 2.33
    EXPECT_EQ(win_mul_div(8, 1, 3), 3);   // 2.67
    EXPECT_EQ(win_mul_div(-8, 1, 3), -3);
    EXPECT_EQ(win_mul_div(40000, 408, 55500), 294);
    EXPECT_EQ(win_mul_div(30000, 400, 54400), 221);

    EXPECT_EQ(win_mul_div(1, 1, 0), -1);
    EXPECT_EQ(win_mul_div(INT32_MAX, 2, 1), -1);
    EXPECT_EQ(win_mul_div(INT32_MIN, 1, 1), -1);  // -2^31 is outside the accepted range
    EXPECT_EQ(win_mul_div(INT32_MIN, 1, -1), -1);
    EXPECT_EQ(win_mul_div(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(win_mul_div(-INT32_MAX, 1, 1), -INT32_MAX);
}

TEST(PagesNeeded, ExactTilesAndOneSmmMore)
{
    EXPECT_EQ(pages_needed({3 * 18500, 2 * 27200}, a4_tile), (int_size{3, 2}));
    EXPECT_EQ(pages_needed({3 * 18500 + 1, 2 * 27200 + 1}, a4_tile), (int_size{4, 3}));
    EXPECT_EQ(pages_needed({1, 1}, a4_tile), (int_size{1, 1}));
    EXPECT_EQ(pages_needed({64000, 90000}, a4_tile), (int_size{4, 4}));
}

TEST(CheckLayout, RefusesEmptySizesAndOversizedGrids)
{
    const smm_size poster = {40000, 30000};
    const int_size crop = {4000, 3000};
    EXPECT_EQ(check_layout(poster, a4_tile, crop), layout_refusal::none);
    EXPECT_EQ(check_layout(poster, {0, 27200}, crop), layout_refusal::no_tile);
    EXPECT_EQ(check_layout(poster, {18500, -5}, crop), layout_refusal::no_tile);
    EXPECT_EQ(check_layout(poster, a4_tile, {0, 3000}), layout_refusal::no_crop);
    EXPECT_EQ(check_layout(poster, a4_tile, {4000, -1}), layout_refusal::no_crop);
    EXPECT_EQ(check_layout({0, 30000}, a4_tile, crop), layout_refusal::no_poster);
    EXPECT_EQ(check_layout({40000, -30000}, a4_tile, crop), layout_refusal::no_poster);

    // 100 m on a 1 smm tile: ten million pages per side.
    EXPECT_EQ(check_layout({10000000, 10000000}, {1, 1}, crop), layout_refusal::too_many_pages);
    EXPECT_EQ(check_layout({INT32_MAX, INT32_MAX}, {1, 1}, crop), layout_refusal::too_many_pages);
    // The bound is on the whole grid: exactly 10,000 pages pass, one column more does not.
    EXPECT_EQ(check_grid({100 * 100, 100 * 100}, {100, 100}), layout_refusal::none);
    EXPECT_EQ(check_grid({100 * 100 + 1, 100 * 100}, {100, 100}), layout_refusal::too_many_pages);
    EXPECT_EQ(check_grid({10000 * 100, 100}, {100, 100}), layout_refusal::none);
    EXPECT_STREQ(layout_refusal_text(layout_refusal::no_tile), "the printable tile has no area");
}

page_piece_rects piece_of(smm_size poster, smm_size page, int_size page_du, int_size crop, int x, int y)
{
    page_piece_rects piece{};
    EXPECT_TRUE(page_piece(poster, page, page_du, crop, x, y, &piece)) << x << "," << y;
    return piece;
}

TEST(PagePiece, WorkedExample)
{
    const smm_size poster = {40000, 30000};
    const int_size du = {4370, 6425};
    const int_size crop = {4000, 3000};
    page_piece_rects p = piece_of(poster, a4_tile, du, crop, 0, 0);
    EXPECT_EQ(p.image_rect, (int_rect{0, 0, 1075, 1500}));
    EXPECT_EQ(p.page_rect, (int_rect{1830, 2881, 4370, 6425}));
    p = piece_of(poster, a4_tile, du, crop, 1, 0);
    EXPECT_EQ(p.image_rect, (int_rect{1075, 0, 2925, 1500}));
    EXPECT_EQ(p.page_rect, (int_rect{0, 2881, 4370, 6425}));
    p = piece_of(poster, a4_tile, du, crop, 2, 1);
    EXPECT_EQ(p.image_rect, (int_rect{2925, 1500, 4000, 3000}));
    EXPECT_EQ(p.page_rect, (int_rect{0, 0, 2539, 3543}));
}

TEST(PagePiece, ExactTilesStartAtTheEdgeAndOneSmmMoreIsCentred)
{
    const int_size du = {1850, 2720};
    const int_size crop = {300, 200};
    page_piece_rects p = piece_of({3 * 18500, 27200}, a4_tile, du, crop, 0, 0);
    EXPECT_EQ(p.page_rect, (int_rect{0, 0, 1850, 2720}));
    EXPECT_EQ(p.image_rect, (int_rect{0, 0, 100, 200}));

    // One smm more: four columns, x0 = (4 * 18500 - 55501) / 2 = 9249.
    const smm_size wider = {3 * 18500 + 1, 27200};
    p = piece_of(wider, a4_tile, du, crop, 0, 0);
    EXPECT_EQ(p.page_rect.left, 9249 * 1850 / 18500);
    EXPECT_EQ(p.page_rect.right, 1850);
    p = piece_of(wider, a4_tile, du, crop, 3, 0);
    EXPECT_EQ(p.page_rect.left, 0);
    EXPECT_EQ(p.page_rect.right, (9249 + 55501 - 3 * 18500) * 1850 / 18500);
    EXPECT_EQ(p.image_rect.right, 300);
}

// Neighbouring pages abut in the picture and together cover the crop once.
void expect_pieces_tile_the_crop(smm_size poster, smm_size page, int_size du, int_size crop)
{
    const int_size n = pages_needed(poster, page);
    for (int y = 0; y < n.height; ++y) {
        int32_t expected_left = 0;
        for (int x = 0; x < n.width; ++x) {
            const page_piece_rects p = piece_of(poster, page, du, crop, x, y);
            EXPECT_EQ(p.image_rect.left, expected_left) << x << "," << y;
            EXPECT_LT(p.image_rect.left, p.image_rect.right);
            EXPECT_LE(p.page_rect.right, du.width);
            expected_left = p.image_rect.right;
        }
        EXPECT_EQ(expected_left, crop.width);
    }
    EXPECT_EQ(piece_of(poster, page, du, crop, 0, n.height - 1).image_rect.bottom, crop.height);
}

TEST(PagePiece, PiecesCoverTheCropWithoutGapsOrOverlap)
{
    expect_pieces_tile_the_crop({64000, 90000}, a4_tile, {4370, 6425}, {3001, 4447});
    expect_pieces_tile_the_crop({90001, 60000}, {19000, 27700}, {4488, 6543}, {6000, 4000});
    expect_pieces_tile_the_crop({9999999, 9999999}, {100000, 100000}, {23622, 23622}, {20000, 20000});
}

TEST(PagePiece, TilesBeyondThirtyTwoBitsOfGridStaySound)
{
    // Two tiles of 2^30 smm span 2^31 smm, more than a 32-bit value holds.
    const smm_size page = {1 << 30, 1 << 30};
    const smm_size poster = {(1 << 30) + 1, 1000};
    const int_size crop = {1000, 10};
    page_piece_rects left = piece_of(poster, page, {100, 100}, crop, 0, 0);
    page_piece_rects right = piece_of(poster, page, {100, 100}, crop, 1, 0);
    EXPECT_EQ(left.image_rect.left, 0);
    EXPECT_EQ(left.image_rect.right, right.image_rect.left);
    EXPECT_EQ(right.image_rect.right, 1000);
    EXPECT_EQ(left.page_rect.right, 100);
    EXPECT_EQ(right.page_rect.left, 0);
    EXPECT_GE(left.page_rect.left, 49);
}

TEST(PagePiece, RefusesBadLayoutsAndPagesOffTheGrid)
{
    page_piece_rects p = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    const page_piece_rects before = p;
    EXPECT_FALSE(page_piece({40000, 30000}, {0, 27200}, {4370, 6425}, {4000, 3000}, 0, 0, &p));
    EXPECT_FALSE(page_piece({40000, 30000}, a4_tile, {4370, 6425}, {0, 3000}, 0, 0, &p));
    EXPECT_FALSE(page_piece({0, 30000}, a4_tile, {4370, 6425}, {4000, 3000}, 0, 0, &p));
    EXPECT_FALSE(page_piece({10000000, 10000000}, {1, 1}, {1, 1}, {4000, 3000}, 0, 0, &p));
    EXPECT_FALSE(page_piece({40000, 30000}, a4_tile, {4370, 6425}, {4000, 3000}, 3, 0, &p));
    EXPECT_FALSE(page_piece({40000, 30000}, a4_tile, {4370, 6425}, {4000, 3000}, 0, -1, &p));
    EXPECT_EQ(p.image_rect, before.image_rect);
    EXPECT_EQ(p.page_rect, before.page_rect);
}

}  // namespace
