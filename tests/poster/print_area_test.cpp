#include "poster/geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// 600 dpi, A4 less a 100-pixel strip on every side.
const device_caps a4_600 = {600, 600, 4960, 7016, 4760, 6816, 100, 100};
const smm_rect metric_margins = {500, 500, 2000, 2000};

TEST(MeasurePrintArea, WorkedExample)
{
    const std::optional<print_area> area = measure_print_area(a4_600, false, &metric_margins);
    ASSERT_TRUE(area);
    EXPECT_EQ(area->unprintable, (smm_rect{423, 423, 423, 423}));
    EXPECT_EQ(area->page_margin, (smm_rect{500, 500, 2000, 2000}));
    EXPECT_EQ(area->print_size, (smm_size{18496, 27200}));
    EXPECT_EQ(area->print_rect, (int_rect{18, 18, 4388, 6444}));
    EXPECT_EQ(area->paper, (smm_size{20996, 29700}));
}

TEST(MeasurePrintArea, WithoutMarginsTheTileIsThePrintableArea)
{
    const std::optional<print_area> area = measure_print_area(a4_600, false, nullptr);
    ASSERT_TRUE(area);
    EXPECT_EQ(area->print_size, (smm_size{20150, 28854}));
    EXPECT_EQ(area->print_rect, (int_rect{0, 0, 4760, 6816}));
    EXPECT_EQ(area->page_margin, area->unprintable);
}

TEST(MeasurePrintArea, AStripWiderThanTheMarginBecomesTheMargin)
{
    // 300 dpi, 120 pixels (10.16 mm) unreachable at the left and top.
    const device_caps caps = {300, 300, 2480, 3508, 2300, 3328, 120, 120};
    const std::optional<print_area> area = measure_print_area(caps, false, &metric_margins);
    ASSERT_TRUE(area);
    EXPECT_EQ(area->unprintable.left, 1016);
    EXPECT_EQ(area->page_margin.left, 1016);
    EXPECT_EQ(area->page_margin.top, 1016);
    EXPECT_EQ(area->print_rect.left, 0);
    EXPECT_EQ(area->print_rect.top, 0);
    // The right strip is 60 px = 508 smm, so 1492 smm of the margin remain.
    EXPECT_EQ(area->unprintable.right, 508);
    EXPECT_EQ(area->page_margin.right, 2000);
    EXPECT_EQ(area->print_rect.right, 2300 - 1492 * 300 / 2540);
    EXPECT_EQ(area->print_size.width, 2300 * 2540 / 300 - 1492);
}

TEST(MeasurePrintArea, SwapExchangesTheOffsetsBeforeAnythingElse)
{
    // A landscape sheet whose driver reports the portrait offsets.
    const device_caps caps = {600, 600, 7016, 4960, 6816, 4640, 100, 200};
    const std::optional<print_area> plain = measure_print_area(caps, false, nullptr);
    const std::optional<print_area> swapped = measure_print_area(caps, true, nullptr);
    ASSERT_TRUE(plain && swapped);
    EXPECT_EQ(plain->unprintable, (smm_rect{423, 846, 423, 508}));
    EXPECT_EQ(swapped->unprintable, (smm_rect{846, 423, 0, 931}));
}

TEST(MeasurePrintArea, RefusesNoResolutionAndResultsBeyondThirtyTwoBits)
{
    device_caps caps = a4_600;
    caps.dpi_x = 0;
    EXPECT_FALSE(measure_print_area(caps, false, &metric_margins));
    caps = a4_600;
    caps.dpi_y = -600;
    EXPECT_FALSE(measure_print_area(caps, false, &metric_margins));
    // At 1 dpi a huge device area is kilometres of smm.
    caps = {1, 1, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0};
    EXPECT_FALSE(measure_print_area(caps, false, nullptr));
    // Products that pass 32 bits still give exact results: 4,000,000 pixels
    // times 2540 is about 10^10.
    caps = {600, 600, 4000200, 7016, 4000000, 6816, 100, 100};
    const std::optional<print_area> area = measure_print_area(caps, false, &metric_margins);
    ASSERT_TRUE(area);
    EXPECT_EQ(area->print_size.width, 4000000LL * 2540 / 600 - 1577 - 77);
    EXPECT_EQ(area->print_rect.right, 4000000 - 372);
}

}  // namespace
