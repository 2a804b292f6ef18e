#pragma once

#include "request/divider_details.h"
#include "search/result_list.h"
#include "search/search_params.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace tarnel {

// What the front weighs of a result line: the size of its deviation in
// percent, as shownDeviation gives it, and its total resistance in kilo-ohms,
// the larger the less current it draws at Uin; both to the twelve digits the
// csv writes, so that dividers a reader sees as equal are equal here too.
struct FrontPoint {
    double deviation = 0.0;
    double total = 0.0;
    std::size_t line = 0;
};

// The point of a result line (not of a message) of a run with these parameters.
[[nodiscard]] FrontPoint frontPoint(const ResultList& list, std::size_t line, const SearchParams& params);

// The points of a run's lines unrounded, as the lines' figures give them,
// none for a message; what the run fixes worked out once.
class LineWeigher {
public:
    LineWeigher(const ResultList& list, const SearchParams& params);
    [[nodiscard]] std::optional<FrontPoint> operator()(std::size_t line) const;

private:
    const ResultList* list_;
    Circuit circuit_;
    ShownDeviation deviation_;
};

// Lines that beat others, by the least deviation of their totals' bins: a
// point any of them beats is off the front, however both are rounded.
class FrontSieve {
public:
    FrontSieve() = default;
    // Points unrounded, as LineWeigher gives them.
    explicit FrontSieve(const std::vector<FrontPoint>& points);
    // One point more, then seal() once they are all in, before mayBeOn.
    void add(const FrontPoint& p);
    void seal();
    [[nodiscard]] bool mayBeOn(const FrontPoint& p) const;

private:
    struct Least {
        double from = std::numeric_limits<double>::infinity();     // of this bin and those above
        double above = std::numeric_limits<double>::infinity();    // of the bins above
        double farAbove = std::numeric_limits<double>::infinity(); // of the bins two and more above
    };
    std::uint64_t lowBin_ = 0;
    std::vector<Least> least_; // a bin each from lowBin_
};

// A sieve of a sample of a run's lines, spread over all of them: most lines
// of a block whose own front is long lie beaten by lines of other blocks.
[[nodiscard]] FrontSieve frontSieve(const ResultList& list, const SearchParams& params);

// The front of lines taken in blocks, for a caller that weighs each line
// anyway: blockFront of each block's weighed points, then frontOfBlocks of
// what they gave together, is the front of every line, as paretoFront.
[[nodiscard]] std::vector<FrontPoint> blockFront(const std::vector<FrontPoint>& points, const FrontSieve& sieve);
[[nodiscard]] std::vector<FrontPoint> frontOfBlocks(std::vector<FrontPoint> fronts);

// The Pareto front of a run's lines: those no other line beats on both the
// size of its deviation and its current, that is, no other is as good on
// both and better on one; lines equal on both are on it or off it together.
// Ordered by current, least first (total resistance, largest first), then
// by line. Worked on every core in blocks of lines; a stop asked for ends
// it early with nothing.
[[nodiscard]] std::vector<FrontPoint> paretoFront(const ResultList& list, const SearchParams& params,
                                                  std::stop_token stop = {});

// The lines of the points, in their order, as a list of their own that the
// writers write as they write any run's.
[[nodiscard]] ResultList frontLines(const ResultList& list, const SearchParams& params,
                                    const std::vector<FrontPoint>& points);

// "12 of 15,975 dividers on the front".
[[nodiscard]] std::string frontSummaryText(std::size_t onFront, std::size_t dividers, const NumberText& numbers);

} // namespace tarnel
