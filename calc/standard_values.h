#pragma once

#include <array>
#include <cstddef>

namespace tarnel {

inline constexpr std::size_t standardValueCount = 168;

// Every value a ValueCursor can produce, ascending, exactly as it produces them.
const std::array<double, standardValueCount>& standardValues();

// Position a cursor started at start would take: the floor of start in the
// series, or 0 below 1.1.
[[nodiscard]] std::size_t standardFloorIndex(double start);

} // namespace tarnel
