#pragma once

// What a divider's resistors dissipate: one arithmetic for the search's
// power bound and the figures the details, csv and json give.

#include "search/divider.h"
#include "search/search_params.h"

#include <array>

namespace tarnel {

// The voltage across the chain H + L: Uin in divider use, the regulated
// output Uout * ratio in feedback use.
[[nodiscard]] inline double chainVoltage(const SearchParams& params, double ratio)
{
    return params.use == DividerUse::Feedback ? params.uout * ratio : params.uin;
}

// The current through the chain in amperes, its total in kilo-ohms.
[[nodiscard]] inline double chainCurrent(double volts, double total) { return volts / (total * 1000.0); }

// Each resistor's power in watts, placed as Divider::values; nothing where an
// arm has no second resistor. Parallel resistors share their arm's voltage,
// the others its current.
[[nodiscard]] inline std::array<double, 4> resistorPowers(const ArmCombination& arms, const std::array<double, 4>& r,
                                                          double high, double low, double current)
{
    std::array<double, 4> power{};
    for (std::size_t i = 0; i < power.size(); ++i) {
        if (!holdsResistor(arms, i))
            continue;
        const bool inHigh = i < 2;
        const double armVolts = current * (inHigh ? high : low) * 1000.0;
        const double ohms = r[i] * 1000.0;
        power[i] = (inHigh ? arms.high : arms.low) == ArmKind::Parallel ? armVolts * armVolts / ohms
                                                                         : current * current * ohms;
    }
    return power;
}

} // namespace tarnel
