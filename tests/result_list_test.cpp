#include "result_list.h"
#include "standard_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

using namespace tarnel;

namespace {

struct FormatCase {
    const char* name;
    std::size_t format;
    std::vector<double> values;
    const char* line;
};

// Test output names the row, not its bytes.
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, every_format_is_written_as_shown)
{
    ResultList list;
    list.addResult(GetParam().format, GetParam().values);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.line(0), GetParam().line);
}

const double v8200k = standardValues()[6 * 24 + 22];

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatTest,
    ::testing::Values(FormatCase{"f0_single_single", 0, {9.1, 1.0, 0.9999999999999963}, "9.10   /  1.00   d 1.00"},
                      FormatCase{"f0_negative", 0, {13, 1.5, -3.3333333333333397}, "13.00   /  1.50   d -3.33"},
                      FormatCase{"f0_zero", 0, {18, 2, 0.0}, "18.00   /  2.00   d 0.00"},
                      FormatCase{"f1_series_single", 1, {1, 2, 3, 4}, "1.00 + 2.00   /  3.00   d 4.00"},
                      FormatCase{"f2_parallel_single", 2, {1, 2, 3, 4}, "1.00 || 2.00   /  3.00   d 4.00"},
                      FormatCase{"f3_single_series", 3, {1, 2, 3, 4}, "1.00   /  2.00 + 3.00   d 4.00"},
                      FormatCase{"f4_single_parallel", 4, {1, 2, 3, 4}, "1.00   /  2.00 || 3.00   d 4.00"},
                      FormatCase{"f5_series_series", 5, {1, 2, 3, 4, 5}, "1.00 + 2.00   /  3.00 + 4.00   d 5.00"},
                      FormatCase{"f6_parallel_parallel", 6, {1, 2, 3, 4, 5},
                                 "1.00 || 2.00   /  3.00 || 4.00   d 5.00"},
                      FormatCase{"f7_series_parallel", 7, {1, 2, 3, 4, 5}, "1.00 + 2.00   /  3.00 || 4.00   d 5.00"},
                      FormatCase{"f8_parallel_series", 8, {1, 2, 3, 4, 5}, "1.00 || 2.00   /  3.00 + 4.00   d 5.00"},
                      FormatCase{"last_place_values_written_round", 0, {v8200k, 9100000, -0.001},
                                 "8200000.00   /  9100000.00   d 0.00"},
                      FormatCase{"non_standard_values_are_kept", 1, {2.345, 1e-3, 7.777, 1}, "2.35 + 0.00   /  7.78   d 1.00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultListTest, comma_locale_writes_comma_decimals)
{
    ResultList list(NumberText(","));
    list.addResult(0, {9.1, 1.0, 0.9999999999999963});
    EXPECT_EQ(list.line(0), "9,10   /  1,00   d 1,00");
}

TEST(ResultListTest, messages_keep_their_place_and_are_not_counted)
{
    ResultList list;
    list.addResult(0, {1, 2, 3});
    list.addMessage("specValsInit: bad chk->State");
    list.addResult(0, {4, 5, 6});
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.resultCount(), 2);
    EXPECT_EQ(list.line(1), "specValsInit: bad chk->State");
    EXPECT_TRUE(list.isMessage(1));
    EXPECT_FALSE(list.isMessage(2));
    EXPECT_EQ(list.line(2), "4.00   /  5.00   d 6.00");
}

TEST(ResultListTest, clear_empties_the_lines_and_the_count)
{
    ResultList list;
    list.addResult(0, {1, 2, 3});
    list.addMessage("x");
    list.clear();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.resultCount(), 0);
    list.addResult(0, {2.5, 2, 3});
    EXPECT_EQ(list.line(0), "2.50   /  2.00   d 3.00");
}

TEST(ResultListTest, lines_read_back_exactly_across_chunks)
{
    ResultList list;
    const auto& values = standardValues();
    constexpr std::size_t count = 10000;
    for (std::size_t i = 0; i < count; ++i)
        list.addResult(5, {values[i % 168], values[(i / 7) % 168], values[(i / 3) % 168], values[i % 100],
                           static_cast<double>(i) / 8.0});
    for (const std::size_t i : {std::size_t{0}, std::size_t{4095}, std::size_t{4096}, count - 1}) {
        const ResultEntry e = list.entry(i);
        EXPECT_EQ(e.formatIndex, 5u);
        EXPECT_EQ(e.resistors[1], values[(i / 7) % 168]);
        EXPECT_EQ(e.deviationPercent, static_cast<double>(i) / 8.0);
    }
}

TEST(ResultListTest, a_full_list_refuses_the_next_line_and_keeps_the_others)
{
    ResultList list;
    list.setCapacity(2);
    list.addResult(0, {1, 2, 3});
    list.addMessage("m");
    EXPECT_THROW(list.addResult(0, {1, 2, 3}), std::length_error);
    EXPECT_THROW(list.addMessage("n"), std::length_error);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list.resultCount(), 1);
}

TEST(ResultListTest, values_that_do_not_fit_the_format_are_refused)
{
    ResultList list;
    EXPECT_THROW(list.addResult(0, {1, 2}), std::invalid_argument);
    EXPECT_THROW(list.addResult(9, {1, 2, 3}), std::invalid_argument);
    EXPECT_THROW((void)list.line(0), std::out_of_range);
    EXPECT_EQ(list.size(), 0u);
}

TEST(ResultListTest, widest_line_length_bounds_every_line)
{
    ResultList list(NumberText(","));
    EXPECT_EQ(list.widestLineLength(), 0u);
    list.addResult(0, {9.1, 1.0, 0.5});
    EXPECT_EQ(list.widestLineLength(), list.line(0).size());
    list.addMessage("a message longer than any line so far, by a good margin");
    EXPECT_EQ(list.widestLineLength(), list.line(1).size());
    const double v8200k = standardValues()[6 * 24 + 22];
    list.addResult(6, {v8200k, 9100000, 2.2, 510000, -1234.5});
    list.addResult(3, {1, 1, 1, 99.999});
    std::size_t longest = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
        longest = std::max(longest, list.line(i).size());
    EXPECT_GE(list.widestLineLength(), longest);
    EXPECT_LE(list.widestLineLength(), longest + 12) << "each narrower value counts as the widest";
    list.clear();
    EXPECT_EQ(list.widestLineLength(), 0u);
}

} // namespace
