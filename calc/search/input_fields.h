#pragma once

// Every input of a search, once, keyed by enums so that a misspelt field
// does not compile. SearchParams takes its defaults from these rows, the
// window makes its edits and boxes from them, the command line its options,
// defaults, help and messages, and the reader reads the number fields in
// the order of numberFields.

#include "search/arm_shapes.h"
#include "search/search_params.h"
#include "text/range_text.h"
#include "values/value_cursor.h"
#include "values/value_set.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace tarnel {

inline constexpr FieldRange valueRange{minFieldValue, maxStandardValue};
// Down to 1 mV, for the feedback dividers of regulators with references of 0.6 V to 1.2 V.
inline constexpr FieldRange voltageRange{0.001, maxStandardValue};
inline constexpr FieldRange percentRange{0.0, 100.0};
// Below half, so that a resistor off by it keeps a resistance.
inline constexpr FieldRange partToleranceRange{0.0, 50.0};
// From 1 µW, a thousandth of the smallest chip resistor's rating.
inline constexpr FieldRange powerRange{0.001, maxStandardValue};
// From 1 nA, the bias current a pin's divider of gigaohms carries.
inline constexpr FieldRange currentRange{0.000001, maxStandardValue};

// A regulator's pin current, either way: from 1 nA up to 100 mA, beyond any adjust pin.
inline constexpr FieldRange pinCurrentRange{-100000.0, 100000.0};

// The number fields, in the order a search reads them.
enum class Field : std::size_t {
    Uin, Uout, Tol, Rmin, Rmax, RsumMin, RsumMax, MaxResults, PartTol,
    SourceTol, HighArmMin, HighArmMax, LowArmMin, LowArmMax, OutputImpedanceMax, PowerMax,
    CurrentMin, CurrentMax, OutMin, OutMax, HighFixed, LowFixed, Load, PinCurrent
};

struct NumberField {
    Field field;
    std::string_view caption;           // how messages of the window name it
    std::string_view initialText;       // the window's text at start, the command line's default
    FieldRange range;                   // inclusive
    void (*use)(SearchParams&, double); // how the value read enters the search
    double (*value)(const SearchParams&); // the search's value as the field reads it
    std::string_view option;            // on the command line, without its "--"
    std::string_view valueName;         // the value's name in the command line's help
    std::string_view help;
    bool readsResistance = false; // also as a part is marked: 4k7, 240R, 1M5, 470 Ω
    bool mayBeEmpty = false;      // an empty text reads as no bound, leaving the search's own
};

inline constexpr std::array<NumberField, 24> numberFields{{
    {Field::Uin, "Uin", "10", voltageRange, [](SearchParams& p, double v) { p.uin = v; },
     [](const SearchParams& p) { return p.uin; }, "uin", "V",
     "input voltage; in feedback use the regulated output (the window's Vout)"},
    {Field::Uout, "Uout", "1", voltageRange, [](SearchParams& p, double v) { p.uout = v; },
     [](const SearchParams& p) { return p.uout; }, "uout", "V",
     "wanted output voltage; in feedback use the regulator's reference (the window's Vref)"},
    {Field::Tol, "Tol", "5", percentRange, [](SearchParams& p, double v) { p.tolerance = v / 100.0; },
     [](const SearchParams& p) { return p.tolerance * 100.0; }, "tol", "PCT",
     "tolerance of the ratio in percent"},
    {Field::Rmin, "Rmin", "1", resistanceRange, [](SearchParams& p, double v) { p.rMin = v; },
     [](const SearchParams& p) { return p.rMin; }, "rmin", "K",
     "lowest resistor value; the first tried is the series or file value at or below it", true},
    {Field::Rmax, "Rmax", "100", resistanceRange, [](SearchParams& p, double v) { p.rMax = v; },
     [](const SearchParams& p) { return p.rMax; }, "rmax", "K",
     "largest resistor value tried", true},
    {Field::RsumMin, "RsumMin", "10", resistanceRange, [](SearchParams& p, double v) { p.rSumMin = v; },
     [](const SearchParams& p) { return p.rSumMin; }, "rsum-min",
     "K", "least total resistance of the divider", true},
    {Field::RsumMax, "RsumMax", "100", resistanceRange, [](SearchParams& p, double v) { p.rSumMax = v; },
     [](const SearchParams& p) { return p.rSumMax; }, "rsum-max",
     "K", "greatest total resistance of the divider", true},
    // The range keeps the value within an int32, so the conversion is defined; 2.9 gives 2.
    {Field::MaxResults, "Max. results", "200", valueRange,
     [](SearchParams& p, double v) { p.maxResults = static_cast<std::int32_t>(std::trunc(v)); },
     [](const SearchParams& p) { return static_cast<double>(p.maxResults); }, "max-results", "N",
     "most result lines"},
    {Field::PartTol, "Part tol", "1", partToleranceRange, [](SearchParams& p, double v) { p.partTolerance = v / 100.0; },
     [](const SearchParams& p) { return p.partTolerance * 100.0; },
     "part-tolerance", "PCT", "each resistor's tolerance, for the output band"},
    {Field::SourceTol, "Source tol", "0", partToleranceRange,
     [](SearchParams& p, double v) { p.sourceTolerance = v / 100.0; },
     [](const SearchParams& p) { return p.sourceTolerance * 100.0; }, "source-tolerance", "PCT",
     "tolerance of Uin, or of the reference in feedback use, for the band"},
    {Field::HighArmMin, "High arm min", "", resistanceRange, [](SearchParams& p, double v) { p.highArm.least = v; },
     [](const SearchParams& p) { return p.highArm.least; },
     "hi-min", "K", "least resistance of the whole high arm", true, true},
    {Field::HighArmMax, "High arm max", "", resistanceRange, [](SearchParams& p, double v) { p.highArm.greatest = v; },
     [](const SearchParams& p) { return p.highArm.greatest; },
     "hi-max", "K", "greatest resistance of the whole high arm", true, true},
    {Field::LowArmMin, "Low arm min", "", resistanceRange, [](SearchParams& p, double v) { p.lowArm.least = v; },
     [](const SearchParams& p) { return p.lowArm.least; },
     "lo-min", "K", "least resistance of the whole low arm", true, true},
    {Field::LowArmMax, "Low arm max", "", resistanceRange, [](SearchParams& p, double v) { p.lowArm.greatest = v; },
     [](const SearchParams& p) { return p.lowArm.greatest; },
     "lo-max", "K", "greatest resistance of the whole low arm", true, true},
    {Field::OutputImpedanceMax, "Rout max", "", resistanceRange,
     [](SearchParams& p, double v) { p.outputImpedanceMax = v; },
     [](const SearchParams& p) { return p.outputImpedanceMax; }, "rout-max", "K",
     "greatest output impedance, H || L", true, true},
    {Field::PowerMax, "P max", "", powerRange, [](SearchParams& p, double v) { p.resistorPowerMax = v / 1000.0; },
     [](const SearchParams& p) { return p.resistorPowerMax * 1000.0; }, "power-max", "MW",
     "greatest power in any one resistor, in milliwatts", false, true},
    {Field::CurrentMin, "I min", "", currentRange, [](SearchParams& p, double v) { p.currentMin = v / 1000.0; },
     [](const SearchParams& p) { return p.currentMin * 1000.0; }, "current-min", "MA",
     "least current through the divider, in milliamperes", false, true},
    {Field::CurrentMax, "I max", "", currentRange, [](SearchParams& p, double v) { p.currentMax = v / 1000.0; },
     [](const SearchParams& p) { return p.currentMax * 1000.0; }, "current-max", "MA",
     "greatest current through the divider, in milliamperes", false, true},
    {Field::OutMin, "Out min", "", voltageRange, [](SearchParams& p, double v) { p.outMin = v; },
     [](const SearchParams& p) { return p.outMin; }, "out-min", "V",
     "least output (in feedback use the regulated output); with --out-max it stands for the window --tol makes",
     false, true},
    {Field::OutMax, "Out max", "", voltageRange, [](SearchParams& p, double v) { p.outMax = v; },
     [](const SearchParams& p) { return p.outMax; }, "out-max", "V",
     "greatest output (in feedback use the regulated output); with --out-min it stands for the window --tol makes",
     false, true},
    {Field::HighFixed, "Hi fixed", "", resistanceRange, [](SearchParams& p, double v) { p.highFixed = v; },
     [](const SearchParams& p) { return p.highFixed; }, "hi-fixed", "K",
     "the high arm is this one resistor, whatever the series, the file, Rmin and Rmax; the low arm is searched",
     true, true},
    {Field::LowFixed, "Lo fixed", "", resistanceRange, [](SearchParams& p, double v) { p.lowFixed = v; },
     [](const SearchParams& p) { return p.lowFixed; }, "lo-fixed", "K",
     "the low arm is this one resistor, whatever the series, the file, Rmin and Rmax; the high arm is searched",
     true, true},
    {Field::Load, "Load", "", resistanceRange, [](SearchParams& p, double v) { p.tapLoad = v; },
     [](const SearchParams& p) { return p.tapLoad; }, "load", "K",
     "divider use: a resistance from the tap to ground (an ADC's input, the next stage), which the output, "
     "currents, powers and output impedance see",
     true, true},
    {Field::PinCurrent, "Pin current", "", pinCurrentRange,
     [](SearchParams& p, double v) { p.pinCurrent = v / 1e6; },
     [](const SearchParams& p) { return p.pinCurrent * 1e6; }, "pin-current", "UA",
     "feedback use: the current in microamperes the regulator's pin adds to the high arm, signed, so that "
     "Vout = Vref * (1 + H/L) + I * H (an LM317's adjust current; L is the arm across the reference)",
     false, true},
}};

// The value of an initial text: digits with at most one decimal point, read
// as one division of two exact integers, so as near as from_chars reads it.
[[nodiscard]] constexpr double initialValue(std::string_view text)
{
    double digits = 0.0;
    double scale = 1.0;
    bool fraction = false;
    for (const char c : text) {
        if (c == '.') {
            fraction = true;
            continue;
        }
        digits = digits * 10.0 + (c - '0');
        if (fraction)
            scale *= 10.0;
    }
    return digits / scale;
}

[[nodiscard]] constexpr const NumberField& numberField(Field field)
{
    return numberFields[static_cast<std::size_t>(field)];
}

// Whether the search's value of a field is still the one it starts with.
[[nodiscard]] inline bool atInitialValue(Field field, const SearchParams& params)
{
    const NumberField& f = numberField(field);
    return f.value(params) == f.value(SearchParams());
}

// How a field is named to a reader: in feedback use the field of Uin holds
// the regulated output and that of Uout the reference.
[[nodiscard]] constexpr std::string_view captionOf(Field field, DividerUse use)
{
    if (use == DividerUse::Feedback && field == Field::Uin)
        return "Vout";
    if (use == DividerUse::Feedback && field == Field::Uout)
        return "Vref";
    return numberField(field).caption;
}

// The one use a field serves, where it serves one: a load on the tap in
// divider use, a pin's current in feedback use. In the other use the window
// hides it and the reader refuses it.
[[nodiscard]] constexpr std::optional<DividerUse> onlyUseOf(Field field)
{
    if (field == Field::Load)
        return DividerUse::Divider;
    if (field == Field::PinCurrent)
        return DividerUse::Feedback;
    return std::nullopt;
}

static_assert([] {
    for (std::size_t i = 0; i < numberFields.size(); ++i)
        if (static_cast<std::size_t>(numberFields[i].field) != i)
            return false;
    return true;
}(), "numberFields is in the order of Field");

static_assert([] {
    for (const NumberField& field : numberFields) {
        int points = 0;
        for (const char c : field.initialText)
            if (c == '.' ? ++points > 1 : (c < '0' || c > '9'))
                return false;
    }
    return true;
}(), "initial texts are plain decimals, which initialValue reads");

// One entry of a choice: its word on the command line, its caption in the window.
struct Choice {
    std::string_view word;
    std::string_view caption;
};

inline constexpr std::array<Choice, 2> orderChoices{{{"found", "as found"}, {"best", "best first"}}};
inline constexpr std::array<Choice, 2> criterionChoices{
    {{"nominal", "nominal within Tol"}, {"worst-case", "worst case within Tol"}}};
inline constexpr std::array<Choice, 2> useChoices{{{"divider", "divider"}, {"feedback", "feedback"}}};
inline constexpr std::array<Choice, 2> notationChoices{{{"k", "k"}, {"marked", "as marked"}}};

inline constexpr std::array<Choice, seriesTable.size()> seriesChoices = [] {
    std::array<Choice, seriesTable.size()> choices{};
    for (std::size_t i = 0; i < choices.size(); ++i)
        choices[i] = {seriesTable[i].name, seriesTable[i].name};
    return choices;
}();

enum class ChoiceId : std::size_t { Order, Series, Criterion, Use, Notation };

struct ChoiceField {
    ChoiceId id;
    std::span<const Choice> choices;
    std::size_t initialChoice;
    void (*use)(SearchParams&, std::size_t); // how the choice enters the search
    std::string_view option;                 // on the command line, without its "--"
    std::string_view help;
};

inline constexpr std::array<ChoiceField, 5> choiceFields{{
    {ChoiceId::Order, orderChoices, 0, [](SearchParams& p, std::size_t c) { p.order = static_cast<ListOrder>(c); },
     "order", "list the first dividers found, or the best first"},
    // A file of values, when one is chosen, stands in for the series.
    {ChoiceId::Series, seriesChoices, e24SeriesIndex,
     [](SearchParams& p, std::size_t c) { p.values = seriesValues(c); }, "series",
     "the series of resistor values tried"},
    {ChoiceId::Criterion, criterionChoices, 0,
     [](SearchParams& p, std::size_t c) { p.criterion = static_cast<Criterion>(c); }, "criterion",
     "keep dividers whose nominal ratio, or whose output at the worst case of the tolerances, is within Tol"},
    {ChoiceId::Use, useChoices, 0, [](SearchParams& p, std::size_t c) { p.use = static_cast<DividerUse>(c); }, "use",
     "the output taken from Uin, or the feedback divider that sets a regulator's output Uin from its reference "
     "Uout"},
    {ChoiceId::Notation, notationChoices, 0,
     [](SearchParams& p, std::size_t c) { p.notation = static_cast<ValueNotation>(c); }, "notation",
     "resistors in lines and details in kilo-ohms, or as parts are marked (4k7, 240R, 1M); csv and json keep "
     "kilo-ohms"},
}};

[[nodiscard]] constexpr const ChoiceField& choiceField(ChoiceId id)
{
    return choiceFields[static_cast<std::size_t>(id)];
}

// The arm shapes ticked at start: one resistor each.
inline constexpr ArmShapes initialHighShapes{ArmKind::Single};
inline constexpr ArmShapes initialLowShapes{ArmKind::Single};

// The initial texts of the special-value slots, whose boxes start grayed.
inline constexpr std::array<std::string_view, specialSlotCount> specialSlotTexts{"2", "3", "18", "27"};

} // namespace tarnel
