#pragma once

#include "values/special_values.h"
#include "values/value_set.h"

#include <cstdint>
#include <limits>
#include <memory>

namespace tarnel {

inline constexpr double minFieldValue = 1.0;

// Which dividers a run lists, and in which order.
enum class ListOrder { AsFound, BestFirst };

// Which dividers a run keeps: those whose nominal ratio lies within the
// tolerance, or those whose output stays within it with every resistor off
// by the part tolerance and the source off by its own.
enum class Criterion { Nominal, WorstCase };

// What the divider does: its output is taken from Uin, or it sets the
// output Uin of a regulator whose reference is Uout (Uin = Uout * ratio).
enum class DividerUse { Divider, Feedback };

inline constexpr double noUpperBound = std::numeric_limits<double>::infinity();

// The least and greatest whole resistance of one arm, inclusive.
struct ArmBounds {
    double least = 0.0;
    double greatest = noUpperBound;
};

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
    double partTolerance = 0.0;   // a fraction, for the band each listed divider's output may take
    double sourceTolerance = 0.0; // a fraction: of Uin, or of the reference in feedback use
    Criterion criterion = Criterion::Nominal;
    DividerUse use = DividerUse::Divider;
    ArmBounds highArm;
    ArmBounds lowArm;
    double outputImpedanceMax = noUpperBound; // H || L, kilo-ohms
    std::shared_ptr<const ValueSet> values = e24Values(); // the resistor values tried
    SpecialValueTable specialValues;
};

// The target ratio uin / uout and the window of the ratios kept: by the
// tolerance, narrowed under the worst-case criterion to those whose every
// extreme stays within it.
void deriveRatioWindow(SearchParams& params);

} // namespace tarnel
