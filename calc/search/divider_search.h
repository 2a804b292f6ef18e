#pragma once

#include "search/run_summary.h"
#include "search/search_params.h"
#include "search/arm_table.h"
#include "search/result_list.h"
#include "search/search_control.h"

#include <cstddef>

namespace tarnel {

// Finds every divider of the run's values that the parameters admit and
// counts them. As found, the list takes the first params.maxResults in the
// fixed order of the combinations and their loops; best first, the best
// params.maxResults by the size of their deviation, then fewer resistors,
// then fewer distinct values, then the order found. The list is emptied
// first. The arm tables come from cache, and stay there for the next search
// over the same values. A stop asked for through control ends the search
// early, with the list empty and the summary saying so. Throws
// RequestError, leaving the list as it was, unless checkSearchParams passes.
// Reentrant: searches on other threads need caches of their own.
RunSummary searchDividers(const SearchParams& params, ResultList& list, ArmTableCache& cache,
                          const SearchControl& control = {});
// The same with arm tables made for this search alone.
RunSummary searchDividers(const SearchParams& params, ResultList& list, const SearchControl& control = {});

// Arms of two resistors over more values than this would take more memory
// than a desktop should give; only a user's file can hold so many.
inline constexpr std::size_t maxPairedValues = 2000;

// How many values the loops run over, from the floor of Rmin up to Rmax, and
// whether a combination with an arm of two resistors runs.
[[nodiscard]] std::size_t searchedValueCount(const SearchParams& params);
[[nodiscard]] bool searchesPairs(const SearchParams& params);

} // namespace tarnel
