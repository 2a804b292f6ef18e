#pragma once

#include "search_params.h"

#include <array>
#include <cstddef>

namespace tarnel {

enum class ArmKind { Single, Series, Parallel };

[[nodiscard]] constexpr std::size_t resistorsIn(ArmKind kind) { return kind == ArmKind::Single ? 1 : 2; }

struct ArmCombination {
    std::size_t number; // also the index of its line format
    ArmKind high;
    ArmKind low;
    bool SearchParams::*highFlag;
    bool SearchParams::*lowFlag;
};

// The nine combinations in the order a search runs them.
inline constexpr std::array<ArmCombination, 9> armCombinations{{
    {0, ArmKind::Single, ArmKind::Single, &SearchParams::useHi1R, &SearchParams::useLo1R},
    {1, ArmKind::Series, ArmKind::Single, &SearchParams::useHi2Rser, &SearchParams::useLo1R},
    {2, ArmKind::Parallel, ArmKind::Single, &SearchParams::useHi2Rpar, &SearchParams::useLo1R},
    {3, ArmKind::Single, ArmKind::Series, &SearchParams::useHi1R, &SearchParams::useLo2Rser},
    {4, ArmKind::Single, ArmKind::Parallel, &SearchParams::useHi1R, &SearchParams::useLo2Rpar},
    {5, ArmKind::Series, ArmKind::Series, &SearchParams::useHi2Rser, &SearchParams::useLo2Rser},
    {6, ArmKind::Parallel, ArmKind::Parallel, &SearchParams::useHi2Rpar, &SearchParams::useLo2Rpar},
    {7, ArmKind::Series, ArmKind::Parallel, &SearchParams::useHi2Rser, &SearchParams::useLo2Rpar},
    {8, ArmKind::Parallel, ArmKind::Series, &SearchParams::useHi2Rpar, &SearchParams::useLo2Rser},
}};

[[nodiscard]] inline bool isEnabled(const ArmCombination& combination, const SearchParams& params)
{
    return params.*combination.highFlag && params.*combination.lowFlag;
}

// Two resistors in parallel as the reciprocal of the summed reciprocals; the
// product-over-sum form can differ in the last bit, which decides candidates
// lying exactly on a bound.
[[nodiscard]] inline double parallel(double a, double b) { return 1.0 / (1.0 / a + 1.0 / b); }

// second is not read for a Single arm.
[[nodiscard]] inline double armResistance(ArmKind kind, double first, double second)
{
    switch (kind) {
    case ArmKind::Series:
        return first + second;
    case ArmKind::Parallel:
        return parallel(first, second);
    case ArmKind::Single:
        break;
    }
    return first;
}

[[nodiscard]] inline double dividerRatio(double ratioOffset, double high, double low) { return ratioOffset + high / low; }

// The total as the search brackets it: a Series low arm under a Single or
// Series high arm is added to the running total one resistor at a time.
[[nodiscard]] inline double totalResistance(const ArmCombination& combination, double high, double low1, double low2,
                                            double low)
{
    if (combination.low == ArmKind::Series && combination.high != ArmKind::Parallel)
        return (high + low1) + low2;
    return high + low;
}

[[nodiscard]] inline double deviationPercent(double ratio, double target) { return ((ratio - target) / target) * 100.0; }

struct DividerFigures {
    double high = 0.0;
    double low = 0.0;
    double ratio = 0.0;
    double total = 0.0;
};

// The figures of one candidate; resistors in line order, high arm first.
[[nodiscard]] DividerFigures dividerFigures(const ArmCombination& combination, double ratioOffset,
                                            const std::array<double, 4>& resistors);

} // namespace tarnel
