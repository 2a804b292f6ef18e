#include "request/divider_details.h"

#include "search/circuit.h"
#include "search/dissipation.h"
#include "search/guarantee.h"
#include "search/input_fields.h"
#include "text/resistance_text.h"
#include "text/rounded_digits.h"
#include "values/decimal_bounds.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace tarnel {

namespace {

// The chain's ratio (H + L) / L from the ratio counted, which is H/L alone in H/L mode.
double chainRatio(double counted, const SearchParams& params)
{
    return counted + (1.0 - params.ratioOffset);
}

// The output with each resistor of the high arm scaled by highScale, each of
// the low arm by lowScale and the source by sourceScale.
double outputAt(const Divider& divider, const Circuit& circuit, const std::array<double, 4>& r, double highScale,
                double lowScale, double sourceScale)
{
    const ArmCombination& arms = divider.arms();
    return circuit.outputAt(armResistance(arms.high, r[0] * highScale, r[1] * highScale),
                            armResistance(arms.low, r[2] * lowScale, r[3] * lowScale), sourceScale);
}

} // namespace

std::string withPrefix(double value, std::string_view unit, const NumberText& numbers, int digits)
{
    static constexpr std::pair<double, std::string_view> prefixes[] = {
        {1e6, "M"}, {1e3, "k"}, {1.0, ""}, {1e-3, "m"}, {1e-6, "\u00b5"}, {1e-9, "n"}};
    // Nothing has no prefix: an error of 0 V, not 0 nV.
    const auto* prefix = value == 0.0 ? std::find_if(std::begin(prefixes), std::end(prefixes),
                                                     [](const auto& p) { return p.first == 1.0; })
                                      : std::begin(prefixes);
    while (value != 0.0 && prefix + 1 != std::end(prefixes) && std::fabs(value) < prefix->first * (1 - 5e-13))
        ++prefix;
    return numbers.plain(toSignificantDigits(value / prefix->first, digits)) + " " + std::string(prefix->second) +
           std::string(unit);
}

namespace {

std::string withSign(const std::string& magnitude, double value)
{
    return (value > 0 ? "+" : "") + magnitude;
}

// In H/L mode the tap is wanted where the target ratio would put it.
double wantedOutput(const SearchParams& params)
{
    return params.use == DividerUse::Feedback ? params.uin
           : params.ratioOffset == 1.0        ? params.uout
                                              : params.uin / chainRatio(params.ratio(), params);
}

double outputOf(double ratio, const SearchParams& params)
{
    return params.use == DividerUse::Feedback ? params.uout * ratio : params.uin / chainRatio(ratio, params);
}

// An output that is what was wanted in decimal is off by nothing, not by a last bit.
bool meetsWantedOutput(double output, const SearchParams& params)
{
    return sameDecimal(output, wantedOutput(params));
}

} // namespace

ShownDeviation::ShownDeviation(const SearchParams& params)
    : params_(&params), worstCase_(params.criterion == Criterion::WorstCase), target_(params.ratio()),
      wanted_(wantedOutput(params))
{
}

double ShownDeviation::operator()(const DividerFigures& figures) const
{
    if (worstCase_)
        return worstDeviation(figures.high, figures.low, *params_);
    return sameDecimal(outputOf(figures.ratio, *params_), wanted_) ? 0.0
                                                                    : std::fabs(deviationPercent(figures.ratio, target_));
}

DividerDetails dividerDetails(const Divider& divider, const SearchParams& params)
{
    const ValueSet& values = *params.values;
    const bool feedback = params.use == DividerUse::Feedback;
    DividerDetails d;
    for (std::size_t i = 0; i < d.resistors.size(); ++i)
        d.resistors[i] = values[divider.values[i]];
    const Circuit circuit(params);
    d.figures = dividerFigures(divider, circuit, values);
    d.output = outputOf(d.figures.ratio, params);
    const double wanted = wantedOutput(params);
    d.outputError = meetsWantedOutput(d.output, params) ? 0.0 : d.output - wanted;
    d.outputErrorPercent = d.outputError / wanted * 100.0;
    d.chainVoltage = circuit.chainVoltage(d.figures.ratio);
    d.armCurrents = circuit.armCurrents(d.figures.high, d.figures.low, d.figures.ratio, d.figures.total);
    d.current = circuit.current(d.armCurrents);
    const ArmCombination& arms = divider.arms();
    for (std::size_t i = 0; i < 4; ++i)
        if (holdsResistor(arms, i)) {
            const double armCurrent = i < 2 ? d.armCurrents.high : d.armCurrents.low;
            d.voltage[i] = (i < 2 ? arms.high : arms.low) == ArmKind::Series
                               ? armCurrent * d.resistors[i] * 1000.0
                               : armCurrent * (i < 2 ? d.figures.high : d.figures.low) * 1000.0;
        }
    d.power = resistorPowers(arms, d.resistors, d.figures.high, d.figures.low, d.armCurrents);
    d.outputImpedance = circuit.outputImpedance(d.figures.high, d.figures.low);
    // The output falls as the high arm grows from Uin, and rises with it
    // from a reference, so its extremes lie at the corners where the arms
    // are off the opposite ways and the source off as the output.
    const double t = params.partTolerance;
    const double s = params.sourceTolerance;
    const double rising = feedback ? -1.0 : 1.0;
    d.outputLow = outputAt(divider, circuit, d.resistors, 1 + rising * t, 1 - rising * t, 1 - s);
    d.outputHigh = outputAt(divider, circuit, d.resistors, 1 - rising * t, 1 + rising * t, 1 + s);
    d.worstDeviation = worstDeviation(d.figures.high, d.figures.low, params);
    return d;
}

std::string detailsText(const Divider& divider, const SearchParams& params, const NumberText& numbers)
{
    const DividerDetails d = dividerDetails(divider, params);
    const ArmCombination& arms = divider.arms();
    const bool feedback = params.use == DividerUse::Feedback;
    std::string text;
    // A part as the chosen notation writes it; an arm's sum is no part, so it keeps its unit.
    const auto appendPart = [&](double kiloOhms) {
        if (params.notation == ValueNotation::Marked)
            appendMarkedValue(text, kiloOhms);
        else
            text.append(withPrefix(kiloOhms * 1000.0, "\u03a9", numbers));
    };
    const auto arm = [&](std::string_view name, ArmKind kind, std::size_t first, double resistance) {
        text.append(name).append(": ");
        appendPart(d.resistors[first]);
        if (kind != ArmKind::Single) {
            text.append(armJoiner(kind));
            appendPart(d.resistors[first + 1]);
            text.append(" = ").append(withPrefix(resistance * 1000.0, "\u03a9", numbers));
        }
        text.append("\n");
    };
    // Figures of each resistor, laid out as the line lays out the arms.
    const auto eachResistor = [&](std::string_view name, const std::array<double, 4>& figures, std::string_view unit) {
        text.append(name).append(":");
        for (std::size_t i = 0; i < 4; ++i)
            if (holdsResistor(arms, i))
                text.append(i == 0 ? " " : i == 2 ? " / " : ", ").append(withPrefix(figures[i], unit, numbers));
        text.append("\n");
    };
    arm("High arm", arms.high, 0, d.figures.high);
    arm("Low arm", arms.low, 2, d.figures.low);
    if (params.ratioOffset == 0.0)
        text.append("H/L: ").append(numbers.plain(toSignificantDigits(d.figures.ratio, 6))).append("\n");
    text.append("Total: ").append(withPrefix(d.figures.total * 1000.0, "\u03a9", numbers));
    text.append(", ").append(withPrefix(d.current, "A", numbers)).append(" at ");
    text.append(withPrefix(d.chainVoltage, "V", numbers, 6)).append("\n");
    text.append(feedback ? "Regulated output: " : "Output: ").append(withPrefix(d.output, "V", numbers, 6));
    text.append(", ").append(withSign(withPrefix(d.outputError, "V", numbers, 3), d.outputError)).append(" (");
    text.append(withSign(numbers.plain(toSignificantDigits(d.outputErrorPercent, 3)), d.outputErrorPercent));
    text.append(" %)\n");
    if (params.use == DividerUse::Divider && params.tapLoad != noUpperBound)
        text.append("Load: ")
            .append(withPrefix(params.tapLoad * 1000.0, "\u03a9", numbers))
            .append(", takes ")
            .append(withPrefix(d.armCurrents.high - d.armCurrents.low, "A", numbers))
            .append("\n");
    if (feedback && params.pinCurrent != 0.0)
        text.append("Pin current: ")
            .append(withPrefix(params.pinCurrent, "A", numbers))
            .append(" into the high arm, which carries ")
            .append(withPrefix(d.armCurrents.high, "A", numbers))
            .append(" (an LM317's R2; the low arm is R1, OUT to ADJ)\n");
    eachResistor("Power", d.power, "W");
    eachResistor("Voltage", d.voltage, "V");
    text.append("Output impedance: ").append(withPrefix(d.outputImpedance * 1000.0, "\u03a9", numbers)).append("\n");
    text.append("With ").append(numbers.plain(params.partTolerance * 100.0)).append(" % parts");
    if (params.sourceTolerance > 0)
        text.append(" and a ")
            .append(numbers.plain(params.sourceTolerance * 100.0))
            .append(feedback ? " % reference" : " % source");
    text.append(": ").append(withPrefix(d.outputLow, "V", numbers, 5)).append(" to ");
    text.append(withPrefix(d.outputHigh, "V", numbers, 5));
    if (params.criterion == Criterion::WorstCase)
        text.append(", worst case \u00b1").append(numbers.plain(toSignificantDigits(d.worstDeviation, 3))).append(" %");
    return text;
}

DividerSchematic dividerSchematic(const Divider& divider, const SearchParams& params, const NumberText& numbers)
{
    const DividerDetails d = dividerDetails(divider, params);
    const ArmCombination& arms = divider.arms();
    const bool feedback = params.use == DividerUse::Feedback;
    DividerSchematic s;
    s.topName = std::string(captionOf(Field::Uin, params.use));
    s.topVoltage = withPrefix(d.chainVoltage, "V", numbers, 6);
    s.tapName = feedback ? "FB = Vref" : "Uout";
    // The tap lies where the low arm's share of the chain puts it, in H/L mode too.
    s.tapVoltage = withPrefix(d.armCurrents.low * d.figures.low * 1000.0, "V", numbers, 6);
    s.current = withPrefix(d.armCurrents.high, "A", numbers);
    const auto arm = [&](ArmKind kind, std::size_t first) {
        SchematicArm a{kind, {}};
        for (std::size_t i = first; i < first + 2; ++i)
            if (holdsResistor(arms, i))
                a.resistors.push_back({markedValue(d.resistors[i]), withPrefix(d.voltage[i], "V", numbers),
                                       withPrefix(d.power[i], "W", numbers)});
        return a;
    };
    s.high = arm(arms.high, 0);
    s.low = arm(arms.low, 2);
    return s;
}

} // namespace tarnel
