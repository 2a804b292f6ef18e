#include "search_params.h"

#include "start_run.h"
#include "stock_file.h"
#include "value_cursor.h"

#include <algorithm>

namespace tarnel {

bool inputsValid = true;

std::string rangeText(FieldRange range, const NumberText& numbers)
{
    return numbers.plain(range.lo) + " to " + numbers.plain(range.hi);
}

FieldReading readNumber(std::string_view text, FieldRange range, const NumberText& numbers)
{
    const std::optional<double> value = numbers.parse(text);
    if (!value)
        return {FieldStatus::NotANumber, failedReadValue};
    if (!(range.lo <= *value && *value <= range.hi))
        return {FieldStatus::OutOfRange, failedReadValue};
    return {FieldStatus::Ok, *value};
}

double readField(EditField& edit, double lo, double hi, const NumberText& numbers)
{
    const FieldReading reading = readNumber(edit.text(), {lo, hi}, numbers);
    edit.showStatus(reading.status);
    if (reading.status != FieldStatus::Ok)
        inputsValid = false;
    return reading.value;
}

double readValueField(EditField& edit, const NumberText& numbers)
{
    return readField(edit, minFieldValue, maxStandardValue, numbers);
}

SearchParams readSearchParams(const StartWindow& window, const NumberText& numbers)
{
    inputsValid = true;
    SearchParams p;
    for (std::size_t i = 0; i < numberFields.size(); ++i) {
        const NumberField& field = numberFields[i];
        field.use(p, readField(*window.edits[i], field.range.lo, field.range.hi, numbers));
    }
    p.ratioOffset = window.ratioBox->checked() ? 0.0 : 1.0;
    p.ratio = p.uin / p.uout;
    p.ratioLow = (1.0 - p.tolerance) * p.ratio;
    p.ratioHigh = (1.0 + p.tolerance) * p.ratio;
    for (std::size_t i = 0; i < armBoxes.size(); ++i)
        p.*armBoxes[i].flag = window.armChecks[i]->checked();
    for (std::size_t i = 0; i < choiceFields.size(); ++i)
        choiceFields[i].use(p, std::min(window.choices[i]->choice(), choiceFields[i].choices.size() - 1));
    if (const std::optional<std::string> path = window.valuesFile->path()) {
        const StockReading stock = readStockFile(*path, NumberText(numbers.decimalSeparator(), NumberText::Period::AlsoAccepted));
        window.valuesFile->showProblem(stock.problem);
        if (stock.values)
            p.values = stock.values;
        else
            inputsValid = false;
    }
    return p;
}

} // namespace tarnel
