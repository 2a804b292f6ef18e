#pragma once

#include <array>
#include <cstddef>

namespace tarnel {

inline constexpr std::size_t specialSlotCount = 4;
inline constexpr double unusedSpecialValue = -1.0;

// The values of the four special-value slots of one run: a slot lists its
// value, excludes it, or is not used (unusedSpecialValue in both).
struct SpecialValueTable {
    std::array<double, specialSlotCount> listedValues{unusedSpecialValue, unusedSpecialValue, unusedSpecialValue,
                                                      unusedSpecialValue};
    std::array<double, specialSlotCount> excludedValues{unusedSpecialValue, unusedSpecialValue,
                                                        unusedSpecialValue, unusedSpecialValue};

    [[nodiscard]] bool anyListed() const;
};

enum class SpecialValueClass { Ok = 0, Unlisted = 1, Excluded = 2 };

// A slot value stands for a resistor value when the two are the same
// decimal: typed 110 matches the standard 110.00000000000001.
[[nodiscard]] bool specialValueMatches(double slotValue, double resistor);

// Exclusion wins; once a value is listed, every other is unlisted.
[[nodiscard]] SpecialValueClass specValClassify(const SpecialValueTable& table, double x);

} // namespace tarnel
