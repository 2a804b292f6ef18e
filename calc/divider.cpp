#include "divider.h"

#include "standard_values.h"

namespace tarnel {

Divider::LineValues Divider::lineValues() const
{
    LineValues line{{}, 0};
    line.values[line.count++] = values[0];
    if (arms().high != ArmKind::Single)
        line.values[line.count++] = values[1];
    line.values[line.count++] = values[2];
    if (arms().low != ArmKind::Single)
        line.values[line.count++] = values[3];
    return line;
}

DividerFigures dividerFigures(const Divider& divider, double ratioOffset)
{
    const auto& table = standardValues();
    const ArmCombination& arms = divider.arms();
    const std::array<double, 4> r{table[divider.values[0]], table[divider.values[1]], table[divider.values[2]],
                                  table[divider.values[3]]};
    DividerFigures f;
    f.high = armResistance(arms.high, r[0], r[1]);
    f.low = armResistance(arms.low, r[2], r[3]);
    f.ratio = dividerRatio(ratioOffset, f.high, f.low);
    f.total = totalResistance(arms, f.high, r[2], r[3], f.low);
    return f;
}

} // namespace tarnel
