#pragma once

#include "values/special_values.h"
#include "values/value_set.h"

#include <cstdint>
#include <memory>

namespace tarnel {

inline constexpr double minFieldValue = 1.0;

// Which dividers a run lists, and in which order.
enum class ListOrder { AsFound, BestFirst };

// One search, every input converted: what the search, the summary and a
// divider's figures read. readSearchParams makes it from the texts a user
// typed; a program can fill it directly, then call deriveRatioWindow.
struct SearchParams {
    double uin = 0.0;
    double uout = 0.0;
    double tolerance = 0.0; // a fraction: 5 % is 0.05
    double rMin = 0.0;
    double rMax = 0.0;
    double rSumMin = 0.0;
    double rSumMax = 0.0;
    double ratioOffset = 1.0; // 1.0 counts 1 + H/L, 0.0 counts H/L
    double ratio = 0.0;
    double ratioLow = 0.0;
    double ratioHigh = 0.0;
    std::int32_t maxResults = 0;
    bool useHi1R = false;
    bool useHi2Rser = false;
    bool useHi2Rpar = false;
    bool useLo1R = false;
    bool useLo2Rser = false;
    bool useLo2Rpar = false;
    ListOrder order = ListOrder::AsFound;
    double partTolerance = 0.0; // a fraction, for the band each listed divider's output may take
    std::shared_ptr<const ValueSet> values = e24Values(); // the resistor values tried
    SpecialValueTable specialValues;
};

// The target ratio uin / uout and its window by the tolerance.
void deriveRatioWindow(SearchParams& params);

} // namespace tarnel
