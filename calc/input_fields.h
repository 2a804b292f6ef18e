#pragma once

// Every input of a search, once. The window makes its edits and boxes from
// these rows, the command line its options, defaults, help and messages, and
// a press of Start reads the edits in the order of numberFields.

#include "divider.h"
#include "search_params.h"
#include "value_cursor.h"
#include "value_set.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <string_view>

namespace tarnel {

inline constexpr FieldRange valueRange{minFieldValue, maxStandardValue};
// Down to 1 mV, for the feedback dividers of regulators with references of 0.6 V to 1.2 V.
inline constexpr FieldRange voltageRange{0.001, maxStandardValue};
inline constexpr FieldRange percentRange{0.0, 100.0};
// Below half, so that a resistor off by it keeps a resistance.
inline constexpr FieldRange partToleranceRange{0.0, 50.0};

struct NumberField {
    std::string_view name;              // the edit's name in the window
    std::string_view initialText;       // the window's text at start, the command line's default
    FieldRange range;                   // inclusive
    void (*use)(SearchParams&, double); // how the value read enters the search
    std::string_view option;            // on the command line, without its "--"
    std::string_view valueName;         // the value's name in the command line's help
    std::string_view help;
};

inline constexpr std::array<NumberField, 9> numberFields{{
    {"editUin", "10", voltageRange, [](SearchParams& p, double v) { p.uin = v; }, "uin", "V", "input voltage"},
    {"editUout", "1", voltageRange, [](SearchParams& p, double v) { p.uout = v; }, "uout", "V",
     "wanted output voltage"},
    {"editTol", "5", percentRange, [](SearchParams& p, double v) { p.tolerance = v / 100.0; }, "tol", "PCT",
     "tolerance of the ratio in percent"},
    {"editRmin", "1", valueRange, [](SearchParams& p, double v) { p.rMin = v; }, "rmin", "K",
     "smallest resistor value tried"},
    {"editRmax", "100", valueRange, [](SearchParams& p, double v) { p.rMax = v; }, "rmax", "K",
     "largest resistor value tried"},
    {"editRsumMin", "10", valueRange, [](SearchParams& p, double v) { p.rSumMin = v; }, "rsum-min", "K",
     "least total resistance of the divider"},
    {"editRsumMax", "100", valueRange, [](SearchParams& p, double v) { p.rSumMax = v; }, "rsum-max", "K",
     "greatest total resistance of the divider"},
    // The range keeps the value within an int32, so the conversion is defined; 2.9 gives 2.
    {"editMaxResults", "200", valueRange,
     [](SearchParams& p, double v) { p.maxResults = static_cast<std::int32_t>(std::trunc(v)); }, "max-results", "N",
     "most result lines"},
    {"editPartTol", "1", partToleranceRange, [](SearchParams& p, double v) { p.partTolerance = v / 100.0; },
     "part-tolerance", "PCT", "each resistor's tolerance, for the output band"},
}};

// The place of the row of that name in a table of fields; past its end for none.
template <class Table>
[[nodiscard]] constexpr std::size_t indexByName(const Table& table, std::string_view name)
{
    std::size_t i = 0;
    while (i < table.size() && table[i].name != name)
        ++i;
    return i;
}

inline constexpr std::size_t partToleranceField = indexByName(numberFields, "editPartTol");
static_assert(partToleranceField < numberFields.size());

// One entry of a choice: its word on the command line, its caption in the window.
struct Choice {
    std::string_view word;
    std::string_view caption;
};

inline constexpr std::array<Choice, 2> orderChoices{{{"found", "as found"}, {"best", "best first"}}};

inline constexpr std::array<Choice, seriesTable.size()> seriesChoices = [] {
    std::array<Choice, seriesTable.size()> choices{};
    for (std::size_t i = 0; i < choices.size(); ++i)
        choices[i] = {seriesTable[i].name, seriesTable[i].name};
    return choices;
}();

struct ChoiceField {
    std::string_view name; // the combo box's name in the window
    std::span<const Choice> choices;
    std::size_t initialChoice;
    void (*use)(SearchParams&, std::size_t); // how the choice enters the search
    std::string_view option;                 // on the command line, without its "--"
    std::string_view help;
};

inline constexpr std::array<ChoiceField, 2> choiceFields{{
    {"cmbOrder", orderChoices, 0, [](SearchParams& p, std::size_t c) { p.order = static_cast<ListOrder>(c); }, "order",
     "list the first dividers found, or the best first"},
    // A file of values, when one is chosen, stands in for the series.
    {"cmbSeries", seriesChoices, e24SeriesIndex, [](SearchParams& p, std::size_t c) { p.values = seriesValues(c); },
     "series", "the series of resistor values tried"},
}};

inline constexpr std::size_t seriesChoice = indexByName(choiceFields, "cmbSeries");
static_assert(seriesChoice < choiceFields.size());

// The six boxes that allow the arm shapes.
struct ArmBox {
    std::string_view name;
    bool highArm;
    ArmKind kind;
    bool initiallyChecked;
    bool SearchParams::*flag;
};

inline constexpr std::array<ArmBox, 6> armBoxes{{
    {"chkHi1R", true, ArmKind::Single, true, &SearchParams::useHi1R},
    {"chkHi2Rser", true, ArmKind::Series, false, &SearchParams::useHi2Rser},
    {"chkHi2Rpar", true, ArmKind::Parallel, false, &SearchParams::useHi2Rpar},
    {"chkLo1R", false, ArmKind::Single, true, &SearchParams::useLo1R},
    {"chkLo2Rser", false, ArmKind::Series, false, &SearchParams::useLo2Rser},
    {"chkLo2Rpar", false, ArmKind::Parallel, false, &SearchParams::useLo2Rpar},
}};

// Unchecked at start; checked counts the ratio as H/L alone instead of 1 + H/L.
inline constexpr std::string_view ratioBoxName = "chkDivOnly";

// A special-value slot: its edit, read over valueRange, and its three-state box, grayed at start.
struct SpecialSlotField {
    std::string_view editName;
    std::string_view initialText;
    std::string_view boxName;
};

inline constexpr std::size_t specialSlotCount = 4;

inline constexpr std::array<SpecialSlotField, specialSlotCount> specialSlotFields{{
    {"editSpecVal0", "2", "chkSpecVal0"},
    {"editSpecVal1", "3", "chkSpecVal1"},
    {"editSpecVal2", "18", "chkSpecVal2"},
    {"editSpecVal3", "27", "chkSpecVal3"},
}};

// The window's text at start of the edit of that name; empty for any other.
[[nodiscard]] constexpr std::string_view initialTextOf(std::string_view editName)
{
    for (const NumberField& field : numberFields)
        if (field.name == editName)
            return field.initialText;
    for (const SpecialSlotField& slot : specialSlotFields)
        if (slot.editName == editName)
            return slot.initialText;
    return {};
}

} // namespace tarnel
