#include "standard_values.h"
#include "value_cursor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace tarnel;

namespace {

// The values a search loop sees: construct at start, then read and advance
// with bound until finished.
std::vector<double> walk(double start, double bound)
{
    std::vector<double> seen;
    for (ValueCursor c(start); !c.finished; c.advance(bound))
        seen.push_back(c.value());
    return seen;
}

TEST(ValueCursorTest, max_standard_value_is_exactly_9100000)
{
    EXPECT_EQ(maxStandardValue, 9100000.0);
}

struct WalkCase {
    const char* name;
    double start;
    double bound;
    std::size_t count;
    double first;
    double last;
};

// Test output names the row, not its bytes.
void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class WalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkTest, walks_from_the_floor_of_start_to_the_bound)
{
    const WalkCase& c = GetParam();
    const auto seen = walk(c.start, c.bound);
    ASSERT_EQ(seen.size(), c.count);
    EXPECT_EQ(seen.front(), c.first);
    EXPECT_EQ(seen.back(), c.last);
}

const double nan = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Walks, WalkTest,
    ::testing::Values(WalkCase{"defaults_give_49_values", 1, 100, 49, 1.0, 100.0},
                      WalkCase{"start_between_values_takes_the_floor", 1.55, 10, 21, 1.5, 10.0},
                      WalkCase{"start_on_a_value_takes_it", 47, 47, 1, 47.0, 47.0},
                      WalkCase{"start_50_takes_47", 50, 56, 3, 47.0, 56.0},
                      WalkCase{"start_zero_takes_1", 0, 1.2, 3, 1.0, 1.2},
                      WalkCase{"negative_start_takes_1", -5, 1.0, 1, 1.0, 1.0},
                      WalkCase{"start_just_below_1_1_takes_1", 1.05, 1.1, 2, 1.0, 1.1},
                      WalkCase{"bound_between_values_ends_below_it", 1, 95, 48, 1.0, 91.0},
                      WalkCase{"whole_table", 1, 9100000, 168, 1.0, 9100000.0},
                      WalkCase{"top_decade", 8000000, 9100000, 3, 7500000.0, 9100000.0},
                      WalkCase{"start_and_bound_at_the_top", 9100000, 9100000, 1, 9100000.0, 9100000.0},
                      WalkCase{"start_above_bound_gives_the_start_once", 100, 10, 1, 100.0, 100.0},
                      WalkCase{"start_not_a_number_walks_to_the_top", nan, 9100000, 1, 9100000.0, 9100000.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueCursorTest, the_table_end_finishes_the_walk)
{
    ValueCursor c(9100000);
    EXPECT_TRUE(c.tableEnded);
    EXPECT_FALSE(c.finished);
    EXPECT_EQ(c.advance(1e12), 9100000.0);
    EXPECT_TRUE(c.finished);
    EXPECT_EQ(c.value(), 9100000.0);
}

TEST(ValueCursorTest, a_refused_step_rolls_back_and_repeats_harmlessly)
{
    ValueCursor c(91);
    EXPECT_EQ(c.advance(95), 91.0);
    EXPECT_TRUE(c.finished);
    EXPECT_EQ(c.advance(95), 91.0);
    EXPECT_EQ(c.decadeIndex, 1);
    EXPECT_EQ(c.mantissaIndex, 23);
}

struct LastPlaceCase {
    const char* name;
    double whole;
    double produced;
};

// Test output names the row, not its bytes.
void PrintTo(const LastPlaceCase& c, std::ostream* os) { *os << c.name; }

class LastPlaceTest : public ::testing::TestWithParam<LastPlaceCase> {};

TEST_P(LastPlaceTest, mantissa_times_decade_is_kept_not_rounded_to_the_whole_number)
{
    const LastPlaceCase& c = GetParam();
    EXPECT_NE(c.whole, c.produced);
    EXPECT_TRUE(standardValueIndex(c.produced).has_value());
    EXPECT_FALSE(standardValueIndex(c.whole).has_value());
    // A cursor never stops on the whole number: it takes the neighbour below it or the produced value.
    EXPECT_NE(ValueCursor(c.whole).value(), c.whole);
}

INSTANTIATE_TEST_SUITE_P(
    NineValues, LastPlaceTest,
    ::testing::Values(LastPlaceCase{"v110", 110, 110.00000000000001}, LastPlaceCase{"v220", 220, 220.00000000000003},
                      LastPlaceCase{"v510", 510, 509.99999999999994}, LastPlaceCase{"v820", 820, 819.9999999999999},
                      LastPlaceCase{"v110k", 110000, 110000.00000000001},
                      LastPlaceCase{"v220k", 220000, 220000.00000000003},
                      LastPlaceCase{"v510k", 510000, 509999.99999999994},
                      LastPlaceCase{"v820k", 820000, 819999.9999999999},
                      LastPlaceCase{"v8200k", 8200000, 8199999.999999999}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueCursorTest, some_products_are_exact)
{
    EXPECT_EQ(ValueCursor(180).value(), 180.0);
    EXPECT_EQ(ValueCursor(1.1).value(), 1.1);
    EXPECT_EQ(ValueCursor(1100).value(), 1100.0);
}

TEST(StandardValuesTest, exactly_nine_values_differ_from_their_whole_number)
{
    int differing = 0;
    for (const double v : standardValues())
        if (v >= 10.0 && v != std::round(v))
            ++differing;
    EXPECT_EQ(differing, 9);
    EXPECT_NE(standardValues()[2 * 24 + 1], 110.0);
}

TEST(StandardValuesTest, index_lookup_finds_exactly_the_produced_values)
{
    for (std::size_t i = 0; i < standardValueCount; ++i)
        ASSERT_EQ(standardValueIndex(standardValues()[i]), i);
    EXPECT_FALSE(standardValueIndex(110.0).has_value());
    EXPECT_FALSE(standardValueIndex(2.5).has_value());
    EXPECT_FALSE(standardValueIndex(-1.0).has_value());
}

TEST(StandardValuesTest, floor_index_agrees_with_where_a_cursor_starts)
{
    for (const double start : {-3.0, 0.0, 1.05, 1.1, 1.55, 47.0, 50.0, 109.0, 110.0, 8e6, 9.1e6, 1e9})
        EXPECT_EQ(standardValues()[standardFloorIndex(start)], ValueCursor(start).value()) << start;
}

} // namespace
