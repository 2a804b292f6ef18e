#include "search/why_none.h"

#include "search/combination_search.h"

#include <algorithm>
#include <limits>
#include <cmath>
#include <numeric>
#include <optional>
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

std::vector<const ArmCombination*> enabledCombinations(const SearchParams& params)
{
    std::vector<const ArmCombination*> enabled;
    for (const ArmCombination& c : armCombinations)
        if (isEnabled(c, params))
            enabled.push_back(&c);
    return enabled;
}

// What the tables tell: arms within their bounds, and totals within theirs.
NoneReason reasonInTables(const SearchParams& params, const ArmTables& tables)
{
    using Kind = NoneReason::Kind;
    const std::vector<const ArmCombination*> enabled = enabledCombinations(params);
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

// The best ranked divider of a band widened sixteenfold at a time until it
// holds one, each width counted in one sweep: found in the order of the
// combinations, an earlier one first among equals; none once the band takes
// in every ratio.
NoneReason closestDivider(const SearchParams& params, const ArmTables& tables, const SearchControl& control)
{
    SearchParams open = params;
    open.tolerance = std::numeric_limits<double>::max();
    deriveRatioWindow(open);
    const std::vector<CombinationSearch> searches = combinationSearches(open, tables);
    // No divider deviates further than the ratios of the extreme arms.
    double widest = 0.0;
    for (const ArmCombination* c : enabledCombinations(params)) {
        const ArmExtent high = extentOf(tables[c->high], params.highArm);
        const ArmExtent low = extentOf(tables[c->low], params.lowArm);
        if (high.any() && low.any())
            for (const double ratio : {dividerRatio(params.ratioOffset, high.least, low.greatest),
                                       dividerRatio(params.ratioOffset, high.greatest, low.least)})
                widest = std::max(widest, std::fabs(rankedDeviation(ratio, params)));
    }
    std::vector<std::uint64_t> scratch;
    for (double deviation = std::max(params.tolerance * 100 * 16, 1e-3);; deviation *= 16) {
        // Counted on every core first: most widths hold none.
        const std::vector<std::uint64_t> counts = countsOf(searches, deviation, control.stop);
        std::optional<NoneReason> closest;
        for (std::size_t i = 0; i < searches.size(); ++i) {
            if (control.stop.stop_requested())
                return {};
            if (counts[i] == 0)
                continue;
            const CombinationSearch& search = searches[i];
            const RunTable runs = search.runs(deviation);
            search.visit(runs, 0, runs.highs.size(), deviation, scratch, [&](const Arm& high, const Arm& low) {
                const double ranked = search.deviation(high, low);
                if (!closest || std::fabs(ranked) < std::fabs(closest->figure))
                    closest = NoneReason(NoneReason::Kind::Closest, false, ranked, search.dividerOf(high, low));
                return true;
            });
        }
        if (closest)
            return *closest;
        if (deviation > widest)
            return {};
    }
}

} // namespace

NoneReason whyNone(const SearchParams& params, const ArmTables& tables, const SearchControl& control)
{
    if (const NoneReason reason = reasonInInputs(params); reason.kind != NoneReason::Kind::Untold)
        return reason;
    if (const NoneReason reason = reasonInTables(params, tables); reason.kind != NoneReason::Kind::Untold)
        return reason;
    // The closest divider costs a few sweeps: told where those are cheap.
    if (workOf(combinationSearches(params, tables)) < sweepsWorthThreads)
        if (const NoneReason closest = closestDivider(params, tables, control); closest.kind != NoneReason::Kind::Untold)
            return closest;
    if (params.outputImpedanceMax == noUpperBound)
        return {};
    // H || L empties the list when no divider meets it at any ratio, and
    // some would without it.
    SearchParams anyRatio = params;
    anyRatio.tolerance = std::numeric_limits<double>::max();
    deriveRatioWindow(anyRatio);
    if (countWithin(anyRatio, tables, control.stop) > 0)
        return {};
    anyRatio.outputImpedanceMax = noUpperBound;
    return countWithin(anyRatio, tables, control.stop) > 0 ? NoneReason(NoneReason::Kind::OutputImpedance)
                                                           : NoneReason{};
}

} // namespace tarnel
