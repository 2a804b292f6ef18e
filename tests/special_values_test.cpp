#include "calc_test.h"
#include "special_values.h"
#include "standard_values.h"

#include <algorithm>
#include <cmath>

using namespace tarnel;
using namespace tarnel::test;

namespace {

constexpr double unused = unusedSpecialValue;

struct ClassifyCase {
    const char* name;
    std::array<double, 4> listed;
    std::array<double, 4> excluded;
    double x;
    SpecialValueClass expected;
};

// Test output names the row, not its bytes.
void PrintTo(const ClassifyCase& c, std::ostream* os) { *os << c.name; }

class ClassifyTest : public CalcTestWithParam<ClassifyCase> {};

TEST_P(ClassifyTest, classifies_by_the_table)
{
    const ClassifyCase& c = GetParam();
    specialValueTable.listedValues = c.listed;
    specialValueTable.excludedValues = c.excluded;
    EXPECT_EQ(specValClassify(c.x), c.expected);
}

const std::array<double, 4> none{unused, unused, unused, unused};
const double v110 = standardValues()[2 * 24 + 1]; // 1.1 * 100, one last place above 110

INSTANTIATE_TEST_SUITE_P(
    Rows, ClassifyTest,
    ::testing::Values(
        ClassifyCase{"nothing_in_use_is_ok", none, none, 18.0, SpecialValueClass::Ok},
        ClassifyCase{"excluded_value", none, {unused, unused, 18, unused}, 18.0, SpecialValueClass::Excluded},
        ClassifyCase{"other_value_beside_an_exclusion", none, {unused, unused, 18, unused}, 2.0, SpecialValueClass::Ok},
        ClassifyCase{"listed_value", {2, unused, unused, unused}, none, 2.0, SpecialValueClass::Ok},
        ClassifyCase{"value_not_listed", {2, 3, unused, unused}, none, 4.7, SpecialValueClass::Unlisted},
        ClassifyCase{"exclusion_wins_over_listing", {unused, 27, unused, unused}, {unused, unused, unused, 27}, 27.0,
                     SpecialValueClass::Excluded},
        ClassifyCase{"a_listed_slot_makes_others_unlisted", {unused, 27, unused, unused}, {unused, unused, unused, 27},
                     3.0, SpecialValueClass::Unlisted},
        ClassifyCase{"non_standard_listed_value_matches_no_standard_value", {2.5, unused, unused, unused}, none, 2.4,
                     SpecialValueClass::Unlisted},
        ClassifyCase{"typed_110_lists_the_standard_110", {110, unused, unused, unused}, none, v110,
                     SpecialValueClass::Ok},
        ClassifyCase{"typed_110_excludes_the_standard_110", none, {110, unused, unused, unused}, v110,
                     SpecialValueClass::Excluded},
        ClassifyCase{"typed_8200000_excludes_its_standard_value", none, {8200000, unused, unused, unused},
                     8199999.999999999, SpecialValueClass::Excluded},
        ClassifyCase{"typed_110_leaves_its_neighbour_100_alone", none, {110, unused, unused, unused}, 100.0,
                     SpecialValueClass::Ok}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpecialValueMatchTest, every_whole_standard_value_is_matched_by_its_typed_number_and_nothing_else)
{
    const auto& values = standardValues();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double typed = values[i] >= 10.0 ? std::round(values[i]) : values[i];
        for (std::size_t j = 0; j < values.size(); ++j)
            ASSERT_EQ(specialValueMatches(typed, values[j]), i == j) << typed << " vs " << values[j];
    }
    EXPECT_FALSE(specialValueMatches(unusedSpecialValue, -1.0));
}

class CheckTest : public CalcTest {};

TEST_F(CheckTest, a_combination_passes_only_when_every_resistor_is_ok)
{
    specialValueTable.listedValues = {2, 3, unused, unused};
    EXPECT_TRUE(specValsCheck2(2, 2));
    EXPECT_TRUE(specValsCheck3(3, 2, 3));
    EXPECT_TRUE(specValsCheck4(2, 3, 3, 2));
    EXPECT_FALSE(specValsCheck2(2, 4.7));
    EXPECT_FALSE(specValsCheck3(4.7, 2, 3));
    EXPECT_FALSE(specValsCheck4(2, 3, 2, 4.7));
    specialValueTable = SpecialValueTable{};
    specialValueTable.excludedValues[2] = 18;
    EXPECT_FALSE(specValsCheck4(1, 2, 3, 18));
    EXPECT_TRUE(specValsCheck4(1, 2, 3, 4.7));
}

struct SlotCase {
    const char* name;
    CheckState state;
    const char* text;
    double listed;
    double excluded;
    bool valid;
    bool painted;
};

// Test output names the row, not its bytes.
void PrintTo(const SlotCase& c, std::ostream* os) { *os << c.name; }

class SpecValsInitTest : public CalcTestWithParam<SlotCase> {};

TEST_P(SpecValsInitTest, loads_one_slot_by_its_checkbox)
{
    const SlotCase& c = GetParam();
    specialValueTable.listedValues[1] = 99; // from an earlier run
    specialValueTable.excludedValues[1] = 99;
    FakeCheck chk(c.state);
    FakeEdit edit(c.text);
    ResultList list;
    specValsInit(chk, edit, 1, list, list.numbers());
    EXPECT_EQ(specialValueTable.listedValues[1], c.listed);
    EXPECT_EQ(specialValueTable.excludedValues[1], c.excluded);
    EXPECT_EQ(inputsValid, c.valid);
    EXPECT_EQ(!edit.paints.empty(), c.painted);
    EXPECT_EQ(list.size(), c.state == CheckState::Unknown ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, SpecValsInitTest,
    ::testing::Values(SlotCase{"unchecked_excludes", CheckState::Unchecked, "18", unused, 18, true, true},
                      SlotCase{"checked_lists", CheckState::Checked, "18", 18, unused, true, true},
                      SlotCase{"grayed_ignores_even_letters", CheckState::Grayed, "abc", unused, unused, true, false},
                      SlotCase{"checked_with_bad_text_fails", CheckState::Checked, "0.5", -1, unused, false, true},
                      SlotCase{"unchecked_with_empty_text_fails", CheckState::Unchecked, "", unused, -1, false, true},
                      SlotCase{"unknown_state_keeps_the_slot", CheckState::Unknown, "18", 99, 99, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckTest, an_unknown_state_writes_the_error_line_uncounted)
{
    FakeCheck chk(CheckState::Unknown);
    FakeEdit edit("2");
    ResultList list;
    specValsInit(chk, edit, 0, list, list.numbers());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.line(0), "specValsInit: bad chk->State");
    EXPECT_EQ(list.resultCount(), 0);
}

// Through a whole run with the window's other defaults.
struct RunCase {
    const char* name;
    std::size_t slot;
    CheckState state;
    const char* text;
    std::size_t lines;
};

// Test output names the row, not its bytes.
void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class SpecialRunTest : public CalcTestWithParam<RunCase> {};

TEST_P(SpecialRunTest, slots_filter_the_default_search)
{
    const RunCase& c = GetParam();
    FakeWindow w;
    FakeCheck* checks[] = {&w.chkSpecVal0, &w.chkSpecVal1, &w.chkSpecVal2, &w.chkSpecVal3};
    FakeEdit* edits[] = {&w.editSpecVal0, &w.editSpecVal1, &w.editSpecVal2, &w.editSpecVal3};
    checks[c.slot]->set(c.state);
    edits[c.slot]->setText(c.text);
    StartWindow sw = w.startWindow();
    runStart(sw);
    EXPECT_EQ(w.list.size(), c.lines);
    for (const std::string& line : w.lines())
        EXPECT_EQ(line.find("18.00   /  2.00"), std::string::npos) << "the excluded 18 was listed";
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SpecialRunTest,
    ::testing::Values(RunCase{"excluding_18_drops_one_line", 2, CheckState::Unchecked, "18", 23},
                      RunCase{"listing_only_2_leaves_nothing", 0, CheckState::Checked, "2", 0},
                      RunCase{"a_bad_listed_value_stops_the_run", 1, CheckState::Checked, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckTest, excluding_typed_110_removes_the_standard_110_from_the_results)
{
    const auto linesWith110 = [](FakeWindow& w) {
        StartWindow sw = w.startWindow();
        runStart(sw);
        const auto lines = w.lines();
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.find("110.00") != std::string::npos; });
    };
    FakeWindow w;
    w.editRmax.setText("1000");
    w.editRsumMax.setText("2000");
    ASSERT_GT(linesWith110(w), 0);
    w.chkSpecVal0.set(CheckState::Unchecked);
    w.editSpecVal0.setText("110");
    EXPECT_EQ(linesWith110(w), 0);
}

} // namespace
