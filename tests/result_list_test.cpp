#include "result_list.h"

#include <gtest/gtest.h>

using namespace tarnel;

TEST(ResultListTest, every_format_is_written_as_shown)
{
    ResultList list(NumberText(","));
    list.addResult(0, {9.1, 1.0, 0.9999999999999963});
    for (std::size_t format = 1; format < 5; ++format)
        list.addResult(format, {1, 2, 3, -4});
    for (std::size_t format = 5; format < 9; ++format)
        list.addResult(format, {1, 2, 3, 4, 5.5});
    const char* lines[] = {"9,10   /  1,00   d 1,00",        "1,00 + 2,00   /  3,00   d -4,00",
                           "1,00 || 2,00   /  3,00   d -4,00", "1,00   /  2,00 + 3,00   d -4,00",
                           "1,00   /  2,00 || 3,00   d -4,00", "1,00 + 2,00   /  3,00 + 4,00   d 5,50",
                           "1,00 || 2,00   /  3,00 || 4,00   d 5,50", "1,00 + 2,00   /  3,00 || 4,00   d 5,50",
                           "1,00 || 2,00   /  3,00 + 4,00   d 5,50"};
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(list.line(i), lines[i]);
}
