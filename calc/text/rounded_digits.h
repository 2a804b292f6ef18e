#pragma once

#include <array>
#include <bit>
#include <charconv>
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
// margin of a tie far wider than the one rounding of the product. Adding
// 1.5 * 2^52 leaves no bits below the units of a number below 2^51 in size,
// so the sum rounds it, with no branch on which way.
inline std::optional<std::int64_t> nearestWhole(double scaled)
{
    constexpr double rounder = 6755399441055744.0;
    const double whole = (scaled + rounder) - rounder;
    if (!(std::fabs(scaled) < 0x1p51) || std::fabs(scaled - whole) > 0.5 - 1e-3)
        return std::nullopt;
    return static_cast<std::int64_t>(whole);
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

namespace detail {

// The doubles nearest 10^-11 to 10^34: the powers a value of the quick
// path's range lies between.
inline constexpr int lowestPower = -11;
inline constexpr std::array<double, 46> powersOfTen = [] {
    std::array<double, 46> powers{};
    for (std::size_t i = 0; i < powers.size(); ++i) {
        const int power = lowestPower + static_cast<int>(i);
        powers[i] = power < 0 ? 1.0 / exactPowersOfTen[static_cast<std::size_t>(-power)]
                    : power < 23 ? exactPowersOfTen[static_cast<std::size_t>(power)]
                                 : exactPowersOfTen[22] * exactPowersOfTen[static_cast<std::size_t>(power - 22)];
    }
    return powers;
}();

} // namespace detail

[[nodiscard]] inline std::optional<SignificantDigits> roundedToTwelveDigits(double value)
{
    if (!(value >= 1e-300 && value < 1e300))
        return std::nullopt;
    // The decimal exponent: floor(e2 log10 2), the true one or one below,
    // then one up where the value reaches the next power. A value next to
    // a power that the table holds inexactly may come out one off; its
    // digits then have one too few or too many, and the exact path takes it.
    const int binaryExponent = static_cast<int>((std::bit_cast<std::uint64_t>(value) >> 52) & 0x7ff) - 1023;
    int exponent = (binaryExponent * 1233) >> 12;
    if (exponent < detail::lowestPower || exponent + 1 - detail::lowestPower >= static_cast<int>(detail::powersOfTen.size()))
        return std::nullopt;
    exponent += value >= detail::powersOfTen[static_cast<std::size_t>(exponent + 1 - detail::lowestPower)] ? 1 : 0;
    const std::optional<double> scaled = detail::timesPowerOfTen(value, significantDigits - 1 - exponent);
    if (!scaled)
        return std::nullopt;
    std::optional<std::int64_t> digits = detail::nearestWhole(*scaled);
    constexpr std::int64_t first = 100'000'000'000;
    if (!digits || *digits < first || *digits > 10 * first)
        return std::nullopt;
    // 999999999999.5 and up rounds to the next power.
    if (*digits == 10 * first) {
        *digits = first;
        ++exponent;
    }
    return SignificantDigits{static_cast<std::uint64_t>(*digits), exponent};
}

// value as the csv and json write it, to twelve significant digits, read
// back: values a reader sees as one number are one, whatever their last
// bits, and the order of the others is kept.
[[nodiscard]] inline double asWrittenToTwelveDigits(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return value;
    // Both ways round correctly, so the quick path gives what reading the text would.
    if (const std::optional<SignificantDigits> rounded = roundedToTwelveDigits(std::fabs(value)))
        if (const std::optional<double> read = detail::timesPowerOfTen(static_cast<double>(rounded->digits),
                                                                       rounded->exponent - (significantDigits - 1)))
            return std::copysign(*read, value);
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                                       significantDigits - 1);
    double read = value;
    std::from_chars(text, written.ptr, read);
    return read;
}

// value to the given significant digits, for figures shown to a reader
// rather than written exactly.
[[nodiscard]] inline double toSignificantDigits(double value, int digits)
{
    if (value == 0.0 || !std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
    return std::round(value * scale) / scale;
}

} // namespace tarnel
