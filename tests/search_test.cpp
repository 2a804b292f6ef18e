#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <utility>

using namespace tarnel;
using test::inputWith;
using test::runInput;
using Lines = std::vector<std::string>;

TEST(SearchTest, the_defaults_the_limit_and_the_total_bounds_give_the_known_lines)
{
    const Lines lines = runInput(SearchInput()).lines();
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "9.10   /  1.00   d 1.00");
    EXPECT_EQ(lines[1], "10.00   /  1.10   d 0.91");
    EXPECT_EQ(lines[7], "18.00   /  2.00   d 0.00");
    for (const auto& [field, text, count] : {std::tuple{Field::MaxResults, "1", 1u}, {Field::MaxResults, "2.9", 2u},
                                             {Field::MaxResults, "23", 23u}, {Field::MaxResults, "25", 24u},
                                             {Field::RsumMax, "20", 8u}, // 18 + 2 is exactly 20
                                             {Field::RsumMax, "19.9", 7u}})
        EXPECT_EQ(runInput(inputWith({{field, text}})).lines(), Lines(lines.begin(), lines.begin() + count)) << text;
}

TEST(SearchTest, bounds_hold_in_decimal)
{
    // 3.3 / 1.1 is 2.9999999999999996 in binary, below the window of exactly 3.
    const Lines exact = runInput(inputWith({{Field::Uin, "4"}, {Field::Tol, "0"}, {Field::Rmax, "9100000"},
                                            {Field::RsumMin, "1"}, {Field::RsumMax, "9100000"}}))
                            .lines();
    EXPECT_EQ(std::count(exact.begin(), exact.end(), "3.30   /  1.10   d 0.00"), 1);
    // 3.3 + 5.1 + 1.6 is 9.999999999999998 in binary, below RsumMin 10.
    SearchInput series = inputWith({{Field::Uin, "6.25"}, {Field::Tol, "0.1"}});
    series.shapes(true).allow(ArmKind::Series);
    const Lines total = runInput(series).lines();
    EXPECT_EQ(std::count(total.begin(), total.end(), "3.30 + 5.10   /  1.60   d 0.00"), 1);
    // The standard 220 is 220.00000000000003, above an Rmax of 220.
    EXPECT_EQ(runInput(inputWith({{Field::Uin, "2"}, {Field::Tol, "0"}, {Field::Rmin, "220"}, {Field::Rmax, "220"},
                                  {Field::RsumMax, "1000"}}))
                  .lines(),
              Lines{"220.00   /  220.00   d 0.00"});
}

TEST(SearchTest, voltages_below_one_volt_give_the_lines_of_the_same_ratio_above)
{
    // 18 / 6 and 1.8 / 0.6 are both exactly 3 in binary.
    std::vector<Lines> runs;
    for (const auto& [uin, uout] : {std::pair{"18", "6"}, {"1.8", "0.6"}}) {
        SearchInput input = inputWith({{Field::Uin, uin}, {Field::Uout, uout}});
        input.shapes(true).allow(ArmKind::Parallel);
        runs.push_back(runInput(input).lines());
    }
    EXPECT_EQ(runs[1], runs[0]);
    EXPECT_GT(runs[0].size(), 10u);
}

TEST(SearchTest, a_low_series_pair_loops_its_second_value_outside)
{
    SearchInput input = inputWith({{Field::MaxResults, "4"}});
    input.shapes(false).allow(ArmKind::Single, false);
    input.shapes(false).allow(ArmKind::Series);
    EXPECT_EQ(runInput(input).lines(), (Lines{"18.00   /  1.00 + 1.00   d 0.00", "18.00   /  1.00 + 1.10   d -4.29",
                                              "20.00   /  1.10 + 1.10   d 0.91", "20.00   /  1.00 + 1.20   d 0.91"}));
}

TEST(SearchTest, no_resistor_lies_above_rmax_but_the_floor_of_rmin_is_tried)
{
    EXPECT_EQ(runInput(inputWith({{Field::Rmin, "100"}, {Field::Rmax, "10"}, {Field::Tol, "100"}, {Field::RsumMin, "1"}}))
                  .lines(),
              Lines{});
    // The floor of 1.55 is 1.5.
    EXPECT_EQ(runInput(inputWith({{Field::Rmin, "1.55"}, {Field::Rmax, "1.5"}, {Field::Tol, "0"}, {Field::Uin, "2"},
                                  {Field::RsumMin, "1"}}))
                  .lines(),
              Lines{"1.50   /  1.50   d 0.00"});
}

TEST(SearchTest, a_slot_in_no_known_state_adds_its_line_and_stops_the_run)
{
    SearchInput input;
    input.specialSlots[1].state = CheckState::Unknown;
    input.specialSlots[3].state = CheckState::Unknown;
    const InputReading reading = readSearchParams(input, NumberText());
    EXPECT_FALSE(reading.valid);
    EXPECT_EQ(reading.listMessages, (Lines{badCheckStateMessage, badCheckStateMessage}));
}

TEST(SearchTest, lines_found_before_the_list_refuses_one_stay)
{
    ResultList list;
    list.setCapacity(5);
    EXPECT_THROW(searchDividers(readSearchParams(SearchInput(), list.numbers()).params, list), std::length_error);
    EXPECT_EQ(list.size(), 5u);
}

// Each search owns what it works with: two at once give what each gives alone.
TEST(SearchTest, two_searches_on_two_threads_give_what_each_gives_alone)
{
    SearchInput best = inputWith({{Field::Uin, "12"}, {Field::Uout, "3.3"}, {Field::Tol, "1"}});
    SearchInput found = inputWith({{Field::Tol, "100"}, {Field::Rmax, "9100000"}, {Field::RsumMax, "9100000"},
                                   {Field::MaxResults, "30000"}});
    best.highShapes = best.lowShapes = ArmShapes::every();
    best.choice(ChoiceId::Order) = 1;
    found.highShapes = found.lowShapes = ArmShapes::every();
    found.choice(ChoiceId::Series) = 5;
    const Lines bestAlone = runInput(best).lines();
    const Lines foundAlone = runInput(found).lines();
    Lines bestTogether;
    Lines foundTogether;
    {
        const std::jthread other([&] { bestTogether = runInput(best).lines(); });
        foundTogether = runInput(found).lines();
    }
    EXPECT_EQ(bestTogether, bestAlone);
    EXPECT_EQ(foundTogether, foundAlone);
    EXPECT_EQ(foundAlone.size(), 30000u);
}

TEST(SearchTest, a_stop_ends_the_search_with_an_empty_list_and_says_so)
{
    SearchInput input = inputWith({{Field::Tol, "100"}, {Field::Rmax, "9100000"}, {Field::RsumMax, "9100000"},
                                   {Field::MaxResults, "9100000"}});
    input.highShapes = input.lowShapes = ArmShapes::every();
    const SearchParams params = readSearchParams(input, NumberText()).params;
    for (const ListOrder order : {ListOrder::AsFound, ListOrder::BestFirst}) {
        SearchParams p = params;
        p.order = order;
        std::stop_source source;
        std::uint64_t reported = 0;
        ResultList list;
        // Stopped as soon as the search tells of its first dividers.
        const RunSummary summary = searchDividers(p, list, {source.get_token(), [&](std::uint64_t found) {
                                                              reported = found;
                                                              source.request_stop();
                                                          }});
        EXPECT_GT(reported, 0u);
        EXPECT_TRUE(summary.stopped);
        EXPECT_EQ(summaryText(summary, list.numbers(), false), "Stopped");
        EXPECT_EQ(list.size(), 0u);
    }
}

// Exact fractions of whole ohms; the products stay below 2^127 for values up to 100 k.
__extension__ using Exact = __int128;
struct Fraction {
    Exact num;
    Exact den;
};
Fraction reduced(Exact num, Exact den)
{
    Exact a = num < 0 ? -num : num;
    Exact b = den;
    while (b != 0)
        a = std::exchange(b, a % b);
    return {num / a, den / a};
}
Fraction plus(Fraction x, Fraction y) { return reduced(x.num * y.den + y.num * x.den, x.den * y.den); }
Fraction over(Fraction x, Fraction y) { return reduced(x.num * y.den, x.den * y.num); }

TEST(SearchTest, best_first_ranks_exact_ties_by_fewer_resistors_in_exact_fractions)
{
    struct Case {
        const char* uin;
        const char* uout;
        Fraction target;
        const char* series;
        ArmShapes shapes;
        const char* first;
    };
    for (const Case& c : {Case{"3.3", "1.8", {33, 18}, "E24", ArmShapes::every(), "10.00   /  12.00   d 0.00"},
                          Case{"12", "3.3", {120, 33}, "E192", ArmShapes::every(), "34.80   /  13.20   d 0.00"},
                          Case{"5", "1.234", {5000, 1234}, "E96", {ArmKind::Single, ArmKind::Series}, nullptr}}) {
        SearchInput input = inputWith({{Field::Uin, c.uin}, {Field::Uout, c.uout}, {Field::MaxResults, "3000"}});
        input.highShapes = input.lowShapes = c.shapes;
        input.choice(ChoiceId::Series) = *seriesIndex(c.series);
        input.choice(ChoiceId::Order) = static_cast<std::size_t>(ListOrder::BestFirst);
        const test::TestRun run = runInput(input);
        ASSERT_EQ(run.list.size(), 3000u) << c.series;
        if (c.first != nullptr) {
            EXPECT_EQ(run.list.line(0), c.first);
        }
        const ValueSet& values = *run.reading.params.values;
        const auto exactOf = [&](std::size_t i) {
            const Divider d = run.list.divider(i);
            const ArmCombination& arms = armCombinations[d.combination];
            std::array<Fraction, 4> r{};
            for (std::size_t k = 0; k < 4; ++k)
                r[k] = {static_cast<Exact>(std::llround(values[d.values[k]] * 1000)), 1};
            const auto arm = [](ArmKind kind, Fraction a, Fraction b) {
                return kind == ArmKind::Single ? a : kind == ArmKind::Series ? plus(a, b) : over(Fraction{1, 1}, plus(over({1, 1}, a), over({1, 1}, b)));
            };
            Fraction deviation = plus(plus({1, 1}, over(arm(arms.high, r[0], r[1]), arm(arms.low, r[2], r[3]))),
                                      {-c.target.num, c.target.den});
            deviation.num = deviation.num < 0 ? -deviation.num : deviation.num;
            std::vector<ValueIndex> used{d.values[0], d.values[2]};
            if (arms.high != ArmKind::Single)
                used.push_back(d.values[1]);
            if (arms.low != ArmKind::Single)
                used.push_back(d.values[3]);
            const std::size_t resistors = used.size();
            std::sort(used.begin(), used.end());
            const auto distinct = static_cast<std::size_t>(std::unique(used.begin(), used.end()) - used.begin());
            return std::tuple(deviation, resistors, distinct);
        };
        const long double target = static_cast<long double>(c.target.num) / static_cast<long double>(c.target.den);
        for (std::size_t i = 0; i + 1 < run.list.size(); ++i) {
            const auto [a, aResistors, aDistinct] = exactOf(i);
            const auto [b, bResistors, bDistinct] = exactOf(i + 1);
            const Exact ahead = a.num * b.den - b.num * a.den;
            // A larger deviation may go first only as a tie within a billionth of the target.
            if (ahead == 0) {
                EXPECT_LE(std::pair(aResistors, aDistinct), std::pair(bResistors, bDistinct)) << c.series << " line " << i;
            } else {
                EXPECT_LE(static_cast<long double>(ahead) / static_cast<long double>(a.den * b.den), 1e-9L * target)
                    << c.series << " line " << i;
            }
        }
    }
}
