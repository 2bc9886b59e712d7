#include "poster/defaults.h"
#include "poster/poster_size.h"

#include <gtest/gtest.h>

namespace {

TEST(Defaults, MetricPosterOnTheA4FallbackNeedsFourByFourPages)
{
    const smm_rect margins = default_paper_margin(true);
    EXPECT_EQ(margins, (smm_rect{500, 500, 2000, 2000}));
    const smm_size page = a4_fallback_page(margins);
    EXPECT_EQ(page, (smm_size{18500, 27200}));
    EXPECT_EQ(pages_needed(default_poster(true), page), (int_size{4, 4}));

    EXPECT_EQ(default_poster(false), (smm_size{58420, 88900}));
    EXPECT_EQ(default_paper_margin(false), (smm_rect{635, 635, 2540, 2540}));
    // Margins from damaged settings give a refused tile, not an overflow.
    const smm_size broken = a4_fallback_page({INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX});
    EXPECT_EQ(broken, (smm_size{INT32_MIN, INT32_MIN}));
    EXPECT_EQ(check_grid(default_poster(true), broken), layout_refusal::no_tile);
}

TEST(Defaults, MarginsRiseToTheUnprintableStrips)
{
    smm_rect margins = {500, 500, 2000, 2000};
    raise_margins_to_unprintable(margins, {1016, 423, 2500, 0});
    EXPECT_EQ(margins, (smm_rect{1016, 500, 2500, 2000}));
}

TEST(PosterSize, OneSideFollowsTheCropAspectRounded)
{
    smm_size poster{};
    ASSERT_TRUE(poster_from_side(poster_side::width, 90 * 1000.0, {3000, 2000}, &poster));
    EXPECT_EQ(poster, (smm_size{90000, 60000}));
    ASSERT_TRUE(poster_from_side(poster_side::width, 23 * 2540.0, {500, 500}, &poster));
    EXPECT_EQ(poster, (smm_size{58420, 58420}));
    ASSERT_TRUE(poster_from_side(poster_side::height, 30000.0, {4000, 3000}, &poster));
    EXPECT_EQ(poster, (smm_size{40000, 30000}));
    // 1000 * 2/3 = 666.67 and 1001 * 1/2 = 500.5 both round up.
    ASSERT_TRUE(poster_from_side(poster_side::width, 1000.0, {3, 2}, &poster));
    EXPECT_EQ(poster, (smm_size{1000, 667}));
    ASSERT_TRUE(poster_from_side(poster_side::height, 1001.0, {1, 2}, &poster));
    EXPECT_EQ(poster, (smm_size{501, 1001}));
    ASSERT_TRUE(poster_from_side(poster_side::width, 1234.5, {1, 1}, &poster));
    EXPECT_EQ(poster, (smm_size{1235, 1235}));
    EXPECT_EQ(round_half_away(-2.5), -3);
}

TEST(PosterSize, RefusesSidesOutsideTheRangeAsAWhole)
{
    smm_size poster = {1, 2};
    EXPECT_FALSE(poster_from_side(poster_side::width, 1.0, {1, 1}, &poster));
    EXPECT_FALSE(poster_from_side(poster_side::width, 10000000.0, {1, 1}, &poster));
    // A thin crop pushes the other side beyond 100 m.
    EXPECT_FALSE(poster_from_side(poster_side::width, 100000.0, {1, 1000}, &poster));
    EXPECT_FALSE(poster_from_side(poster_side::height, 100000.0, {0, 1000}, &poster));
    EXPECT_FALSE(poster_from_sides(50000.0, 0.5, &poster));
    EXPECT_EQ(poster, (smm_size{1, 2}));
    EXPECT_TRUE(poster_from_sides(9999999.4, 1.6, &poster));
    EXPECT_EQ(poster, (smm_size{9999999, 2}));
}

}  // namespace
