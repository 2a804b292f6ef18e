#include "search/run_summary.h"

#include "search/guarantee.h"
#include "values/decimal_bounds.h"

#include <algorithm>

namespace tarnel {

SearchParams BoundChange::appliedTo(SearchParams params) const
{
    for (std::size_t i = 0; i < size; ++i)
        numberField(fields[i]).use(params, values[i]);
    return params;
}

NoneReason reasonInInputs(const SearchParams& params)
{
    using Kind = NoneReason::Kind;
    if (!params.highShapes.any() || !params.lowShapes.any())
        return {Kind::NoShape, !params.highShapes.any()};
    if (!notAbove(params.rMin, params.rMax))
        return {Kind::RminAboveRmax};
    if (params.values->endIndex(params.rMax) <= params.values->floorIndex(params.rMin))
        return {Kind::NoValueInRange};
    if (!notAbove(params.rSumMin, params.rSumMax))
        return {Kind::RsumMinAboveRsumMax};
    // 1 + H/L exceeds 1 by far more than a decimal bound allows.
    if (params.ratioOffset == 1.0 && (1.0 + params.tolerance) * params.ratio() <= 1.0)
        return {Kind::UoutNotBelowUin};
    if (!notAbove(params.outMin, params.outMax))
        return {Kind::OutMinAboveOutMax};
    // On a loaded tap the window lies on the extremes themselves; the least
    // any load or pin's current could leave still tells.
    if (params.ratioLow() > params.ratioHigh() ||
        (windowsOnExtremes(params) && !params.outputWindowed() &&
         leastRankedDeviation(params) > params.tolerance * 100 * (1 + 1e-6)))
        return {Kind::NoGuarantee, false, leastRankedDeviation(params)};
    return {};
}

RunSummary summarizeRun(const SearchParams& params, std::uint64_t found, std::size_t shown, NoneReason noneBecause)
{
    RunSummary summary{found, shown, found == 0 ? noneBecause : NoneReason{}, {}, false, params};
    const std::span<const double> values = params.values->values();
    for (const double listed : params.specialValues.listedValues) {
        if (listed != unusedSpecialValue && std::none_of(values.begin(), values.end(), [listed](double v) {
                return specialValueMatches(listed, v);
            }))
            summary.unmatchedListed.push_back(listed);
    }
    return summary;
}

} // namespace tarnel
