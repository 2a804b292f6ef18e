#include "values/special_values.h"

#include "values/decimal_bounds.h"

#include <algorithm>

namespace tarnel {

bool SpecialValueTable::anyListed() const
{
    return std::any_of(listedValues.begin(), listedValues.end(), [](double v) { return v != unusedSpecialValue; });
}

bool specialValueMatches(double slotValue, double resistor)
{
    return slotValue != unusedSpecialValue && sameDecimal(slotValue, resistor);
}

SpecialValueClass specValClassify(const SpecialValueTable& table, double x)
{
    bool isListed = false;
    for (std::size_t i = 0; i < specialSlotCount; ++i) {
        if (specialValueMatches(table.listedValues[i], x))
            isListed = true;
        if (specialValueMatches(table.excludedValues[i], x))
            return SpecialValueClass::Excluded;
    }
    return table.anyListed() && !isListed ? SpecialValueClass::Unlisted : SpecialValueClass::Ok;
}

} // namespace tarnel
