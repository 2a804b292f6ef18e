#pragma once

#include <cstdint>
#include <optional>

namespace tarnel {

// Correctly rounded decimal digits of a double, found with one product by
// an exact power of ten where the rounding is plain, so that millions of
// numbers are written quickly. None where the value lies too close to a
// rounding tie, or out of the range handled: the caller then takes its
// exact path, which gives the same digits.

// value times 10 to the decimals, rounded to the nearest whole number; for
// values below 1e9 in size and at most two decimals.
[[nodiscard]] std::optional<std::int64_t> roundedScaled(double value, int decimals);

// A positive value to twelve significant digits: digits, from 1e11 up to
// below 1e12, times ten to (exponent - 11).
struct SignificantDigits {
    std::uint64_t digits;
    int exponent; // of the first digit
};
inline constexpr int significantDigits = 12;
[[nodiscard]] std::optional<SignificantDigits> roundedToTwelveDigits(double value);

} // namespace tarnel
