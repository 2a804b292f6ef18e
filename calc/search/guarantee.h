#pragma once

// What a divider guarantees. With every resistor off by the part tolerance
// and the source by its own, a divider's output strays; each such output is
// told as the ratio that would give it nominally (Uin over the output in
// divider use, the output over the reference in feedback use), so that the
// tolerance bounds these ratios as it bounds the nominal one. The output
// falls as the high arm grows and rises with the low arm, and an arm of two
// resistors of one tolerance scales as they do, so the extremes lie at the
// two corners where the arms are off the opposite ways. A load on the tap,
// or a pin's current, keeps those corners but makes the extremes more than
// a function of the counted ratio: then the window bounds the extremes of
// each divider's own arms.

#include "search/circuit.h"
#include "search/divider.h"
#include "search/search_params.h"

#include <algorithm>

namespace tarnel {

// Two ratios, low not above high unless nothing lies between them.
struct RatioSpan {
    double low = 0.0;
    double high = 0.0;
};

// Whether the run's dividers are judged at their extremes: the worst-case
// criterion with a tolerance to spread them.
[[nodiscard]] bool judgesExtremes(const SearchParams& params);

// Whether the run's windows bound the implied ratios themselves rather than
// the counted ratios that stand for them: extremes judged on a loaded tap.
[[nodiscard]] bool windowsOnExtremes(const SearchParams& params);

// The extremes of the ratio implied by the output of a divider of these arms.
[[nodiscard]] RatioSpan impliedRatios(double high, double low, const SearchParams& params);

// The same where nothing loads the tap, from the counted ratio alone.
[[nodiscard]] RatioSpan impliedRatiosOfCounted(double ratio, const SearchParams& params);

// The corners at which a loaded divider's extremes lie: its arms and the
// source scaled so. The output still falls as the high arm grows from Uin
// and rises with it from a reference, for every low arm a search keeps
// (lowArmsRising).
struct ExtremeCorners {
    struct Corner {
        double high;
        double low;
        double source;
    };
    Corner low;
    Corner high;
};
[[nodiscard]] ExtremeCorners extremeCorners(const SearchParams& params);

// A loaded divider's extremes, for the sweeps that work the corners out once.
[[nodiscard]] inline RatioSpan loadedImpliedRatios(const Circuit& circuit, const ExtremeCorners& corners, double high,
                                                   double low)
{
    return {circuit.impliedRatio(high * corners.low.high, low * corners.low.low, corners.low.source),
            circuit.impliedRatio(high * corners.high.high, low * corners.high.low, corners.high.source)};
}

// The low arms below this resistance set an output that rises with the high
// arm at every corner. A pin that draws current (a negative one) leaves
// none at or above the one across which the reference, at its low corner,
// drives no more than the pin draws: the output would not rise above it.
[[nodiscard]] double lowArmsRising(const SearchParams& params);

// The counted ratios whose implied ratios all lie within deviation (a
// fraction) of the target: the nominal window unless extremes are judged,
// and the implied ratios' own where windows lie on them.
[[nodiscard]] RatioSpan ratioWindow(double deviation, const SearchParams& params);

// The counted ratios a run keeps: those whose implied ratios all lie within
// the output's window where one is given, else within the tolerance. An
// open end of the output's window is closed beyond any ratio of the values.
[[nodiscard]] RatioSpan keptWindow(const SearchParams& params);

// The deviation in percent a divider of these arms is ranked by: its own,
// signed, or, where extremes are judged, the largest of theirs.
[[nodiscard]] double rankedDeviation(double high, double low, const SearchParams& params);

// The least deviation in percent any divider can be ranked by: none unless
// extremes are judged, else where their window closes; on a loaded tap,
// where the narrowest window any load or pin's current could leave closes.
[[nodiscard]] double leastRankedDeviation(const SearchParams& params);

// The largest size of deviation in percent any divider kept can be ranked by.
[[nodiscard]] double largestKeptDeviation(const SearchParams& params);

// The largest deviation in percent of the implied ratios from the target,
// whichever the criterion: what the divider guarantees.
[[nodiscard]] double worstDeviation(double high, double low, const SearchParams& params);

// The same of extremes already found.
[[nodiscard]] inline double worstDeviationOf(RatioSpan implied, double target)
{
    return std::max(deviationPercent(implied.high, target), -deviationPercent(implied.low, target));
}

} // namespace tarnel
