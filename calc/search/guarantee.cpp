#include "search/guarantee.h"

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

} // namespace

bool judgesExtremes(const SearchParams& params)
{
    return params.criterion == Criterion::WorstCase && (params.partTolerance > 0 || params.sourceTolerance > 0);
}

RatioSpan impliedRatios(double ratio, const SearchParams& params)
{
    const Spread spread = spreadOf(params);
    const double offset = params.ratioOffset;
    return {(offset + (ratio - offset) * spread.quotientLow) * spread.sourceLow,
            (offset + (ratio - offset) * spread.quotientHigh) * spread.sourceHigh};
}

namespace {

// The counted ratios whose implied ratios all lie within implied.
RatioSpan countedWindow(RatioSpan implied, const SearchParams& params)
{
    if (!judgesExtremes(params))
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
    // deviations a view and best first reckon with stay finite.
    if (const std::span<const double> values = params.values->values();
        !std::isfinite(window.high) && !values.empty()) {
        window.high = std::max(window.low, params.ratioOffset + 8.0 * values.back() / values.front());
    }
    return window;
}

double leastRankedDeviation(const SearchParams& params)
{
    if (!judgesExtremes(params))
        return 0.0;
    // Where the window's ends meet: solved for the deviation, linear in it.
    const Spread spread = spreadOf(params);
    const double offset = params.ratioOffset;
    const double target = params.ratio();
    const double fromLow = target / (spread.sourceLow * spread.quotientLow);
    const double fromHigh = target / (spread.sourceHigh * spread.quotientHigh);
    const double closing =
        (fromLow - fromHigh - offset / spread.quotientLow + offset / spread.quotientHigh) / (fromLow + fromHigh);
    return std::max(0.0, closing * 100.0);
}

double worstDeviation(double ratio, const SearchParams& params)
{
    const RatioSpan implied = impliedRatios(ratio, params);
    const double target = params.ratio();
    return std::max(deviationPercent(implied.high, target), -deviationPercent(implied.low, target));
}

double rankedDeviation(double ratio, const SearchParams& params)
{
    return judgesExtremes(params) ? worstDeviation(ratio, params) : deviationPercent(ratio, params.ratio());
}

} // namespace tarnel
