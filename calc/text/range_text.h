#pragma once

#include "text/number_text.h"

#include <string>

namespace tarnel {

// The inclusive range a field, a value or a bound may take.
struct FieldRange {
    double lo;
    double hi;

    [[nodiscard]] constexpr bool holds(double value) const { return lo <= value && value <= hi; } // false for NaN
};

// A range as messages give it: "1 to 9100000".
[[nodiscard]] std::string rangeText(FieldRange range, const NumberText& numbers);

} // namespace tarnel
