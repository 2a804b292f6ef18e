#include "search/combination_search.h"

#include "search/ordered_pipeline.h"

#include <numeric>

namespace tarnel {

ValueRange searchedValues(const SearchParams& params)
{
    const std::size_t first = params.values->floorIndex(params.rMin);
    // A loop starting above rMax has no pass at all.
    return {first, std::max(first, params.values->endIndex(params.rMax))};
}

std::vector<bool> usableValues(const SearchParams& params, ValueRange range)
{
    std::vector<bool> usable(params.values->size());
    for (std::size_t i = range.first; i < range.end; ++i)
        usable[i] = params.values->searched(i) &&
                    specValClassify(params.specialValues, (*params.values)[i]) == SpecialValueClass::Ok;
    return usable;
}

std::array<bool, 3> wantedShapes(const SearchParams& params)
{
    std::array<bool, 3> shapes{};
    for (const ArmCombination& combination : armCombinations)
        if (isEnabled(combination, params))
            shapes[static_cast<std::size_t>(combination.high)] = shapes[static_cast<std::size_t>(combination.low)] = true;
    return shapes;
}

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

std::vector<std::uint64_t> countsOf(const std::vector<CombinationSearch>& searches, double maxDeviation,
                                    std::stop_token stop)
{
    // The largest first, so that no thread is left with a large one at the end.
    std::vector<std::size_t> order(searches.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return searches[a].work() > searches[b].work(); });
    std::vector<std::uint64_t> counts(searches.size());
    forEachInOrder(
        order.size(), [&](std::size_t i) { return searches[order[i]].count(maxDeviation); },
        [&](std::size_t i, std::uint64_t count) {
            counts[order[i]] = count;
            return true;
        },
        {.workers = workOf(searches) >= sweepsWorthThreads ? workerCount() : 1}, stop);
    return counts;
}

std::uint64_t countAll(const std::vector<CombinationSearch>& searches, double maxDeviation, std::stop_token stop)
{
    const std::vector<std::uint64_t> counts = countsOf(searches, maxDeviation, stop);
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
}

} // namespace tarnel
