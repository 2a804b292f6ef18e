#include "standard_values.h"

#include "decimal_bounds.h"
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

std::size_t standardEndIndex(double bound)
{
    const auto& values = standardValues();
    const auto above = std::partition_point(values.begin(), values.end(), [bound](double v) { return notAbove(v, bound); });
    return static_cast<std::size_t>(above - values.begin());
}

std::size_t standardFloorIndex(double start)
{
    const std::size_t end = standardEndIndex(start);
    return end == 0 ? 0 : end - 1;
}

} // namespace tarnel
