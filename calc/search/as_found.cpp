#include "search/as_found.h"

#include "search/combination_search.h"
#include "search/ordered_pipeline.h"

#include <atomic>
#include <optional>
#include <vector>

namespace tarnel {

// Every core takes the combinations in order: while the list may still take
// lines, one's runs, to be listed in order on this thread; once it is full,
// just its count.
std::uint64_t listAsFound(const SearchParams& params, const ArmTables& tables, ResultList& list,
                          const SearchControl& control)
{
    const std::vector<CombinationSearch> searches = combinationSearches(params, tables);
    struct Found {
        std::optional<RunTable> runs;
        std::uint64_t count = 0;
    };
    std::atomic<bool> full{list.resultCount() >= params.maxResults};
    std::uint64_t found = 0;
    std::vector<std::uint64_t> scratch;
    // A stop is looked for now and then while a long run is listed.
    constexpr std::size_t linesBetweenStopChecks = 1 << 16;
    forEachInOrder(
        searches.size(),
        [&](std::size_t i) {
            Found result;
            if (full)
                result.count = searches[i].count(noBand);
            else
                result.count = result.runs.emplace(searches[i].runs(noBand)).count;
            return result;
        },
        [&](std::size_t i, Found result) {
            if (result.runs && !full) {
                const CombinationSearch& search = searches[i];
                search.visit(*result.runs, 0, result.runs->highs.size(), noBand, scratch,
                             [&](const Arm& high, const Arm& low) {
                                 list.addResult(search.dividerOf(high, low));
                                 if (list.size() % linesBetweenStopChecks == 0 && control.stop.stop_requested())
                                     return false;
                                 return list.resultCount() < params.maxResults;
                             });
                full = list.resultCount() >= params.maxResults;
            }
            found += result.count;
            control.report(found);
            return true;
        },
        {.workers = workOf(searches) >= sweepsWorthThreads ? workerCount() : 1}, control.stop);
    return found;
}

} // namespace tarnel
