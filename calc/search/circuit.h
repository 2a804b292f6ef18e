#pragma once

// The divider as a circuit: the ratio its output gives, the current each arm
// carries and the impedance the tap shows, with what stands across the low
// arm besides it taken in: a load on the tap in divider use, the current a
// regulator's pin adds to the high arm in feedback use. Resistances are in
// kilo-ohms, currents in amperes.

#include "search/search_params.h"

namespace tarnel {

struct ArmCurrents {
    double high = 0.0;
    double low = 0.0;
};

class Circuit {
public:
    Circuit() = default;
    explicit Circuit(const SearchParams& params)
        : use_(params.use), offset_(params.ratioOffset), conductance_(params.tapConductance()), uin_(params.uin),
          uout_(params.uout), pinCurrent_(params.pinCurrent)
    {
    }

    // Whether anything but the arms shapes the output.
    [[nodiscard]] bool loaded() const { return conductance_ != 0.0; }
    [[nodiscard]] double conductance() const { return conductance_; }

    // The ratio counted: offset + H/L, or with a conductance g across the
    // low arm offset + H (1/L + g); in divider use Uin over the output, in
    // feedback use the output over the reference.
    [[nodiscard]] double ratio(double high, double low) const
    {
        return conductance_ == 0.0 ? offset_ + high / low : offset_ + high * (1.0 / low + conductance_);
    }

    // The voltage across the chain H + L: Uin in divider use, the regulated
    // output Uout * ratio in feedback use.
    [[nodiscard]] double chainVoltage(double ratio) const
    {
        return use_ == DividerUse::Feedback ? uout_ * ratio : uin_;
    }

    // The current through each arm, total being H + L as the search brackets it.
    [[nodiscard]] ArmCurrents armCurrents(double high, double low, double ratio, double total) const
    {
        if (conductance_ == 0.0) {
            const double chain = chainVoltage(ratio) / (total * 1000.0);
            return {chain, chain};
        }
        if (use_ == DividerUse::Feedback) {
            const double referenceCurrent = uout_ / (low * 1000.0);
            return {referenceCurrent + pinCurrent_, referenceCurrent};
        }
        // The load takes the rest of the high arm's current.
        const double loaded = 1.0 / (1.0 / low + conductance_);
        const double sourceCurrent = uin_ / ((high + loaded) * 1000.0);
        return {sourceCurrent, sourceCurrent * loaded / low};
    }

    // The current the bounds and files name: what the source drives through
    // the high arm in divider use, what the reference drives through the
    // low arm in feedback use; the same where nothing loads the tap.
    [[nodiscard]] double current(ArmCurrents currents) const
    {
        return use_ == DividerUse::Feedback ? currents.low : currents.high;
    }

    // The tap's source impedance: H || L, and the load beside them.
    [[nodiscard]] double outputImpedance(double high, double low) const
    {
        const double lowSide = use_ == DividerUse::Divider ? 1.0 / low + conductance_ : 1.0 / low;
        return 1.0 / (1.0 / high + lowSide);
    }

    // The ratio the output implies, told as counted (Uin over the output,
    // the output over the reference), with the arms at these resistances
    // and the source, or the reference, scaled by sourceScale; the pin's
    // current keeps its own.
    [[nodiscard]] double impliedRatio(double high, double low, double sourceScale) const
    {
        if (use_ == DividerUse::Feedback)
            return sourceScale * (offset_ + high / low) + conductance_ * high;
        return ratio(high, low) / sourceScale;
    }

    // The output with the arms at these resistances and the source, or the
    // reference, scaled by sourceScale; the pin's current keeps its own.
    [[nodiscard]] double outputAt(double high, double low, double sourceScale) const
    {
        if (use_ == DividerUse::Feedback)
            return conductance_ == 0.0 ? uout_ * sourceScale * ratio(high, low)
                                       : uout_ * impliedRatio(high, low, sourceScale);
        // In H/L mode the chain's ratio is still 1 + H/L.
        return uin_ * sourceScale / (ratio(high, low) + (1.0 - offset_));
    }

private:
    DividerUse use_ = DividerUse::Divider;
    double offset_ = 1.0;
    double conductance_ = 0.0;
    double uin_ = 0.0;
    double uout_ = 0.0;
    double pinCurrent_ = 0.0;
};

} // namespace tarnel
