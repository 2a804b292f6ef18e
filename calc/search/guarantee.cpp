#include "search/guarantee.h"

#include "search/circuit.h"
#include "search/divider.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace tarnel {

namespace {

// How the corners scale the arms' quotient H/L, and the implied ratio by the source.
struct Spread {
    double quotientLow;
    double quotientHigh;
    double sourceLow;
    double sourceHigh;
};

Spread spreadOf(const SearchParams& params)
{
    const double t = params.partTolerance;
    const double s = params.sourceTolerance;
    // A source above its nominal gives more output: a smaller ratio in
    // divider use, a larger one in feedback use.
    if (params.use == DividerUse::Feedback)
        return {(1 - t) / (1 + t), (1 + t) / (1 - t), 1 - s, 1 + s};
    return {(1 - t) / (1 + t), (1 + t) / (1 - t), 1 / (1 + s), 1 / (1 - s)};
}

// A spread no loaded divider's is narrower than. The load's share of the
// ratio scales as the high arm alone, and the pin's share of the output
// does not follow the reference: at most the quotient scales as H.
Spread loadedSpreadOf(const SearchParams& params)
{
    const double t = params.partTolerance;
    const double s = params.sourceTolerance;
    if (params.use == DividerUse::Feedback)
        return {(1 - t) / (1 - s), (1 + t) / (1 + s), 1 - s, 1 + s};
    return {1 - t, 1 + t, 1 / (1 + s), 1 / (1 - s)};
}

} // namespace

RatioSpan impliedRatiosOfCounted(double ratio, const SearchParams& params)
{
    const Spread spread = spreadOf(params);
    const double offset = params.ratioOffset;
    return {(offset + (ratio - offset) * spread.quotientLow) * spread.sourceLow,
            (offset + (ratio - offset) * spread.quotientHigh) * spread.sourceHigh};
}

ExtremeCorners extremeCorners(const SearchParams& params)
{
    const double t = params.partTolerance;
    const double s = params.sourceTolerance;
    const bool feedback = params.use == DividerUse::Feedback;
    return {{1 - t, 1 + t, feedback ? 1 - s : 1 + s}, {1 + t, 1 - t, feedback ? 1 + s : 1 - s}};
}

bool judgesExtremes(const SearchParams& params)
{
    return params.criterion == Criterion::WorstCase && (params.partTolerance > 0 || params.sourceTolerance > 0);
}

bool windowsOnExtremes(const SearchParams& params)
{
    return judgesExtremes(params) && params.tapConductance() != 0.0;
}

RatioSpan impliedRatios(double high, double low, const SearchParams& params)
{
    const Circuit circuit(params);
    if (!circuit.loaded())
        return impliedRatiosOfCounted(circuit.ratio(high, low), params);
    return loadedImpliedRatios(circuit, extremeCorners(params), high, low);
}

double lowArmsRising(const SearchParams& params)
{
    const double g = params.tapConductance();
    if (g >= 0.0)
        return noUpperBound;
    return (1 - params.sourceTolerance) / ((1 + params.partTolerance) * -g);
}

namespace {

// The counted ratios whose implied ratios all lie within implied.
RatioSpan countedWindow(RatioSpan implied, const SearchParams& params)
{
    if (!judgesExtremes(params) || windowsOnExtremes(params))
        return implied;
    const Spread spread = spreadOf(params);
    const double offset = params.ratioOffset;
    return {offset + (implied.low / spread.sourceLow - offset) / spread.quotientLow,
            offset + (implied.high / spread.sourceHigh - offset) / spread.quotientHigh};
}

} // namespace

RatioSpan ratioWindow(double deviation, const SearchParams& params)
{
    const double target = params.ratio();
    return countedWindow({(1.0 - deviation) * target, (1.0 + deviation) * target}, params);
}

RatioSpan keptWindow(const SearchParams& params)
{
    if (!params.outputWindowed())
        return ratioWindow(params.tolerance, params);
    // The ratio the output implies falls as the output rises in divider use
    // (Uin over it) and rises with it in feedback use (it over the reference).
    const bool feedback = params.use == DividerUse::Feedback;
    const RatioSpan implied = feedback ? RatioSpan{params.outMin / params.uout, params.outMax / params.uout}
                                       : RatioSpan{params.uin / params.outMax, params.uin / params.outMin};
    RatioSpan window = countedWindow(implied, params);
    // No arm exceeds twice the largest value nor falls below half the
    // smallest: past eight times their quotient lies no ratio, and the
    // deviations a view and best first reckon with stay finite. A loaded
    // tap's ratio, at a part's and the source's extremes, stays within
    // twice 1 + sixteen times it and what the largest arm adds.
    if (const std::span<const double> values = params.values->values();
        !std::isfinite(window.high) && !values.empty()) {
        const double quotient = values.back() / values.front();
        const double g = std::fabs(params.tapConductance());
        window.high = std::max(window.low, g == 0.0 ? params.ratioOffset + 8.0 * quotient
                                                    : 2.0 * (params.ratioOffset + 16.0 * quotient + 4.0 * values.back() * g));
    }
    return window;
}

double leastRankedDeviation(const SearchParams& params)
{
    if (!judgesExtremes(params))
        return 0.0;
    // Where the window's ends meet: solved for the deviation, linear in it.
    const Spread spread = windowsOnExtremes(params) ? loadedSpreadOf(params) : spreadOf(params);
    const double offset = params.ratioOffset;
    const double target = params.ratio();
    const double fromLow = target / (spread.sourceLow * spread.quotientLow);
    const double fromHigh = target / (spread.sourceHigh * spread.quotientHigh);
    const double closing =
        (fromLow - fromHigh - offset / spread.quotientLow + offset / spread.quotientHigh) / (fromLow + fromHigh);
    return std::max(0.0, closing * 100.0);
}

double worstDeviation(double high, double low, const SearchParams& params)
{
    return worstDeviationOf(impliedRatios(high, low, params), params.ratio());
}

double rankedDeviation(double high, double low, const SearchParams& params)
{
    return judgesExtremes(params) ? worstDeviation(high, low, params)
                                  : deviationPercent(Circuit(params).ratio(high, low), params.ratio());
}

double largestKeptDeviation(const SearchParams& params)
{
    const RatioSpan window = keptWindow(params);
    const double target = params.ratio();
    // Where windows lie on the extremes, a divider's lie within its ends.
    if (windowsOnExtremes(params))
        return std::max(std::fabs(deviationPercent(window.low, target)), std::fabs(deviationPercent(window.high, target)));
    // Of the two corners a worst deviation is the larger of, one rises with
    // the ratio and the other falls: within the window none exceeds its ends'.
    const auto ranked = [&](double ratio) {
        if (!judgesExtremes(params))
            return deviationPercent(ratio, target);
        return worstDeviationOf(impliedRatiosOfCounted(ratio, params), target);
    };
    return std::max(std::fabs(ranked(window.low)), std::fabs(ranked(window.high)));
}

} // namespace tarnel
