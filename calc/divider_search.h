#pragma once

#include "result_list.h"
#include "search_params.h"

#include <cstdint>

namespace tarnel {

// Finds every divider of standard values that the parameters and the
// special-value table admit, and gives how many there are. As found, the
// list takes the first params.maxResults of them in the fixed order of the
// combinations and their loops; best first, the best params.maxResults by
// the size of their deviation, then fewer resistors, then fewer distinct
// values, then the order found.
std::uint64_t searchDividers(const SearchParams& params, ResultList& list);

} // namespace tarnel
