#pragma once

#include "search/search_params.h"

#include <array>
#include <cstddef>
#include <vector>

namespace tarnel::test {

// A line as the literal search finds it; a one-resistor arm repeats its value.
struct ReferenceLine {
    std::size_t combination;
    std::array<double, 4> resistors; // high first, high second, low first, low second
    double deviationPercent;
    double rankedDeviation; // what best first ranks it by
};

// The divider search written out literally: nested loops over the run's
// values, one per resistor, every candidate computed and tested, in the order found, up
// to stopAfter lines. Slow, and the yardstick the real search must match line
// for line.
std::vector<ReferenceLine> referenceSearch(const SearchParams& params, std::size_t stopAfter);

} // namespace tarnel::test
