#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

namespace tarnel {

// Correctly rounded decimal digits of a double, found with one product by
// an exact power of ten where the rounding is plain, so that millions of
// numbers are written quickly. None where the value lies too close to a
// rounding tie, or out of the range handled: the caller then takes its
// exact path, which gives the same digits. Inline, for the loops that write
// millions of numbers.

namespace detail {

// The powers of ten a double holds exactly.
inline constexpr std::array<double, 23> exactPowersOfTen = [] {
    std::array<double, 23> powers{};
    double power = 1.0;
    for (double& p : powers) {
        p = power;
        power *= 10.0;
    }
    return powers;
}();

// scaled rounded to the nearest whole number, unless it lies within a
// margin of a tie far wider than the one rounding of the product.
inline std::optional<std::int64_t> nearestWhole(double scaled)
{
    // Truncation is exact below 2^63, and cheaper than floor.
    const auto toward = static_cast<std::int64_t>(scaled);
    const double fraction = std::fabs(scaled - static_cast<double>(toward)); // exact
    if (std::fabs(fraction - 0.5) < 1e-3)
        return std::nullopt;
    if (fraction < 0.5)
        return toward;
    return scaled < 0 ? toward - 1 : toward + 1;
}

// value times ten to the power, with one rounding; none beyond the exact powers.
inline std::optional<double> timesPowerOfTen(double value, int power)
{
    if (power >= 0 && power < static_cast<int>(exactPowersOfTen.size()))
        return value * exactPowersOfTen[static_cast<std::size_t>(power)];
    if (power < 0 && -power < static_cast<int>(exactPowersOfTen.size()))
        return value / exactPowersOfTen[static_cast<std::size_t>(-power)];
    return std::nullopt;
}

} // namespace detail

// value times 100, rounded to the nearest whole number; for values below 1e9
// in size, where the product's rounding stays far inside the margin.
[[nodiscard]] inline std::optional<std::int64_t> roundedHundredths(double value)
{
    if (!(std::fabs(value) < 1e9))
        return std::nullopt;
    return detail::nearestWhole(value * 100.0);
}

// A positive value to twelve significant digits: digits, from 1e11 up to
// below 1e12, times ten to (exponent - 11).
struct SignificantDigits {
    std::uint64_t digits;
    int exponent; // of the first digit
};
inline constexpr int significantDigits = 12;

[[nodiscard]] inline std::optional<SignificantDigits> roundedToTwelveDigits(double value)
{
    if (!(value >= 1e-300 && value < 1e300))
        return std::nullopt;
    // The decimal exponent from the binary one: floor(e2 log10 2), the true
    // one or one below it.
    const int binaryExponent = static_cast<int>((std::bit_cast<std::uint64_t>(value) >> 52) & 0x7ff) - 1023;
    int exponent = (binaryExponent * 1233) >> 12;
    constexpr double top = 1e12;
    std::optional<double> scaled = detail::timesPowerOfTen(value, significantDigits - 1 - exponent);
    if (scaled && *scaled >= top) {
        ++exponent;
        scaled = detail::timesPowerOfTen(value, significantDigits - 1 - exponent);
    }
    if (!scaled)
        return std::nullopt;
    std::optional<std::int64_t> digits = detail::nearestWhole(*scaled);
    if (!digits)
        return std::nullopt;
    if (*digits >= static_cast<std::int64_t>(top)) {
        *digits /= 10;
        ++exponent;
    }
    return SignificantDigits{static_cast<std::uint64_t>(*digits), exponent};
}

} // namespace tarnel
