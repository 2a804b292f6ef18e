#include "divider_search.h"

#include "decimal_bounds.h"
#include "divider.h"
#include "special_values.h"
#include "standard_values.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tarnel {

// The search yields exactly the lines of the plain nested loops over value
// cursors, in their order, but does far less work. Every IEEE operation is
// monotone in each operand, so for a fixed high arm the divider ratio falls
// as the low arm's resistance rises, and whether it meets a bound (in
// decimal) changes at most once along the way: the low arms that can meet the
// ratio window form one run of the low arms sorted by resistance, found by
// binary search. A narrow run is tested and sorted back into loop order; a wide one
// is cheaper to test in loop order directly.

namespace {

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

class CombinationSearch {
public:
    CombinationSearch(const ArmCombination& combination, const SearchParams& params, ResultList& list,
                      ValueRange range, const std::vector<bool>& usable)
        : combination_(combination), params_(params), list_(list),
          // With one high resistor the low pair loops second value outside.
          highs_(armsInLoopOrder(combination.high, false, range, usable)),
          lows_(armsInLoopOrder(combination.low, combination.high == ArmKind::Single, range, usable))
    {
        byResistance_.resize(lows_.size());
        for (std::uint32_t i = 0; i < byResistance_.size(); ++i)
            byResistance_[i] = i;
        std::stable_sort(byResistance_.begin(), byResistance_.end(),
                         [this](std::uint32_t a, std::uint32_t b) { return lows_[a].resistance < lows_[b].resistance; });
    }

    // False once the result limit is reached.
    bool run()
    {
        for (const Arm& high : highs_)
            if (!searchLowsFor(high))
                return false;
        return true;
    }

private:
    bool searchLowsFor(const Arm& high)
    {
        const double rh = high.resistance;
        const auto lowFirst = std::partition_point(byResistance_.begin(), byResistance_.end(), [&](std::uint32_t i) {
            return !notAbove(dividerRatio(params_.ratioOffset, rh, lows_[i].resistance), params_.ratioHigh);
        });
        const auto lowEnd = std::partition_point(lowFirst, byResistance_.end(), [&](std::uint32_t i) {
            return notBelow(dividerRatio(params_.ratioOffset, rh, lows_[i].resistance), params_.ratioLow);
        });
        const auto candidates = static_cast<std::size_t>(lowEnd - lowFirst);
        if (candidates == 0)
            return true;

        if (candidates * 16 > lows_.size()) {
            for (const Arm& low : lows_)
                if (!tryCandidate(high, low))
                    return false;
            return true;
        }
        inLoopOrder_.assign(lowFirst, lowEnd);
        std::sort(inLoopOrder_.begin(), inLoopOrder_.end());
        for (const std::uint32_t i : inLoopOrder_)
            if (!tryCandidate(high, lows_[i]))
                return false;
        return true;
    }

    // The full test of one divider; false once the result limit is reached.
    bool tryCandidate(const Arm& high, const Arm& low)
    {
        const auto& values = standardValues();
        const double ratio = dividerRatio(params_.ratioOffset, high.resistance, low.resistance);
        const double total = totalResistance(combination_, high.resistance, values[low.values[0]],
                                             values[low.values[1]], low.resistance);
        if (!(notBelow(ratio, params_.ratioLow) && notAbove(ratio, params_.ratioHigh) && notBelow(total, params_.rSumMin) &&
              notAbove(total, params_.rSumMax)))
            return true;

        list_.addResult({combination_.number, {high.values[0], high.values[1], low.values[0], low.values[1]}},
                        deviationPercent(ratio, params_.ratio));
        return list_.resultCount() < params_.maxResults;
    }

    const ArmCombination& combination_;
    const SearchParams& params_;
    ResultList& list_;
    std::vector<Arm> highs_;
    std::vector<Arm> lows_;
    std::vector<std::uint32_t> byResistance_; // indices into lows_
    std::vector<std::uint32_t> inLoopOrder_;  // scratch for one high arm
};

} // namespace

void searchDividers(const SearchParams& params, ResultList& list)
{
    const ValueRange range = searchedValues(params);
    std::vector<bool> usable(standardValueCount);
    for (std::size_t i = range.first; i < range.end; ++i)
        usable[i] = specValClassify(standardValues()[i]) == SpecialValueClass::Ok;

    for (const ArmCombination& combination : armCombinations) {
        if (list.resultCount() >= params.maxResults)
            return;
        if (!isEnabled(combination, params))
            continue;
        CombinationSearch search(combination, params, list, range, usable);
        if (!search.run())
            return;
    }
}

} // namespace tarnel
