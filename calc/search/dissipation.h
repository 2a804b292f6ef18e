#pragma once

// What a divider's resistors dissipate: one arithmetic for the search's
// power bound and the figures the details, csv and json give.

#include "search/circuit.h"
#include "search/divider.h"

#include <array>

namespace tarnel {

// Each resistor's power in watts, placed as Divider::values; nothing where an
// arm has no second resistor. Parallel resistors share their arm's voltage,
// the others its current.
[[nodiscard]] inline std::array<double, 4> resistorPowers(const ArmCombination& arms, const std::array<double, 4>& r,
                                                          double high, double low, ArmCurrents currents)
{
    std::array<double, 4> power{};
    for (std::size_t i = 0; i < power.size(); ++i) {
        if (!holdsResistor(arms, i))
            continue;
        const bool inHigh = i < 2;
        const double current = inHigh ? currents.high : currents.low;
        const double armVolts = current * (inHigh ? high : low) * 1000.0;
        const double ohms = r[i] * 1000.0;
        power[i] = (inHigh ? arms.high : arms.low) == ArmKind::Parallel ? armVolts * armVolts / ohms
                                                                         : current * current * ohms;
    }
    return power;
}

} // namespace tarnel
