#include "fake_window.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace tarnel;
using namespace tarnel::test;
using Lines = std::vector<std::string>;

TEST(StartRunTest, the_defaults_the_limit_and_the_total_bounds_give_the_known_lines)
{
    FakeWindow w;
    w.start();
    const Lines lines = w.lines();
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "9.10   /  1.00   d 1.00");
    EXPECT_EQ(lines[1], "10.00   /  1.10   d 0.91");
    EXPECT_EQ(lines[7], "18.00   /  2.00   d 0.00");
    EXPECT_EQ(w.panel1.history, (std::vector<bool>{false, true}));
    for (const auto& [field, text, count] : {std::tuple{&w.editMaxResults, "1", 1u}, {&w.editMaxResults, "2.9", 2u},
                                             {&w.editMaxResults, "23", 23u}, {&w.editMaxResults, "25", 24u},
                                             {&w.editRsumMax, "20", 8u}, // 18 + 2 is exactly 20
                                             {&w.editRsumMax, "19.9", 7u}}) {
        field->setText(text);
        w.start();
        EXPECT_EQ(w.lines(), Lines(lines.begin(), lines.begin() + count)) << text;
    }
}

TEST(StartRunTest, a_low_series_pair_loops_its_second_value_outside)
{
    FakeWindow w;
    w.chkLo1R.set(false);
    w.chkLo2Rser.set(true);
    w.editMaxResults.setText("4");
    w.start();
    EXPECT_EQ(w.lines(), (Lines{"18.00   /  1.00 + 1.00   d 0.00", "18.00   /  1.00 + 1.10   d -4.29",
                                "20.00   /  1.10 + 1.10   d 0.91", "20.00   /  1.00 + 1.20   d 0.91"}));
}

TEST(StartRunTest, no_resistor_lies_above_rmax_but_the_floor_of_rmin_is_tried)
{
    FakeWindow w;
    w.editRmin.setText("100");
    w.editRmax.setText("10");
    w.editTol.setText("100");
    w.editRsumMin.setText("1");
    w.start();
    EXPECT_EQ(w.lines(), Lines{});
    w.editRmin.setText("1.55"); // floor 1.5
    w.editRmax.setText("1.5");
    w.editTol.setText("0");
    w.editUin.setText("2");
    w.start();
    EXPECT_EQ(w.lines(), Lines{"1.50   /  1.50   d 0.00"});
}

TEST(StartRunTest, a_failed_read_stops_before_searching_and_leaves_the_panel_alone)
{
    FakeWindow w;
    w.list.addMessage("left over from the last run");
    w.editUin.setText("");
    EXPECT_FALSE(w.start().has_value());
    EXPECT_EQ(w.lines(), Lines{});
    w.editUin.setText("10");
    w.chkSpecVal[1].set(CheckState::Unknown);
    w.chkSpecVal[3].set(CheckState::Unknown);
    EXPECT_FALSE(w.start().has_value());
    EXPECT_EQ(w.lines(), (Lines{badCheckStateMessage, badCheckStateMessage})) << "the list is not cleared again";
    EXPECT_EQ(w.list.resultCount(), 0);
    EXPECT_EQ(w.panel1.history, std::vector<bool>{});
}

TEST(StartRunTest, the_panel_is_enabled_again_when_the_list_throws)
{
    FakeWindow w;
    w.list.setCapacity(5);
    EXPECT_THROW(w.start(), std::length_error);
    EXPECT_EQ(w.panel1.history, (std::vector<bool>{false, true}));
    EXPECT_EQ(w.list.size(), 5u) << "lines appended before the failure stay";
}
