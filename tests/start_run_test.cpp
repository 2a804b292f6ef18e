#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace tarnel;
using test::linesOf;
using Lines = std::vector<std::string>;

TEST(StartRunTest, the_defaults_the_limit_and_the_total_bounds_give_the_known_lines)
{
    PlainWindow w;
    w.start();
    const Lines lines = linesOf(w.list());
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "9.10   /  1.00   d 1.00");
    EXPECT_EQ(lines[1], "10.00   /  1.10   d 0.91");
    EXPECT_EQ(lines[7], "18.00   /  2.00   d 0.00");
    EXPECT_EQ(w.panel1().changes(), (std::vector<bool>{false, true}));
    for (const auto& [field, text, count] : {std::tuple{"editMaxResults", "1", 1u}, {"editMaxResults", "2.9", 2u},
                                             {"editMaxResults", "23", 23u}, {"editMaxResults", "25", 24u},
                                             {"editRsumMax", "20", 8u}, // 18 + 2 is exactly 20
                                             {"editRsumMax", "19.9", 7u}}) {
        w.edit(field).setText(text);
        w.start();
        EXPECT_EQ(linesOf(w.list()), Lines(lines.begin(), lines.begin() + count)) << text;
    }
}

TEST(StartRunTest, bounds_hold_in_decimal)
{
    const auto linesWith = [](std::initializer_list<std::pair<const char*, const char*>> texts, const char* box) {
        PlainWindow w;
        for (const auto& [field, text] : texts)
            w.edit(field).setText(text);
        if (box != nullptr)
            w.check(box).set(true);
        w.start();
        return linesOf(w.list());
    };
    // 3.3 / 1.1 is 2.9999999999999996 in binary, below the window of exactly 3.
    const Lines exact = linesWith({{"editUin", "4"}, {"editTol", "0"}, {"editRmax", "9100000"}, {"editRsumMin", "1"},
                                   {"editRsumMax", "9100000"}},
                                  nullptr);
    EXPECT_EQ(std::count(exact.begin(), exact.end(), "3.30   /  1.10   d 0.00"), 1);
    // 3.3 + 5.1 + 1.6 is 9.999999999999998 in binary, below RsumMin 10.
    const Lines total = linesWith({{"editUin", "6.25"}, {"editTol", "0.1"}}, "chkHi2Rser");
    EXPECT_EQ(std::count(total.begin(), total.end(), "3.30 + 5.10   /  1.60   d 0.00"), 1);
    // The standard 220 is 220.00000000000003, above an Rmax of 220.
    const Lines top = linesWith({{"editUin", "2"}, {"editTol", "0"}, {"editRmin", "220"}, {"editRmax", "220"},
                                 {"editRsumMax", "1000"}},
                                nullptr);
    EXPECT_EQ(top, Lines{"220.00   /  220.00   d 0.00"});
}

TEST(StartRunTest, voltages_below_one_volt_give_the_lines_of_the_same_ratio_above)
{
    // 18 / 6 and 1.8 / 0.6 are both exactly 3 in binary.
    std::vector<Lines> runs;
    for (const auto& [uin, uout] : {std::pair{"18", "6"}, {"1.8", "0.6"}}) {
        PlainWindow w;
        w.edit("editUin").setText(uin);
        w.edit("editUout").setText(uout);
        w.check("chkHi2Rpar").set(true);
        ASSERT_TRUE(w.start().has_value());
        runs.push_back(linesOf(w.list()));
    }
    EXPECT_EQ(runs[1], runs[0]);
    EXPECT_GT(runs[0].size(), 10u);
}

TEST(StartRunTest, a_low_series_pair_loops_its_second_value_outside)
{
    PlainWindow w;
    w.check("chkLo1R").set(false);
    w.check("chkLo2Rser").set(true);
    w.edit("editMaxResults").setText("4");
    w.start();
    EXPECT_EQ(linesOf(w.list()), (Lines{"18.00   /  1.00 + 1.00   d 0.00", "18.00   /  1.00 + 1.10   d -4.29",
                                        "20.00   /  1.10 + 1.10   d 0.91", "20.00   /  1.00 + 1.20   d 0.91"}));
}

TEST(StartRunTest, no_resistor_lies_above_rmax_but_the_floor_of_rmin_is_tried)
{
    PlainWindow w;
    for (const auto& [field, text] : {std::pair{"editRmin", "100"}, {"editRmax", "10"}, {"editTol", "100"},
                                      {"editRsumMin", "1"}})
        w.edit(field).setText(text);
    w.start();
    EXPECT_EQ(linesOf(w.list()), Lines{});
    for (const auto& [field, text] : {std::pair{"editRmin", "1.55"}, {"editRmax", "1.5"}, {"editTol", "0"},
                                      {"editUin", "2"}})
        w.edit(field).setText(text); // the floor of 1.55 is 1.5
    w.start();
    EXPECT_EQ(linesOf(w.list()), Lines{"1.50   /  1.50   d 0.00"});
}

TEST(StartRunTest, a_failed_read_stops_before_searching_and_leaves_the_panel_alone)
{
    PlainWindow w;
    w.list().addMessage("left over from the last run");
    w.edit("editUin").setText("");
    EXPECT_FALSE(w.start().has_value());
    EXPECT_EQ(linesOf(w.list()), Lines{});
    w.edit("editUin").setText("10");
    w.check("chkSpecVal1").set(CheckState::Unknown);
    w.check("chkSpecVal3").set(CheckState::Unknown);
    EXPECT_FALSE(w.start().has_value());
    EXPECT_EQ(linesOf(w.list()), (Lines{badCheckStateMessage, badCheckStateMessage})) << "the list is not cleared again";
    EXPECT_EQ(w.list().resultCount(), 0);
    EXPECT_EQ(w.panel1().changes(), std::vector<bool>{});
}

TEST(StartRunTest, the_panel_is_enabled_again_when_the_list_throws)
{
    PlainWindow w;
    w.list().setCapacity(5);
    EXPECT_THROW(w.start(), std::length_error);
    EXPECT_EQ(w.panel1().changes(), (std::vector<bool>{false, true}));
    EXPECT_EQ(w.list().size(), 5u) << "lines appended before the failure stay";
}
