#pragma once

// Tarnel's calculation, one press of Start:
//   window fields -> SearchParams and SpecialValueTable -> searchDividers
//   -> ResultList -> the views (the window's list model, the command line).
// Nothing here knows Qt; the front ends hand in adapters of their controls.

#include "arm_table.h"
#include "input_fields.h"
#include "result_list.h"
#include "run_summary.h"
#include "search_params.h"
#include "special_values.h"
#include "window_controls.h"

#include <array>
#include <optional>

namespace tarnel {

struct SpecialSlotControls {
    CheckField* box = nullptr;
    EditField* edit = nullptr;
};

// The controls a press of Start reads and changes, each array in the order
// of its field table.
struct StartWindow {
    std::array<EditField*, numberFields.size()> edits{};
    CheckField* ratioBox = nullptr;
    std::array<CheckField*, armBoxes.size()> armChecks{};
    std::array<ChoiceControl*, choiceFields.size()> choices{};
    ValuesFileField* valuesFile = nullptr;
    std::array<SpecialSlotControls, specialSlotCount> specialSlots{};
    PanelControl* panel1 = nullptr;
    ResultList* list = nullptr;         // its number text also reads the fields
    ArmTableCache* armTables = nullptr; // kept from one press of Start to the next, if given
};

// A run that searched: its parameters and what it found.
struct SearchRun {
    SearchParams params;
    RunSummary summary;
};

// Clears the list, reads and shows every field, loads the special slots and,
// when all read well, searches with the input panel disabled. Gives the
// run, or nothing when a field or slot failed. The panel is enabled again
// also when the search throws.
std::optional<SearchRun> runStart(const StartWindow& window);

} // namespace tarnel
