#include "search/why_none.h"

#include "search/combination_search.h"
#include "search/guarantee.h"

#include <algorithm>
#include <limits>
#include <cmath>
#include <optional>
#include <utility>
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

// The arms of each combination the run searches: all its tables hold, and
// those within their bounds.
struct CombinationExtent {
    ArmExtent highAll;
    ArmExtent lowAll;
    ArmExtent high;
    ArmExtent low;
    [[nodiscard]] bool any() const { return high.any() && low.any(); }
};

std::vector<CombinationExtent> extentsOf(const SearchParams& params, const ArmTables& tables)
{
    std::vector<CombinationExtent> extents;
    for (const ArmCombination& c : armCombinations)
        if (isEnabled(c, params))
            extents.push_back({extentOf(tables.high(c.high), {}), extentOf(tables.low(c.low), {}),
                               extentOf(tables.high(c.high), params.highArm), extentOf(tables.low(c.low), params.lowArm)});
    return extents;
}

// Rmin where every arm the values give lies above the arm's bounds, Rmax
// where every one lies below them; none where the bounds fall between arms.
std::optional<Field> blockingValueBound(const SearchParams& params, const std::vector<CombinationExtent>& extents,
                                        bool highArm)
{
    ArmExtent all;
    for (const CombinationExtent& e : extents) {
        const ArmExtent& arms = highArm ? e.highAll : e.lowAll;
        all = {std::min(all.least, arms.least), std::max(all.greatest, arms.greatest)};
    }
    const ArmBounds& bounds = highArm ? params.highArm : params.lowArm;
    if (!notAbove(all.least, bounds.greatest))
        return Field::Rmin;
    if (!notBelow(all.greatest, bounds.least))
        return Field::Rmax;
    return std::nullopt;
}

// H || L over H + L at H/L = k, least at the ends of a span of k: a least
// total may hold the output impedance above its bound at every ratio kept.
NoneReason impedanceByTotal(const SearchParams& params)
{
    // A loaded tap's impedance and ratio are no longer H || L and 1 + H/L.
    if (params.outputImpedanceMax == noUpperBound || params.tapConductance() != 0.0)
        return {};
    const auto share = [](double k) { return k / ((1.0 + k) * (1.0 + k)); };
    const RatioSpan window = keptWindow(params);
    if (!std::isfinite(window.high))
        return {};
    const double least = std::min(share(std::max(window.low - params.ratioOffset, 0.0)),
                                  share(window.high - params.ratioOffset));
    if (!(params.rSumMin * least > params.outputImpedanceMax))
        return {};
    return {NoneReason::Kind::ImpedanceByTotal, false, share(params.ratio() - params.ratioOffset)};
}

// What the tables tell: values the special ones admit, arms within their
// bounds, and totals within theirs.
NoneReason reasonInTables(const SearchParams& params, const std::vector<CombinationExtent>& extents)
{
    using Kind = NoneReason::Kind;
    const auto noArm = [&](auto has) { return std::none_of(extents.begin(), extents.end(), has); };
    for (const bool highArm : {true, false})
        if (noArm([&](const CombinationExtent& e) { return (highArm ? e.highAll : e.lowAll).any(); }))
            return {Kind::NoneAdmitted};
    for (const bool highArm : {true, false})
        if (noArm([&](const CombinationExtent& e) { return (highArm ? e.high : e.low).any(); })) {
            NoneReason reason{Kind::NoArmWithinBounds, highArm};
            reason.blocking = blockingValueBound(params, extents, highArm);
            return reason;
        }
    double leastTotal = std::numeric_limits<double>::infinity();
    double greatestTotal = 0.0;
    for (const CombinationExtent& e : extents) {
        if (!e.any())
            continue;
        leastTotal = std::min(leastTotal, e.high.least + e.low.least);
        greatestTotal = std::max(greatestTotal, e.high.greatest + e.low.greatest);
    }
    if (!notAbove(leastTotal, params.rSumMax))
        return {Kind::LeastTotalAbove, false, leastTotal};
    if (!notBelow(greatestTotal, params.rSumMin))
        return {Kind::GreatestTotalBelow, false, greatestTotal};
    return {};
}

// The best ranked divider of a band widened sixteenfold at a time until it
// holds one, each width counted in one sweep: found in the order of the
// combinations, an earlier one first among equals; none once the band takes
// in every ratio.
NoneReason closestDivider(const SearchParams& params, const ArmTables& tables,
                          const std::vector<CombinationExtent>& extents, const SearchControl& control)
{
    SearchParams open = params;
    open.tolerance = std::numeric_limits<double>::max();
    open.outMin = 0.0;
    open.outMax = noUpperBound;
    const std::vector<CombinationSearch> searches = combinationSearches(open, tables);
    // No divider deviates further than the ratios of the extreme arms.
    double widest = 0.0;
    for (const CombinationExtent& e : extents)
        if (e.any())
            for (const auto& [high, low] : {std::pair{e.high.least, e.low.greatest}, std::pair{e.high.greatest, e.low.least}})
                widest = std::max(widest, std::fabs(rankedDeviation(high, low, params)));
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
    const std::vector<CombinationExtent> extents = extentsOf(params, tables);
    if (const NoneReason reason = reasonInTables(params, extents); reason.kind != NoneReason::Kind::Untold)
        return reason;
    if (const NoneReason reason = impedanceByTotal(params); reason.kind != NoneReason::Kind::Untold)
        return reason;
    // The closest divider costs a few sweeps: told where those are cheap.
    if (workOf(combinationSearches(params, tables)) < sweepsWorthThreads)
        if (const NoneReason closest = closestDivider(params, tables, extents, control);
            closest.kind != NoneReason::Kind::Untold)
            return closest;
    // A design bound empties the list when no divider meets every bound at
    // any ratio, and some would with that one bound released.
    struct Releasable {
        NoneReason::Kind kind;
        double SearchParams::*bound;
    };
    static constexpr Releasable releasable[] = {{NoneReason::Kind::OutputImpedance, &SearchParams::outputImpedanceMax},
                                                {NoneReason::Kind::Power, &SearchParams::resistorPowerMax}};
    SearchParams anyRatio = params;
    anyRatio.tolerance = std::numeric_limits<double>::max();
    anyRatio.outMin = 0.0;
    anyRatio.outMax = noUpperBound;
    bool noneAtAnyRatio = false;
    for (const Releasable& bound : releasable) {
        if (anyRatio.*bound.bound == noUpperBound)
            continue;
        if (!noneAtAnyRatio && countAll(combinationSearches(anyRatio, tables), noBand, control.stop) > 0)
            return {};
        noneAtAnyRatio = true;
        SearchParams released = anyRatio;
        released.*bound.bound = noUpperBound;
        if (countAll(combinationSearches(released, tables), noBand, control.stop) > 0)
            return bound.kind;
    }
    return {};
}

} // namespace tarnel
