#pragma once

#include "result_list.h"
#include "search_params.h"

namespace tarnel {

// Appends a line for every divider of standard values that the parameters
// and the special-value table admit, in the fixed order of the combinations
// and their loops, and stops once the list holds params.maxResults results.
void searchDividers(const SearchParams& params, ResultList& list);

} // namespace tarnel
