#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

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
        EXPECT_EQ(summaryText(summary, list.numbers()), "Stopped");
        EXPECT_EQ(list.size(), 0u);
    }
}
