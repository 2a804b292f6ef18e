#include "search/divider_search.h"

#include "search/as_found.h"
#include "search/best_first.h"
#include "search/combination_search.h"
#include "search/nearest_change.h"
#include "search/why_none.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tarnel {

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

RunSummary searchDividers(const SearchParams& request, ResultList& list, ArmTableCache& cache,
                          const SearchControl& control)
{
    checkSearchParams(request);
    const SearchParams params = withFixedArms(request);
    list.clear();
    list.setRun(params);
    const ValueRange range = searchedValues(params);
    ArmTables& tables = cache.tables(params.values, range, usableValues(params, range));
    tables.fixArms(params.highFixed, params.lowFixed);
    tables.make(wantedShapes(params));
    const SearchParams searched = withCurrentFolded(params);
    const std::uint64_t found = params.order == ListOrder::BestFirst ? listBestFirst(searched, tables, list, control)
                                                                     : listAsFound(searched, tables, list, control);
    if (control.stop.stop_requested()) {
        list.clear();
        RunSummary stopped = summarizeRun(params, found, 0);
        stopped.stopped = true;
        return stopped;
    }
    // The reasons name the bounds the current was folded into, with their values.
    if (found > 0)
        return summarizeRun(searched, found, list.size());
    NoneReason reason = whyNone(searched, tables, control);
    reason.change = nearestChange(params, reason, tables, control);
    return summarizeRun(searched, found, list.size(), reason);
}

RunSummary searchDividers(const SearchParams& params, ResultList& list, const SearchControl& control)
{
    ArmTableCache cache;
    return searchDividers(params, list, cache, control);
}

} // namespace tarnel
