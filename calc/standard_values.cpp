#include "standard_values.h"

#include "value_cursor.h"

#include <algorithm>

namespace tarnel {

const std::array<double, standardValueCount>& standardValues()
{
    // Walking a cursor keeps one definition of what a standard value is.
    static const std::array<double, standardValueCount> table = [] {
        std::array<double, standardValueCount> values{};
        ValueCursor cursor(1.0);
        for (double& value : values) {
            value = cursor.value();
            cursor.advance(maxStandardValue);
        }
        return values;
    }();
    return table;
}

std::size_t standardFloorIndex(double start)
{
    const auto& values = standardValues();
    const auto above = std::upper_bound(values.begin(), values.end(), start);
    return above == values.begin() ? 0 : static_cast<std::size_t>(above - values.begin()) - 1;
}

} // namespace tarnel
