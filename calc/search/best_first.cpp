#include "search/best_first.h"

#include "search/combination_search.h"
#include "search/freed_memory.h"
#include "search/ordered_pipeline.h"
#include "search/ranking.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace tarnel {

namespace {

// Best first ranks every divider where no more than this many are found.
constexpr std::uint64_t rankAllUpTo = 1 << 16;

// A size no deviation within the ratio window exceeds: beyond the window's
// deviations by far more than a decimal bound widens them.
double deviationReach(const SearchParams& params)
{
    return largestKeptDeviation(params) * (1 + 1e-6) + 1e-9;
}

// How many dividers a bound may take in beyond the limit: ranking that many
// more costs less than a sweep to narrow the bound.
std::uint64_t mostWithin(std::uint64_t limit) { return limit + std::max(limit / 8, rankAllUpTo); }

// A deviation bound and how many dividers lie within it, and of those how
// many are exact in decimal, where that was counted.
struct Bound {
    double deviation;
    std::uint64_t within;
    std::uint64_t exact = 0;
};

// A deviation bound that takes in at least limit dividers, and at most an
// eighth more, or 65,536 more for a small limit, where ties allow; it takes
// in the dividers that tie with it (ranking.h), so that every
// divider beyond it ranks below all within it, and those within are all
// held. Found between the least deviation any divider has and the largest
// the ratio window allows. The count grows about as a power of the
// deviation beyond the least, so each step guesses along the straight line
// between both ends' logarithms, or, with no divider at the lower end, as if
// dividers were spread evenly, aiming at the middle of the room; where the
// same end moved twice running, at the room's far side, so the next guess
// lands across; four times, the step halves.
Bound deviationBound(const SearchParams& params, const std::vector<CombinationSearch>& searches,
                     std::uint64_t found, std::uint64_t limit, std::stop_token stop)
{
    // Where extremes are judged, the window is shut just below the least
    // deviation, and a divider a decimal bound still lets in only makes the
    // first step aim a little low. Else the least is none, and the dividers
    // exact in decimal, a crowd over evenly stepped values, are counted whole.
    const double least = leastRankedDeviation(params);
    const bool extremes = judgesExtremes(params);
    double below = extremes ? least * (1 - 1e-9) : tieEnd(least);
    std::uint64_t countBelow = extremes ? 0 : countAll(searches, below, stop);
    const std::uint64_t exact = countBelow; // none where extremes are judged
    if (countBelow >= limit)
        return {tieEnd(below), countBelow, exact};
    // The guesses model the count beyond that crowd, which no power of the
    // deviation follows.
    const auto crowd = static_cast<double>(countBelow);
    double enough = deviationReach(params);
    std::uint64_t countEnough = found;
    const std::uint64_t most = mostWithin(limit);
    // A loaded tap's least is a bound far below most dividers'. The same
    // dividers unloaded have theirs near, which brackets them: from it down
    // by 1, 4, 16 % until fewer than the limit lie below, each step too
    // many narrowing the upper end.
    if (windowsOnExtremes(params)) {
        SearchParams unloaded = params;
        unloaded.tapLoad = noUpperBound;
        unloaded.pinCurrent = 0.0;
        const double likely = leastRankedDeviation(unloaded) * (1 - 1e-9);
        for (double step = 0.0, probe = likely; probe > below && probe < enough && !stop.stop_requested();
             step = step == 0.0 ? 0.01 : step * 4, probe = likely * (1 - step)) {
            const std::uint64_t count = countAll(searches, probe, stop);
            if (count < limit) {
                below = probe;
                countBelow = count;
                break;
            }
            enough = probe;
            countEnough = count;
        }
    }
    int sameEnd = 0; // how many times running the same end moved, negative for the lower
    // Dividers may crowd on one deviation: ends a billionth apart take the crowd whole.
    while (countEnough > most && enough - below > enough * 1e-9 && !stop.stop_requested()) {
        const double low = static_cast<double>(countBelow) - crowd;
        const double high = static_cast<double>(countEnough) - crowd;
        const double aim =
            static_cast<double>(sameEnd <= -2 ? most : sameEnd >= 2 ? limit : limit + (most - limit) / 2) - crowd;
        const double guess =
            below > least && low > 0
                ? least + (below - least) *
                              std::pow((enough - least) / (below - least), std::log(aim / low) / std::log(high / low))
                : below + (enough - below) * (aim - low) / (high - low);
        const bool halve = sameEnd >= 4 || sameEnd <= -4 || !(guess > below && guess < enough);
        const double middle = halve ? below + (enough - below) / 2 : guess;
        const std::uint64_t count = countAll(searches, middle, stop);
        if (count < limit) {
            below = middle;
            countBelow = count;
            sameEnd = sameEnd < 0 && !halve ? sameEnd - 1 : -1;
        } else {
            enough = middle;
            countEnough = count;
            sameEnd = sameEnd > 0 && !halve ? sameEnd + 1 : 1;
        }
    }
    return {tieEnd(enough), countEnough, exact};
}

// The dividers within the bound are ranked in slices of their deviation's
// size, of about this many: a slice sorts in the cache, and the slices of
// the range, being ordered already, need no merge.
constexpr std::uint64_t sliceItems = 1 << 17;
constexpr std::size_t slicesInFlight = 4;

// Which slice a tied size falls in: slices of equal width from zero to
// reach's, the last taking in any beyond.
class Slices {
public:
    Slices(double reach, std::uint64_t items)
        : count_(tiedSize(reach) > 0.0
                     ? static_cast<std::size_t>(std::clamp<std::uint64_t>(items / sliceItems, 1, 4096))
                     : 1),
          perSize_(tiedSize(reach) > 0.0 ? static_cast<double>(count_) / tiedSize(reach) : 0.0)
    {
    }
    [[nodiscard]] std::size_t count() const { return count_; }
    [[nodiscard]] std::size_t of(double size) const
    {
        // The product grows with the size, so a larger size never lies in an
        // earlier slice, and a tie lies in one.
        const double at = size * perSize_;
        return at < static_cast<double>(count_) ? static_cast<std::size_t>(at) : count_ - 1;
    }

private:
    std::size_t count_;
    double perSize_;
};

// The order dividers are listed in: ranked, and among equals as found. A
// ranking keeps dividers without their deviations; this works them out
// again, and the order found, from a divider's combination.
class RankOrder {
public:
    explicit RankOrder(const std::vector<CombinationSearch>& searches)
    {
        for (const CombinationSearch& search : searches)
            searchOf_[search.combination().number] = &search;
    }

    [[nodiscard]] Ranked ranked(std::uint64_t rankedDivider) const
    {
        const Divider divider = Divider::unpacked(rankedDivider & Ranked::dividerMask);
        return {tiedSize(searchOf_[divider.combination]->deviation(divider)), rankedDivider};
    }

    [[nodiscard]] bool before(const Ranked& a, const Ranked& b) const
    {
        return ranksBefore(a, b) || (!ranksBefore(b, a) && foundKey(a) < foundKey(b));
    }

    // Sorts items into this order; scratch as for sortByRank.
    void sort(std::span<Ranked> items, std::span<Ranked> scratch) const
    {
        sortByRank(items, scratch);
        // Equals in rank, rare but for exact ratios, go in the order found;
        // a crowd tied whole fills a slice, so each is keyed in 16 bytes.
        std::vector<std::pair<std::uint64_t, std::uint64_t>> keyed; // the order found, the divider
        for (auto first = items.begin(); first != items.end();) {
            const auto last = std::find_if(first + 1, items.end(), [&](const Ranked& r) { return ranksBefore(*first, r); });
            if (last - first > 1) {
                keyed.clear();
                keyed.reserve(static_cast<std::size_t>(last - first));
                for (auto it = first; it != last; ++it)
                    keyed.emplace_back(foundKey(*it), it->divider);
                std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
                const double size = first->size;
                std::transform(keyed.begin(), keyed.end(), first, [size](const auto& k) { return Ranked{size, k.second}; });
            }
            first = last;
        }
    }

private:
    // Combinations are searched in the order of their numbers; the order
    // found within one takes 60 bits, loop indices being below 2^28.
    [[nodiscard]] std::uint64_t foundKey(const Ranked& item) const
    {
        const Divider divider = Divider::unpacked(item.divider & Ranked::dividerMask);
        return std::uint64_t{divider.combination} << 60 | searchOf_[divider.combination]->foundOrder(divider);
    }

    std::array<const CombinationSearch*, armCombinations.size()> searchOf_{};
};

// Every divider within a deviation, sliced by its size; but those exact in
// decimal where they were listed before.
class WithinBound {
public:
    WithinBound(double bound, const Slices& slices, bool pastExact = false)
        : bound_(bound), slices_(slices), pastExact_(pastExact)
    {
    }
    [[nodiscard]] std::size_t count() const { return slices_.count(); }

    // Hands take(high, low, deviation, slice) the dividers of the highs
    // from position firstHigh up to endHigh.
    template <class Take>
    void visit(const CombinationSearch& search, std::size_t firstHigh, std::size_t endHigh, Take&& take) const
    {
        search.visitUnordered(bound_, firstHigh, endHigh, [&](const Arm& high, const Arm& low) {
            const double deviation = search.deviation(high, low);
            const double size = tiedSize(deviation);
            if (!(pastExact_ && size == 0.0))
                take(high, low, deviation, slices_.of(size));
        });
    }

private:
    double bound_;
    Slices slices_;
    bool pastExact_;
};

// Where a crowd of dividers ties at the bound's size, as over evenly stepped
// values, where a billion may be exact, the bound cannot narrow, and a sweep
// within it would pass every one. Within a tie fewer resistors, then fewer
// distinct values, then the order found come first: the tie is cut by those
// keys too, from counts of the crowd by distinct values and by loop index of
// the high arm, so that only dividers that can be listed are passed. Those
// that repeat a value, few among many, are found through the lows' values.
constexpr std::uint64_t crowdedTie = 4 * sliceItems;

// The high arms' loop indices are counted in buckets of 1,024, or of more
// where a combination would take more than 4,096: the counts stay small.
unsigned loopBucketBits(const CombinationSearch& search)
{
    return std::max(10U, static_cast<unsigned>(std::bit_width(search.highs().loopCount() >> 12)));
}

std::size_t resistorsOf(const ArmCombination& combination)
{
    return resistorsIn(combination.high) + resistorsIn(combination.low);
}

// Which of a high arm's dividers at the tie are handed on.
enum class TiedTaken { none, repeating, all };

// Calls before(low) for each divider of high, swept within the tie's size,
// that lies before the tie, and tied(low, distinct) for those at it, as
// taken says. Gives how many at the tie were passed without a call: when
// repeating, each of them has all distinct values.
template <class Before, class Tied>
std::uint64_t eachOfHigh(const CombinationSearch& search, double size, const Arm& high, Run sure, Run within,
                         std::span<const std::uint32_t> edges, TiedTaken taken, Before&& before, Tied&& tied)
{
    const ArmTable& lows = search.lows();
    for (std::uint32_t position = within.first; position < within.end; ++position)
        before(lows[position]);
    const auto tiedOf = [&](const Arm& low) { tied(low, search.dividerOf(high, low).distinctValues()); };
    // Every divider of a pair of one value twice repeats it.
    const bool every = taken == TiedTaken::all ||
                       (taken == TiedTaken::repeating && search.highs().kind() != ArmKind::Single &&
                        high.first == high.second);
    std::uint64_t passed = 0;
    for (const Run side : {Run{sure.first, within.first}, Run{within.end, sure.end}}) {
        if (every) {
            for (std::uint32_t position = side.first; position < side.end; ++position)
                tiedOf(lows[position]);
        } else if (taken == TiedTaken::repeating && side.size() > 0) {
            // A run's ends lie between arms of different resistance, so the
            // run holds just the arms of resistance between its ends'.
            std::uint64_t called = 0;
            lows.eachHolding(high.first, high.second, lows[side.first].resistance, lows[side.end - 1].resistance,
                             [&](const Arm& low) {
                                 ++called;
                                 tiedOf(low);
                             });
            passed += side.size() - called;
        } else {
            passed += side.size();
        }
    }
    for (const std::uint32_t position : edges) {
        if (tiedSize(search.deviation(high, lows[position])) < size)
            before(lows[position]);
        else if (taken == TiedTaken::none)
            ++passed;
        else
            tiedOf(lows[position]);
    }
    return passed;
}

// The dividers of a tie by combination, by distinct values less one, and by
// bucket of the high arm's loop index.
using TieCounts = std::array<std::array<std::vector<std::uint64_t>, 4>, armCombinations.size()>;

// The dividers before a tie, and those of it that can be listed, sliced
// before by size, then by the order of the tie's keys.
class TieCut {
public:
    // outer takes in the tie, inner, negative for none, only what comes
    // before it, of which there are fewer than limit; the tie is counted in
    // parts on workers threads.
    TieCut(const std::vector<CombinationSearch>& searches, double outer, double inner, std::uint64_t before,
           std::uint64_t limit, std::size_t parts, std::size_t workers, std::stop_token stop)
        : size_(tiedSize(outer)), outer_(outer), inner_(inner),
          beforeSlices_(std::max(inner, 0.0), before)
    {
        cut(searches, countTie(searches, parts, workers, stop), limit - before);
    }

    [[nodiscard]] std::size_t count() const { return count_; }

    template <class Take>
    void visit(const CombinationSearch& search, std::size_t firstHigh, std::size_t endHigh, Take&& take) const
    {
        const ArmCombination& combination = search.combination();
        const std::size_t resistors = resistorsOf(combination);
        const unsigned bucketBits = loopBucketBits(search);
        search.sweepWithin(outer_, inner_, firstHigh, endHigh,
                           [&](const Arm& high, Run sure, Run within, std::span<const std::uint32_t> edges) {
            const TiedTaken taken = wanted(combination, resistors, high.loop) ? TiedTaken::all
                                    : wanted(combination, 1, high.loop)      ? TiedTaken::repeating
                                                                              : TiedTaken::none;
            const std::size_t bucket = high.loop >> bucketBits;
            eachOfHigh(
                search, size_, high, sure, within, edges, taken,
                [&](const Arm& low) {
                    const double deviation = search.deviation(high, low);
                    take(high, low, deviation, beforeSlices_.of(tiedSize(deviation)));
                },
                [&](const Arm& low, std::size_t distinct) {
                    if (wanted(combination, distinct, high.loop))
                        take(high, low, search.deviation(high, low), sliceOf_[combination.number][distinct - 1][bucket]);
                });
        });
    }

private:
    // Whether a divider at the tie comes before the cut.
    [[nodiscard]] bool wanted(const ArmCombination& combination, std::size_t distinct, std::uint64_t loop) const
    {
        const std::uint64_t key = rankKey(resistorsOf(combination), distinct);
        if (key != cutRank_)
            return key < cutRank_;
        return combination.number != cutCombination_ ? combination.number < cutCombination_ : loop < cutLoop_;
    }

    [[nodiscard]] TieCounts countTie(const std::vector<CombinationSearch>& searches, std::size_t parts,
                                     std::size_t workers, std::stop_token stop) const
    {
        const auto empty = [&] {
            TieCounts counts;
            for (const CombinationSearch& search : searches)
                for (std::vector<std::uint64_t>& buckets : counts[search.combination().number])
                    buckets.assign((search.highs().loopCount() >> loopBucketBits(search)) + 1, 0);
            return counts;
        };
        TieCounts counts = empty();
        forEachInOrder(
            parts,
            [&](std::size_t part) {
                TieCounts partCounts = empty();
                for (const CombinationSearch& search : searches) {
                    const ArmCombination& combination = search.combination();
                    std::array<std::vector<std::uint64_t>, 4>& byDistinct = partCounts[combination.number];
                    const std::size_t highs = search.highCount();
                    const unsigned bucketBits = loopBucketBits(search);
                    search.sweepWithin(
                        outer_, inner_, highs * part / parts, highs * (part + 1) / parts,
                        [&](const Arm& high, Run sure, Run within, std::span<const std::uint32_t> edges) {
                            const std::size_t bucket = high.loop >> bucketBits;
                            byDistinct[resistorsOf(combination) - 1][bucket] += eachOfHigh(
                                search, size_, high, sure, within, edges, TiedTaken::repeating,
                                [](const Arm&) {},
                                [&](const Arm&, std::size_t distinct) { ++byDistinct[distinct - 1][bucket]; });
                        });
                }
                return partCounts;
            },
            [&](std::size_t, const TieCounts& partCounts) {
                for (std::size_t c = 0; c < counts.size(); ++c)
                    for (std::size_t d = 0; d < counts[c].size(); ++d)
                        for (std::size_t b = 0; b < counts[c][d].size(); ++b)
                            counts[c][d][b] += partCounts[c][d][b];
                return true;
            },
            {.workers = workers}, stop);
        return counts;
    }

    // Walks the tie's groups in order until needed are taken in, giving each
    // a slice by how many come before it.
    void cut(const std::vector<CombinationSearch>& searches, const TieCounts& counts, std::uint64_t needed)
    {
        const std::size_t firstSlice = beforeSlices_.count();
        std::uint64_t taken = 0;
        for (std::uint64_t key = 0; key <= rankKey(4, 4) && cutRank_ == allRanks; ++key) {
            for (const CombinationSearch& search : searches) {
                const ArmCombination& combination = search.combination();
                const std::size_t resistors = resistorsOf(combination);
                if (key < rankKey(resistors, 1) || key > rankKey(resistors, resistors))
                    continue;
                const auto fewer = static_cast<std::size_t>(key - rankKey(resistors, 1)); // distinct values less one
                const std::vector<std::uint64_t>& buckets = counts[combination.number][fewer];
                std::vector<std::uint32_t>& slices = sliceOf_[combination.number][fewer];
                slices.assign(buckets.size(), 0);
                for (std::size_t bucket = 0; bucket < buckets.size(); ++bucket) {
                    slices[bucket] = static_cast<std::uint32_t>(firstSlice + taken / sliceItems);
                    taken += buckets[bucket];
                    if (taken >= needed) {
                        cutRank_ = key;
                        cutCombination_ = combination.number;
                        cutLoop_ = std::uint64_t{bucket + 1} << loopBucketBits(search);
                        break;
                    }
                }
                if (cutRank_ != allRanks)
                    break;
            }
        }
        count_ = firstSlice + static_cast<std::size_t>(taken / sliceItems) + 1;
    }

    static constexpr std::uint64_t allRanks = rankKey(4, 4) + 1;

    double size_;
    double outer_;
    double inner_;
    Slices beforeSlices_;
    // The first divider past the cut: its rank, combination and high loop
    // index; where a stop cut the counts short, none.
    std::uint64_t cutRank_ = allRanks;
    std::size_t cutCombination_ = 0;
    std::uint64_t cutLoop_ = 0;
    // Of each group before the cut, as the counts.
    std::array<std::array<std::vector<std::uint32_t>, 4>, armCombinations.size()> sliceOf_;
    std::size_t count_ = 0;
};

// The dividers of a slice in order, from all of its queues.
std::vector<Ranked> rankedSlice(std::span<RankedQueue* const> queues, const RankOrder& order)
{
    std::size_t size = 0;
    for (const RankedQueue* queue : queues)
        size += queue->size();
    std::vector<Ranked> items;
    items.reserve(size);
    for (RankedQueue* queue : queues)
        while (queue->size() > 0)
            items.push_back(order.ranked(queue->pop()));
    // Not cleared first: each item is written before it is read.
    const auto scratch = std::make_unique_for_overwrite<Ranked[]>(size);
    order.sort(items, {scratch.get(), size});
    return items;
}

// The best limit of a part's dividers within the bound, by slice. Part p of
// parts takes the p-th of that many equal stretches of every combination's
// highs, its dividers in the order the sweep meets them. Ties at the bound
// may bring more than the limit; whenever a quarter more are kept, the
// slices past those that hold the limit are dropped, and the last of those,
// if it alone holds too many, is sorted and cut to the limit, so memory
// follows the limit. Then a divider that does not come before the last kept
// is never kept.
template <class Selection>
std::vector<RankedQueue> bestOf(const std::vector<CombinationSearch>& searches, std::size_t part, std::size_t parts,
                                const Selection& slices, std::size_t limit, const RankOrder& order,
                                std::stop_token stop)
{
    const std::size_t room = limit + limit / 4;
    std::vector<RankedQueue> kept(slices.count());
    std::size_t keptCount = 0;
    std::size_t lastSlice = slices.count() - 1; // none beyond is kept
    std::optional<Ranked> cut;                  // in lastSlice, once it was sorted and cut
    const auto dropBeyondLimit = [&] {
        std::size_t held = 0;
        std::size_t last = 0;
        while (held + kept[last].size() < limit)
            held += kept[last++].size();
        for (std::size_t slice = last + 1; slice <= lastSlice; ++slice) {
            keptCount -= kept[slice].size();
            kept[slice] = RankedQueue();
        }
        if (last < lastSlice)
            cut.reset();
        lastSlice = last;
        if (keptCount <= room)
            return;
        RankedQueue* const queue = &kept[last];
        const std::vector<Ranked> sorted = rankedSlice({&queue, 1}, order);
        keptCount = limit;
        for (std::size_t i = 0; i < limit - held; ++i)
            queue->push(sorted[i].divider);
        cut = sorted[limit - held - 1];
    };
    // A stop is looked for now and then while millions are ranked.
    constexpr std::uint64_t dividersBetweenStopChecks = 1 << 16;
    std::uint64_t visited = 0;
    bool stopped = false;
    for (const CombinationSearch& search : searches) {
        const std::size_t highs = search.highCount();
        slices.visit(search, highs * part / parts, highs * (part + 1) / parts,
                     [&](const Arm& high, const Arm& low, double deviation, std::size_t slice) {
            if (stopped || (++visited % dividersBetweenStopChecks == 0 && (stopped = stop.stop_requested())))
                return;
            if (slice > lastSlice)
                return;
            const Ranked item = ranked(search.dividerOf(high, low), deviation);
            if (slice == lastSlice && cut && !order.before(item, *cut))
                return;
            kept[slice].push(item.divider);
            if (++keptCount > room)
                dropBeyondLimit();
        });
    }
    return kept;
}

// The dividers selection takes, gathered in parts of the search on workers
// threads, by part and slice.
using Kept = std::vector<std::vector<RankedQueue>>;

template <class Selection>
Kept gather(const std::vector<CombinationSearch>& searches, const Selection& selection, std::size_t limit,
            std::size_t parts, std::size_t workers, const RankOrder& order, std::stop_token stop)
{
    Kept kept(parts);
    forEachInOrder(
        parts, [&](std::size_t part) { return bestOf(searches, part, parts, selection, limit, order, stop); },
        [&](std::size_t part, std::vector<RankedQueue> partKept) {
            kept[part] = std::move(partKept);
            return true;
        },
        {.workers = workers}, stop);
    return kept;
}

// Lists the best limit of those kept in order: the slices sorted on every
// core, a few at a time.
void listKept(Kept& kept, std::size_t limit, std::size_t workers, const RankOrder& order, ResultList& list,
              std::stop_token stop)
{
    if (stop.stop_requested() || kept.empty())
        return;
    forEachInOrder(
        kept.front().size(),
        [&](std::size_t slice) {
            std::vector<RankedQueue*> queues;
            for (std::vector<RankedQueue>& part : kept)
                queues.push_back(&part[slice]);
            return rankedSlice(queues, order);
        },
        [&](std::size_t slice, const std::vector<Ranked>& ranked) {
            // The blocks of the slices sorted so far were freed on other
            // threads, into their own arenas, where the list's new chunks
            // cannot take them up: given back now and then, they keep the
            // peak near the list's size instead of twice it; every other
            // slice, so that no more than a few slices' worth stays out.
            if (slice % 2 == 1)
                releaseFreedMemory();
            for (const Ranked& item : ranked) {
                if (list.size() == limit)
                    return false;
                list.addResult(Divider::unpacked(item.divider & Ranked::dividerMask));
            }
            return list.size() < limit;
        },
        // Each slice ahead holds its dividers twice over while sorted: a
        // few at a time, whatever the number of cores.
        {.workers = workers, .inFlight = slicesInFlight}, stop);
}

} // namespace

// Every divider is ranked; the best maxResults go to the list in order.
std::uint64_t listBestFirst(const SearchParams& params, const ArmTables& tables, ResultList& list,
                            const SearchControl& control)
{
    const std::vector<CombinationSearch> searches = combinationSearches(params, tables);
    const auto limit = static_cast<std::size_t>(params.maxResults);
    const std::vector<std::uint64_t> counts = countsOf(searches, noBand, control.stop);
    const std::uint64_t found = std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
    control.report(found);
    if (found == 0 || limit == 0 || control.stop.stop_requested())
        return found;
    // Where few dividers are found, or the limit takes in nearly all, ranking
    // every one costs less than the sweeps that would narrow the bound.
    const bool rankAll = found <= limit + limit / 4 || found <= rankAllUpTo;
    const Bound bound = rankAll ? Bound{noBand, found} : deviationBound(params, searches, found, limit, control.stop);
    // A fixed number of parts, whatever the number of cores: each part holds
    // a partly filled block for every slice.
    constexpr std::size_t sharedParts = 8;
    const bool shared = workOf(searches) >= sweepsWorthThreads;
    const std::size_t workers = shared ? workerCount() : 1;
    const std::size_t parts = shared ? sharedParts : 1;
    const RankOrder order(searches);
    Kept kept;
    // A crowd exact in decimal below the bound, as over evenly stepped
    // values, too many to sort at once, is listed first, cut by the rank's
    // further keys as a tie at the bound is; then the rest within the bound.
    if (!rankAll && bound.exact > crowdedTie && bound.exact < limit && tiedSize(bound.deviation) > 0.0) {
        Kept exact = gather(searches, TieCut(searches, tieEnd(0.0), -1.0, 0, bound.exact, parts, workers, control.stop),
                            static_cast<std::size_t>(bound.exact), parts, workers, order, control.stop);
        listKept(exact, limit, workers, order, list, control.stop);
        exact.clear(); // its blocks go before the rest is gathered
        kept = gather(searches, WithinBound(bound.deviation, Slices(bound.deviation, bound.within - bound.exact), true),
                      limit - static_cast<std::size_t>(bound.exact), parts, workers, order, control.stop);
        listKept(kept, limit, workers, order, list, control.stop);
        return found;
    }
    if (!rankAll && bound.within > crowdedTie) {
        // Where many tie at the bound's size, more than the limit or too many
        // to sort at once, the tie is cut by the rank's further keys.
        const double size = tiedSize(bound.deviation);
        const double inner = size > 0 ? tieEnd((size - 1) / 1e7) : -1.0;
        const std::uint64_t before = inner < 0 ? 0 : countAll(searches, inner, control.stop);
        if (before < limit && bound.within - before > crowdedTie && !control.stop.stop_requested()) {
            kept = gather(searches, TieCut(searches, bound.deviation, inner, before, limit, parts, workers, control.stop),
                          limit, parts, workers, order, control.stop);
        }
    }
    if (kept.empty())
        kept = gather(searches,
                      WithinBound(bound.deviation, Slices(rankAll ? deviationReach(params) : bound.deviation, bound.within)),
                      limit, parts, workers, order, control.stop);
    listKept(kept, limit, workers, order, list, control.stop);
    return found;
}

} // namespace tarnel
