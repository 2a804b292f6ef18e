#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace tarnel {

inline constexpr std::size_t standardValueCount = 168;

// Every value a ValueCursor can produce, ascending, exactly as it produces them.
const std::array<double, standardValueCount>& standardValues();

// Position of x in standardValues() when x is one of them, compared exactly.
[[nodiscard]] std::optional<std::size_t> standardValueIndex(double x);

// Position a cursor started at start would take: the floor of start in the
// series, or 0 below 1.1.
[[nodiscard]] std::size_t standardFloorIndex(double start);

} // namespace tarnel
