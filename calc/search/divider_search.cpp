#include "search/divider_search.h"

#include "search/as_found.h"
#include "search/best_first.h"
#include "search/combination_search.h"
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
    // Arms holding a value the special values reject can never give a line
    // and are left out, as are values only a fixed arm takes.
    const ValueRange range = searchedValues(params);
    std::vector<bool> usable(params.values->size());
    for (std::size_t i = range.first; i < range.end; ++i)
        usable[i] = params.values->searched(i) &&
                    specValClassify(params.specialValues, (*params.values)[i]) == SpecialValueClass::Ok;
    ArmTables& tables = cache.tables(params.values, range, usable);
    tables.fixArms(params.highFixed, params.lowFixed);
    std::array<bool, 3> shapes{};
    for (const ArmCombination& combination : armCombinations)
        if (isEnabled(combination, params))
            shapes[static_cast<std::size_t>(combination.high)] = shapes[static_cast<std::size_t>(combination.low)] = true;
    tables.make(shapes);
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
    return summarizeRun(searched, found, list.size(), found == 0 ? whyNone(searched, tables, control) : NoneReason{});
}

RunSummary searchDividers(const SearchParams& params, ResultList& list, const SearchControl& control)
{
    ArmTableCache cache;
    return searchDividers(params, list, cache, control);
}

} // namespace tarnel
