#include "search/as_found.h"

#include "search/combination_search.h"
#include "search/ordered_pipeline.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tarnel {

// The combinations are counted first, on every core, each with its runs
// where they are few; so the list's room tells which of them it takes lines
// from, and how many. Every core then finds the runs of those not yet found,
// of the highs that give the lines only, to be listed in order on this
// thread. A table of many runs is never held for lines the list does not take.
std::uint64_t listAsFound(const SearchParams& params, const ArmTables& tables, ResultList& list,
                          const SearchControl& control)
{
    const std::vector<CombinationSearch> searches = combinationSearches(params, tables);
    const std::size_t workers = workOf(searches) >= sweepsWorthThreads ? workerCount() : 1;
    // A table of this many highs takes about a megabyte.
    constexpr std::size_t smallRunsHighs = 1 << 16;
    std::vector<CombinationSearch::Counted> counted(searches.size());
    forEachInOrder(
        searches.size(), [&](std::size_t i) { return searches[i].countWithSmallRuns(noBand, smallRunsHighs); },
        [&](std::size_t i, CombinationSearch::Counted c) {
            counted[i] = std::move(c);
            return true;
        },
        {.workers = workers}, control.stop);
    std::uint64_t found = 0;
    for (const CombinationSearch::Counted& c : counted)
        found += c.count;
    control.report(found);
    struct Listed {
        std::size_t search;
        std::uint64_t lines;
    };
    std::vector<Listed> listed;
    const std::uint64_t maxResults = params.maxResults > 0 ? static_cast<std::uint64_t>(params.maxResults) : 0;
    std::uint64_t room = maxResults - std::min<std::uint64_t>(maxResults, static_cast<std::uint64_t>(list.resultCount()));
    for (std::size_t i = 0; i < searches.size() && room > 0; ++i) {
        if (counted[i].count == 0)
            continue;
        listed.push_back({i, std::min(counted[i].count, room)});
        room -= listed.back().lines;
    }
    std::vector<std::uint64_t> scratch;
    // A stop is looked for now and then while a long run is listed.
    constexpr std::size_t linesBetweenStopChecks = 1 << 16;
    forEachInOrder(
        listed.size(),
        [&](std::size_t i) {
            const CombinationSearch& search = searches[listed[i].search];
            CombinationSearch::Counted& c = counted[listed[i].search];
            if (c.runs)
                return std::move(*c.runs);
            const bool all = listed[i].lines == c.count;
            return search.runs(noBand, all ? allLoops : search.loopEndFor(noBand, listed[i].lines));
        },
        [&](std::size_t i, const RunTable& runs) {
            const CombinationSearch& search = searches[listed[i].search];
            return search.visit(runs, 0, runs.highs.size(), noBand, scratch, [&](const Arm& high, const Arm& low) {
                list.addResult(search.dividerOf(high, low));
                if (list.size() % linesBetweenStopChecks == 0 && control.stop.stop_requested())
                    return false;
                return list.resultCount() < params.maxResults;
            });
        },
        {.workers = workers}, control.stop);
    return found;
}

} // namespace tarnel
