#pragma once

#include "search/run_summary.h"
#include "search/arm_table.h"
#include "search/search_control.h"

namespace tarnel {

// Why a search over these tables found no divider: the first bound that
// every candidate fails, where the inputs or the tables tell it, else the
// divider closest to the window that meets every other bound.
[[nodiscard]] NoneReason whyNone(const SearchParams& params, const ArmTables& tables, const SearchControl& control);

} // namespace tarnel
