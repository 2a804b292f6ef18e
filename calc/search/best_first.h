#pragma once

// Listing the best first: every divider ranked by the size of its
// deviation, then fewer resistors, then fewer distinct values, then the
// order found, and the best maxResults listed.

#include "search/arm_table.h"
#include "search/result_list.h"
#include "search/search_control.h"

#include <cstdint>

namespace tarnel {

// Adds the best params.maxResults dividers to list in rank order and gives
// how many there are in all.
std::uint64_t listBestFirst(const SearchParams& params, const ArmTables& tables, ResultList& list,
                            const SearchControl& control);

} // namespace tarnel
