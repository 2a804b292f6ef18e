#pragma once

#include "input_fields.h"
#include "number_text.h"
#include "window_controls.h"

#include <array>
#include <cstddef>

namespace tarnel {

class ResultList;

inline constexpr double unusedSpecialValue = -1.0;

struct SpecialValueTable {
    std::array<double, specialSlotCount> listedValues{unusedSpecialValue, unusedSpecialValue,
                                                      unusedSpecialValue, unusedSpecialValue};
    std::array<double, specialSlotCount> excludedValues{unusedSpecialValue, unusedSpecialValue,
                                                        unusedSpecialValue, unusedSpecialValue};
};

// Loaded from the four slots at the start of every run, read by the search.
extern SpecialValueTable specialValueTable;

enum class SpecialValueClass { Ok = 0, Unlisted = 1, Excluded = 2 };

inline constexpr const char* badCheckStateMessage = "specValsInit: bad chk->State";

// Loads slot slotIndex: unchecked excludes the edit's value, checked lists it,
// grayed ignores the slot without reading the edit, which then shows as not read.
void specValsInit(const CheckField& chk, EditField& edit, std::size_t slotIndex, ResultList& list,
                  const NumberText& numbers);

// A slot value stands for a resistor value when the two are the same
// decimal: typed 110 matches the standard 110.00000000000001.
[[nodiscard]] bool specialValueMatches(double slotValue, double resistor);

[[nodiscard]] SpecialValueClass specValClassify(double x);

} // namespace tarnel
