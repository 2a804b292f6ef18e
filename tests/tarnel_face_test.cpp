#include "tarnel/tarnel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace tarnel {
namespace {

TEST(TarnelFaceTest, a_request_as_made_is_the_default_search)
{
    const SearchResult result = search(SearchParams{});
    EXPECT_EQ(result.size(), 24u);
    EXPECT_EQ(result.list.line(0), "9.10   /  1.00   d 1.00");
    EXPECT_EQ(result.summaryText(), "24 dividers");
}

// A fixed arm's value off the series is one of the run's values: details name it, not a series neighbour.
TEST(TarnelFaceTest, a_fixed_arm_off_the_series_is_the_part_the_details_name)
{
    SearchParams r;
    r.values = seriesValues("E96");
    r.use = DividerUse::Feedback;
    r.uin = 5.0;
    r.uout = 1.25;
    r.rMin = r.rSumMin = 0.1;
    r.lowFixed = 0.24;
    const SearchResult result = search(r);
    ASSERT_GT(result.size(), 0u);
    EXPECT_EQ(result.details(0).resistors[2], 0.24);
}

TEST(TarnelFaceTest, fields_set_in_any_order_give_the_same_search)
{
    const auto request = [](bool criterionFirst) {
        SearchParams r;
        const auto judgeWorstCase = [&] { r.criterion = Criterion::WorstCase; };
        if (criterionFirst)
            judgeWorstCase();
        r.values = seriesValues("E96");
        r.uin = 12.0;
        r.uout = 3.3;
        r.tolerance = 0.01;
        r.partTolerance = 0.001;
        r.highShapes = r.lowShapes = ArmShapes::every();
        if (!criterionFirst)
            judgeWorstCase();
        return r;
    };
    const SearchResult first = search(request(true));
    Searcher searcher;
    const SearchResult last = searcher.search(request(false));
    EXPECT_EQ(first.summary.found, last.summary.found);
    SearchParams nominal = request(true);
    nominal.criterion = Criterion::Nominal;
    EXPECT_LT(last.summary.found, searcher.search(nominal).summary.found);
}

TEST(TarnelFaceTest, series_are_found_by_name_in_any_case_and_an_unknown_one_is_named)
{
    EXPECT_EQ(seriesValues("e96"), seriesValues("E96"));
    EXPECT_EQ(seriesValues("e96")->name(), "E96");
    try {
        (void)seriesValues("E97");
        FAIL() << "E97 was taken";
    } catch (const RequestError& e) {
        EXPECT_STREQ(e.what(), "\"E97\" is no series; the series are E3, E6, E12, E24, E48, E96, E192");
    }
}

TEST(TarnelFaceTest, a_value_no_typist_could_give_is_refused_with_the_command_lines_words)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::pair<std::function<void(SearchParams&)>, std::string>> cases{
        {[](SearchParams& r) { r.tolerance = nan; }, "--tol \"nan\" is not a number in the range 0 to 100"},
        {[](SearchParams& r) { r.uout = 0.0; }, "--uout \"0\" is out of range 0.001 to 9100000"},
        {[](SearchParams& r) { r.uin = noUpperBound; }, "--uin \"inf\" is not a number in the range 0.001 to 9100000"},
        {[](SearchParams& r) { r.partTolerance = 1.0; }, "--part-tolerance \"100\" is out of range 0 to 50"},
        {[](SearchParams& r) { r.maxResults = 0; }, "--max-results \"0\" is out of range 1 to 9100000"},
        {[](SearchParams& r) { r.lowArm.least = -1.0; }, "--lo-min \"-1\" is out of range 0.001 to 9100000"},
        {[](SearchParams& r) { r.ratioOffset = 0.5; }, "ratioOffset is 1 (1 + H/L counted) or 0 (H/L), not 0.5"},
        {[](SearchParams& r) { r.criterion = static_cast<Criterion>(2); }, "--criterion has no choice 2"},
        {[](SearchParams& r) { r.values = nullptr; }, "no resistor values to try: choose a series or read a stock file"},
        {[](SearchParams& r) { r.specialValues.excludedValues[1] = 0.0; },
         "--only/--exclude \"0\" is out of range 0.001 to 9100000"},
    };
    for (const auto& [spoil, message] : cases) {
        SearchParams request;
        spoil(request);
        try {
            (void)search(request);
            ADD_FAILURE() << "searched: " << message;
        } catch (const RequestError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
}

} // namespace
} // namespace tarnel
