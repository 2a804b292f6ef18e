#include "request/field_reading.h"

#include "text/quoted_text.h"
#include "text/resistance_text.h"

#include <optional>

namespace tarnel {

namespace {

FieldReading judged(std::optional<double> value, FieldRange range)
{
    if (!value)
        return {FieldStatus::NotANumber, failedReadValue};
    if (!range.holds(*value))
        return {FieldStatus::OutOfRange, failedReadValue};
    return {FieldStatus::Ok, *value};
}

} // namespace

FieldReading readNumber(std::string_view text, FieldRange range, const NumberText& numbers)
{
    return judged(numbers.parse(text), range);
}

FieldReading readResistance(std::string_view text, FieldRange range, const NumberText& numbers)
{
    std::optional<double> value = numbers.parse(text);
    if (!value)
        value = parseResistance(text, numbers);
    return judged(value, range);
}

std::string fieldProblem(std::string_view text, FieldStatus status, FieldRange range, const NumberText& numbers)
{
    const std::string bounds = rangeText(range, numbers.periodAccepted() ? NumberText(".") : numbers);
    return quoted(text) + (status == FieldStatus::OutOfRange ? " is out of range " : " is not a number in the range ") +
           bounds;
}

} // namespace tarnel
