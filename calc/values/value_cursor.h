#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tarnel {

// The E24 series, each entry the double nearest to its decimal notation.
inline constexpr std::array<double, 24> e24Mantissas{
    1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2, 2.4, 2.7, 3.0,
    3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1};

inline constexpr int decadeCount = 7; // 10^0 .. 10^6

// 1.0 times ten six times, then times 9.1: exactly 9,100,000.0.
inline constexpr double maxStandardValue = [] {
    double decade = 1.0;
    for (int i = 1; i < decadeCount; ++i)
        decade *= 10.0;
    return e24Mantissas.back() * decade;
}();

// Walks the standard values of a series upwards, E24 unless told another.
// Each value is mantissa times decade, rounded once: 1.1 * 100 is
// 110.00000000000001, and that is kept.
struct ValueCursor {
    explicit ValueCursor(double start, std::span<const double> mantissas = e24Mantissas);

    [[nodiscard]] double value() const { return currentValue; }
    // Moves to the next standard value unless it exceeds bound or the table
    // ends; then stays and sets finished.
    double advance(double bound);

    double lastDecade = 1.0;
    double lastValue = 1.0;
    std::int32_t lastDecadeIndex = 0;
    std::int32_t lastMantissaIndex = 0;
    double decade = 1.0;
    std::int32_t decadeIndex = 0;
    std::int32_t mantissaIndex = 0;
    double currentValue = 1.0;
    bool tableEnded = false;
    bool finished = false;

private:
    std::span<const double> mantissas_;
};

} // namespace tarnel
