#include "result_list.h"

#include <gtest/gtest.h>

using namespace tarnel;

// Positions of 1.0, 2.0, 3.0, 4.7 and 9.1 in the standard values.
constexpr ValueIndex r1 = 0, r2 = 7, r3 = 11, r47 = 16, r91 = 23;

TEST(ResultListTest, every_format_is_written_as_shown)
{
    const struct {
        Divider divider;
        double deviation;
        const char* line;
    } rows[] = {
        {{0, {r91, r91, r1, r1}}, 0.9999999999999963, "9,10   /  1,00   d 1,00"},
        {{1, {r1, r2, r3, r3}}, -4, "1,00 + 2,00   /  3,00   d -4,00"},
        {{2, {r1, r2, r3, r3}}, -4, "1,00 || 2,00   /  3,00   d -4,00"},
        {{3, {r1, r1, r2, r3}}, -4, "1,00   /  2,00 + 3,00   d -4,00"},
        {{4, {r1, r1, r2, r3}}, -4, "1,00   /  2,00 || 3,00   d -4,00"},
        {{5, {r1, r2, r3, r47}}, 5.5, "1,00 + 2,00   /  3,00 + 4,70   d 5,50"},
        {{6, {r1, r2, r3, r47}}, 5.5, "1,00 || 2,00   /  3,00 || 4,70   d 5,50"},
        {{7, {r1, r2, r3, r47}}, 5.5, "1,00 + 2,00   /  3,00 || 4,70   d 5,50"},
        {{8, {r1, r2, r3, r47}}, 5.5, "1,00 || 2,00   /  3,00 + 4,70   d 5,50"},
    };
    ResultList list(NumberText(","));
    for (const auto& row : rows) {
        list.addResult(row.divider, row.deviation);
        EXPECT_EQ(list.line(list.size() - 1), row.line);
        EXPECT_EQ(list.entry(list.size() - 1).divider.values, row.divider.values);
    }
}
