#include "number_text.h"

#include <gtest/gtest.h>

using tarnel::NumberText;

TEST(NumberTextTest, reads_plain_decimals_with_the_locales_separator_and_nothing_else)
{
    const NumberText point(".");
    EXPECT_EQ(point.parse("2.5"), 2.5);
    EXPECT_EQ(NumberText(",").parse("2,5"), 2.5);
    EXPECT_EQ(NumberText(",").parse("2.5"), std::nullopt);
    const NumberText commaOrPeriod(",", NumberText::Period::AlsoAccepted);
    EXPECT_EQ(commaOrPeriod.parse("2.5"), 2.5);
    EXPECT_EQ(commaOrPeriod.parse("2,5"), 2.5);
    EXPECT_EQ(commaOrPeriod.parse("2,5.1"), std::nullopt);
    EXPECT_EQ(NumberText("\xd9\xab").parse("2\xd9\xab" "5"), 2.5); // a separator of two bytes
    EXPECT_EQ(point.parse("4.7"), 4.7);
    EXPECT_EQ(point.parse("  18\t"), 18.0);
    EXPECT_EQ(point.parse("+3"), 3.0);
    EXPECT_EQ(point.parse("-1"), -1.0);
    EXPECT_EQ(point.parse("25E-1"), 2.5);
    EXPECT_EQ(point.parse(".5"), 0.5);
    for (const char* bad : {"", "   ", "abc", "10k", "1 0", "2,5", "1.2.3", "-", "+-1", "1e", ".", "inf", "nan",
                            "1e400", "0x10"})
        EXPECT_EQ(point.parse(bad), std::nullopt) << '"' << bad << '"';
}

TEST(NumberTextTest, writes_two_decimals_rounded_without_grouping_or_a_sign_on_zero)
{
    const NumberText point(".");
    EXPECT_EQ(point.fixed2(0.9999999999999963), "1.00");
    EXPECT_EQ(point.fixed2(-3.3333333333333397), "-3.33");
    EXPECT_EQ(point.fixed2(-0.004), "0.00");
    EXPECT_EQ(point.fixed2(8199999.999999999), "8200000.00");
    EXPECT_EQ(point.fixed2(110.00000000000001), "110.00");
    EXPECT_EQ(point.fixed2(9100000.0), "9100000.00");
    EXPECT_EQ(NumberText(",").fixed2(9.1), "9,10");
}
