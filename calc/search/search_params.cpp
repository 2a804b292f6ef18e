#include "search/search_params.h"

#include "search/guarantee.h"
#include "search/input_fields.h"
#include "text/quoted_text.h"
#include "values/request_error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace tarnel {

SearchParams::SearchParams()
{
    for (const NumberField& field : numberFields)
        if (!field.initialText.empty())
            field.use(*this, initialValue(field.initialText));
    highShapes = initialHighShapes;
    lowShapes = initialLowShapes;
    for (const ChoiceField& field : choiceFields)
        field.use(*this, field.initialChoice);
}

double SearchParams::ratioLow() const
{
    return keptWindow(*this).low;
}

double SearchParams::ratioHigh() const
{
    return keptWindow(*this).high;
}

double SearchParams::tapConductance() const
{
    if (use == DividerUse::Feedback)
        return pinCurrent * 1000.0 / uout;
    return tapLoad == noUpperBound ? 0.0 : 1.0 / tapLoad;
}

namespace {

[[noreturn]] void refuse(const std::string& what)
{
    throw RequestError(what);
}

std::string shortest(double value)
{
    char text[32];
    return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

void checkNumberField(const NumberField& field, const SearchParams& params, const SearchParams& made)
{
    const double value = field.value(params);
    // An optional bound left as made is no bound; any other value meets the typist's range.
    if (field.range.holds(value) || (field.mayBeEmpty && value == field.value(made)))
        return;
    refuse("--" + std::string(field.option) + " " + quoted(shortest(value)) +
           (std::isfinite(value) ? " is out of range " : " is not a number in the range ") +
           rangeText(field.range, NumberText(".")));
}

template <class Enum>
void checkChoice(const ChoiceField& field, Enum chosen)
{
    if (static_cast<std::size_t>(chosen) >= field.choices.size())
        refuse("--" + std::string(field.option) + " has no choice " + std::to_string(static_cast<std::size_t>(chosen)));
}

} // namespace

void checkSearchParams(const SearchParams& params)
{
    const SearchParams made;
    for (const NumberField& field : numberFields)
        checkNumberField(field, params, made);
    if (params.ratioOffset != 0.0 && params.ratioOffset != 1.0)
        refuse("ratioOffset is 1 (1 + H/L counted) or 0 (H/L), not " + shortest(params.ratioOffset));
    checkChoice(choiceField(ChoiceId::Order), params.order);
    checkChoice(choiceField(ChoiceId::Criterion), params.criterion);
    checkChoice(choiceField(ChoiceId::Use), params.use);
    if (params.use == DividerUse::Feedback && params.ratioOffset == 0.0 &&
        (params.currentMin > 0.0 || params.currentMax != noUpperBound))
        refuse("--current-min and --current-max bound a feedback divider's current only with 1 + H/L counted");
    // The tap's voltage is Uin / (1 + H/L) whatever ratio is counted; the
    // window on the counted ratio would not be the output's.
    if (params.ratioOffset == 0.0 && params.outputWindowed())
        refuse("--out-min and --out-max bound the output only with 1 + H/L counted");
    if (params.use == DividerUse::Feedback && params.tapLoad != noUpperBound)
        refuse("--load loads a divider's tap; in feedback use the pin's current is --pin-current");
    if (params.use == DividerUse::Divider && params.pinCurrent != 0.0)
        refuse("--pin-current is a regulator pin's current, in feedback use only");
    if (params.ratioOffset == 0.0 && params.tapConductance() != 0.0)
        refuse("--load and --pin-current shape the output only with 1 + H/L counted");
    if (!params.values)
        refuse("no resistor values to try: choose a series or read a stock file");
    for (const auto& slots : {params.specialValues.listedValues, params.specialValues.excludedValues})
        for (const double value : slots)
            if (value != unusedSpecialValue && !resistanceRange.holds(value))
                refuse("--only/--exclude " + quoted(shortest(value)) + " is out of range " +
                       rangeText(resistanceRange, NumberText(".")));
}

SearchParams withFixedArms(SearchParams params)
{
    std::vector<double> fixed;
    for (const auto& [value, shapes] : {std::pair{params.highFixed, &params.highShapes}, std::pair{params.lowFixed, &params.lowShapes}})
        if (value > 0.0) {
            fixed.push_back(value);
            *shapes = ArmShapes{ArmKind::Single};
        }
    if (!fixed.empty() && params.values)
        params.values = ValueSet::withFixedArmValues(params.values, fixed);
    return params;
}

bool foldsCurrent(const SearchParams& params)
{
    // Past a load the current is no longer Uin / (H + L).
    return params.use == DividerUse::Feedback || params.tapConductance() == 0.0;
}

SearchParams withCurrentFolded(SearchParams params)
{
    const bool feedback = params.use == DividerUse::Feedback;
    if (!foldsCurrent(params))
        return params;
    // Volts over amperes, in kilo-ohms: the resistance that carries the bound's current.
    const double volts = feedback ? params.uout : params.uin;
    const double least = volts / (params.currentMax * 1000.0);
    const double greatest = params.currentMin > 0.0 ? volts / (params.currentMin * 1000.0) : noUpperBound;
    double& floor = feedback ? params.lowArm.least : params.rSumMin;
    double& ceiling = feedback ? params.lowArm.greatest : params.rSumMax;
    floor = std::max(floor, least);
    ceiling = std::min(ceiling, greatest);
    return params;
}

} // namespace tarnel
