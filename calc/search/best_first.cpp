#include "search/best_first.h"

#include "search/combination_search.h"
#include "search/ordered_pipeline.h"
#include "search/radix_sort.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <deque>
#include <memory>
#include <numeric>
#include <optional>
#include <span>
#include <vector>

namespace tarnel {

namespace {

// Best first ranks every divider where no more than this many are found.
constexpr std::uint64_t rankAllUpTo = 1 << 16;

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
// within it. Found between the least deviation and the largest the ratio
// window allows by regula falsi on the counts, aiming between the two, with
// the Illinois step: an end kept twice weighs half, so that a count far from
// even, as where many dividers share the least deviation, does not stall it.
double deviationBound(const SearchParams& params, const std::vector<CombinationSearch>& searches,
                      std::uint64_t found, std::uint64_t limit, std::stop_token stop)
{
    const auto countAll = [&](double maxDeviation) {
        const std::vector<std::uint64_t> counts = countsOf(searches, maxDeviation, stop);
        return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
    };
    // No divider ranks below the least deviation, so counts grow from there;
    // where extremes are judged, the window is shut just below it, and a
    // divider that a decimal bound still lets in only makes the first step
    // aim a little low.
    double below = leastRankedDeviation(params) * (1 - 1e-9);
    const std::uint64_t countBelow = judgesExtremes(params) ? 0 : countAll(below);
    if (countBelow >= limit)
        return below;
    // Beyond the window's deviations by far more than a decimal bound widens them.
    double enough = std::max(std::fabs(rankedDeviation(params.ratioLow, params)),
                             std::fabs(rankedDeviation(params.ratioHigh, params))) * (1 + 1e-6) + 1e-9;
    const double aim = static_cast<double>(limit + limit / 8);
    double excessBelow = static_cast<double>(countBelow) - aim; // below the aim
    double excessEnough = static_cast<double>(found) - aim;     // above it
    std::uint64_t countEnough = found;
    int keptBelow = 0;
    int keptEnough = 0;
    while (countEnough > limit + limit / 4 && enough - below > enough * 1e-15 && !stop.stop_requested()) {
        double next = (below * excessEnough - enough * excessBelow) / (excessEnough - excessBelow);
        if (!(next > below && next < enough))
            next = below + (enough - below) / 2;
        const std::uint64_t count = countAll(next);
        const double excess = static_cast<double>(count) - aim;
        if (count < limit) {
            below = next;
            excessBelow = excess;
            keptBelow = 0;
            if (++keptEnough >= 2)
                excessEnough /= 2;
        } else {
            enough = next;
            excessEnough = excess;
            countEnough = count;
            keptEnough = 0;
            if (++keptBelow >= 2)
                excessBelow /= 2;
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
// the order found, cut into count parts of about equal numbers. cutRuns keeps
// the runs of the combinations cut.
std::vector<Part> partsOf(const std::vector<CombinationSearch>& searches, const std::vector<std::uint64_t>& within,
                          double bound, std::size_t count, std::deque<RunTable>& cutRuns)
{
    const std::uint64_t all = std::accumulate(within.begin(), within.end(), std::uint64_t{0});
    std::vector<Part> parts(count);
    std::size_t part = 0;
    std::uint64_t placed = 0;
    // Where part p ends, counted in dividers from the first.
    const auto target = [&](std::size_t p) { return all / count * (p + 1) + all % count * (p + 1) / count; };
    const auto room = [&] { return part + 1 == count ? all - placed : target(part) - placed; };
    const auto add = [&](HighRange range, std::uint64_t dividers) {
        parts[part].highs.push_back(range);
        parts[part].within += dividers;
        placed += dividers;
        while (part + 1 < count && placed >= target(part))
            ++part;
    };
    for (std::size_t i = 0; i < searches.size(); ++i) {
        if (within[i] == 0)
            continue;
        if (within[i] <= room()) {
            add({&searches[i], nullptr, 0, 0}, within[i]);
            continue;
        }
        const RunTable& runs = cutRuns.emplace_back(searches[i].runs(bound));
        std::size_t first = 0;
        std::uint64_t dividers = 0;
        for (std::size_t high = 0; high < runs.highs.size(); ++high) {
            dividers += runs.countOf(high);
            if (dividers >= room() && part + 1 < count) {
                add({&searches[i], &runs, first, high + 1}, dividers);
                first = high + 1;
                dividers = 0;
            }
        }
        if (first < runs.highs.size())
            add({&searches[i], &runs, first, runs.highs.size()}, dividers);
    }
    return parts;
}

// The best limit of a part's dividers within the bound, ranked. Ties at the
// bound may bring more than the limit; whenever they fill the room, only the
// best limit stay, so memory follows the limit. Those stay sorted, and all
// come before any found later, so a divider found later that does not rank
// before the last of them is never kept. The room is taken once, and the
// sort's scratch is not cleared first: millions of items are each written
// before they are read.
std::vector<Ranked> bestOf(const Part& part, double bound, std::size_t limit, std::stop_token stop)
{
    const std::size_t room = limit + limit / 4 + 1;
    const auto capacity = static_cast<std::size_t>(std::min<std::uint64_t>(room, part.within));
    std::vector<Ranked> best;
    best.reserve(capacity);
    const auto scratch = std::make_unique_for_overwrite<Ranked[]>(capacity);
    std::optional<Ranked> cut; // the last kept once the room was full
    std::vector<std::uint64_t> inLoopOrder;
    // A stop is looked for now and then while millions are ranked.
    constexpr std::uint64_t dividersBetweenStopChecks = 1 << 16;
    std::uint64_t visited = 0;
    for (const HighRange& range : part.highs) {
        const RunTable own = range.runs != nullptr ? RunTable() : range.search->runs(bound);
        const RunTable& runs = range.runs != nullptr ? *range.runs : own;
        const std::size_t end = range.runs != nullptr ? range.end : runs.highs.size();
        range.search->visit(runs, range.first, end, bound, inLoopOrder, [&](const Arm& high, const Arm& low) {
            if (++visited % dividersBetweenStopChecks == 0 && stop.stop_requested())
                return false;
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

// Adds the best limit of the parts' ranked dividers to list, an earlier
// part first among equals.
void mergeInto(ResultList& list, const std::vector<std::vector<Ranked>>& parts, std::size_t limit)
{
    struct Head {
        std::size_t part;
        std::size_t next;
    };
    // The heap's top is the head that ranks first.
    const auto after = [&](const Head& a, const Head& b) {
        const Ranked& x = parts[a.part][a.next];
        const Ranked& y = parts[b.part][b.next];
        return ranksBefore(y, x) || (!ranksBefore(x, y) && a.part > b.part);
    };
    std::vector<Head> heads;
    for (std::size_t p = 0; p < parts.size(); ++p)
        if (!parts[p].empty())
            heads.push_back({p, 0});
    std::make_heap(heads.begin(), heads.end(), after);
    for (std::size_t listed = 0; listed < limit && !heads.empty(); ++listed) {
        std::pop_heap(heads.begin(), heads.end(), after);
        Head& head = heads.back();
        const Ranked& r = parts[head.part][head.next];
        list.addResult(Divider::unpacked(r.divider & ((std::uint64_t{1} << Ranked::rankShift) - 1)));
        if (++head.next == parts[head.part].size())
            heads.pop_back();
        else
            std::push_heap(heads.begin(), heads.end(), after);
    }
}

} // namespace

// Every divider is ranked; the best maxResults go to the list in rank order.
// The parts of the search are ranked on every core and merged in order, an
// earlier part first among equals.
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
    const double bound = rankAll ? noBand : deviationBound(params, searches, found, limit, control.stop);
    const std::size_t workers = workOf(searches) >= sweepsWorthThreads ? workerCount() : 1;
    std::deque<RunTable> cutRuns;
    const std::vector<Part> parts =
        partsOf(searches, rankAll ? counts : countsOf(searches, bound, control.stop), bound, workers, cutRuns);
    std::vector<std::vector<Ranked>> ranked(parts.size());
    forEachInOrder(
        parts.size(), [&](std::size_t i) { return bestOf(parts[i], bound, limit, control.stop); },
        [&](std::size_t i, std::vector<Ranked> best) {
            ranked[i] = std::move(best);
            return true;
        },
        {.workers = workers}, control.stop);
    if (control.stop.stop_requested())
        return found;
    mergeInto(list, ranked, limit);
    return found;
}

} // namespace tarnel
