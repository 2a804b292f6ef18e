#include "search/as_found.h"

#include "search/combination_search.h"
#include "search/ordered_pipeline.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tarnel {

// The combinations are counted first, on every core; so the list's room
// tells which of them it takes lines from, and how many. Every core then
// finds the runs of those, of the highs that give the lines only, to be
// listed in order on this thread.
std::uint64_t listAsFound(const SearchParams& params, const ArmTables& tables, ResultList& list,
                          const SearchControl& control)
{
    const std::vector<CombinationSearch> searches = combinationSearches(params, tables);
    const std::vector<std::uint64_t> counts = countsOf(searches, noBand, control.stop);
    const std::uint64_t found = std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
    control.report(found);
    struct Listed {
        std::size_t search;
        std::uint64_t lines;
    };
    std::vector<Listed> listed;
    const std::uint64_t maxResults = params.maxResults > 0 ? static_cast<std::uint64_t>(params.maxResults) : 0;
    std::uint64_t room = maxResults - std::min<std::uint64_t>(maxResults, static_cast<std::uint64_t>(list.resultCount()));
    for (std::size_t i = 0; i < searches.size() && room > 0; ++i) {
        if (counts[i] == 0)
            continue;
        listed.push_back({i, std::min(counts[i], room)});
        room -= listed.back().lines;
    }
    std::vector<std::uint64_t> scratch;
    // A stop is looked for now and then while a long run is listed.
    constexpr std::size_t linesBetweenStopChecks = 1 << 16;
    forEachInOrder(
        listed.size(),
        [&](std::size_t i) {
            const CombinationSearch& search = searches[listed[i].search];
            const bool all = listed[i].lines == counts[listed[i].search];
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
        {.workers = workOf(searches) >= sweepsWorthThreads ? workerCount() : 1}, control.stop);
    return found;
}

} // namespace tarnel
