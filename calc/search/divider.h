#pragma once

#include "search/arm_shapes.h"
#include "search/circuit.h"
#include "search/search_params.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarnel {

struct ArmCombination {
    std::size_t number; // also the index of its line format
    ArmKind high;
    ArmKind low;
};

// The nine combinations in the order a search runs them.
inline constexpr std::array<ArmCombination, 9> armCombinations{{
    {0, ArmKind::Single, ArmKind::Single},
    {1, ArmKind::Series, ArmKind::Single},
    {2, ArmKind::Parallel, ArmKind::Single},
    {3, ArmKind::Single, ArmKind::Series},
    {4, ArmKind::Single, ArmKind::Parallel},
    {5, ArmKind::Series, ArmKind::Series},
    {6, ArmKind::Parallel, ArmKind::Parallel},
    {7, ArmKind::Series, ArmKind::Parallel},
    {8, ArmKind::Parallel, ArmKind::Series},
}};

// Whether a divider's resistor place, high arm's two then low arm's two,
// holds a resistor: a one-resistor arm has no second.
[[nodiscard]] constexpr bool holdsResistor(const ArmCombination& combination, std::size_t place)
{
    return place % 2 < resistorsIn(place < 2 ? combination.high : combination.low);
}

[[nodiscard]] inline bool isEnabled(const ArmCombination& combination, const SearchParams& params)
{
    return params.highShapes.allows(combination.high) && params.lowShapes.allows(combination.low);
}

// An arm's shape in a word, by ArmKind: on the command line and in tables.
inline constexpr std::array<std::string_view, 3> armWords{"1", "ser", "par"};

[[nodiscard]] constexpr std::string_view armWord(ArmKind kind) { return armWords[static_cast<std::size_t>(kind)]; }

// What stands between an arm's two resistors wherever a divider is written, by ArmKind.
inline constexpr std::array<std::string_view, 3> armJoiners{"", " + ", " || "};

[[nodiscard]] constexpr std::string_view armJoiner(ArmKind kind) { return armJoiners[static_cast<std::size_t>(kind)]; }

namespace detail {

struct FormatText {
    std::array<char, 32> chars{};
    std::size_t size = 0;
    constexpr void append(std::string_view text)
    {
        for (const char c : text)
            chars[size++] = c;
    }
    // Each "%f" takes one resistor value.
    constexpr void appendArm(ArmKind kind)
    {
        append("%f");
        if (resistorsIn(kind) == 2) {
            append(armJoiner(kind));
            append("%f");
        }
    }
};

inline constexpr std::array<FormatText, armCombinations.size()> formatTexts = [] {
    std::array<FormatText, armCombinations.size()> texts{};
    for (const ArmCombination& c : armCombinations) {
        texts[c.number].appendArm(c.high);
        texts[c.number].append("   /  ");
        texts[c.number].appendArm(c.low);
        texts[c.number].append("   d %f");
    }
    return texts;
}();

} // namespace detail

// The line format of each combination: its high arm, a slash, its low arm and the deviation.
inline constexpr std::array<std::string_view, armCombinations.size()> resultFormats = [] {
    std::array<std::string_view, armCombinations.size()> formats{};
    for (std::size_t i = 0; i < formats.size(); ++i)
        formats[i] = std::string_view(detail::formatTexts[i].chars.data(), detail::formatTexts[i].size);
    return formats;
}();

// Two resistors in parallel as the reciprocal of the summed reciprocals; the
// product-over-sum form can differ in the last bit, which decides candidates
// lying exactly on a bound.
[[nodiscard]] inline double parallelOfInverses(double inverseA, double inverseB) { return 1.0 / (inverseA + inverseB); }
[[nodiscard]] inline double parallel(double a, double b) { return parallelOfInverses(1.0 / a, 1.0 / b); }

// second is not read for a Single arm.
[[nodiscard]] inline double armResistance(ArmKind kind, double first, double second)
{
    switch (kind) {
    case ArmKind::Series:
        return first + second;
    case ArmKind::Parallel:
        return parallel(first, second);
    case ArmKind::Single:
        break;
    }
    return first;
}

// The total as the search brackets it: a Series low arm under a Single or
// Series high arm is added to the running total one resistor at a time.
[[nodiscard]] inline double totalResistance(const ArmCombination& combination, double high, double low1, double low2,
                                            double low)
{
    if (combination.low == ArmKind::Series && combination.high != ArmKind::Parallel)
        return (high + low1) + low2;
    return high + low;
}

[[nodiscard]] inline double deviationPercent(double ratio, double target) { return ((ratio - target) / target) * 100.0; }

// Where a resistor's value stands in the run's ValueSet.
using ValueIndex = std::uint16_t;

// A divider as the search finds it: its combination and its resistors, high
// arm first then low arm, each arm's smaller value first. A one-resistor arm
// repeats its value in the place it does not use.
struct Divider {
    std::size_t combination = 0;
    std::array<ValueIndex, 4> values{};

    [[nodiscard]] const ArmCombination& arms() const { return armCombinations[combination]; }
    struct LineValues {
        std::array<ValueIndex, 4> values;
        std::size_t count;
    };
    // The resistors as a result line shows them.
    [[nodiscard]] LineValues lineValues() const;
    // How many different values its resistors have.
    [[nodiscard]] std::size_t distinctValues() const;

    // In 60 bits: the combination in the low four, then each value in
    // fourteen, for value tables of up to 16,384 values.
    static constexpr unsigned combinationBits = 4;
    static constexpr unsigned valueBits = 14;
    [[nodiscard]] std::uint64_t packed() const;
    [[nodiscard]] static Divider unpacked(std::uint64_t bits);
};

struct DividerFigures {
    double high = 0.0;
    double low = 0.0;
    double ratio = 0.0;
    double total = 0.0;
};

// The divider's arms, ratio and total with the search's own arithmetic, its
// values taken from values.
[[nodiscard]] DividerFigures dividerFigures(const Divider& divider, const Circuit& circuit, const ValueSet& values);

} // namespace tarnel
