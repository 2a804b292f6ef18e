#include "search/guarantee.h"

#include "search/divider.h"

#include <algorithm>

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

RatioSpan ratioWindow(double deviation, const SearchParams& params)
{
    const double target = params.ratio();
    const double low = (1.0 - deviation) * target;
    const double high = (1.0 + deviation) * target;
    if (!judgesExtremes(params))
        return {low, high};
    const Spread spread = spreadOf(params);
    const double offset = params.ratioOffset;
    return {offset + (low / spread.sourceLow - offset) / spread.quotientLow,
            offset + (high / spread.sourceHigh - offset) / spread.quotientHigh};
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
