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
#include <span>
#include <thread>
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

    // Hands those dividers to take in loop order, with their deviations;
    // false once take refuses one. inLoopOrder is scratch, one per thread.
    template <class Take>
    bool visit(std::size_t high, double maxDeviation, std::vector<std::uint32_t>& inLoopOrder, Take&& take) const
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
        inLoopOrder.assign(byResistance_.begin() + band.first, byResistance_.begin() + band.end);
        for (std::uint32_t e = p.edgesBegin; e < p.edgesEnd; ++e)
            if (withinBand(h, lows_[byResistance_[edges_[e]]], maxDeviation))
                inLoopOrder.push_back(byResistance_[edges_[e]]);
        std::sort(inLoopOrder.begin(), inLoopOrder.end());
        for (const std::uint32_t i : inLoopOrder)
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
    std::vector<std::uint32_t> inLoopOrder;
    for (const auto& search : combinationSearches(params)) {
        for (std::size_t high = 0; high < search->highCount(); ++high) {
            if (list.resultCount() < params.maxResults) {
                search->visit(high, noBand, inLoopOrder, [&](const Divider& divider, double deviation) {
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

// Non-negative doubles order as their bits do.
std::uint64_t sizeBits(const Ranked& item)
{
    return std::bit_cast<std::uint64_t>(std::fabs(item.deviation));
}

bool ranksBefore(const Ranked& a, const Ranked& b)
{
    const std::uint64_t sa = sizeBits(a);
    const std::uint64_t sb = sizeBits(b);
    return sa != sb ? sa < sb : a.divider >> Ranked::rankShift < b.divider >> Ranked::rankShift;
}

// A stable radix sort by rank, from the lowest digit of the key: first the
// rank's second key, then the bits in which the sizes differ. The histograms
// of all digits come from one read; digits all items share are passed over.
void radixSortByRank(std::span<Ranked> items, std::span<Ranked> scratch)
{
    if (items.size() < 2)
        return;
    const auto [least, most] = std::minmax_element(items.begin(), items.end(),
                                                   [](const Ranked& a, const Ranked& b) { return sizeBits(a) < sizeBits(b); });
    const std::uint64_t base = sizeBits(*least);
    constexpr unsigned digitBits = 11;
    constexpr std::size_t digitMask = (std::size_t{1} << digitBits) - 1;
    const unsigned sizeDigits = (std::bit_width(sizeBits(*most) - base) + digitBits - 1) / digitBits;
    // Digit 0 is the rank's second key; digit d > 0 the size's digit d - 1.
    const auto digitOf = [&](const Ranked& item, unsigned d) {
        return d == 0 ? static_cast<std::size_t>(item.divider >> Ranked::rankShift)
                      : static_cast<std::size_t>((sizeBits(item) - base) >> ((d - 1) * digitBits)) & digitMask;
    };
    std::vector<std::array<std::size_t, digitMask + 1>> starts(sizeDigits + 1);
    for (const Ranked& item : items)
        for (unsigned d = 0; d <= sizeDigits; ++d)
            ++starts[d][digitOf(item, d)];
    // Each pass moves the items between the two spans; they end in items.
    std::span<Ranked> from = items;
    std::span<Ranked> to = scratch.first(items.size());
    for (unsigned d = 0; d <= sizeDigits; ++d) {
        if (std::find(starts[d].begin(), starts[d].end(), items.size()) != starts[d].end())
            continue;
        std::exclusive_scan(starts[d].begin(), starts[d].end(), starts[d].begin(), std::size_t{0});
        for (const Ranked& item : from)
            to[starts[d][digitOf(item, d)]++] = item;
        std::swap(from, to);
    }
    if (from.data() != items.data())
        std::copy(from.begin(), from.end(), items.begin());
}

// A deviation bound that takes in at least limit dividers, and at most a
// quarter more where ties allow: every divider beyond it ranks below all
// within it. Found between no deviation and the largest the ratio window
// allows, each step guessing from the counts at both ends as if dividers
// were spread evenly, or halving where that guess stalls.
double deviationBound(const SearchParams& params, const std::vector<std::unique_ptr<CombinationSearch>>& searches,
                      std::uint64_t found, std::uint64_t limit)
{
    double below = 0.0;
    std::uint64_t countBelow = countAll(searches, below);
    if (countBelow >= limit)
        return below;
    // Beyond the window's deviations by far more than a decimal bound widens them.
    double enough = std::max(std::fabs(deviationPercent(params.ratioLow, params.ratio)),
                             std::fabs(deviationPercent(params.ratioHigh, params.ratio))) * (1 + 1e-6) + 1e-9;
    std::uint64_t countEnough = found;
    bool guessed = false;
    while (countEnough > limit + limit / 4 && enough - below > enough * 1e-15) {
        const double share = static_cast<double>(limit - countBelow) / static_cast<double>(countEnough - countBelow);
        const double guess = below + (enough - below) * share;
        const bool useGuess = !guessed && guess > below && guess < enough;
        const double middle = useGuess ? guess : below + (enough - below) / 2;
        guessed = useGuess;
        const std::uint64_t count = countAll(searches, middle);
        if (count < limit) {
            below = middle;
            countBelow = count;
        } else {
            enough = middle;
            countEnough = count;
        }
    }
    return enough;
}

// Highs of one combination, from first to end.
struct HighRange {
    const CombinationSearch* search;
    std::size_t first;
    std::size_t end;
};

// Highs in the order found, and how many dividers within the bound they hold.
struct Part {
    std::vector<HighRange> highs;
    std::uint64_t within = 0;
};

// The highs of every combination in the order found, cut into two parts of
// about equal numbers of dividers within the bound.
std::array<Part, 2> halves(const std::vector<std::unique_ptr<CombinationSearch>>& searches, double bound)
{
    std::array<Part, 2> parts;
    const std::uint64_t within = countAll(searches, bound);
    Part* part = &parts[0];
    for (const auto& search : searches) {
        std::size_t first = 0;
        for (std::size_t high = 0; high < search->highCount(); ++high) {
            part->within += search->count(high, bound);
            if (part == &parts[0] && part->within * 2 >= within) {
                part->highs.push_back({search.get(), first, high + 1});
                first = high + 1;
                part = &parts[1];
            }
        }
        part->highs.push_back({search.get(), first, search->highCount()});
    }
    return parts;
}

// The best limit of a part's dividers within the bound, ranked. Ties at the
// bound may bring more than the limit; whenever they fill the room, only the
// best limit stay, so memory follows the limit. Those stay sorted, and all
// come before any found later.
std::vector<Ranked> bestOf(const Part& part, double bound, std::size_t limit)
{
    const std::size_t room = limit + limit / 4 + 1;
    std::vector<Ranked> best;
    best.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(part.within, room)));
    std::vector<Ranked> scratch(best.capacity());
    std::vector<std::uint32_t> inLoopOrder;
    for (const HighRange& range : part.highs) {
        for (std::size_t high = range.first; high < range.end; ++high) {
            range.search->visit(high, bound, inLoopOrder, [&](const Divider& divider, double deviation) {
                if (best.size() == room) {
                    radixSortByRank(best, scratch);
                    best.resize(limit);
                }
                best.push_back(ranked(divider, deviation));
                return true;
            });
        }
    }
    radixSortByRank(best, scratch);
    best.resize(std::min(best.size(), limit));
    return best;
}

// Every divider is ranked; the best maxResults go to the list in rank order.
// The two halves of the search are ranked on two threads and then merged,
// the earlier half first among equals.
std::uint64_t listBestFirst(const SearchParams& params, ResultList& list)
{
    const auto searches = combinationSearches(params);
    const auto limit = static_cast<std::size_t>(params.maxResults);
    const std::uint64_t found = countAll(searches, noBand);
    const double bound = found <= limit ? noBand : deviationBound(params, searches, found, limit);
    const auto parts = halves(searches, bound);
    std::vector<Ranked> earlier;
    std::thread first([&] { earlier = bestOf(parts[0], bound, limit); });
    const std::vector<Ranked> later = bestOf(parts[1], bound, limit);
    first.join();
    auto a = earlier.begin();
    auto b = later.begin();
    for (std::size_t listed = 0; listed < limit && (a != earlier.end() || b != later.end()); ++listed) {
        const Ranked& r = b == later.end() || (a != earlier.end() && !ranksBefore(*b, *a)) ? *a++ : *b++;
        list.addResult(Divider::unpacked(r.divider & ((std::uint64_t{1} << Ranked::rankShift) - 1)), r.deviation);
    }
    return found;
}

} // namespace

std::uint64_t searchDividers(const SearchParams& params, ResultList& list)
{
    return params.order == ListOrder::BestFirst ? listBestFirst(params, list) : listAsFound(params, list);
}

} // namespace tarnel
