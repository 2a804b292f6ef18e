#include "request/search_input.h"

#include "search/divider_search.h"
#include "text/quoted_text.h"
#include "values/request_error.h"
#include "values/stock_file.h"

#include <algorithm>

namespace tarnel {

SearchInput::SearchInput()
{
    for (const NumberField& field : numberFields)
        text(field.field) = field.initialText;
    for (const ChoiceField& field : choiceFields)
        choice(field.id) = field.initialChoice;
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
        specialSlots[slot].text = specialSlotTexts[slot];
}

namespace {

FieldVerdict verdictOf(std::string_view text, FieldRange range, bool resistance, const NumberText& numbers,
                       double& value)
{
    const FieldReading reading =
        resistance ? readResistance(text, range, numbers) : readNumber(text, range, numbers);
    value = reading.value;
    if (failed(reading.status))
        return {reading.status, fieldProblem(text, reading.status, range, numbers)};
    return {reading.status, {}};
}

} // namespace

void specValsInit(const SpecialSlotInput& slot, std::size_t slotIndex, InputReading& reading,
                  const NumberText& numbers)
{
    SpecialValueTable& table = reading.params.specialValues;
    double& listed = table.listedValues.at(slotIndex);
    double& excluded = table.excludedValues.at(slotIndex);
    FieldVerdict& verdict = reading.specialSlots.at(slotIndex);
    switch (slot.state) {
    case CheckState::Unchecked:
        verdict = verdictOf(slot.text, resistanceRange, true, numbers, excluded);
        listed = unusedSpecialValue;
        break;
    case CheckState::Checked:
        excluded = unusedSpecialValue;
        verdict = verdictOf(slot.text, resistanceRange, true, numbers, listed);
        break;
    case CheckState::Grayed:
        excluded = unusedSpecialValue;
        listed = unusedSpecialValue;
        verdict = {};
        break;
    case CheckState::Unknown:
        reading.valid = false;
        reading.listMessages.emplace_back(badCheckStateMessage);
        return;
    }
    if (failed(verdict.status))
        reading.valid = false;
}

InputReading readSearchParams(const SearchInput& input, const NumberText& numbers)
{
    InputReading reading;
    SearchParams& p = reading.params;
    for (const NumberField& field : numberFields) {
        const std::string& text = input.text(field.field);
        if (field.mayBeEmpty && text.find_first_not_of(" \t") == std::string::npos)
            continue;
        double value = failedReadValue;
        FieldVerdict& verdict = reading.numbers[static_cast<std::size_t>(field.field)];
        verdict = verdictOf(text, field.range, field.readsResistance, numbers, value);
        reading.valid = reading.valid && !failed(verdict.status);
        field.use(p, value);
    }
    p.ratioOffset = input.highOverLowOnly ? 0.0 : 1.0;
    // Counted as H/L the ratio is not the output's, which the tap keeps at
    // Uin / (1 + H/L); nor then is a feedback divider's current Uin / Rsum.
    const bool feedback =
        input.choices[static_cast<std::size_t>(ChoiceId::Use)] == static_cast<std::size_t>(DividerUse::Feedback);
    const struct {
        Field bound;
        const char* what;
        bool feedbackOnly;
    } outputBounds[] = {{Field::OutMin, "bounds the output", false},
                        {Field::OutMax, "bounds the output", false},
                        {Field::CurrentMin, "bounds a feedback divider's current", true},
                        {Field::CurrentMax, "bounds a feedback divider's current", true},
                        {Field::Load, "loads the tap", false},
                        {Field::PinCurrent, "shapes the output", false}};
    const auto refuse = [&](Field field, const std::string& why) {
        reading.numbers[static_cast<std::size_t>(field)] = {FieldStatus::OutOfRange, quoted(input.text(field)) + why};
        reading.valid = false;
    };
    for (const auto& b : outputBounds)
        if (input.highOverLowOnly && (feedback || !b.feedbackOnly) && reading.verdict(b.bound).status == FieldStatus::Ok)
            refuse(b.bound, std::string(" ") + b.what + " only with 1 + H/L counted");
    for (const NumberField& field : numberFields)
        if (const std::optional<DividerUse> only = onlyUseOf(field.field);
            only && (*only == DividerUse::Feedback) != feedback && reading.verdict(field.field).status == FieldStatus::Ok)
            refuse(field.field, std::string(" is ") + (*only == DividerUse::Feedback ? "a regulator pin's current"
                                                                                       : "a load on a divider's tap") +
                                    ", for " + std::string(useChoices[static_cast<std::size_t>(*only)].word) +
                                    " use only");
    p.highShapes = input.highShapes;
    p.lowShapes = input.lowShapes;
    for (const ChoiceField& field : choiceFields) {
        const std::size_t chosen = input.choices[static_cast<std::size_t>(field.id)];
        field.use(p, std::min(chosen, field.choices.size() - 1));
    }
    if (input.values) {
        p.values = input.values;
    } else if (input.valuesFile) {
        const StockReading stock =
            readStockFile(*input.valuesFile, NumberText(numbers.decimalSeparator(), NumberText::Period::AlsoAccepted));
        reading.valuesFileProblem = stock.problem;
        if (stock.values)
            p.values = stock.values;
        else
            reading.valid = false;
    }
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
        specValsInit(input.specialSlots[slot], slot, reading, numbers);
    if (!reading.valid)
        return reading;
    try {
        p = withFixedArms(p);
    } catch (const RequestError& error) {
        reading.valuesFileProblem = error.what();
        reading.valid = false;
        return reading;
    }
    if (const std::size_t values = searchedValueCount(p); values > maxPairedValues && searchesPairs(p)) {
        reading.valuesFileProblem = "holds " + numbers.grouped(values) +
                                    " values from Rmin to Rmax; arms of two resistors take at most " +
                                    numbers.grouped(maxPairedValues);
        reading.valid = false;
    }
    return reading;
}

} // namespace tarnel
