#pragma once

// What a divider guarantees. With every resistor off by the part tolerance
// and the source by its own, a divider's output strays; each such output is
// told as the ratio that would give it nominally (Uin over the output in
// divider use, the output over the reference in feedback use), so that the
// tolerance bounds these ratios as it bounds the nominal one. The output
// falls as the high arm grows and rises with the low arm, and an arm of two
// resistors of one tolerance scales as they do, so the extremes lie at the
// two corners where the arms are off the opposite ways.

#include "search/search_params.h"

namespace tarnel {

// Two ratios, low not above high unless nothing lies between them.
struct RatioSpan {
    double low = 0.0;
    double high = 0.0;
};

// Whether the run's dividers are judged at their extremes: the worst-case
// criterion with a tolerance to spread them.
[[nodiscard]] bool judgesExtremes(const SearchParams& params);

// The extremes of the ratio implied by the output of a divider whose
// counted ratio is ratio.
[[nodiscard]] RatioSpan impliedRatios(double ratio, const SearchParams& params);

// The counted ratios whose implied ratios all lie within deviation (a
// fraction) of the target: the nominal window unless extremes are judged.
[[nodiscard]] RatioSpan ratioWindow(double deviation, const SearchParams& params);

// The counted ratios a run keeps: those whose implied ratios all lie within
// the output's window where one is given, else within the tolerance. An
// open end of the output's window is closed beyond any ratio of the values.
[[nodiscard]] RatioSpan keptWindow(const SearchParams& params);

// The deviation in percent a divider of this counted ratio is ranked by:
// its own, signed, or, where extremes are judged, the largest of theirs.
[[nodiscard]] double rankedDeviation(double ratio, const SearchParams& params);

// The least deviation in percent any divider can be ranked by: none unless
// extremes are judged, else where their window closes.
[[nodiscard]] double leastRankedDeviation(const SearchParams& params);

// The largest deviation in percent of the implied ratios from the target,
// whichever the criterion: what the divider guarantees.
[[nodiscard]] double worstDeviation(double ratio, const SearchParams& params);

} // namespace tarnel
