#include "poster/number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberText, TwoDecimalsWithTheUsersSeparator)
{
    EXPECT_EQ(format_number_text(60.0, '.'), "60.00");
    EXPECT_EQ(format_number_text(60.0, ','), "60,00");
    // 64 cm in inches rounds to two decimals.
    EXPECT_EQ(format_number_text(64000.0 / 2540, '.'), "25.20");
    // Any separator other than a comma keeps the point.
    EXPECT_EQ(format_number_text(1.5, ' '), "1.50");
    EXPECT_EQ(format_number_text(10000.0, ','), "10000,00");
}

TEST(NumberText, EitherSeparatorReadsAsTheDecimalPoint)
{
    double value = 0;
    ASSERT_TRUE(parse_number_text("12.5", &value));
    EXPECT_DOUBLE_EQ(value, 12.5);
    ASSERT_TRUE(parse_number_text("12,5", &value));
    EXPECT_DOUBLE_EQ(value, 12.5);
    // Only the first comma is a separator; the number ends at the second.
    ASSERT_TRUE(parse_number_text("1,5,7", &value));
    EXPECT_DOUBLE_EQ(value, 1.5);
    // Text after the number is ignored.
    ASSERT_TRUE(parse_number_text("90cm", &value));
    EXPECT_DOUBLE_EQ(value, 90.0);
}

TEST(NumberText, NoNumberIsAFailureButAWrittenZeroIsNot)
{
    double value = 7;
    EXPECT_FALSE(parse_number_text("", &value));
    EXPECT_FALSE(parse_number_text("abc", &value));
    EXPECT_FALSE(parse_number_text(",", &value));
    EXPECT_FALSE(parse_number_text(".0", &value));
    EXPECT_EQ(value, 7);
    ASSERT_TRUE(parse_number_text("0", &value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(parse_number_text("0,00", &value));
    EXPECT_EQ(value, 0);
}

TEST(NumberText, WrittenNumbersReadBack)
{
    for (const char separator : {'.', ','}) {
        double value = 0;
        ASSERT_TRUE(parse_number_text(format_number_text(25.2, separator), &value));
        EXPECT_DOUBLE_EQ(value, 25.2);
    }
}

}  // namespace
