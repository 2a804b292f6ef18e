#include "test_support.h"

#include <gtest/gtest.h>

using namespace tarnel;

namespace {

std::string summaryOf(std::initializer_list<std::pair<Field, const char*>> texts,
                      std::initializer_list<std::pair<bool, ArmShapes>> shapes = {}, const char* separator = ".")
{
    SearchInput input = test::inputWith(texts);
    for (const auto& [highArm, allowed] : shapes)
        input.shapes(highArm) = allowed;
    const test::TestRun run = test::runInput(input, NumberText(separator));
    return run.summary ? summaryText(*run.summary, run.list.numbers(), false) : "no run";
}

constexpr std::pair<bool, ArmShapes> highSeries{true, {ArmKind::Single, ArmKind::Series}};
constexpr std::pair<bool, ArmShapes> lowNone{false, {}};

} // namespace

TEST(RunSummaryTest, says_how_many_were_found_and_shown_or_why_there_are_none)
{
    EXPECT_EQ(summaryOf({}), "24 dividers");
    EXPECT_EQ(summaryOf({{Field::MaxResults, "3"}}), "3 of 24 dividers shown: the limit cut the rest");
    EXPECT_EQ(summaryOf({{Field::Tol, "1"}, {Field::Rmin, "18"}, {Field::Rmax, "18"}, {Field::Uin, "2"}}), "1 divider");
    const auto wide = {std::pair{Field::Tol, "100"}, {Field::Rmax, "9100000"}, {Field::RsumMax, "9100000"},
                       {Field::MaxResults, "1"}};
    EXPECT_EQ(summaryOf(wide, {highSeries}), "1 of 1,186,274 dividers shown: the limit cut the rest");
    EXPECT_EQ(summaryOf(wide, {highSeries}, ","), "1 of 1.186.274 dividers shown: the limit cut the rest");
    EXPECT_EQ(summaryOf({{Field::Rmin, "50"}, {Field::Rmax, "40"}}), "No divider: Rmin 50 k is above Rmax 40 k; with Rmin 0.001 there are 16");
    EXPECT_EQ(summaryOf({{Field::RsumMin, "60"}, {Field::RsumMax, "50"}}), "No divider: RsumMin 60 k is above RsumMax 50 k; with RsumMin 0.001 there are 17");
    EXPECT_EQ(summaryOf({}, {lowNone}), "No divider: no shape is ticked for the low arm");
    EXPECT_EQ(summaryOf({{Field::Uin, "1"}, {Field::Uout, "2"}}),
              "No divider: Uout is not below Uin, which 1 + H/L cannot give");
    EXPECT_EQ(summaryOf({{Field::Uin, "3.14159"}, {Field::Tol, "0"}}),
              "No divider: every ratio lies outside the window; closest: 12 / 5.6 k, d +0.04 %; with Tol 0.05 there is 1");
    EXPECT_EQ(summaryOf({{Field::Rmin, "2"}, {Field::OutputImpedanceMax, "1"}}),
              "No divider: every output impedance is above Rout max 1 k; without Rout max there are 17");
    EXPECT_EQ(summaryOf({{Field::Uin, "50"}, {Field::Uout, "10"}, {Field::PowerMax, "0.5"}}),
              "No divider: every divider dissipates more than P max 0.5 mW in a resistor; with Rmax 9100000 (100 k by default) and RsumMax 9100000 (100 k by default) there are 101");
    EXPECT_EQ(summaryOf({{Field::OutMin, "1"}, {Field::OutMax, "1.02"}}), "4 dividers; the output 1 to 1.02 V stands for Tol");
    EXPECT_EQ(summaryOf({{Field::OutMin, "2"}, {Field::OutMax, "1"}}),
              "No divider: Out min 2 V is above Out max 1 V; without Out min there are 320; the output 2 to 1 V stands for Tol");
    EXPECT_EQ(summaryOf({{Field::CurrentMax, "0.05"}}), "No divider: no total meets RsumMin, RsumMax, I min and I max at Uin 10 V; with Rmax 9100000 (100 k by default) and RsumMax 9100000 (100 k by default) there are 112");
    // A search too large to look for the closest blames H || L only where no divider meets it.
    const auto everyShapeNone = {std::pair{Field::Tol, "0"}, {Field::Uin, "3.14159"}, {Field::Rmax, "9100000"},
                                 {Field::RsumMax, "9100000"}, {Field::OutputImpedanceMax, "1000"}};
    EXPECT_EQ(summaryOf(everyShapeNone, {{true, ArmShapes::every()}, {false, ArmShapes::every()}}),
              "No divider meets the bounds");
    EXPECT_EQ(summaryOf({{Field::Uin, "3.14159"}, {Field::Tol, "0"}, {Field::LowArmMin, "20"}, {Field::LowArmMax, "30"}}),
              "No divider: every ratio lies outside the window; closest: 47 / 22 k, d -0.17 %; with Tol 0.17 there is 1");
    EXPECT_EQ(summaryOf({{Field::HighArmMin, "101"}}), "No divider: Rmax 100 k, the default, leaves no high arm at or above 101 k; with Rmax 9100000 (100 k by default) and RsumMax 9100000 (100 k by default) there are 117");
    EXPECT_EQ(summaryOf({{Field::LowArmMin, "100"}}), "No divider: the least total, 101 k, is above RsumMax 100 k, the default; with Rmax 9100000 (100 k by default) and RsumMax 9100000 (100 k by default) there are 95");
    SearchInput guaranteed = test::inputWith({{Field::PartTol, "3"}, {Field::SourceTol, "2"}, {Field::Tol, "5"}});
    guaranteed.choice(ChoiceId::Criterion) = static_cast<std::size_t>(Criterion::WorstCase);
    const test::TestRun none = test::runInput(guaranteed);
    EXPECT_EQ(summaryText(*none.summary, none.list.numbers(), false),
              "No divider: the tolerances of the parts and the source alone can put the output up to 7.39 % off, more than Tol");
    SearchInput listed;
    listed.specialSlots[0] = {CheckState::Checked, "2.5"};
    const test::TestRun run = test::runInput(listed);
    EXPECT_EQ(summaryText(*run.summary, run.list.numbers(), false), "No divider: no listed value lies in 1 to 100 k; 2.5 is no E24 value");
}

TEST(RunSummaryTest, the_nearest_change_named_gives_as_many_dividers_as_it_says)
{
    // Widened in the inputs as typed, the current folded in afresh, over tables of a new range or the run's.
    const std::initializer_list<std::pair<Field, const char*>> inputs[] = {
        {{Field::Uin, "5"}, {Field::Uout, "1.25"}, {Field::RsumMax, "2"}},
        {{Field::Uin, "3.14159"}, {Field::Tol, "0"}},
        {{Field::CurrentMax, "0.05"}},
        {{Field::Uin, "50"}, {Field::Uout, "10"}, {Field::PowerMax, "0.5"}},
        {{Field::HighArmMin, "101"}},
    };
    for (const auto& texts : inputs) {
        const test::TestRun none = test::runInput(test::inputWith(texts));
        ASSERT_TRUE(none.summary && none.summary->noneBecause.change);
        const BoundChange& change = *none.summary->noneBecause.change;
        ResultList list;
        EXPECT_EQ(searchDividers(change.appliedTo(none.reading.params), list).found, change.count);
    }
}

TEST(RunSummaryTest, the_spread_the_tolerances_allow_typed_back_as_tol_lets_dividers_through)
{
    const std::string says = "the tolerances of the parts and the source alone can put the output up to ";
    for (const DividerUse use : {DividerUse::Divider, DividerUse::Feedback})
        for (const char* part : {"0.1", "0.5", "1", "2", "3", "7", "12.5", "25"})
            for (const char* source : {"0", "0.3", "1", "2", "5"}) {
                SearchInput input = test::inputWith({{Field::Uin, "1.8"}, {Field::Uout, "0.8"}, {Field::Tol, "0"},
                                                     {Field::PartTol, part}, {Field::SourceTol, source}});
                input.choice(ChoiceId::Criterion) = static_cast<std::size_t>(Criterion::WorstCase);
                input.choice(ChoiceId::Use) = static_cast<std::size_t>(use);
                const InputReading none = readSearchParams(input, NumberText());
                const std::string why = whyNoneText(summarizeRun(none.params, 0, 0, reasonInInputs(none.params)),
                                                    NumberText(), false);
                SCOPED_TRACE(why);
                ASSERT_TRUE(why.starts_with(says));
                const std::string figure = why.substr(says.size(), why.find(' ', says.size()) - says.size());
                input.text(Field::Tol) = figure;
                EXPECT_NE(reasonInInputs(readSearchParams(input, NumberText()).params).kind,
                          NoneReason::Kind::NoGuarantee);
                // A hundredth less is too little: the figure is rounded up by no more than that.
                input.text(Field::Tol) = NumberText().plain(std::stod(figure) - 0.01);
                EXPECT_EQ(reasonInInputs(readSearchParams(input, NumberText()).params).kind,
                          NoneReason::Kind::NoGuarantee);
            }
}
