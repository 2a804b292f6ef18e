#pragma once

// From what a user typed to a search: the texts and ticks of one run, read
// into SearchParams with a verdict for every field. The window paints its
// fields from the verdicts, the command line prints them.

#include "request/field_reading.h"
#include "search/arm_shapes.h"
#include "search/input_fields.h"
#include "search/search_params.h"
#include "text/number_text.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarnel {

// A special-value slot's box steps unchecked (excluded), grayed (ignored),
// checked (listed); Unknown stands for a state a toolkit reports that is
// none of the three.
enum class CheckState { Unchecked, Grayed, Checked, Unknown };

struct SpecialSlotInput {
    CheckState state = CheckState::Grayed;
    std::string text;
    bool operator==(const SpecialSlotInput&) const = default;
};

// The inputs of a search as typed, the window's initial texts and states
// unless changed.
struct SearchInput {
    SearchInput();

    std::array<std::string, numberFields.size()> numbers; // UTF-8, by Field
    bool highOverLowOnly = false;                         // the ratio counted is H/L, not 1 + H/L
    ArmShapes highShapes = initialHighShapes; // the boxes ticked for each arm
    ArmShapes lowShapes = initialLowShapes;
    std::array<std::size_t, choiceFields.size()> choices{};
    std::optional<std::string> valuesFile; // a stock file, standing in for the series
    std::shared_ptr<const ValueSet> values; // values already read, standing in for the series and a file
    std::array<SpecialSlotInput, specialSlotCount> specialSlots;

    [[nodiscard]] std::string& text(Field field) { return numbers[static_cast<std::size_t>(field)]; }
    [[nodiscard]] const std::string& text(Field field) const { return numbers[static_cast<std::size_t>(field)]; }
    [[nodiscard]] std::size_t& choice(ChoiceId id) { return choices[static_cast<std::size_t>(id)]; }
    [[nodiscard]] ArmShapes& shapes(bool highArm) { return highArm ? highShapes : lowShapes; }
    bool operator==(const SearchInput&) const = default;
};

struct FieldVerdict {
    FieldStatus status = FieldStatus::NotRead;
    std::string problem; // empty unless it failed: "\"x\" is not a number in the range 0 to 100"
};

inline constexpr const char* badCheckStateMessage = "specValsInit: bad chk->State";

// What reading the inputs of one run gave.
struct InputReading {
    SearchParams params; // to search with when valid
    std::array<FieldVerdict, numberFields.size()> numbers;
    std::array<FieldVerdict, specialSlotCount> specialSlots;
    std::string valuesFileProblem; // why the stock file cannot be used, or empty
    // The list's lines for slots in none of the three states, in slot order.
    std::vector<std::string> listMessages;
    bool valid = true; // every field and slot read, and the values can be searched

    [[nodiscard]] const FieldVerdict& verdict(Field field) const { return numbers[static_cast<std::size_t>(field)]; }
};

// Loads special slot slotIndex into table: unchecked excludes the text's
// value, checked lists it, grayed ignores the slot without reading the
// text. A state none of these leaves the slot as it was and adds the list
// line badCheckStateMessage.
void specValsInit(const SpecialSlotInput& slot, std::size_t slotIndex, InputReading& reading,
                  const NumberText& numbers);

// Reads every field in the order of the field table, then the special
// slots, going on past failed fields so that all bad ones show at once.
// Messages quote the texts; the stock file, if any, is read here.
[[nodiscard]] InputReading readSearchParams(const SearchInput& input, const NumberText& numbers);

} // namespace tarnel
