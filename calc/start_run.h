#pragma once

// Tarnel's calculation, one press of Start:
//   window fields -> SearchParams and SpecialValueTable -> searchDividers
//   -> ResultList -> the views (the window's list model, the command line).
// Nothing here knows Qt; the front ends hand in adapters of their controls.

#include "result_list.h"
#include "search_params.h"
#include "special_values.h"
#include "window_controls.h"

#include <array>
#include <optional>

namespace tarnel {

struct SpecialSlotFields {
    CheckField& chk;
    EditField& edit;
};

struct StartWindow {
    SearchFields fields;
    std::array<SpecialSlotFields, specialSlotCount> specialSlots;
    PanelControl& panel1;
    ResultList& list; // its number text also reads the fields
};

// Clears the list, reads and paints every field, loads the special slots and,
// when all read well, searches with the input panel disabled. Gives the
// parameters searched with, or nothing when a field or slot failed. The panel
// is enabled again also when the search throws.
std::optional<SearchParams> runStart(StartWindow& window);

} // namespace tarnel
