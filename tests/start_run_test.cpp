#include "calc_test.h"

#include <stdexcept>

using namespace tarnel;
using namespace tarnel::test;

namespace {

class StartRunTest : public CalcTest {
protected:
    std::optional<SearchParams> run()
    {
        StartWindow w = window.startWindow();
        return runStart(w);
    }
    FakeWindow window;
};

TEST_F(StartRunTest, defaults_give_the_24_known_lines)
{
    ASSERT_TRUE(run().has_value());
    const auto lines = window.lines();
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "9.10   /  1.00   d 1.00");
    EXPECT_EQ(lines[1], "10.00   /  1.10   d 0.91");
    EXPECT_EQ(lines[7], "18.00   /  2.00   d 0.00");
    EXPECT_EQ(window.list.resultCount(), 24);
}

TEST_F(StartRunTest, panel_is_disabled_for_the_search_and_enabled_after_it)
{
    run();
    EXPECT_EQ(window.panel1.history, (std::vector<bool>{false, true}));
}

TEST_F(StartRunTest, a_bad_field_stops_before_searching_and_leaves_the_panel_alone)
{
    window.editUin.setText("");
    window.list.addMessage("left over from the last run");
    EXPECT_FALSE(run().has_value());
    EXPECT_EQ(window.list.size(), 0u);
    EXPECT_TRUE(window.panel1.history.empty());
    EXPECT_EQ(window.editUin.color, FieldColor::Red);
    EXPECT_EQ(window.editMaxResults.color, FieldColor::Window);
}

TEST_F(StartRunTest, a_bad_checkbox_state_leaves_its_line_because_the_list_is_not_cleared_again)
{
    window.chkSpecVal1.set(CheckState::Unknown);
    window.chkSpecVal3.set(CheckState::Unknown);
    EXPECT_FALSE(run().has_value());
    EXPECT_EQ(window.lines(), (std::vector<std::string>{badCheckStateMessage, badCheckStateMessage}));
    EXPECT_EQ(window.list.resultCount(), 0);
}

TEST_F(StartRunTest, the_second_clearing_removes_nothing_a_valid_run_needs)
{
    ASSERT_TRUE(run().has_value());
    ASSERT_TRUE(run().has_value());
    EXPECT_EQ(window.list.size(), 24u);
    EXPECT_EQ(window.list.resultCount(), 24);
}

TEST_F(StartRunTest, the_panel_is_enabled_again_when_the_list_throws)
{
    window.list.setCapacity(5);
    EXPECT_THROW(run(), std::length_error);
    EXPECT_EQ(window.panel1.history, (std::vector<bool>{false, true}));
    EXPECT_EQ(window.list.size(), 5u) << "lines appended before the failure stay";
}

TEST_F(StartRunTest, no_ticked_low_arm_runs_nothing_but_still_toggles_the_panel)
{
    window.chkLo1R.set(false);
    ASSERT_TRUE(run().has_value());
    EXPECT_EQ(window.list.size(), 0u);
    EXPECT_EQ(window.panel1.history, (std::vector<bool>{false, true}));
}

struct TotalBoundCase {
    const char* name;
    const char* rsumMax;
    std::size_t lines;
};

// Test output names the row, not its bytes.
void PrintTo(const TotalBoundCase& c, std::ostream* os) { *os << c.name; }

class TotalBoundTest : public CalcTestWithParam<TotalBoundCase> {};

TEST_P(TotalBoundTest, the_upper_total_bound_is_inclusive)
{
    FakeWindow window;
    window.editRsumMax.setText(GetParam().rsumMax);
    StartWindow w = window.startWindow();
    ASSERT_TRUE(runStart(w).has_value());
    EXPECT_EQ(window.list.size(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(RsumMax, TotalBoundTest,
                         ::testing::Values(TotalBoundCase{"exactly_20_keeps_18_plus_2", "20", 8},
                                           TotalBoundCase{"below_20_drops_it", "19.9", 7}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
