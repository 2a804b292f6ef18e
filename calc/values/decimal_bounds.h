#pragma once

#include <algorithm>
#include <cmath>

namespace tarnel {

// Two doubles that agree to a relative 1e-9 stand for the same decimal
// number: 3.3 / 1.1 is 2.9999999999999996 and 1.1 * 100 is
// 110.00000000000001, yet a user who types 3 or 110 means them. Standard
// values lie more than 1 % apart, so no typed number can mean two of them.
[[nodiscard]] inline bool sameDecimal(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

// Inclusive bounds that hold in decimal; a NaN meets none.
[[nodiscard]] inline bool notBelow(double x, double bound) { return bound <= x || sameDecimal(x, bound); }
[[nodiscard]] inline bool notAbove(double x, double bound) { return x <= bound || sameDecimal(x, bound); }

} // namespace tarnel
