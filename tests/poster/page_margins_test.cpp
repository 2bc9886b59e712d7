#include "poster/page_margins.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PageMargins, MillimetresAndInchesBothWays)
{
    // Metric: smm as they are, shown in millimetres; 7.5 typed is 750.
    const margins_record metric = margins_to_record({500, 500, 2000, 2000}, true);
    EXPECT_EQ(metric.left, 500);
    EXPECT_EQ(margin_display_factor(metric), 100);
    EXPECT_EQ(margin_from_entry(7.5, metric, 500), 750);
    EXPECT_EQ(margins_from_record(metric), (smm_rect{500, 500, 2000, 2000}));

    // Inches: 635 smm is 250 thousandths (0.25 shown), and back to 635.
    margins_record inches = margins_to_record({635, 635, 2540, 2541}, false);
    EXPECT_EQ(inches.metric, 0);
    EXPECT_EQ(inches.left, 250);
    EXPECT_EQ(inches.bottom, 1000);  // MulDiv rounds 1000.39
    EXPECT_EQ(margin_display_factor(inches), 1000);
    inches.left = margin_from_entry(0.25, inches, inches.left);
    EXPECT_EQ(margins_from_record(inches), (smm_rect{635, 635, 2540, 2540}));
}

TEST(PageMargins, NegativeEmptyAndHugeEntries)
{
    const margins_record metric = margins_to_record({500, 500, 2000, 2000}, true);
    const margins_record inches = margins_to_record({635, 635, 2540, 2540}, false);
    EXPECT_EQ(margin_from_entry(-3.0, metric, 500), 0);
    EXPECT_EQ(margin_from_entry(std::nullopt, metric, 500), 500);
    EXPECT_EQ(margin_from_entry(1e12, metric, 500), max_margin_smm);
    EXPECT_EQ(margin_from_entry(std::nan(""), metric, 500), max_margin_smm);
    // The widest inch margin still converts to smm without overflow.
    margins_record wide = inches;
    wide.left = margin_from_entry(1e12, inches, 250);
    EXPECT_LE(margins_from_record(wide).left, max_margin_smm);
    EXPECT_GT(margins_from_record(wide).left, 0);
}

}  // namespace
