#include "search/best_first.h"

#include "search/combination_search.h"
#include "search/freed_memory.h"
#include "search/ordered_pipeline.h"
#include "search/ranking.h"

#include <algorithm>
#include <array>
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
    const RatioSpan window = keptWindow(params);
    return std::max(std::fabs(rankedDeviation(window.low, params)), std::fabs(rankedDeviation(window.high, params))) *
               (1 + 1e-6) +
           1e-9;
}

// A deviation bound and how many dividers lie within it.
struct Bound {
    double deviation;
    std::uint64_t within;
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
    // first step aim a little low.
    const double least = leastRankedDeviation(params);
    double below = least * (1 - 1e-9);
    std::uint64_t countBelow = judgesExtremes(params) ? 0 : countAll(searches, below, stop);
    if (countBelow >= limit)
        return {tieEnd(below), countBelow};
    double enough = deviationReach(params);
    std::uint64_t countEnough = found;
    // Ranking that many more costs less than a sweep to narrow the bound.
    const std::uint64_t most = limit + std::max(limit / 8, rankAllUpTo);
    int sameEnd = 0; // how many times running the same end moved, negative for the lower
    // Dividers may crowd on one deviation: ends a billionth apart take the crowd whole.
    while (countEnough > most && enough - below > enough * 1e-9 && !stop.stop_requested()) {
        const double low = static_cast<double>(countBelow);
        const double high = static_cast<double>(countEnough);
        const double aim = static_cast<double>(sameEnd <= -2 ? most : sameEnd >= 2 ? limit : limit + (most - limit) / 2);
        const double guess =
            below > least && countBelow > 0
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
    return {tieEnd(enough), countEnough};
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
        // Equals in rank, rare but for exact ratios, go in the order found.
        std::vector<std::pair<std::pair<std::size_t, std::uint64_t>, Ranked>> keyed;
        for (auto first = items.begin(); first != items.end();) {
            const auto last = std::find_if(first + 1, items.end(), [&](const Ranked& r) { return ranksBefore(*first, r); });
            if (last - first > 1) {
                keyed.clear();
                for (auto it = first; it != last; ++it)
                    keyed.emplace_back(foundKey(*it), *it);
                std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
                std::transform(keyed.begin(), keyed.end(), first, [](const auto& k) { return k.second; });
            }
            first = last;
        }
    }

private:
    // Combinations are searched in the order of their numbers.
    [[nodiscard]] std::pair<std::size_t, std::uint64_t> foundKey(const Ranked& item) const
    {
        const Divider divider = Divider::unpacked(item.divider & Ranked::dividerMask);
        return {divider.combination, searchOf_[divider.combination]->foundOrder(divider)};
    }

    std::array<const CombinationSearch*, armCombinations.size()> searchOf_{};
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
std::vector<RankedQueue> bestOf(const std::vector<CombinationSearch>& searches, std::size_t part, std::size_t parts,
                                double bound, std::size_t limit, const Slices& slices, const RankOrder& order,
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
        search.visitUnordered(bound, highs * part / parts, highs * (part + 1) / parts, [&](const Arm& high, const Arm& low) {
            if (stopped || (++visited % dividersBetweenStopChecks == 0 && (stopped = stop.stop_requested())))
                return;
            const double deviation = search.deviation(high, low);
            const std::size_t slice = slices.of(tiedSize(deviation));
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

} // namespace

// Every divider is ranked; the best maxResults go to the list in order.
// Parts of the search are gathered on every core by slices of the
// deviation's size, and the slices sorted on every core, a few at a time,
// and listed in order.
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
    const Slices slices(rankAll ? deviationReach(params) : bound.deviation, bound.within);
    const RankOrder order(searches);
    std::vector<std::vector<RankedQueue>> kept(parts);
    forEachInOrder(
        parts,
        [&](std::size_t part) { return bestOf(searches, part, parts, bound.deviation, limit, slices, order, control.stop); },
        [&](std::size_t part, std::vector<RankedQueue> partKept) {
            kept[part] = std::move(partKept);
            return true;
        },
        {.workers = workers}, control.stop);
    if (control.stop.stop_requested())
        return found;
    forEachInOrder(
        slices.count(),
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
            // peak near the list's size instead of twice it.
            if (slice % 8 == 7)
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
        {.workers = workers, .inFlight = slicesInFlight}, control.stop);
    return found;
}

} // namespace tarnel
