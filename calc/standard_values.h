#pragma once

#include <array>
#include <cstddef>

namespace tarnel {

inline constexpr std::size_t standardValueCount = 168;

// Every value a ValueCursor can produce, ascending, exactly as it produces them.
const std::array<double, standardValueCount>& standardValues();

// Where the values a search tries start: the largest not above start in
// decimal (the floor of 1.55 is 1.5, of 110 the standard 110.00000000000001),
// or the first when all are above it.
[[nodiscard]] std::size_t standardFloorIndex(double start);
// One past the last value not above bound in decimal.
[[nodiscard]] std::size_t standardEndIndex(double bound);

} // namespace tarnel
