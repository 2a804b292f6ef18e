#include "text/number_text.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

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

// The quick path must write the very digits of the exact one for any double:
// wide and narrow magnitudes, values a hair from a rounding tie, and exact ties.
TEST(NumberTextTest, writes_the_digits_of_the_exact_conversion_for_any_double)
{
    const auto exact = [](double value, std::chars_format format, int precision) {
        std::array<char, 512> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
        std::string text(buffer.data(), result.ptr);
        return text == "-0.00" ? std::string("0.00") : text;
    };
    std::mt19937_64 rng(20261206);
    std::vector<double> values{0.125, -2.675, 1234567890.125, 0.005, 999999999999.5, 9.9999999999995, 1e-5,
                               0.0001, 123456789012.4, 1e12, 5e-300, 1e300, -0.0, 1e9, 999999999.995};
    // Around every power of ten, where the decimal exponent changes.
    for (int power = -15; power <= 35; ++power) {
        double around = std::strtod(("1e" + std::to_string(power)).c_str(), nullptr);
        for (int step = 0; step < 4; ++step)
            around = std::nextafter(around, 0.0);
        for (int step = 0; step < 8; ++step, around = std::nextafter(around, 1e308))
            values.push_back(around);
    }
    for (int i = 0; i < 1'000'000; ++i) {
        const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(-14.0, 16.0)(rng));
        double value = magnitude * (rng() % 2 == 0 ? 1 : -1);
        if (i % 4 == 0) // a decimal of few digits, or next to one
            value = std::nextafter(std::round(value * 1e3) / 1e3 + 0.0005, static_cast<double>(rng() % 3) - 1.0);
        values.push_back(value);
    }
    const NumberText point(".");
    for (const double value : values) {
        ASSERT_EQ(point.fixed2(value), exact(value, std::chars_format::fixed, 2)) << std::hexfloat << value;
        ASSERT_EQ(point.plain(value), exact(value == 0.0 ? 0.0 : value, std::chars_format::general, 12))
            << std::hexfloat << value;
    }
    EXPECT_EQ(NumberText(",").plain(-1234.5678), "-1234,5678");
    EXPECT_EQ(NumberText("\xd9\xab").plain(1.5e-7), "1\xd9\xab" "5e-07");
}
