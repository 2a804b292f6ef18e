#include "search/why_none.h"

#include "search/best_first.h"
#include "search/combination_search.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

namespace tarnel {

namespace {

// The least and greatest arm of a table within bounds; least above greatest when there is none.
struct ArmExtent {
    double least = std::numeric_limits<double>::infinity();
    double greatest = -std::numeric_limits<double>::infinity();
    [[nodiscard]] bool any() const { return least <= greatest; }
};

ArmExtent extentOf(const ArmTable& table, const ArmBounds& bounds)
{
    const Run run = armsWithin(table, bounds);
    if (run.end <= run.first)
        return {};
    return {table[run.first].resistance, table[run.end - 1].resistance};
}

// What the tables tell: arms within their bounds, and totals within theirs.
NoneReason reasonInTables(const SearchParams& params, const ArmTables& tables)
{
    using Kind = NoneReason::Kind;
    std::vector<const ArmCombination*> enabled;
    for (const ArmCombination& c : armCombinations)
        if (isEnabled(c, params))
            enabled.push_back(&c);
    const auto anyArm = [&](bool highArm, auto has) {
        return std::any_of(enabled.begin(), enabled.end(),
                           [&](const ArmCombination* c) { return has(tables[highArm ? c->high : c->low], highArm); });
    };
    for (const bool highArm : {true, false})
        if (!anyArm(highArm, [](const ArmTable& t, bool) { return t.size() > 0; }))
            return {Kind::NoneAdmitted};
    for (const bool highArm : {true, false})
        if (!anyArm(highArm, [&](const ArmTable& t, bool high) {
                return extentOf(t, high ? params.highArm : params.lowArm).any();
            }))
            return {Kind::NoArmWithinBounds, highArm};
    double leastTotal = std::numeric_limits<double>::infinity();
    double greatestTotal = 0.0;
    for (const ArmCombination* c : enabled) {
        const ArmExtent high = extentOf(tables[c->high], params.highArm);
        const ArmExtent low = extentOf(tables[c->low], params.lowArm);
        if (!high.any() || !low.any())
            continue;
        leastTotal = std::min(leastTotal, high.least + low.least);
        greatestTotal = std::max(greatestTotal, high.greatest + low.greatest);
    }
    if (!notAbove(leastTotal, params.rSumMax))
        return {Kind::LeastTotalAbove, false, leastTotal};
    if (!notBelow(greatestTotal, params.rSumMin))
        return {Kind::GreatestTotalBelow, false, greatestTotal};
    return {};
}

std::uint64_t countWithin(const SearchParams& params, const ArmTables& tables, std::stop_token stop)
{
    const std::vector<std::uint64_t> counts = countsOf(combinationSearches(params, tables), noBand, stop);
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
}

// The best ranked divider of a window widened tenfold at a time until it
// holds one; the widest takes in every ratio.
NoneReason closestDivider(const SearchParams& params, const ArmTables& tables, const SearchControl& control)
{
    SearchParams wider = params;
    wider.order = ListOrder::BestFirst;
    wider.maxResults = 1;
    for (double deviation = std::max(params.tolerance * 10, 1e-5); deviation < 1e30; deviation *= 10) {
        if (control.stop.stop_requested())
            return {};
        wider.tolerance = deviation;
        deriveRatioWindow(wider);
        if (countWithin(wider, tables, control.stop) == 0)
            continue;
        ResultList best;
        best.setRun(wider);
        listBestFirst(wider, tables, best, {control.stop, {}});
        if (best.size() == 0)
            return {};
        const Divider divider = best.divider(0);
        const double ratio = dividerFigures(divider, params.ratioOffset, *params.values).ratio;
        return {NoneReason::Kind::Closest, false, rankedDeviation(ratio, params), divider};
    }
    return {};
}

} // namespace

NoneReason whyNone(const SearchParams& params, const ArmTables& tables, const SearchControl& control)
{
    if (const NoneReason reason = reasonInInputs(params); reason.kind != NoneReason::Kind::Untold)
        return reason;
    if (const NoneReason reason = reasonInTables(params, tables); reason.kind != NoneReason::Kind::Untold)
        return reason;
    if (const NoneReason closest = closestDivider(params, tables, control); closest.kind != NoneReason::Kind::Untold)
        return closest;
    if (params.outputImpedanceMax == noUpperBound)
        return {};
    SearchParams unbounded = params;
    unbounded.outputImpedanceMax = noUpperBound;
    unbounded.tolerance = std::numeric_limits<double>::max();
    deriveRatioWindow(unbounded);
    return countWithin(unbounded, tables, control.stop) > 0 ? NoneReason(NoneReason::Kind::OutputImpedance)
                                                            : NoneReason{};
}

} // namespace tarnel
