#pragma once

// Listing in the order found: the first maxResults dividers in the fixed
// order of the combinations and their loops, while the rest are counted.

#include "search/arm_table.h"
#include "search/result_list.h"
#include "search/search_control.h"

#include <cstdint>

namespace tarnel {

// Adds the first params.maxResults dividers to list and gives how many
// there are in all.
std::uint64_t listAsFound(const SearchParams& params, const ArmTables& tables, ResultList& list,
                          const SearchControl& control);

} // namespace tarnel
