#pragma once

#include "result_list.h"
#include "search_params.h"

#include <cstddef>
#include <cstdint>

namespace tarnel {

class ArmTableCache;

// Finds every divider of standard values that the parameters and the
// special-value table admit, and gives how many there are. As found, the
// list takes the first params.maxResults of them in the fixed order of the
// combinations and their loops; best first, the best params.maxResults by
// the size of their deviation, then fewer resistors, then fewer distinct
// values, then the order found.
// The arm tables of a search come from cache, and stay there for the next,
// when one is given.
std::uint64_t searchDividers(const SearchParams& params, ResultList& list, ArmTableCache* cache = nullptr);

// Arms of two resistors over more values than this would take more memory
// than a desktop should give; only a user's file can hold so many.
inline constexpr std::size_t maxPairedValues = 2000;

// How many values the loops run over, from the floor of Rmin up to Rmax, and
// whether a combination with an arm of two resistors runs.
[[nodiscard]] std::size_t searchedValueCount(const SearchParams& params);
[[nodiscard]] bool searchesPairs(const SearchParams& params);

} // namespace tarnel
