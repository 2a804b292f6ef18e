#pragma once

#include "result_list.h"
#include "search_params.h"

namespace tarnel::test {

// The divider search written out literally: nested value cursors, one loop
// per resistor, every candidate computed and tested. Slow, and the yardstick
// the real search must match line for line.
void referenceSearch(const SearchParams& params, ResultList& list);

} // namespace tarnel::test
