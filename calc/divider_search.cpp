#include "divider_search.h"

#include "arm_table.h"
#include "both_cores.h"
#include "decimal_bounds.h"
#include "divider.h"
#include "radix_sort.h"
#include "special_values.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <optional>
#include <span>
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

// Below this many arms passed a second thread costs more than it saves.
constexpr std::size_t sweepsWorthTwoCores = 100'000;

// Best first ranks every divider where no more than this many are found.
constexpr std::uint64_t rankAllUpTo = 1 << 16;

// The values every loop runs over: from the floor of rMin up to rMax.
ValueRange searchedValues(const SearchParams& params)
{
    const std::size_t first = params.values->floorIndex(params.rMin);
    // A loop starting above rMax has no pass at all.
    return {first, std::max(first, params.values->endIndex(params.rMax))};
}

// Positions in a table of low arms.
struct Run {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
    [[nodiscard]] std::uint32_t size() const { return end - first; }
};

// The dividers of one combination within a deviation, high arm by high arm
// in loop order; a high arm without any is left out.
struct RunTable {
    struct High {
        std::uint32_t loop;     // the high arm's loop index
        std::uint32_t position; // in the table of highs
        Run sure;               // the lows that surely meet every bound
        std::uint32_t edgesEnd; // its edges end here in edges, the previous high's ending where they start
    };
    std::vector<High> highs;
    std::vector<std::uint32_t> edges; // lows at a total bound that were tested and meet them
    std::uint64_t count = 0;

    [[nodiscard]] std::uint32_t edgesBegin(std::size_t high) const { return high == 0 ? 0 : highs[high - 1].edgesEnd; }
    [[nodiscard]] std::uint64_t countOf(std::size_t high) const
    {
        return highs[high].sure.size() + highs[high].edgesEnd - edgesBegin(high);
    }
};

// One end of a run along the lows sorted by resistance, where the ratio of a
// high arm over them falls: the first low whose ratio no longer counts as
// above a bound. As the high arm grows, it moves up. Where the ratio is
// surely off the bound, by far more than decimal bounds and rounding can
// move it, one product decides instead of a division; else the exact test.
class RatioEdge {
public:
    RatioEdge(double bound, double offset)
        : surelyBelow_((bound * (1 - 2e-9) - offset) * (1 - 1e-10)),
          surelyAbove_((bound * (1 + 2e-9) - offset) * (1 + 1e-10)),
          // Too close to the offset, the ratio's part above it is too small to bound so.
          decidesByProduct_(bound * (1 - 2e-9) - offset > 1e-3 * bound)
    {
    }

    // Moves past every low whose ratio with high counts as above, as
    // countsAbove(position) tells.
    template <class CountsAbove>
    void advance(const Arm& high, const ArmTable& lows, CountsAbove countsAbove)
    {
        for (; position < lows.size(); ++position) {
            const double low = lows[position].resistance;
            if (decidesByProduct_ && high.resistance >= surelyAbove_ * low)
                continue;
            if ((decidesByProduct_ && high.resistance <= surelyBelow_ * low) || !countsAbove(position))
                break;
        }
    }

    // An end never lies before its run's start.
    void catchUp(const RatioEdge& start) { position = std::max(position, start.position); }

    std::uint32_t position = 0;

private:
    double surelyBelow_; // a high up to this times the low surely gives a ratio below the bound
    double surelyAbove_; // from this times the low, surely above
    bool decidesByProduct_;
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

    // What a sweep costs, in arms passed.
    [[nodiscard]] std::size_t work() const { return highs_.size() + lows_.size(); }

    [[nodiscard]] Divider dividerOf(const Arm& high, const Arm& low) const
    {
        return {combination_.number, {high.first, high.second, low.first, low.second}};
    }
    [[nodiscard]] double deviation(const Arm& high, const Arm& low) const
    {
        return deviationPercent(ratio(high, low), params_.ratio);
    }

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
        // Found ascending by resistance, then put in loop order.
        struct Found {
            RunTable::High high;
            std::uint32_t edgesBegin;
        };
        std::vector<Found> found;
        std::vector<std::uint32_t> edges;
        RunTable table;
        sweep(maxDeviation, [&](const Arm& high, Run sure, std::span<const std::uint32_t> highEdges) {
            const auto begin = static_cast<std::uint32_t>(edges.size());
            edges.insert(edges.end(), highEdges.begin(), highEdges.end());
            found.push_back({{high.loop, static_cast<std::uint32_t>(&high - &highs_[0]), sure,
                              static_cast<std::uint32_t>(edges.size())},
                             begin});
            table.count += sure.size() + highEdges.size();
        });
        constexpr unsigned digitBits = 11;
        std::vector<Found> scratch(found.size());
        radixSort<digitBits, Found>(found, scratch,
                                    (std::bit_width(highs_.loopCount()) + digitBits - 1) / digitBits,
                                    [](const Found& f, unsigned d) {
                                        return static_cast<std::size_t>(f.high.loop >> (d * digitBits)) &
                                               ((std::size_t{1} << digitBits) - 1);
                                    });
        table.highs.reserve(found.size());
        table.edges.reserve(edges.size());
        for (const Found& f : found) {
            table.edges.insert(table.edges.end(), edges.begin() + f.edgesBegin, edges.begin() + f.high.edgesEnd);
            table.highs.push_back(f.high);
            table.highs.back().edgesEnd = static_cast<std::uint32_t>(table.edges.size());
        }
        return table;
    }

    // Hands the dividers of the table's highs from firstHigh to endHigh to
    // take in loop order, as their two arms; false once take refuses one.
    // scratch is one per thread.
    template <class Take>
    bool visit(const RunTable& runs, std::size_t firstHigh, std::size_t endHigh, double maxDeviation,
               std::vector<std::uint64_t>& scratch, Take&& take) const
    {
        for (std::size_t h = firstHigh; h < endHigh; ++h) {
            const RunTable::High& entry = runs.highs[h];
            const Arm& high = highs_[entry.position];
            // A wide run is cheaper to test in loop order than to sort back into it.
            if (runs.countOf(h) * 16 > lows_.size()) {
                const bool going = lows_.eachInLoopOrder(lowsLargerOuter_, [&](const Arm& low) {
                    return !(meetsBounds(high, low) && withinBand(deviation(high, low), maxDeviation)) ||
                           take(high, low);
                });
                if (!going)
                    return false;
                continue;
            }
            scratch.clear();
            const auto keyOf = [&](std::uint32_t position) {
                return std::uint64_t{lows_.loopIndex(lows_[position], lowsLargerOuter_)} << 32 | position;
            };
            for (std::uint32_t position = entry.sure.first; position < entry.sure.end; ++position)
                scratch.push_back(keyOf(position));
            for (std::uint32_t e = runs.edgesBegin(h); e < entry.edgesEnd; ++e)
                scratch.push_back(keyOf(runs.edges[e]));
            std::sort(scratch.begin(), scratch.end());
            for (const std::uint64_t key : scratch) {
                if (!take(high, lows_[static_cast<std::uint32_t>(key)]))
                    return false;
            }
        }
        return true;
    }

private:
    [[nodiscard]] double ratio(const Arm& high, const Arm& low) const
    {
        return dividerRatio(params_.ratioOffset, high.resistance, low.resistance);
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
        const double offset = params_.ratioOffset;
        RatioEdge windowFirst(params_.ratioHigh, offset);
        RatioEdge windowEnd(params_.ratioLow, offset);
        const bool band = maxDeviation != noBand;
        RatioEdge bandFirst(band ? params_.ratio * (1 + maxDeviation / 100) : 0.0, offset);
        RatioEdge bandEnd(band ? params_.ratio * (1 - maxDeviation / 100) : 0.0, offset);
        // Along the lows the sum of the arms rises. It stands for the total;
        // it may differ from the bracketed total in the last bits, far inside
        // this margin. Found from the top only when a high has a run, since
        // they move down as the highs grow.
        constexpr double margin = 1e-12;
        std::uint32_t mayFirst = lowCount;
        std::uint32_t sureFirst = lowCount;
        std::uint32_t sureEnd = lowCount;
        std::uint32_t mayEnd = lowCount;
        std::vector<std::uint32_t> edges;
        for (std::size_t h = 0; h < highs_.size(); ++h) {
            const Arm& high = highs_[h];
            const auto ratioAt = [&](std::uint32_t k) { return ratio(high, lows_[k]); };
            const auto deviationAt = [&](std::uint32_t k) { return deviationPercent(ratioAt(k), params_.ratio); };
            windowFirst.advance(high, lows_, [&](std::uint32_t k) { return !notAbove(ratioAt(k), params_.ratioHigh); });
            windowEnd.catchUp(windowFirst);
            windowEnd.advance(high, lows_, [&](std::uint32_t k) { return notBelow(ratioAt(k), params_.ratioLow); });
            std::uint32_t first = windowFirst.position;
            std::uint32_t end = windowEnd.position;
            if (band) {
                bandFirst.advance(high, lows_, [&](std::uint32_t k) { return deviationAt(k) > maxDeviation; });
                bandEnd.catchUp(bandFirst);
                bandEnd.advance(high, lows_, [&](std::uint32_t k) { return deviationAt(k) >= -maxDeviation; });
                first = std::max(first, bandFirst.position);
                end = std::min(end, bandEnd.position);
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

std::size_t workOf(const std::vector<CombinationSearch>& searches)
{
    std::size_t work = 0;
    for (const CombinationSearch& search : searches)
        work += search.work();
    return work;
}

// The count of each combination within maxDeviation. Both cores take the
// combinations one at a time, the largest first.
std::vector<std::uint64_t> countsOf(const std::vector<CombinationSearch>& searches, double maxDeviation)
{
    std::vector<std::size_t> order(searches.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return searches[a].work() > searches[b].work(); });
    std::atomic<std::size_t> next{0};
    std::vector<std::uint64_t> counts(searches.size());
    const auto countOnThisCore = [&] {
        for (std::size_t i = next++; i < order.size(); i = next++)
            counts[order[i]] = searches[order[i]].count(maxDeviation);
    };
    if (workOf(searches) >= sweepsWorthTwoCores)
        onBothCores(countOnThisCore, countOnThisCore);
    else
        countOnThisCore();
    return counts;
}

std::uint64_t countAll(const std::vector<CombinationSearch>& searches, double maxDeviation)
{
    const std::vector<std::uint64_t> counts = countsOf(searches, maxDeviation);
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
}

// The first maxResults in loop order go to the list; the rest are counted.
// Both cores take the combinations in order: while the list may still take
// lines, one's runs, to be listed in order by this core; once it is full,
// just its count.
std::uint64_t listAsFound(const SearchParams& params, const ArmTables& tables, ResultList& list)
{
    const std::vector<CombinationSearch> searches = combinationSearches(params, tables);
    struct Found {
        std::optional<RunTable> runs;
        std::uint64_t count = 0;
        bool done = false;
    };
    std::vector<Found> found(searches.size());
    std::mutex guard;
    std::condition_variable finished;
    std::size_t next = 0;       // the first combination no core has taken
    bool stopped = false;       // this core is done, or either failed
    std::atomic<bool> full{list.resultCount() >= params.maxResults};
    const auto work = [&](std::size_t i) {
        Found result;
        if (full)
            result.count = searches[i].count(noBand);
        else
            result.count = result.runs.emplace(searches[i].runs(noBand)).count;
        result.done = true;
        return result;
    };
    // Takes the first combination no core has taken and works on it; false
    // when there is none.
    const auto workOnNext = [&] {
        std::size_t i = 0;
        {
            const std::scoped_lock lock(guard);
            if (stopped || next == searches.size())
                return false;
            i = next++;
        }
        Found result = work(i);
        {
            const std::scoped_lock lock(guard);
            found[i] = std::move(result);
        }
        finished.notify_all();
        return true;
    };
    const auto helper = [&] {
        try {
            while (workOnNext()) {
            }
        } catch (...) {
            {
                const std::scoped_lock lock(guard);
                stopped = true;
            }
            finished.notify_all();
            throw;
        }
    };
    const auto lister = [&] {
        // However this core leaves, the other takes no more.
        struct Stop {
            std::mutex& guard;
            bool& stopped;
            ~Stop()
            {
                const std::scoped_lock lock(guard);
                stopped = true;
            }
        } stop{guard, stopped};
        std::vector<std::uint64_t> scratch;
        for (std::size_t i = 0; i < searches.size(); ++i) {
            // Works on the next combinations until the other core has done this one.
            for (;;) {
                {
                    std::unique_lock lock(guard);
                    if (found[i].done)
                        break;
                    if (next == searches.size()) {
                        finished.wait(lock, [&] { return found[i].done || stopped; });
                        if (!found[i].done)
                            return; // the other core failed; its exception follows
                        break;
                    }
                }
                workOnNext();
            }
            if (found[i].runs && !full) {
                searches[i].visit(*found[i].runs, 0, found[i].runs->highs.size(), noBand, scratch,
                                  [&](const Arm& high, const Arm& low) {
                                      list.addResult(searches[i].dividerOf(high, low));
                                      return list.resultCount() < params.maxResults;
                                  });
                full = list.resultCount() >= params.maxResults;
            }
            found[i].runs.reset();
        }
    };
    if (workOf(searches) >= sweepsWorthTwoCores)
        onBothCores(helper, lister);
    else
        lister();
    return std::accumulate(found.begin(), found.end(), std::uint64_t{0},
                           [](std::uint64_t sum, const Found& f) { return sum + f.count; });
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
    constexpr unsigned digitBits = 11;
    // Below a digit's count of buckets, comparing costs less than counting.
    if (items.size() < std::size_t{1} << digitBits) {
        std::stable_sort(items.begin(), items.end(), ranksBefore);
        return;
    }
    const auto [least, most] = std::minmax_element(items.begin(), items.end(),
                                                   [](const Ranked& a, const Ranked& b) { return sizeBits(a) < sizeBits(b); });
    const std::uint64_t base = sizeBits(*least);
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

// The highs of one combination with dividers: those of runs from first to
// end, or, without runs, all of them, their runs found when needed.
struct HighRange {
    const CombinationSearch* search;
    const RunTable* runs;
    std::size_t first;
    std::size_t end;
};

// Highs in the order found, and how many dividers within the bound they hold.
struct Part {
    std::vector<HighRange> highs;
    std::uint64_t within = 0;
};

// The dividers within the bound, each combination holding within of them, in
// the order found, cut into two parts of about equal numbers. splitRuns keeps
// the runs of the combination cut.
std::array<Part, 2> halves(const std::vector<CombinationSearch>& searches, const std::vector<std::uint64_t>& within,
                           double bound, RunTable& splitRuns)
{
    const std::uint64_t all = std::accumulate(within.begin(), within.end(), std::uint64_t{0});
    const std::uint64_t half = (all + 1) / 2;
    std::array<Part, 2> parts;
    std::uint64_t before = 0;
    std::size_t cut = 0;
    for (; cut < searches.size() && before + within[cut] < half; before += within[cut++])
        parts[0].highs.push_back({&searches[cut], nullptr, 0, 0});
    if (cut < searches.size()) {
        splitRuns = searches[cut].runs(bound);
        std::size_t high = 0;
        for (; high < splitRuns.highs.size() && before < half; ++high)
            before += splitRuns.countOf(high);
        parts[0].highs.push_back({&searches[cut], &splitRuns, 0, high});
        parts[1].highs.push_back({&searches[cut], &splitRuns, high, splitRuns.highs.size()});
        for (std::size_t i = cut + 1; i < searches.size(); ++i)
            parts[1].highs.push_back({&searches[i], nullptr, 0, 0});
    }
    parts[0].within = before;
    parts[1].within = all - before;
    return parts;
}

// The best limit of a part's dividers within the bound, ranked. Ties at the
// bound may bring more than the limit; whenever they fill the room, only the
// best limit stay, so memory follows the limit. Those stay sorted, and all
// come before any found later, so a divider found later that does not rank
// before the last of them is never kept. The room is taken once, and the
// sort's scratch is not cleared first: millions of items are each written
// before they are read.
std::vector<Ranked> bestOf(const Part& part, double bound, std::size_t limit)
{
    const std::size_t room = limit + limit / 4 + 1;
    const auto capacity = static_cast<std::size_t>(std::min<std::uint64_t>(room, part.within));
    std::vector<Ranked> best;
    best.reserve(capacity);
    const auto scratch = std::make_unique_for_overwrite<Ranked[]>(capacity);
    std::optional<Ranked> cut; // the last kept once the room was full
    std::vector<std::uint64_t> inLoopOrder;
    for (const HighRange& range : part.highs) {
        const RunTable own = range.runs != nullptr ? RunTable() : range.search->runs(bound);
        const RunTable& runs = range.runs != nullptr ? *range.runs : own;
        const std::size_t end = range.runs != nullptr ? range.end : runs.highs.size();
        range.search->visit(runs, range.first, end, bound, inLoopOrder, [&](const Arm& high, const Arm& low) {
            const double deviation = range.search->deviation(high, low);
            if (cut && std::fabs(deviation) > std::fabs(cut->deviation))
                return true;
            const Ranked item = ranked(range.search->dividerOf(high, low), deviation);
            if (best.size() == room) {
                sortByRank(best, {scratch.get(), capacity});
                best.resize(limit);
                cut = best.back();
            }
            if (!cut || ranksBefore(item, *cut))
                best.push_back(item);
            return true;
        });
    }
    sortByRank(best, {scratch.get(), capacity});
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
    const std::vector<std::uint64_t> counts = countsOf(searches, noBand);
    const std::uint64_t found = std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
    if (found == 0 || limit == 0)
        return found;
    // Where few dividers are found, or the limit takes in nearly all, ranking
    // every one costs less than the sweeps that would narrow the bound.
    const bool rankAll = found <= limit + limit / 4 || found <= rankAllUpTo;
    const double bound = rankAll ? noBand : deviationBound(params, searches, found, limit);
    RunTable splitRuns;
    const auto parts = halves(searches, rankAll ? counts : countsOf(searches, bound), bound, splitRuns);
    std::vector<Ranked> earlier;
    std::vector<Ranked> later;
    onBothCores([&] { earlier = bestOf(parts[0], bound, limit); }, [&] { later = bestOf(parts[1], bound, limit); });
    auto a = earlier.begin();
    auto b = later.begin();
    for (std::size_t listed = 0; listed < limit && (a != earlier.end() || b != later.end()); ++listed) {
        const Ranked& r = b == later.end() || (a != earlier.end() && !ranksBefore(*b, *a)) ? *a++ : *b++;
        list.addResult(Divider::unpacked(r.divider & ((std::uint64_t{1} << Ranked::rankShift) - 1)));
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

std::uint64_t searchDividers(const SearchParams& params, ResultList& list, ArmTableCache* cache)
{
    list.setRun(params);
    // Arms holding a value the special table rejects can never give a line and are left out.
    const ValueRange range = searchedValues(params);
    std::vector<bool> usable(params.values->size());
    for (std::size_t i = range.first; i < range.end; ++i)
        usable[i] = specValClassify((*params.values)[i]) == SpecialValueClass::Ok;
    ArmTableCache ownCache;
    ArmTables& tables = (cache != nullptr ? *cache : ownCache).tables(params.values, range, usable);
    std::array<bool, 3> shapes{};
    for (const ArmCombination& combination : armCombinations)
        if (isEnabled(combination, params))
            shapes[static_cast<std::size_t>(combination.high)] = shapes[static_cast<std::size_t>(combination.low)] = true;
    tables.make(shapes);
    return params.order == ListOrder::BestFirst ? listBestFirst(params, tables, list)
                                                : listAsFound(params, tables, list);
}

} // namespace tarnel
