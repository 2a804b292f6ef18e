#include "search/divider.h"

#include <algorithm>

namespace tarnel {

Divider::LineValues Divider::lineValues() const
{
    LineValues line{{}, 0};
    for (std::size_t place = 0; place < values.size(); ++place)
        if (holdsResistor(arms(), place))
            line.values[line.count++] = values[place];
    return line;
}

std::size_t Divider::distinctValues() const
{
    const LineValues line = lineValues();
    std::size_t distinct = 0;
    for (std::size_t i = 0; i < line.count; ++i) {
        const auto earlier = line.values.begin() + static_cast<std::ptrdiff_t>(i);
        distinct += std::find(line.values.begin(), earlier, line.values[i]) == earlier ? 1 : 0;
    }
    return distinct;
}

std::uint64_t Divider::packed() const
{
    std::uint64_t bits = combination;
    for (std::size_t i = 0; i < values.size(); ++i)
        bits |= std::uint64_t{values[i]} << (combinationBits + i * valueBits);
    return bits;
}

Divider Divider::unpacked(std::uint64_t bits)
{
    Divider divider;
    divider.combination = static_cast<std::size_t>(bits & ((1u << combinationBits) - 1));
    for (std::size_t i = 0; i < divider.values.size(); ++i)
        divider.values[i] = static_cast<ValueIndex>((bits >> (combinationBits + i * valueBits)) & ((1u << valueBits) - 1));
    return divider;
}

DividerFigures dividerFigures(const Divider& divider, const Circuit& circuit, const ValueSet& table)
{
    const ArmCombination& arms = divider.arms();
    const std::array<double, 4> r{table[divider.values[0]], table[divider.values[1]], table[divider.values[2]],
                                  table[divider.values[3]]};
    DividerFigures f;
    f.high = armResistance(arms.high, r[0], r[1]);
    f.low = armResistance(arms.low, r[2], r[3]);
    f.ratio = circuit.ratio(f.high, f.low);
    f.total = totalResistance(arms, f.high, r[2], r[3], f.low);
    return f;
}

} // namespace tarnel
