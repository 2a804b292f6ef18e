#include "search/result_list.h"

#include <gtest/gtest.h>

using namespace tarnel;

// Positions of 1.0, 2.0, 3.0, 4.7 and 9.1 in the standard values, above
// three decades below 1, where 0.0012, 0.1 and 0.24 are.
constexpr ValueIndex r1 = 72, r2 = r1 + 7, r3 = r1 + 11, r47 = r1 + 16, r91 = r1 + 23, r0012 = 2, r01 = 48, r024 = 57;

TEST(ResultListTest, every_format_is_written_as_shown_with_the_deviation_worked_out_when_read)
{
    const struct {
        Divider divider;
        const char* line;
    } rows[] = {
        {{0, {r91, r91, r1, r1}}, "9,10   /  1,00   d 1,00"},
        {{1, {r1, r2, r3, r3}}, "1,00 + 2,00   /  3,00   d -80,00"},
        {{2, {r1, r2, r3, r3}}, "1,00 || 2,00   /  3,00   d -87,78"},
        {{3, {r1, r1, r2, r3}}, "1,00   /  2,00 + 3,00   d -88,00"},
        {{4, {r1, r1, r2, r3}}, "1,00   /  2,00 || 3,00   d -81,67"},
        {{5, {r1, r2, r3, r47}}, "1,00 + 2,00   /  3,00 + 4,70   d -86,10"},
        {{6, {r1, r2, r3, r47}}, "1,00 || 2,00   /  3,00 || 4,70   d -86,36"},
        {{7, {r1, r2, r3, r47}}, "1,00 + 2,00   /  3,00 || 4,70   d -73,62"},
        {{8, {r1, r2, r3, r47}}, "1,00 || 2,00   /  3,00 + 4,70   d -89,13"},
        {{1, {r0012, r024, r01, r01}}, "0,0012 + 0,24   /  0,10   d -65,88"},
    };
    SearchParams run; // 1 + H/L against 10, within 90 %
    run.uin = 10.0;
    run.uout = 1.0;
    run.tolerance = 0.9;
    ResultList list(NumberText(","));
    list.setRun(run);
    for (const auto& row : rows) {
        list.addResult(row.divider);
        EXPECT_EQ(list.line(list.size() - 1), row.line);
        EXPECT_EQ(list.entry(list.size() - 1).divider.values, row.divider.values);
        EXPECT_LE(list.line(list.size() - 1).size(), list.widestLineLength());
    }
    // The deviation comes from the search's own arithmetic, to the last bit.
    EXPECT_EQ(list.entry(0).deviationPercent, 0.9999999999999963);
    EXPECT_THROW(list.setRun(run), std::logic_error);

    // Under the worst-case criterion each line adds its worst deviation;
    // 1 % parts put 9.1 / 1 at 1 + 9.1 * 1.01 / 0.99 at worst, 2.84 % off 10.
    run.criterion = Criterion::WorstCase;
    run.partTolerance = 0.01;
    run.tolerance = 0.03;
    ResultList worst;
    worst.setRun(run);
    worst.addResult(rows[0].divider);
    EXPECT_EQ(worst.line(0), "9.10   /  1.00   d 1.00   w 2.84");
    EXPECT_LE(worst.line(0).size(), worst.widestLineLength());
}
