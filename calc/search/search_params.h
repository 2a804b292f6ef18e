#pragma once

#include "search/arm_shapes.h"
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

// How lines and details write a resistor: in kilo-ohms, or as the part is
// marked (4k7, 240R). Files keep kilo-ohms, which scripts read as numbers.
enum class ValueNotation { KiloOhms, Marked };

inline constexpr double noUpperBound = std::numeric_limits<double>::infinity();

// The least and greatest whole resistance of one arm, inclusive.
struct ArmBounds {
    double least = 0.0;
    double greatest = noUpperBound;
};

// One search, every input converted: what the search, the summary and a
// divider's figures read. Made, it holds the tool's default search (the
// window's fields as they start); set any field in any order, since what
// follows from them (the target ratio and its window) is worked out where
// it is read. readSearchParams makes one from the texts a user typed.
struct SearchParams {
    SearchParams();

    double uin = 0.0;
    double uout = 0.0;
    double tolerance = 0.0; // a fraction: 5 % is 0.05
    double rMin = 0.0;
    double rMax = 0.0;
    double rSumMin = 0.0;
    double rSumMax = 0.0;
    double ratioOffset = 1.0; // 1.0 counts 1 + H/L, 0.0 counts H/L
    std::int32_t maxResults = 0;
    ArmShapes highShapes; // the shapes the high arm may take
    ArmShapes lowShapes;
    ListOrder order = ListOrder::AsFound;
    double partTolerance = 0.0;   // a fraction, for the band each listed divider's output may take
    double sourceTolerance = 0.0; // a fraction: of Uin, or of the reference in feedback use
    Criterion criterion = Criterion::Nominal;
    DividerUse use = DividerUse::Divider;
    ValueNotation notation = ValueNotation::KiloOhms;
    ArmBounds highArm;
    ArmBounds lowArm;
    double outputImpedanceMax = noUpperBound; // H || L, kilo-ohms
    double resistorPowerMax = noUpperBound;   // in any one resistor, watts
    double currentMin = 0.0;                  // through the chain H + L, amperes
    double currentMax = noUpperBound;
    double outMin = 0.0;                      // the output's window in volts: none below, none above
    double outMax = noUpperBound;
    double highFixed = 0.0;                   // the one resistor the arm is, kilo-ohms; 0 searches it
    double lowFixed = 0.0;
    double tapLoad = noUpperBound;            // kilo-ohms from the tap to ground, in divider use; none open
    double pinCurrent = 0.0;                  // amperes the regulator's pin adds to the high arm, in feedback use
    std::shared_ptr<const ValueSet> values;   // the resistor values tried
    SpecialValueTable specialValues;

    // The target ratio uin / uout.
    [[nodiscard]] double ratio() const { return uin / uout; }
    // Whether the output's window stands for the one Tol makes.
    [[nodiscard]] bool outputWindowed() const { return outMin > 0.0 || outMax != noUpperBound; }
    // The window of the ratios kept: by the output's window where one is
    // given, else by the tolerance, narrowed under the worst-case criterion
    // to those whose every extreme stays within it.
    [[nodiscard]] double ratioLow() const;
    [[nodiscard]] double ratioHigh() const;
    // What stands across the low arm besides it: 1/kilo-ohms of the load in
    // divider use, or the pin's current over the reference in feedback use,
    // where Uin = Uout * (1 + H/L) + I * H. None is 0.
    [[nodiscard]] double tapConductance() const;
};

// Throws RequestError, with the command line's words, unless every field
// lies in the range its input takes (a bound left open as it is made counts
// as in range): so no caller gets a hang or quiet nonsense from a value no
// typist could give.
void checkSearchParams(const SearchParams& params);

// The same search with each fixed arm one resistor, and its value among the
// run's values, where a searched arm passes it by unless it was there.
// Applied again, it changes nothing.
[[nodiscard]] SearchParams withFixedArms(SearchParams params);

// The same search with the bounds on the chain's current folded into those
// it sweeps by, so that they cost nothing: I = Uin / (H + L) bounds the
// total in divider use, and I = Uout / L the low arm in feedback use, where
// the pin's current flows through the high arm alone. A load's share of the
// current is no bound on the total: then the search bounds it itself.
[[nodiscard]] SearchParams withCurrentFolded(SearchParams params);

// Whether withCurrentFolded folds the current's bounds; where it does not,
// the search tests them divider by divider.
[[nodiscard]] bool foldsCurrent(const SearchParams& params);

} // namespace tarnel
