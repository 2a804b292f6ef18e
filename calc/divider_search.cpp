#include "divider_search.h"

#include "decimal_bounds.h"
#include "divider.h"
#include "special_values.h"
#include "standard_values.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numeric>
#include <vector>

namespace tarnel {

// The search lists exactly the lines of the plain nested loops over value
// cursors, in their order, but does far less work. Every IEEE operation is
// monotone in each operand, so for a fixed high arm the divider ratio falls
// as the low arm's resistance rises, and whether it meets a bound (in
// decimal) changes at most once along the way: the low arms that can meet the
// ratio window form one run of the low arms sorted by resistance, found by
// binary search. So do those that meet the total bounds, but for a few at a
// bound, where the bracketing of the total may differ from the sum of the
// arms in the last bit; those are tested one by one. A run counts its
// dividers without visiting them, so the search counts every divider however
// few it lists.

namespace {

constexpr double noBand = std::numeric_limits<double>::infinity();

struct Arm {
    double resistance;
    std::array<ValueIndex, 2> values; // into standardValues(); one resistor stands in both places
};

// The standard values every loop runs over: from the floor of rMin up to rMax.
struct ValueRange {
    std::size_t first = 0;
    std::size_t end = 0; // one past the last
};

ValueRange searchedValues(const SearchParams& params)
{
    const std::size_t first = standardFloorIndex(params.rMin);
    // A cursor starting above rMax has no pass at all.
    return {first, std::max(first, standardEndIndex(params.rMax))};
}

// Arms in the order the loops visit them. Arms holding a value the special
// table rejects can never give a line and are left out.
std::vector<Arm> armsInLoopOrder(ArmKind kind, bool secondOuter, ValueRange range, const std::vector<bool>& usable)
{
    const auto& values = standardValues();
    std::vector<Arm> arms;
    if (kind == ArmKind::Single) {
        for (std::size_t i = range.first; i < range.end; ++i)
            if (usable[i])
                arms.push_back({values[i], {static_cast<ValueIndex>(i), static_cast<ValueIndex>(i)}});
        return arms;
    }
    for (std::size_t outer = range.first; outer < range.end; ++outer) {
        for (std::size_t inner = range.first; inner < range.end; ++inner) {
            const std::size_t first = secondOuter ? inner : outer;
            const std::size_t second = secondOuter ? outer : inner;
            if (values[first] > values[second] || !usable[first] || !usable[second])
                continue;
            arms.push_back({armResistance(kind, values[first], values[second]),
                            {static_cast<ValueIndex>(first), static_cast<ValueIndex>(second)}});
        }
    }
    return arms;
}

// The dividers of one combination.
class CombinationSearch {
public:
    CombinationSearch(const ArmCombination& combination, const SearchParams& params, ValueRange range,
                      const std::vector<bool>& usable)
        : combination_(combination), params_(params),
          // With one high resistor the low pair loops second value outside.
          highs_(armsInLoopOrder(combination.high, false, range, usable)),
          lows_(armsInLoopOrder(combination.low, combination.high == ArmKind::Single, range, usable))
    {
        byResistance_.resize(lows_.size());
        for (std::uint32_t i = 0; i < byResistance_.size(); ++i)
            byResistance_[i] = i;
        std::stable_sort(byResistance_.begin(), byResistance_.end(),
                         [this](std::uint32_t a, std::uint32_t b) { return lows_[a].resistance < lows_[b].resistance; });
        pairs_.reserve(highs_.size());
        for (const Arm& high : highs_)
            pairs_.push_back(pairsOf(high));
    }

    [[nodiscard]] std::size_t highCount() const { return highs_.size(); }

    // How many dividers with this high arm meet the bounds and deviate by at most maxDeviation.
    [[nodiscard]] std::uint64_t count(std::size_t high, double maxDeviation) const
    {
        const Pairs& p = pairs_[high];
        const Run band = bandOf(highs_[high], {p.first, p.end}, maxDeviation);
        std::uint64_t found = band.end - band.first;
        for (std::uint32_t e = p.edgesBegin; e < p.edgesEnd; ++e)
            found += withinBand(highs_[high], lows_[byResistance_[edges_[e]]], maxDeviation) ? 1 : 0;
        return found;
    }

    // Hands those dividers to take in loop order, with their deviations; false once take refuses one.
    template <class Take>
    bool visit(std::size_t high, double maxDeviation, Take&& take)
    {
        const Arm& h = highs_[high];
        const Pairs& p = pairs_[high];
        const Run band = bandOf(h, {p.first, p.end}, maxDeviation);
        const std::size_t candidates = band.end - band.first + (p.edgesEnd - p.edgesBegin);
        if (candidates == 0)
            return true;
        // A wide run is cheaper to test in loop order than to sort back into it.
        if (candidates * 16 > lows_.size()) {
            for (const Arm& low : lows_)
                if (meetsBounds(h, low) && withinBand(h, low, maxDeviation) && !take(dividerOf(h, low), deviation(h, low)))
                    return false;
            return true;
        }
        inLoopOrder_.assign(byResistance_.begin() + band.first, byResistance_.begin() + band.end);
        for (std::uint32_t e = p.edgesBegin; e < p.edgesEnd; ++e)
            if (withinBand(h, lows_[byResistance_[edges_[e]]], maxDeviation))
                inLoopOrder_.push_back(byResistance_[edges_[e]]);
        std::sort(inLoopOrder_.begin(), inLoopOrder_.end());
        for (const std::uint32_t i : inLoopOrder_)
            if (!take(dividerOf(h, lows_[i]), deviation(h, lows_[i])))
                return false;
        return true;
    }

private:
    // Positions in byResistance_.
    struct Run {
        std::uint32_t first;
        std::uint32_t end;
    };

    // The lows one high arm pairs with: a run that surely meets all bounds,
    // and those at a total bound that were tested one by one and meet them.
    struct Pairs {
        std::uint32_t first;
        std::uint32_t end;
        std::uint32_t edgesBegin; // into edges_
        std::uint32_t edgesEnd;
    };

    [[nodiscard]] double ratio(const Arm& high, const Arm& low) const
    {
        return dividerRatio(params_.ratioOffset, high.resistance, low.resistance);
    }
    [[nodiscard]] double deviation(const Arm& high, const Arm& low) const
    {
        return deviationPercent(ratio(high, low), params_.ratio);
    }

    // The full test of one divider.
    [[nodiscard]] bool meetsBounds(const Arm& high, const Arm& low) const
    {
        const auto& values = standardValues();
        const double r = ratio(high, low);
        const double total =
            totalResistance(combination_, high.resistance, values[low.values[0]], values[low.values[1]], low.resistance);
        return notBelow(r, params_.ratioLow) && notAbove(r, params_.ratioHigh) && notBelow(total, params_.rSumMin) &&
               notAbove(total, params_.rSumMax);
    }

    [[nodiscard]] static bool withinBand(double deviation, double maxDeviation)
    {
        return maxDeviation == noBand || std::fabs(deviation) <= maxDeviation;
    }
    [[nodiscard]] bool withinBand(const Arm& high, const Arm& low, double maxDeviation) const
    {
        return withinBand(deviation(high, low), maxDeviation);
    }

    [[nodiscard]] Divider dividerOf(const Arm& high, const Arm& low) const
    {
        return {combination_.number, {high.values[0], high.values[1], low.values[0], low.values[1]}};
    }

    // The first position in run where lowHolds turns false.
    template <class Holds>
    [[nodiscard]] std::uint32_t boundary(Run run, Holds lowHolds) const
    {
        const auto at = std::partition_point(byResistance_.begin() + run.first, byResistance_.begin() + run.end,
                                             [&](std::uint32_t i) { return lowHolds(lows_[i]); });
        return static_cast<std::uint32_t>(at - byResistance_.begin());
    }

    // The part of run whose deviation is at most maxDeviation in size; the
    // deviation falls along it as the ratio does.
    [[nodiscard]] Run bandOf(const Arm& high, Run run, double maxDeviation) const
    {
        if (maxDeviation == noBand)
            return run;
        const std::uint32_t first = boundary(run, [&](const Arm& low) { return deviation(high, low) > maxDeviation; });
        return {first, boundary({first, run.end}, [&](const Arm& low) { return deviation(high, low) >= -maxDeviation; })};
    }

    Pairs pairsOf(const Arm& high)
    {
        const Run all{0, static_cast<std::uint32_t>(lows_.size())};
        const std::uint32_t ratioFirst =
            boundary(all, [&](const Arm& low) { return !notAbove(ratio(high, low), params_.ratioHigh); });
        const Run byRatio{ratioFirst, boundary({ratioFirst, all.end}, [&](const Arm& low) {
                              return notBelow(ratio(high, low), params_.ratioLow);
                          })};
        // The sum of the arms stands for the total; it may differ from the
        // bracketed total in the last bits, far inside this margin.
        constexpr double margin = 1e-12;
        const auto sum = [&](const Arm& low) { return high.resistance + low.resistance; };
        const std::uint32_t mayFirst =
            boundary(byRatio, [&](const Arm& low) { return !notBelow(sum(low) * (1 + margin), params_.rSumMin); });
        const std::uint32_t sureFirst = boundary(
            {mayFirst, byRatio.end}, [&](const Arm& low) { return !notBelow(sum(low) * (1 - margin), params_.rSumMin); });
        const std::uint32_t sureEnd = boundary(
            {sureFirst, byRatio.end}, [&](const Arm& low) { return notAbove(sum(low) * (1 + margin), params_.rSumMax); });
        const std::uint32_t mayEnd = boundary(
            {sureEnd, byRatio.end}, [&](const Arm& low) { return notAbove(sum(low) * (1 - margin), params_.rSumMax); });
        const auto edgesBegin = static_cast<std::uint32_t>(edges_.size());
        for (const Run edge : {Run{mayFirst, sureFirst}, Run{sureEnd, mayEnd}})
            for (std::uint32_t at = edge.first; at < edge.end; ++at)
                if (meetsBounds(high, lows_[byResistance_[at]]))
                    edges_.push_back(at);
        return {sureFirst, std::max(sureFirst, sureEnd), edgesBegin, static_cast<std::uint32_t>(edges_.size())};
    }

    const ArmCombination& combination_;
    const SearchParams& params_;
    std::vector<Arm> highs_;
    std::vector<Arm> lows_;
    std::vector<std::uint32_t> byResistance_; // indices into lows_
    std::vector<Pairs> pairs_;                // one a high arm
    std::vector<std::uint32_t> edges_;        // positions in byResistance_
    std::vector<std::uint32_t> inLoopOrder_;  // scratch for one high arm
};

// Every enabled combination, in the order a search runs them.
std::vector<std::unique_ptr<CombinationSearch>> combinationSearches(const SearchParams& params)
{
    const ValueRange range = searchedValues(params);
    std::vector<bool> usable(standardValueCount);
    for (std::size_t i = range.first; i < range.end; ++i)
        usable[i] = specValClassify(standardValues()[i]) == SpecialValueClass::Ok;
    std::vector<std::unique_ptr<CombinationSearch>> searches;
    for (const ArmCombination& combination : armCombinations)
        if (isEnabled(combination, params))
            searches.push_back(std::make_unique<CombinationSearch>(combination, params, range, usable));
    return searches;
}

std::uint64_t countAll(const std::vector<std::unique_ptr<CombinationSearch>>& searches, double maxDeviation)
{
    std::uint64_t found = 0;
    for (const auto& search : searches)
        for (std::size_t high = 0; high < search->highCount(); ++high)
            found += search->count(high, maxDeviation);
    return found;
}

// The first maxResults in loop order go to the list; the rest are counted.
std::uint64_t listAsFound(const SearchParams& params, ResultList& list)
{
    std::uint64_t found = 0;
    for (const auto& search : combinationSearches(params)) {
        for (std::size_t high = 0; high < search->highCount(); ++high) {
            if (list.resultCount() < params.maxResults) {
                search->visit(high, noBand, [&](const Divider& divider, double deviation) {
                    list.addResult(divider, deviation);
                    return list.resultCount() < params.maxResults;
                });
            }
            found += search->count(high, noBand);
        }
    }
    return found;
}

// A divider and its deviation, ranked by the size of the deviation, then
// fewer resistors, then fewer distinct values, then the order found.
struct Ranked {
    double deviation;
    std::uint64_t divider; // packed, the resistors and distinct values in the top four bits

    static constexpr unsigned rankShift = 60;
};

Ranked ranked(const Divider& divider, double deviation)
{
    const std::size_t resistors = resistorsIn(divider.arms().high) + resistorsIn(divider.arms().low);
    const std::uint64_t rank = (resistors - 1) * 4 + divider.distinctValues() - 1;
    return {deviation, divider.packed() | rank << Ranked::rankShift};
}

// Sorts by rank. Items come in the order found, so a stable sort keeps that
// order among equals: a radix sort from the lowest digit of the key, over the
// bits in which the sizes differ, passing over digits all items share.
void sortByRank(std::vector<Ranked>& items)
{
    // Non-negative doubles order as their bits do.
    const auto sizeBits = [](const Ranked& item) { return std::bit_cast<std::uint64_t>(std::fabs(item.deviation)); };
    std::uint64_t least = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t most = 0;
    for (const Ranked& item : items) {
        least = std::min(least, sizeBits(item));
        most = std::max(most, sizeBits(item));
    }
    constexpr unsigned digitBits = 11;
    constexpr std::size_t digitMask = (std::size_t{1} << digitBits) - 1;
    std::vector<Ranked> scratch(items.size());
    std::vector<std::size_t> starts(digitMask + 1);
    const auto pass = [&](auto digitOf) {
        std::fill(starts.begin(), starts.end(), 0);
        for (const Ranked& item : items)
            ++starts[digitOf(item)];
        if (std::find(starts.begin(), starts.end(), items.size()) != starts.end())
            return;
        std::exclusive_scan(starts.begin(), starts.end(), starts.begin(), std::size_t{0});
        for (const Ranked& item : items)
            scratch[starts[digitOf(item)]++] = item;
        items.swap(scratch);
    };
    pass([](const Ranked& item) { return static_cast<std::size_t>(item.divider >> Ranked::rankShift); });
    for (unsigned shift = 0; shift < std::bit_width(most - least); shift += digitBits)
        pass([&, shift](const Ranked& item) { return static_cast<std::size_t>((sizeBits(item) - least) >> shift) & digitMask; });
}

// A deviation bound that takes in at least limit dividers, and at most a
// quarter more where ties allow: every divider beyond it ranks below all
// within it. Bisected over the bits of non-negative doubles, which order as
// the doubles do.
double deviationBound(const std::vector<std::unique_ptr<CombinationSearch>>& searches, std::uint64_t limit)
{
    if (countAll(searches, 0.0) >= limit)
        return 0.0;
    std::uint64_t below = 0; // takes in fewer than limit
    std::uint64_t enough = std::bit_cast<std::uint64_t>(std::numeric_limits<double>::max());
    while (enough - below > 1) {
        const std::uint64_t middle = below + (enough - below) / 2;
        const std::uint64_t found = countAll(searches, std::bit_cast<double>(middle));
        if (found < limit) {
            below = middle;
        } else {
            enough = middle;
            if (found <= limit + limit / 4)
                break;
        }
    }
    return std::bit_cast<double>(enough);
}

// Every divider is ranked; the best maxResults go to the list in rank order.
std::uint64_t listBestFirst(const SearchParams& params, ResultList& list)
{
    const auto searches = combinationSearches(params);
    const auto limit = static_cast<std::size_t>(params.maxResults);
    const std::uint64_t found = countAll(searches, noBand);
    const double bound = found <= limit ? noBand : deviationBound(searches, limit);

    // Ties at the bound may bring more than the limit; whenever they fill the
    // room, only the best limit stay, so memory follows the limit. Those
    // stay sorted, and all come before any found later.
    const std::size_t room = limit + limit / 4 + 1;
    std::vector<Ranked> best;
    best.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(found, room)));
    for (const auto& search : searches) {
        for (std::size_t high = 0; high < search->highCount(); ++high) {
            search->visit(high, bound, [&](const Divider& divider, double deviation) {
                if (best.size() == room) {
                    sortByRank(best);
                    best.resize(limit);
                }
                best.push_back(ranked(divider, deviation));
                return true;
            });
        }
    }
    sortByRank(best);
    best.resize(std::min(best.size(), limit));
    for (const Ranked& r : best)
        list.addResult(Divider::unpacked(r.divider & ((std::uint64_t{1} << Ranked::rankShift) - 1)), r.deviation);
    return found;
}

} // namespace

std::uint64_t searchDividers(const SearchParams& params, ResultList& list)
{
    return params.order == ListOrder::BestFirst ? listBestFirst(params, list) : listAsFound(params, list);
}

} // namespace tarnel
