#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using tarnel::NumberText;

namespace {

struct ParseCase {
    const char* name;
    const char* separator;
    const char* text;
    std::optional<double> value;
};

// Test output names the row, not its bytes.
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, text_reads_as_the_nearest_double_or_fails)
{
    const ParseCase& c = GetParam();
    const auto parsed = NumberText(c.separator).parse(c.text);
    ASSERT_EQ(parsed.has_value(), c.value.has_value()) << '"' << c.text << '"';
    if (c.value) {
        EXPECT_EQ(*parsed, *c.value);
    }
}

const std::optional<double> fails;

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseTest,
    ::testing::Values(ParseCase{"point_decimal", ".", "2.5", 2.5}, ParseCase{"comma_decimal", ",", "2,5", 2.5},
                      ParseCase{"point_under_comma_locale_fails", ",", "2.5", fails},
                      ParseCase{"comma_under_point_locale_fails", ".", "2,5", fails},
                      ParseCase{"whole_number", ".", "9100000", 9100000.0},
                      ParseCase{"nearest_double_of_a_mantissa", ".", "4.7", 4.7},
                      ParseCase{"blanks_around", ".", "  18\t", 18.0}, ParseCase{"plus_sign", ".", "+3", 3.0},
                      ParseCase{"minus_sign", ".", "-1", -1.0}, ParseCase{"exponent", ".", "1.5e3", 1500.0},
                      ParseCase{"negative_exponent_upper_e", ".", "25E-1", 2.5},
                      ParseCase{"leading_separator", ".", ".5", 0.5}, ParseCase{"trailing_separator", ".", "5.", 5.0},
                      ParseCase{"empty", ".", "", fails}, ParseCase{"blank", ".", "   ", fails},
                      ParseCase{"letters", ".", "abc", fails}, ParseCase{"trailing_letter", ".", "10k", fails},
                      ParseCase{"inner_blank", ".", "1 0", fails}, ParseCase{"two_separators", ".", "1.2.3", fails},
                      ParseCase{"lone_sign", ".", "-", fails}, ParseCase{"two_signs", ".", "+-1", fails},
                      ParseCase{"exponent_without_digits", ".", "1e", fails},
                      ParseCase{"lone_separator", ".", ".", fails}, ParseCase{"infinity_name", ".", "inf", fails},
                      ParseCase{"not_a_number_name", ".", "nan", fails},
                      ParseCase{"overflow_to_infinity", ".", "1e400", fails},
                      ParseCase{"hexadecimal", ".", "0x10", fails},
                      ParseCase{"multibyte_separator", "\xd9\xab", "2\xd9\xab" "5", 2.5}),
    [](const auto& info) { return std::string(info.param.name); });

struct FixedCase {
    const char* name;
    const char* separator;
    double value;
    const char* text;
};

// Test output names the row, not its bytes.
void PrintTo(const FixedCase& c, std::ostream* os) { *os << c.name; }

class Fixed2Test : public ::testing::TestWithParam<FixedCase> {};

TEST_P(Fixed2Test, numbers_are_written_with_two_decimals)
{
    EXPECT_EQ(NumberText(GetParam().separator).fixed2(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Fixed2Test,
    ::testing::Values(FixedCase{"rounds_up", ".", 0.9999999999999963, "1.00"},
                      FixedCase{"whole", ".", 18.0, "18.00"}, FixedCase{"negative", ".", -3.3333333333333397, "-3.33"},
                      FixedCase{"zero", ".", 0.0, "0.00"}, FixedCase{"negative_zero", ".", -0.0, "0.00"},
                      FixedCase{"tiny_negative_has_no_sign", ".", -0.004, "0.00"},
                      FixedCase{"last_place_below_a_round_value", ".", 8199999.999999999, "8200000.00"},
                      FixedCase{"last_place_above_a_round_value", ".", 110.00000000000001, "110.00"},
                      FixedCase{"no_grouping", ".", 9100000.0, "9100000.00"},
                      FixedCase{"comma", ",", 9.1, "9,10"},
                      // 0.125 is exact in binary; the nearest hundredth is a tie.
                      FixedCase{"exact_tie_rounds_to_even", ".", 0.125, "0.12"},
                      FixedCase{"huge", ".", 1e20, "100000000000000000000.00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberTextTest, an_empty_separator_falls_back_to_the_point)
{
    EXPECT_EQ(NumberText("").fixed2(1.5), "1.50");
}

} // namespace
