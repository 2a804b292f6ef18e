#include "divider.h"

namespace tarnel {

DividerFigures dividerFigures(const ArmCombination& combination, double ratioOffset,
                              const std::array<double, 4>& resistors)
{
    const std::size_t lowStart = resistorsIn(combination.high);
    DividerFigures f;
    f.high = armResistance(combination.high, resistors[0], resistors[1]);
    f.low = armResistance(combination.low, resistors[lowStart], resistors[lowStart + 1]);
    f.ratio = dividerRatio(ratioOffset, f.high, f.low);
    f.total = totalResistance(combination, f.high, resistors[lowStart], resistors[lowStart + 1], f.low);
    return f;
}

} // namespace tarnel
