#pragma once

#include "search/divider.h"
#include "text/number_text.h"
#include "search/search_params.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

// What a divider delivers. In divider use its chain H + L lies across Uin
// and the output is the tap's voltage; in feedback use the chain lies across
// the regulated output, Uout * ratio. Resistances are in the unit the user
// types (kilo-ohms by the labels), voltages in volts, the current in amperes
// and powers in watts.
struct DividerDetails {
    DividerFigures figures;
    std::array<double, 4> resistors{}; // high first, high second, low first, low second
    double chainVoltage = 0.0;         // across H + L
    double output = 0.0;
    double outputError = 0.0; // output less what was wanted of it
    double outputErrorPercent = 0.0;
    double current = 0.0;             // through the chain, as the bounds name it (Circuit::current)
    ArmCurrents armCurrents;          // through each arm: a load or a pin's current parts them
    std::array<double, 4> voltage{};  // across each resistor, placed as resistors
    std::array<double, 4> power{};    // in each resistor
    double outputImpedance = 0.0;     // H || L, the tap's source impedance
    double outputLow = 0.0;           // the band of the output with every resistor off by the part
    double outputHigh = 0.0;          // tolerance and the source by its own
    double worstDeviation = 0.0;      // the largest deviation of the ratio the band implies, in percent
};

[[nodiscard]] DividerDetails dividerDetails(const Divider& divider, const SearchParams& params);

// The size of a divider's deviation in percent as a reader weighs it: under
// the worst-case criterion its worst deviation; else its own, and none for
// a divider whose output is what was wanted in decimal, as the csv says.
// What the run fixes is worked out once, for the millions of lines a plot
// and a front weigh.
class ShownDeviation {
public:
    explicit ShownDeviation(const SearchParams& params);
    [[nodiscard]] double operator()(const DividerFigures& figures) const;

private:
    const SearchParams* params_;
    bool worstCase_;
    double target_; // the ratio wanted
    double wanted_; // the output wanted
};

// The chosen divider as a schematic draws it: the chain from the top (Uin,
// or the regulated output in feedback use) through the high arm to the tap
// and through the low arm to ground, every text as it is drawn, so that a
// drawing only places them.
struct SchematicResistor {
    std::string marking; // as on the part: "4k7"
    std::string voltage; // across it: "2.19 V"
    std::string power;   // in it: "1.02 mW"
};
struct SchematicArm {
    ArmKind kind = ArmKind::Single;         // Series: one above the other; Parallel: side by side
    std::vector<SchematicResistor> resistors; // one, or two in the order the line writes them
};
struct DividerSchematic {
    std::string topName;    // "Uin", or "Vout" in feedback use
    std::string topVoltage; // "12 V"
    SchematicArm high;
    std::string tapName;    // "Uout", or "FB = Vref" in feedback use
    std::string tapVoltage; // "3.3 V"
    SchematicArm low;
    std::string current;    // through the chain: "675.7 µA"
};

[[nodiscard]] DividerSchematic dividerSchematic(const Divider& divider, const SearchParams& params,
                                                const NumberText& numbers);

// The value in its unit with a metric prefix, to the given significant
// digits: "675.7 µA", "3.3 V", "0 V".
[[nodiscard]] std::string withPrefix(double value, std::string_view unit, const NumberText& numbers, int digits = 4);

// The details in a few lines, values with their units, for the window.
[[nodiscard]] std::string detailsText(const Divider& divider, const SearchParams& params, const NumberText& numbers);

} // namespace tarnel
