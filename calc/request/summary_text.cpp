#include "request/summary_text.h"

#include "search/guarantee.h"
#include "search/input_fields.h"
#include "text/rounded_digits.h"
#include "values/decimal_bounds.h"

#include <algorithm>
#include <cmath>

namespace tarnel {

namespace {

// A divider as "12.4 + 1 / 10 k": its values in kilo-ohms.
std::string dividerText(const Divider& divider, const ValueSet& values, const NumberText& numbers)
{
    std::string text;
    const ArmCombination& arms = divider.arms();
    for (std::size_t i = 0; i < 4; ++i) {
        if (!holdsResistor(arms, i))
            continue;
        if (i % 2 == 1)
            text.append(armJoiner(i < 2 ? arms.high : arms.low));
        else if (i == 2)
            text.append(" / ");
        text.append(numbers.plain(values[divider.values[i]]));
    }
    return text + " k";
}

std::string rangeOfK(double low, double high, const NumberText& numbers)
{
    return rangeText({low, high}, numbers) + " k";
}

// The output's window as the summary names it: "2.9 to 3 V", "at most 3 V".
std::string outputWindowText(const SearchParams& params, const NumberText& numbers)
{
    if (params.outMax == noUpperBound)
        return "at least " + numbers.plain(params.outMin) + " V";
    if (params.outMin == 0.0)
        return "at most " + numbers.plain(params.outMax) + " V";
    return rangeText({params.outMin, params.outMax}, numbers) + " V";
}

// The least spread the tolerances allow, rounded up at hundredths so that
// typing it back as Tol passes: a product that rounds down to a whole
// number of hundredths takes the next one.
std::string spreadText(double figure, const SearchParams& params, const NumberText& numbers)
{
    SearchParams typedBack = params;
    double hundredths = std::ceil(figure * 100.0);
    typedBack.tolerance = hundredths / 100.0 / 100.0;
    if (typedBack.ratioLow() > typedBack.ratioHigh())
        ++hundredths;
    return numbers.plain(hundredths / 100.0);
}

std::string reasonText(const NoneReason& reason, const SearchParams& params, const NumberText& numbers)
{
    using Kind = NoneReason::Kind;
    const std::string arm = reason.highArm ? "high" : "low";
    const ValueSet& values = *params.values;
    switch (reason.kind) {
    case Kind::Untold:
        break;
    case Kind::NoShape:
        return "no shape is ticked for the " + arm + " arm";
    case Kind::RminAboveRmax:
        return "Rmin is above Rmax";
    case Kind::NoValueInRange:
        return (values.isSeries() ? "no " + values.name() + " value" : "no value of " + values.name()) +
               " lies in " + rangeOfK(params.rMin, params.rMax, numbers);
    case Kind::NoneAdmitted:
        return (params.specialValues.anyListed() ? "no listed value" : "no value left by the excluded ones") +
               std::string(" lies in ") + rangeOfK(params.rMin, params.rMax, numbers);
    case Kind::RsumMinAboveRsumMax:
        // The current bounds, folded into the total's, may be what crossed them.
        return params.currentMin > 0.0 || params.currentMax != noUpperBound
                   ? "no total meets RsumMin, RsumMax, I min and I max at Uin " + numbers.plain(params.uin) + " V"
                   : "RsumMin is above RsumMax";
    case Kind::UoutNotBelowUin:
        return "Uout is not below Uin, which 1 + H/L cannot give";
    case Kind::OutMinAboveOutMax:
        return "Out min is above Out max";
    case Kind::NoGuarantee:
        if (params.outputWindowed())
            return "the tolerances of the parts and the source alone spread the output wider than " +
                   outputWindowText(params, numbers);
        return "the tolerances of the parts and the source alone can put the output up to " +
               spreadText(reason.figure, params, numbers) + " % off, more than Tol";
    case Kind::NoArmWithinBounds: {
        const ArmBounds& bounds = reason.highArm ? params.highArm : params.lowArm;
        const std::string lies = "no " + arm + " arm lies ";
        if (bounds.greatest == noUpperBound)
            return lies + "at or above " + numbers.plain(bounds.least) + " k";
        if (bounds.least == 0.0)
            return lies + "at or below " + numbers.plain(bounds.greatest) + " k";
        return lies + "in " + rangeOfK(bounds.least, bounds.greatest, numbers);
    }
    case Kind::LeastTotalAbove:
        return "the least total, " + numbers.plain(reason.figure) + " k, is above RsumMax " +
               numbers.plain(params.rSumMax) + " k";
    case Kind::GreatestTotalBelow:
        return "the greatest total, " + numbers.plain(reason.figure) + " k, is below RsumMin " +
               numbers.plain(params.rSumMin) + " k";
    case Kind::OutputImpedance:
        return "every output impedance is above Rout max " + numbers.plain(params.outputImpedanceMax) + " k";
    case Kind::Power:
        return "every divider dissipates more than P max " + numbers.plain(params.resistorPowerMax * 1000.0) +
               " mW in a resistor";
    case Kind::Closest: {
        // Hundredths as the lines write them, or two digits of a smaller one.
        const double figure = std::fabs(reason.figure) >= 0.01 || reason.figure == 0.0
                                  ? std::round(reason.figure * 100.0) / 100.0
                                  : toSignificantDigits(reason.figure, 2);
        const std::string deviation = judgesExtremes(params)
                                          ? "worst case \u00b1" + numbers.plain(figure)
                                          : "d " + std::string(figure > 0 ? "+" : "") + numbers.plain(figure);
        return "every ratio lies outside the window; closest: " + dividerText(reason.closest, values, numbers) +
               ", " + deviation + " %";
    }
    }
    return {};
}

} // namespace

std::string summaryText(const RunSummary& summary, const NumberText& numbers)
{
    const auto& [found, shown, noneBecause, unmatchedListed, stopped, params] = summary;
    if (stopped)
        return "Stopped";
    std::string out;
    const ValueSet& values = *params.values;
    if (found == 0) {
        const std::string reason = reasonText(noneBecause, params, numbers);
        out = reason.empty() ? "No divider meets the bounds" : "No divider: " + reason;
    } else if (shown < found) {
        out = numbers.grouped(shown) + " of " + numbers.grouped(found) + " dividers shown: the limit cut the rest";
    } else {
        out = numbers.grouped(found) + (found == 1 ? " divider" : " dividers");
    }
    if (params.outputWindowed())
        out += "; the output " + outputWindowText(params, numbers) + " stands for Tol";
    for (const double listed : unmatchedListed)
        out += "; " + numbers.plain(listed) +
               (values.isSeries() ? " is no " + values.name() + " value" : " is not in " + values.name());
    if (const std::size_t outside = values.outsideRange(); outside > 0)
        out += "; " + numbers.grouped(outside) + (outside == 1 ? " value in " : " values in ") + values.name() +
               (outside == 1 ? " lies" : " lie") + " outside " + rangeText(resistanceRange, numbers) + " k and " +
               (outside == 1 ? "is" : "are") + " not tried";
    return out;
}

std::string whyNoneText(const RunSummary& summary, const NumberText& numbers)
{
    return summary.found == 0 && !summary.stopped ? reasonText(summary.noneBecause, summary.params, numbers)
                                                  : std::string();
}

std::string outOfMemoryText(bool optionNames)
{
    const auto name = [optionNames](Field field) {
        const NumberField& f = numberField(field);
        return optionNames ? "--" + std::string(f.option) : std::string(f.caption);
    };
    const std::string shapes = optionNames ? "--hi and --lo shapes" : "arm shapes";
    return "out of memory: narrow the run with a lower " + name(Field::MaxResults) + ", a smaller " +
           name(Field::Tol) + ", fewer " + shapes + " or a narrower " + name(Field::Rmin) + " to " +
           name(Field::Rmax);
}

} // namespace tarnel
