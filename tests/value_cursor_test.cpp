#include "values/value_cursor.h"
#include "values/value_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string_view>

using namespace tarnel;

TEST(ValueCursorTest, walks_from_the_floor_of_the_start_up_to_the_bound)
{
    const struct {
        double start, bound;
        std::size_t count;
        double first, last;
    } rows[] = {
        {1, 100, 49, 1.0, 100.0}, {1.55, 10, 21, 1.5, 10.0}, {0, 1.2, 3, 1.0, 1.2}, {1, 95, 48, 1.0, 91.0},
        {1, 9100000, 168, 1.0, 9100000.0}, {100, 10, 1, 100.0, 100.0}, // a start above the bound is seen once
        {std::numeric_limits<double>::quiet_NaN(), 9100000, 1, 9100000.0, 9100000.0},
    };
    for (const auto& row : rows) {
        std::vector<double> seen;
        for (ValueCursor c(row.start); !c.finished; c.advance(row.bound))
            seen.push_back(c.value());
        ASSERT_EQ(seen.size(), row.count) << row.start << " to " << row.bound;
        EXPECT_EQ(seen.front(), row.first) << row.start << " to " << row.bound;
        EXPECT_EQ(seen.back(), row.last) << row.start << " to " << row.bound;
    }
    EXPECT_EQ(maxStandardValue, 9100000.0);
}

TEST(ValueCursorTest, nine_products_stay_one_last_place_off_their_whole_number)
{
    std::vector<double> offWhole;
    const ValueSet& e24 = *e24Values();
    for (const double v : e24.values())
        if (v >= 10.0 && v != std::round(v))
            offWhole.push_back(v);
    EXPECT_EQ(offWhole, (std::vector<double>{110.00000000000001, 220.00000000000003, 509.99999999999994,
                                             819.9999999999999, 110000.00000000001, 220000.00000000003,
                                             509999.99999999994, 819999.9999999999, 8199999.999999999}));
    for (const double start : {1.05, 1.1, 1.55, 50.0, 9.1e6, 1e9})
        EXPECT_EQ(e24[e24.floorIndex(start)], ValueCursor(start).value()) << start;
    // A typed 110 is the standard 110 in decimal, not the 100 below its binary value.
    EXPECT_EQ(e24[e24.floorIndex(110)], 110.00000000000001);
}

TEST(ValueSetTest, each_series_rises_over_ten_decades_and_from_1_holds_the_cursors_values_of_seven)
{
    // Ten decades less the values above 9,100,000.
    const std::size_t counts[] = {30, 60, 120, 240, 479, 957, 1913};
    for (std::size_t s = 0; s < seriesTable.size(); ++s) {
        const ValueSet& set = *seriesValues(s);
        EXPECT_EQ(set.size(), counts[s]) << set.name();
        EXPECT_TRUE(std::is_sorted(set.values().begin(), set.values().end(), std::less_equal<>())) << set.name();
        EXPECT_EQ(set[0], minResistance);
        // From 1 the very doubles of the seven decades, so that a run from Rmin 1 is unchanged.
        std::size_t i = set.floorIndex(1.0);
        for (ValueCursor c(1.0, seriesTable[s].mantissas); !c.finished && i < set.size(); c.advance(maxStandardValue))
            EXPECT_EQ(set[i++], c.value()) << set.name();
        EXPECT_LE(set[set.size() - 1], maxStandardValue);
    }
    EXPECT_EQ((*seriesValues(5))[8 * 96 + 67], 499000.0); // 4.99 in the sixth decade from 1 of E96
    // Below 1 each value is the number its decimal text reads as, as a special value is typed.
    for (const double typed : {0.011, 0.0511, 0.11, 0.825, 0.0909})
        EXPECT_EQ((*seriesValues(6))[seriesValues(6)->floorIndex(typed)], typed);
}

TEST(ValueSetTest, each_mantissa_is_the_rounded_power_of_ten_but_where_the_standard_says_otherwise)
{
    // IEC 60063: the i-th of N is 10^(i/N) to two significant digits up to
    // E24 and to three from E48 on, but for these places of each series,
    // where the standard keeps another value.
    const std::map<std::string_view, std::map<std::size_t, double>> iec60063Exceptions{
        {"E3", {{2, 4.7}}}, {"E6", {{3, 3.3}, {4, 4.7}}}, {"E12", {{5, 2.7}, {6, 3.3}, {7, 3.9}, {8, 4.7}, {11, 8.2}}},
        {"E24", {{10, 2.7}, {11, 3.0}, {12, 3.3}, {13, 3.6}, {14, 3.9}, {15, 4.3}, {16, 4.7}, {22, 8.2}}},
        {"E192", {{185, 9.20}}}};
    for (const Series& series : seriesTable) {
        const std::size_t n = series.mantissas.size();
        const double scale = n <= 24 ? 10.0 : 100.0;
        const auto exceptions = iec60063Exceptions.find(series.name);
        for (std::size_t i = 0; i < n; ++i) {
            const double power = std::pow(10.0, static_cast<double>(i) / static_cast<double>(n));
            double expected = std::round(power * scale) / scale;
            if (exceptions != iec60063Exceptions.end() && exceptions->second.contains(i))
                expected = exceptions->second.at(i);
            EXPECT_EQ(series.mantissas[i], expected) << series.name << " place " << i;
        }
    }
}
