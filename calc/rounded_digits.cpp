#include "rounded_digits.h"

#include <array>
#include <bit>
#include <cmath>

namespace tarnel {

namespace {

// The powers of ten a double holds exactly.
constexpr std::array<double, 23> exactPowersOfTen = [] {
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
std::optional<std::int64_t> nearestWhole(double scaled)
{
    const double below = std::floor(scaled);
    if (std::fabs(scaled - below - 0.5) < 1e-3)
        return std::nullopt;
    return static_cast<std::int64_t>(scaled - below < 0.5 ? below : below + 1.0);
}

// value times ten to the power, with one rounding; none beyond the exact powers.
std::optional<double> timesPowerOfTen(double value, int power)
{
    if (power >= 0 && power < static_cast<int>(exactPowersOfTen.size()))
        return value * exactPowersOfTen[static_cast<std::size_t>(power)];
    if (power < 0 && -power < static_cast<int>(exactPowersOfTen.size()))
        return value / exactPowersOfTen[static_cast<std::size_t>(-power)];
    return std::nullopt;
}

} // namespace

std::optional<std::int64_t> roundedScaled(double value, int decimals)
{
    // Below 1e9 with two decimals, the product's rounding stays far inside the margin.
    if (!(std::fabs(value) < 1e9) || decimals < 0 || decimals > 2)
        return std::nullopt;
    return nearestWhole(value * exactPowersOfTen[static_cast<std::size_t>(decimals)]);
}

std::optional<SignificantDigits> roundedToTwelveDigits(double value)
{
    if (!(value >= 1e-300 && value < 1e300))
        return std::nullopt;
    // The decimal exponent from the binary one: floor(e2 * log10 2), or one below the true one.
    const int binaryExponent = static_cast<int>((std::bit_cast<std::uint64_t>(value) >> 52) & 0x7ff) - 1023;
    int exponent = (binaryExponent * 1233) >> 12;
    constexpr double top = 1e12;
    std::optional<double> scaled = timesPowerOfTen(value, significantDigits - 1 - exponent);
    if (scaled && *scaled >= top) {
        ++exponent;
        scaled = timesPowerOfTen(value, significantDigits - 1 - exponent);
    }
    if (!scaled)
        return std::nullopt;
    std::optional<std::int64_t> digits = nearestWhole(*scaled);
    if (!digits)
        return std::nullopt;
    if (*digits >= static_cast<std::int64_t>(top)) {
        *digits /= 10;
        ++exponent;
    }
    return SignificantDigits{static_cast<std::uint64_t>(*digits), exponent};
}

} // namespace tarnel
