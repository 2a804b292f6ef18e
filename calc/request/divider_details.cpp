#include "request/divider_details.h"

#include "values/decimal_bounds.h"

#include <cmath>
#include <iterator>
#include <utility>

namespace tarnel {

namespace {

// The output when each resistor of the high arm is scaled by highScale and
// each of the low arm by lowScale.
double outputAt(const Divider& divider, const SearchParams& params, const std::array<double, 4>& r, double highScale,
                double lowScale)
{
    const ArmCombination& arms = divider.arms();
    const double high = armResistance(arms.high, r[0] * highScale, r[1] * highScale);
    const double low = armResistance(arms.low, r[2] * lowScale, r[3] * lowScale);
    return params.uin / dividerRatio(params.ratioOffset, high, low);
}

// value to the given significant digits.
double rounded(double value, int digits)
{
    if (value == 0.0 || !std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
    return std::round(value * scale) / scale;
}

// The value in its unit with a metric prefix, to the given significant digits.
std::string withPrefix(double value, std::string_view unit, const NumberText& numbers, int digits = 4)
{
    static constexpr std::pair<double, std::string_view> prefixes[] = {
        {1e6, "M"}, {1e3, "k"}, {1.0, ""}, {1e-3, "m"}, {1e-6, "\u00b5"}, {1e-9, "n"}};
    const auto* prefix = std::begin(prefixes);
    while (prefix + 1 != std::end(prefixes) && std::fabs(value) < prefix->first * (1 - 5e-13))
        ++prefix;
    return numbers.plain(rounded(value / prefix->first, digits)) + " " + std::string(prefix->second) +
           std::string(unit);
}

std::string withSign(const std::string& magnitude, double value)
{
    return (value > 0 ? "+" : "") + magnitude;
}

} // namespace

DividerDetails dividerDetails(const Divider& divider, const SearchParams& params)
{
    const ValueSet& values = *params.values;
    DividerDetails d;
    for (std::size_t i = 0; i < d.resistors.size(); ++i)
        d.resistors[i] = values[divider.values[i]];
    d.figures = dividerFigures(divider, params.ratioOffset, values);
    d.output = params.uin / d.figures.ratio;
    // An output that is Uout in decimal is off by nothing, not by a last bit.
    d.outputError = sameDecimal(d.output, params.uout) ? 0.0 : d.output - params.uout;
    d.outputErrorPercent = d.outputError / params.uout * 100.0;
    // Kilo-ohms to ohms: the current in amperes.
    d.current = params.uin / (d.figures.total * 1000.0);
    const ArmCombination& arms = divider.arms();
    for (std::size_t i = 0; i < 4; ++i) {
        const bool high = i < 2;
        const ArmKind kind = high ? arms.high : arms.low;
        const double ohms = d.resistors[i] * 1000.0;
        if (!holdsResistor(arms, i))
            continue;
        // Parallel resistors share the arm's voltage, the others its current.
        const double armVolts = d.current * (high ? d.figures.high : d.figures.low) * 1000.0;
        d.power[i] = kind == ArmKind::Parallel ? armVolts * armVolts / ohms : d.current * d.current * ohms;
    }
    // The output rises with the low arm and falls with the high one, so its
    // extremes lie at the two corners where the arms are off the opposite ways.
    const double p = params.partTolerance;
    d.outputLow = outputAt(divider, params, d.resistors, 1 + p, 1 - p);
    d.outputHigh = outputAt(divider, params, d.resistors, 1 - p, 1 + p);
    return d;
}

std::string detailsText(const Divider& divider, const SearchParams& params, const NumberText& numbers)
{
    const DividerDetails d = dividerDetails(divider, params);
    const ArmCombination& arms = divider.arms();
    std::string text;
    const auto arm = [&](std::string_view name, ArmKind kind, std::size_t first, double resistance) {
        text.append(name).append(": ").append(withPrefix(d.resistors[first] * 1000.0, "\u03a9", numbers));
        if (kind != ArmKind::Single) {
            text.append(kind == ArmKind::Series ? " + " : " || ");
            text.append(withPrefix(d.resistors[first + 1] * 1000.0, "\u03a9", numbers));
            text.append(" = ").append(withPrefix(resistance * 1000.0, "\u03a9", numbers));
        }
        text.append("\n");
    };
    arm("High arm", arms.high, 0, d.figures.high);
    arm("Low arm", arms.low, 2, d.figures.low);
    text.append("Total: ").append(withPrefix(d.figures.total * 1000.0, "\u03a9", numbers));
    text.append(", ").append(withPrefix(d.current, "A", numbers)).append(" at ");
    text.append(withPrefix(params.uin, "V", numbers, 6)).append("\n");
    text.append("Output: ").append(withPrefix(d.output, "V", numbers, 6)).append(", ");
    text.append(withSign(withPrefix(d.outputError, "V", numbers, 3), d.outputError)).append(" (");
    text.append(withSign(numbers.plain(rounded(d.outputErrorPercent, 3)), d.outputErrorPercent)).append(" %)\n");
    text.append("Power:");
    for (std::size_t i = 0; i < 4; ++i)
        if (holdsResistor(arms, i))
            text.append(i == 0 ? " " : i == 2 ? " / " : ", ").append(withPrefix(d.power[i], "W", numbers));
    text.append("\n");
    text.append("With ").append(numbers.plain(params.partTolerance * 100.0)).append(" % parts: ");
    text.append(withPrefix(d.outputLow, "V", numbers, 5)).append(" to ");
    text.append(withPrefix(d.outputHigh, "V", numbers, 5));
    return text;
}

} // namespace tarnel
