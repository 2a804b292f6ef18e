#include "divider_search.h"

#include "arm_table.h"
#include "decimal_bounds.h"
#include "divider.h"
#include "radix_sort.h"
#include "special_values.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <thread>
#include <vector>

namespace tarnel {

// The search lists exactly the lines of the plain nested loops over the
// run's values, in their order, but does far less work. Every IEEE operation
// is monotone in each operand, so for a fixed high arm the divider ratio
// falls as the low arm's resistance rises, and whether it meets a bound (in
// decimal) changes at most once along the way: the low arms that can meet the
// ratio window form one run of the low arms sorted by resistance. So do those
// that meet the total bounds, but for a few at a bound, where the bracketing
// of the total may differ from the sum of the arms in the last bit; those are
// tested one by one. As the high arm grows, the ends of the ratio's run move
// up the lows and those of the total's down, so one sweep over both tables
// finds every run. A run counts its dividers without visiting them, so the
// search counts every divider however few it lists.

namespace {

constexpr double noBand = std::numeric_limits<double>::infinity();

// The values every loop runs over: from the floor of rMin up to rMax.
ValueRange searchedValues(const SearchParams& params)
{
    const std::size_t first = params.values->floorIndex(params.rMin);
    // A loop starting above rMax has no pass at all.
    return {first, std::max(first, params.values->endIndex(params.rMax))};
}

// The arms of each shape the enabled combinations use; arms holding a value
// the special table rejects can never give a line and are left out.
class ArmTables {
public:
    explicit ArmTables(const SearchParams& params)
    {
        const ValueRange range = searchedValues(params);
        std::vector<bool> usable(params.values->size());
        for (std::size_t i = range.first; i < range.end; ++i)
            usable[i] = specValClassify((*params.values)[i]) == SpecialValueClass::Ok;
        for (const ArmCombination& combination : armCombinations) {
            if (!isEnabled(combination, params))
                continue;
            for (const ArmKind kind : {combination.high, combination.low}) {
                auto& table = tables_[static_cast<std::size_t>(kind)];
                if (!table)
                    table = std::make_unique<const ArmTable>(*params.values, kind, range, usable);
            }
        }
    }

    [[nodiscard]] const ArmTable& operator[](ArmKind kind) const { return *tables_[static_cast<std::size_t>(kind)]; }

private:
    std::array<std::unique_ptr<const ArmTable>, 3> tables_;
};

// Positions in a table of low arms.
struct Run {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
    [[nodiscard]] std::uint32_t size() const { return end - first; }
};

// The dividers of one combination within a deviation, by the high arm's loop index.
struct RunTable {
    struct Edge {
        std::uint32_t high; // loop index
        std::uint32_t low;  // position
    };
    std::vector<Run> sure; // the lows that surely meet every bound
    std::vector<Edge> edges; // lows at a total bound that were tested and meet them, by high
    std::uint64_t count = 0;
};

// The dividers of one combination.
class CombinationSearch {
public:
    CombinationSearch(const ArmCombination& combination, const SearchParams& params, const ArmTables& tables)
        : combination_(combination), params_(params), highs_(tables[combination.high]),
          lows_(tables[combination.low]),
          // With one high resistor the low pair loops its larger value outside.
          lowsLargerOuter_(combination.high == ArmKind::Single)
    {
    }

    [[nodiscard]] std::size_t highLoopCount() const { return highs_.loopCount(); }

    // How many dividers meet the bounds and deviate by at most maxDeviation.
    [[nodiscard]] std::uint64_t count(double maxDeviation) const
    {
        std::uint64_t found = 0;
        sweep(maxDeviation, [&](const Arm&, Run sure, std::span<const std::uint32_t> edges) {
            found += sure.size() + edges.size();
        });
        return found;
    }

    [[nodiscard]] RunTable runs(double maxDeviation) const
    {
        RunTable table;
        table.sure.resize(highs_.loopCount());
        sweep(maxDeviation, [&](const Arm& high, Run sure, std::span<const std::uint32_t> edges) {
            table.sure[high.loop] = sure;
            for (const std::uint32_t low : edges)
                table.edges.push_back({high.loop, low});
            table.count += sure.size() + edges.size();
        });
        std::sort(table.edges.begin(), table.edges.end(),
                  [](const RunTable::Edge& a, const RunTable::Edge& b) { return a.high < b.high; });
        return table;
    }

    // Hands the dividers of the highs from firstHigh to endHigh (loop
    // indices) to take in loop order, with their deviations; false once take
    // refuses one. scratch is one per thread.
    template <class Take>
    bool visit(const RunTable& runs, std::size_t firstHigh, std::size_t endHigh, double maxDeviation,
               std::vector<std::uint64_t>& scratch, Take&& take) const
    {
        auto edge = std::partition_point(runs.edges.begin(), runs.edges.end(),
                                         [&](const RunTable::Edge& e) { return e.high < firstHigh; });
        for (std::size_t t = firstHigh; t < endHigh; ++t) {
            const Run sure = runs.sure[t];
            const auto edgesEnd = std::find_if(edge, runs.edges.end(), [t](const RunTable::Edge& e) { return e.high != t; });
            const std::size_t candidates = sure.size() + static_cast<std::size_t>(edgesEnd - edge);
            if (candidates == 0)
                continue;
            const Arm& high = *highs_.atLoopIndex(t);
            // A wide run is cheaper to test in loop order than to sort back into it.
            if (candidates * 16 > lows_.size()) {
                const bool going = lows_.eachInLoopOrder(lowsLargerOuter_, [&](const Arm& low) {
                    return !(meetsBounds(high, low) && withinBand(deviation(high, low), maxDeviation)) ||
                           take(dividerOf(high, low), deviation(high, low));
                });
                if (!going)
                    return false;
            } else {
                scratch.clear();
                const auto keyOf = [&](std::uint32_t position) {
                    return std::uint64_t{lows_.loopIndex(lows_[position], lowsLargerOuter_)} << 32 | position;
                };
                for (std::uint32_t position = sure.first; position < sure.end; ++position)
                    scratch.push_back(keyOf(position));
                for (; edge != edgesEnd; ++edge)
                    scratch.push_back(keyOf(edge->low));
                std::sort(scratch.begin(), scratch.end());
                for (const std::uint64_t key : scratch) {
                    const Arm& low = lows_[static_cast<std::uint32_t>(key)];
                    if (!take(dividerOf(high, low), deviation(high, low)))
                        return false;
                }
            }
            edge = edgesEnd;
        }
        return true;
    }

private:
    [[nodiscard]] double ratio(const Arm& high, const Arm& low) const
    {
        return dividerRatio(params_.ratioOffset, high.resistance, low.resistance);
    }
    [[nodiscard]] double deviation(const Arm& high, const Arm& low) const
    {
        return deviationPercent(ratio(high, low), params_.ratio);
    }
    [[nodiscard]] static bool withinBand(double deviation, double maxDeviation)
    {
        return maxDeviation == noBand || std::fabs(deviation) <= maxDeviation;
    }

    [[nodiscard]] bool totalMeetsBounds(const Arm& high, const Arm& low) const
    {
        const ValueSet& values = *params_.values;
        const double total =
            totalResistance(combination_, high.resistance, values[low.first], values[low.second], low.resistance);
        return notBelow(total, params_.rSumMin) && notAbove(total, params_.rSumMax);
    }

    // The full test of one divider.
    [[nodiscard]] bool meetsBounds(const Arm& high, const Arm& low) const
    {
        const double r = ratio(high, low);
        return notBelow(r, params_.ratioLow) && notAbove(r, params_.ratioHigh) && totalMeetsBounds(high, low);
    }

    [[nodiscard]] Divider dividerOf(const Arm& high, const Arm& low) const
    {
        return {combination_.number, {high.first, high.second, low.first, low.second}};
    }

    // The largest high arm whose ratio over low is surely at most bound, by
    // a margin far beyond rounding; none where bound lies too close to the
    // offset for that.
    [[nodiscard]] double highSurelyBelow(double bound, const Arm& low) const
    {
        const double room = bound - params_.ratioOffset;
        return room > 1e-3 * bound ? room * low.resistance * (1 - 1e-10) : -noBand;
    }

    // Calls found(high, sure, edges) for every high arm with a divider within
    // maxDeviation, ascending by resistance: sure the run of lows that surely
    // meet every bound, edges the lows at a total bound that were tested one
    // by one and meet them.
    template <class Found>
    void sweep(double maxDeviation, Found&& found) const
    {
        const auto lowCount = static_cast<std::uint32_t>(lows_.size());
        // Along the lows the ratio falls: the window and the band each start
        // where the ratio is no longer above them and end where it falls below.
        std::uint32_t windowFirst = 0;
        std::uint32_t windowEnd = 0;
        std::uint32_t bandFirst = 0;
        std::uint32_t bandEnd = 0;
        // Along the lows the sum of the arms rises. It stands for the total;
        // it may differ from the bracketed total in the last bits, far inside
        // this margin. Found from the top only when a high has a run, since
        // they move down as the highs grow.
        constexpr double margin = 1e-12;
        std::uint32_t mayFirst = lowCount;
        std::uint32_t sureFirst = lowCount;
        std::uint32_t sureEnd = lowCount;
        std::uint32_t mayEnd = lowCount;
        // Highs up to these resistances surely leave the window's ends where
        // they are, so most highs cost two comparisons and no division.
        const double surelyBelowLow = params_.ratioLow * (1 - 2e-9);
        double keepsFirst = -noBand;
        double keepsEnd = -noBand;
        std::vector<std::uint32_t> edges;
        for (std::size_t h = 0; h < highs_.size(); ++h) {
            const Arm& high = highs_[h];
            const auto ratioAt = [&](std::uint32_t k) { return ratio(high, lows_[k]); };
            if (!(high.resistance <= keepsFirst && high.resistance <= keepsEnd)) {
                while (windowFirst < lowCount && !notAbove(ratioAt(windowFirst), params_.ratioHigh))
                    ++windowFirst;
                windowEnd = std::max(windowEnd, windowFirst);
                while (windowEnd < lowCount && notBelow(ratioAt(windowEnd), params_.ratioLow))
                    ++windowEnd;
                keepsFirst = windowFirst < lowCount ? highSurelyBelow(params_.ratioHigh, lows_[windowFirst]) : noBand;
                keepsEnd = windowEnd < lowCount ? highSurelyBelow(surelyBelowLow, lows_[windowEnd]) : noBand;
            }
            std::uint32_t first = windowFirst;
            std::uint32_t end = windowEnd;
            if (maxDeviation != noBand) {
                const auto deviationAt = [&](std::uint32_t k) { return deviationPercent(ratioAt(k), params_.ratio); };
                while (bandFirst < lowCount && deviationAt(bandFirst) > maxDeviation)
                    ++bandFirst;
                bandEnd = std::max(bandEnd, bandFirst);
                while (bandEnd < lowCount && deviationAt(bandEnd) >= -maxDeviation)
                    ++bandEnd;
                first = std::max(first, bandFirst);
                end = std::min(end, bandEnd);
            }
            if (first >= end)
                continue;

            const auto sumAt = [&](std::uint32_t k) { return high.resistance + lows_[k].resistance; };
            while (mayFirst > 0 && notBelow(sumAt(mayFirst - 1) * (1 + margin), params_.rSumMin))
                --mayFirst;
            while (sureFirst > 0 && notBelow(sumAt(sureFirst - 1) * (1 - margin), params_.rSumMin))
                --sureFirst;
            while (sureEnd > 0 && !notAbove(sumAt(sureEnd - 1) * (1 + margin), params_.rSumMax))
                --sureEnd;
            while (mayEnd > 0 && !notAbove(sumAt(mayEnd - 1) * (1 - margin), params_.rSumMax))
                --mayEnd;
            // Within the ratio's run: lower edge, sure run, upper edge.
            const auto within = [&](std::uint32_t k) { return std::clamp(k, first, end); };
            const std::uint32_t sure = within(sureFirst);
            const std::uint32_t sureStop = std::max(sure, within(sureEnd));
            edges.clear();
            for (const Run edge : {Run{within(mayFirst), sure}, Run{sureStop, std::max(sureStop, within(mayEnd))}})
                for (std::uint32_t k = edge.first; k < edge.end; ++k)
                    if (totalMeetsBounds(high, lows_[k]))
                        edges.push_back(k);
            if (sureStop > sure || !edges.empty())
                found(high, Run{sure, sureStop}, std::span<const std::uint32_t>(edges));
        }
    }

    const ArmCombination& combination_;
    const SearchParams& params_;
    const ArmTable& highs_;
    const ArmTable& lows_;
    bool lowsLargerOuter_;
};

// Every enabled combination, in the order a search runs them.
std::vector<CombinationSearch> combinationSearches(const SearchParams& params, const ArmTables& tables)
{
    std::vector<CombinationSearch> searches;
    for (const ArmCombination& combination : armCombinations)
        if (isEnabled(combination, params))
            searches.emplace_back(combination, params, tables);
    return searches;
}

std::uint64_t countAll(const std::vector<CombinationSearch>& searches, double maxDeviation)
{
    std::uint64_t found = 0;
    for (const CombinationSearch& search : searches)
        found += search.count(maxDeviation);
    return found;
}

// The first maxResults in loop order go to the list; the rest are counted.
std::uint64_t listAsFound(const SearchParams& params, const ArmTables& tables, ResultList& list)
{
    std::uint64_t found = 0;
    std::vector<std::uint64_t> scratch;
    for (const CombinationSearch& search : combinationSearches(params, tables)) {
        if (list.resultCount() >= params.maxResults) {
            found += search.count(noBand);
            continue;
        }
        const RunTable runs = search.runs(noBand);
        found += runs.count;
        search.visit(runs, 0, search.highLoopCount(), noBand, scratch, [&](const Divider& divider, double deviation) {
            list.addResult(divider, deviation);
            return list.resultCount() < params.maxResults;
        });
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

// A stable sort by rank: the key's lowest digit is the rank's second key,
// the others the bits in which the sizes differ.
void sortByRank(std::span<Ranked> items, std::span<Ranked> scratch)
{
    if (items.size() < 2)
        return;
    const auto [least, most] = std::minmax_element(items.begin(), items.end(),
                                                   [](const Ranked& a, const Ranked& b) { return sizeBits(a) < sizeBits(b); });
    const std::uint64_t base = sizeBits(*least);
    constexpr unsigned digitBits = 11;
    const auto sizeDigits = static_cast<unsigned>((std::bit_width(sizeBits(*most) - base) + digitBits - 1) / digitBits);
    radixSort<digitBits, Ranked>(items, scratch, sizeDigits + 1, [base](const Ranked& item, unsigned d) {
        return d == 0 ? static_cast<std::size_t>(item.divider >> Ranked::rankShift)
                      : static_cast<std::size_t>((sizeBits(item) - base) >> ((d - 1) * digitBits)) &
                            ((std::size_t{1} << digitBits) - 1);
    });
}

// A deviation bound that takes in at least limit dividers, and at most a
// quarter more where ties allow: every divider beyond it ranks below all
// within it. Found between no deviation and the largest the ratio window
// allows, each step guessing from the counts at both ends as if dividers
// were spread evenly, or halving where that guess stalls.
double deviationBound(const SearchParams& params, const std::vector<CombinationSearch>& searches,
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

// Highs of one combination, from first to end (loop indices), with their
// runs when these are shared; otherwise they are found when needed.
struct HighRange {
    const CombinationSearch* search;
    std::size_t first;
    std::size_t end;
    const RunTable* runs;
};

// The dividers within the bound, in the order found, cut into two parts of
// about equal numbers. splitRuns keeps the runs of the combination cut.
std::array<std::vector<HighRange>, 2> halves(const std::vector<CombinationSearch>& searches, double bound,
                                             RunTable& splitRuns)
{
    std::vector<std::uint64_t> within;
    for (const CombinationSearch& search : searches)
        within.push_back(search.count(bound));
    std::uint64_t half = 0;
    for (const std::uint64_t count : within)
        half += count;
    half = (half + 1) / 2;
    std::array<std::vector<HighRange>, 2> parts;
    std::uint64_t before = 0;
    std::size_t cut = 0;
    while (cut < searches.size() && before + within[cut] < half) {
        parts[0].push_back({&searches[cut], 0, searches[cut].highLoopCount(), nullptr});
        before += within[cut++];
    }
    if (cut == searches.size())
        return parts;
    splitRuns = searches[cut].runs(bound);
    std::size_t high = 0;
    std::size_t edge = 0;
    for (; high < searches[cut].highLoopCount() && before < half; ++high) {
        before += splitRuns.sure[high].size();
        for (; edge < splitRuns.edges.size() && splitRuns.edges[edge].high == high; ++edge)
            ++before;
    }
    parts[0].push_back({&searches[cut], 0, high, &splitRuns});
    parts[1].push_back({&searches[cut], high, searches[cut].highLoopCount(), &splitRuns});
    for (std::size_t i = cut + 1; i < searches.size(); ++i)
        parts[1].push_back({&searches[i], 0, searches[i].highLoopCount(), nullptr});
    return parts;
}

// The best limit of a part's dividers within the bound, ranked. Ties at the
// bound may bring more than the limit; whenever they fill the room, only the
// best limit stay, so memory follows the limit. Those stay sorted, and all
// come before any found later.
std::vector<Ranked> bestOf(const std::vector<HighRange>& part, double bound, std::size_t limit)
{
    const std::size_t room = limit + limit / 4 + 1;
    std::vector<Ranked> best;
    std::vector<Ranked> scratch;
    std::vector<std::uint64_t> inLoopOrder;
    for (const HighRange& range : part) {
        if (range.first == range.end)
            continue;
        const RunTable runs = range.runs != nullptr ? RunTable() : range.search->runs(bound);
        const RunTable& shared = range.runs != nullptr ? *range.runs : runs;
        if (best.capacity() == 0) {
            best.reserve(std::min(room, static_cast<std::size_t>(std::max<std::uint64_t>(shared.count, 1))));
            scratch.resize(best.capacity());
        }
        range.search->visit(shared, range.first, range.end, bound, inLoopOrder,
                            [&](const Divider& divider, double deviation) {
                                if (best.size() == room) {
                                    sortByRank(best, scratch);
                                    best.resize(limit);
                                }
                                if (best.size() == best.capacity()) {
                                    best.reserve(std::min(room, best.capacity() * 2));
                                    scratch.resize(best.capacity());
                                }
                                best.push_back(ranked(divider, deviation));
                                return true;
                            });
    }
    scratch.resize(best.size());
    sortByRank(best, scratch);
    best.resize(std::min(best.size(), limit));
    return best;
}

// Every divider is ranked; the best maxResults go to the list in rank order.
// The two halves of the search are ranked on two threads and then merged,
// the earlier half first among equals.
std::uint64_t listBestFirst(const SearchParams& params, const ArmTables& tables, ResultList& list)
{
    const std::vector<CombinationSearch> searches = combinationSearches(params, tables);
    const auto limit = static_cast<std::size_t>(params.maxResults);
    const std::uint64_t found = countAll(searches, noBand);
    if (found == 0)
        return 0;
    const double bound = found <= limit ? noBand : deviationBound(params, searches, found, limit);
    RunTable splitRuns;
    const auto parts = halves(searches, bound, splitRuns);
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

std::size_t searchedValueCount(const SearchParams& params)
{
    return searchedValues(params).size();
}

bool searchesPairs(const SearchParams& params)
{
    return std::any_of(armCombinations.begin(), armCombinations.end(), [&](const ArmCombination& c) {
        return isEnabled(c, params) && (c.high != ArmKind::Single || c.low != ArmKind::Single);
    });
}

std::uint64_t searchDividers(const SearchParams& params, ResultList& list)
{
    list.setValues(params.values);
    const ArmTables tables(params);
    return params.order == ListOrder::BestFirst ? listBestFirst(params, tables, list)
                                                : listAsFound(params, tables, list);
}

} // namespace tarnel
