#pragma once

#include "search/arm_table.h"
#include "search/run_summary.h"
#include "search/search_control.h"

#include <optional>

namespace tarnel {

// The first bound, or pair of bounds, whose widening alone gives dividers
// where a run found none for reason: tried one after another, the bounds
// still at their defaults and those the reason names first, each by a count
// that lists nothing. A trial whose work would pass a budget of about a
// fifth of a second is left out, so that a large run says its reason alone.
// params are the run's, the current not folded in; tables its arm tables.
[[nodiscard]] std::optional<BoundChange> nearestChange(const SearchParams& params, const NoneReason& reason,
                                                       const ArmTables& tables, const SearchControl& control);

} // namespace tarnel
