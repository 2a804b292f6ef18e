#include "request/summary_text.h"

#include "search/guarantee.h"
#include "search/input_fields.h"
#include "text/rounded_digits.h"
#include "values/decimal_bounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

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

// How a front end names a field: the command line by its option, the
// window by its caption, which follows the use.
std::string fieldName(Field field, bool optionNames, DividerUse use = DividerUse::Divider)
{
    return optionNames ? "--" + std::string(numberField(field).option) : std::string(captionOf(field, use));
}

// The unit of a field's value, as the summary writes it after the value.
std::string_view unitOf(const NumberField& field)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> units{
        {{"K", " k"}, {"PCT", " %"}, {"MW", " mW"}, {"MA", " mA"}, {"V", " V"}}};
    for (const auto& unit : units)
        if (unit.first == field.valueName)
            return unit.second;
    return {};
}

// The words of one summary: the numbers, and whether fields go by their options or their captions.
struct Wording {
    const NumberText& numbers;
    bool optionNames;
    DividerUse use;

    [[nodiscard]] std::string name(Field field) const { return fieldName(field, optionNames, use); }
    // A bound with its value, and whether it was left as it starts: "--rsum-min 10 k, the default".
    [[nodiscard]] std::string bound(Field field, const SearchParams& params) const
    {
        const NumberField& f = numberField(field);
        return name(field) + " " + numbers.plain(f.value(params)) + std::string(unitOf(f)) +
               (atInitialValue(field, params) ? ", the default" : "");
    }
    // The same as the subject of a sentence, its aside closed.
    [[nodiscard]] std::string subject(Field field, const SearchParams& params) const
    {
        return bound(field, params) + (atInitialValue(field, params) ? "," : "");
    }
};

// Listed values that an exclusion takes out again: "4.7 is", "4.7 and 10 are".
std::string listedAndExcluded(const SpecialValueTable& special, const NumberText& numbers)
{
    std::vector<double> both;
    for (const double listed : special.listedValues)
        if (listed != unusedSpecialValue &&
            std::any_of(special.excludedValues.begin(), special.excludedValues.end(),
                        [listed](double excluded) { return specialValueMatches(listed, excluded); }) &&
            std::none_of(both.begin(), both.end(), [listed](double v) { return v == listed; }))
            both.push_back(listed);
    std::string text;
    for (std::size_t i = 0; i < both.size(); ++i)
        text += (i == 0 ? "" : i + 1 == both.size() ? " and " : ", ") + numbers.plain(both[i]);
    return both.empty() ? text : text + (both.size() == 1 ? " is" : " are");
}

std::string reasonText(const NoneReason& reason, const SearchParams& params, const Wording& words)
{
    using Kind = NoneReason::Kind;
    const NumberText& numbers = words.numbers;
    const std::string arm = reason.highArm ? "high" : "low";
    const ValueSet& values = *params.values;
    switch (reason.kind) {
    case Kind::Untold:
        break;
    case Kind::NoShape:
        return "no shape is ticked for the " + arm + " arm";
    case Kind::RminAboveRmax:
        return words.subject(Field::Rmin, params) + " is above " + words.bound(Field::Rmax, params);
    case Kind::NoValueInRange:
        return (values.isSeries() ? "no " + values.name() + " value" : "no value of " + values.name()) +
               " lies in " + rangeOfK(params.rMin, params.rMax, numbers);
    case Kind::NoneAdmitted: {
        const std::string range = " in " + rangeOfK(params.rMin, params.rMax, numbers);
        if (!params.specialValues.anyListed())
            return "no value left by the excluded ones lies" + range;
        const std::string both = listedAndExcluded(params.specialValues, numbers);
        return both.empty() ? "no listed value lies" + range
                            : both + " both listed and excluded, which leaves no listed value" + range;
    }
    case Kind::RsumMinAboveRsumMax:
        // The current bounds, folded into the total's, may be what crossed them.
        return params.currentMin > 0.0 || params.currentMax != noUpperBound
                   ? "no total meets " + words.name(Field::RsumMin) + ", " + words.name(Field::RsumMax) + ", " +
                         words.name(Field::CurrentMin) + " and " + words.name(Field::CurrentMax) + " at " +
                         words.name(Field::Uin) + " " + numbers.plain(params.uin) + " V"
                   : words.subject(Field::RsumMin, params) + " is above " + words.bound(Field::RsumMax, params);
    case Kind::UoutNotBelowUin:
        return words.name(Field::Uout) + " is not below " + words.name(Field::Uin) + ", which 1 + H/L cannot give";
    case Kind::OutMinAboveOutMax:
        return words.subject(Field::OutMin, params) + " is above " + words.bound(Field::OutMax, params);
    case Kind::NoGuarantee:
        if (params.outputWindowed())
            return "the tolerances of the parts and the source alone spread the output wider than " +
                   outputWindowText(params, numbers);
        return "the tolerances of the parts and the source alone can put the output up to " +
               spreadText(reason.figure, params, numbers) + " % off, more than " + words.name(Field::Tol);
    case Kind::NoArmWithinBounds: {
        const ArmBounds& bounds = reason.highArm ? params.highArm : params.lowArm;
        const std::string where = bounds.greatest == noUpperBound ? "at or above " + numbers.plain(bounds.least) + " k"
                                  : bounds.least == 0.0 ? "at or below " + numbers.plain(bounds.greatest) + " k"
                                                        : "in " + rangeOfK(bounds.least, bounds.greatest, numbers);
        if (reason.blocking)
            return words.subject(*reason.blocking, params) + " leaves no " + arm + " arm " + where;
        return "no " + arm + " arm lies " + where;
    }
    case Kind::LeastTotalAbove:
        return "the least total, " + numbers.plain(reason.figure) + " k, is above " +
               words.bound(Field::RsumMax, params);
    case Kind::GreatestTotalBelow:
        return "the greatest total, " + numbers.plain(reason.figure) + " k, is below " +
               words.bound(Field::RsumMin, params);
    case Kind::OutputImpedance:
        return "every output impedance is above " + words.bound(Field::OutputImpedanceMax, params);
    case Kind::Power:
        return "every divider dissipates more than " + words.bound(Field::PowerMax, params) + " in a resistor";
    case Kind::ImpedanceByTotal:
        return "at ratio " + numbers.plain(toSignificantDigits(params.ratio(), 4)) + " H || L is " +
               numbers.plain(toSignificantDigits(reason.figure, 3)) + " of the total, so " +
               words.subject(Field::RsumMin, params) + " holds it at or above " +
               numbers.plain(toSignificantDigits(params.rSumMin * reason.figure, 3)) + " k, more than " +
               words.bound(Field::OutputImpedanceMax, params);
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

// The nearest change that gives dividers: "with --rsum-min 0.001 (10 k by
// default) there are 26", "without Rout max there is 1".
std::string changeText(const BoundChange& change, const SearchParams& params, const Wording& words)
{
    std::string text = numberField(change.fields[0]).mayBeEmpty ? "without " : "with ";
    for (std::size_t i = 0; i < change.size; ++i) {
        const Field field = change.fields[i];
        const NumberField& f = numberField(field);
        if (i > 0)
            text.append(" and ");
        text.append(words.name(field));
        if (!f.mayBeEmpty)
            text.append(" ").append(words.numbers.plain(change.values[i]));
        if (!f.mayBeEmpty && atInitialValue(field, params))
            text.append(" (").append(words.numbers.plain(f.value(params))).append(unitOf(f)).append(" by default)");
    }
    return text + (change.count == 1 ? " there is 1" : " there are " + words.numbers.grouped(change.count));
}

// Why the run found none and what would give some, as "No divider: " is followed.
std::string noneText(const RunSummary& summary, const Wording& words)
{
    const NoneReason& reason = summary.noneBecause;
    std::string text = reasonText(reason, summary.params, words);
    if (reason.change)
        text += (text.empty() ? "" : "; ") + changeText(*reason.change, summary.params, words);
    return text;
}

} // namespace

std::string summaryText(const RunSummary& summary, const NumberText& numbers, bool optionNames)
{
    const auto& [found, shown, noneBecause, unmatchedListed, stopped, params] = summary;
    if (stopped)
        return "Stopped";
    std::string out;
    const ValueSet& values = *params.values;
    if (found == 0) {
        const Wording words{numbers, optionNames, params.use};
        const std::string reason = reasonText(noneBecause, params, words);
        out = reason.empty() ? "No divider meets the bounds" : "No divider: " + reason;
        if (noneBecause.change)
            out += "; " + changeText(*noneBecause.change, params, words);
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

std::string whyNoneText(const RunSummary& summary, const NumberText& numbers, bool optionNames)
{
    return summary.found == 0 && !summary.stopped ? noneText(summary, {numbers, optionNames, summary.params.use})
                                                  : std::string();
}

std::string outOfMemoryText(bool optionNames)
{
    const auto name = [optionNames](Field field) { return fieldName(field, optionNames); };
    const std::string shapes = optionNames ? "--hi and --lo shapes" : "arm shapes";
    return "out of memory: narrow the run with a lower " + name(Field::MaxResults) + ", a smaller " +
           name(Field::Tol) + ", fewer " + shapes + " or a narrower " + name(Field::Rmin) + " to " +
           name(Field::Rmax);
}

} // namespace tarnel
