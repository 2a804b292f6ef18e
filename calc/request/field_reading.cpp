#include "request/field_reading.h"

#include "text/quoted_text.h"
#include "text/resistance_text.h"

#include <optional>

namespace tarnel {

namespace {

// A number too large or small for a double lies outside every range.
FieldReading judged(std::optional<double> value, FieldRange range, bool beyondDouble)
{
    if (!value)
        return {beyondDouble ? FieldStatus::OutOfRange : FieldStatus::NotANumber, failedReadValue};
    if (!range.holds(*value))
        return {FieldStatus::OutOfRange, failedReadValue};
    return {FieldStatus::Ok, *value};
}

} // namespace

FieldReading readNumber(std::string_view text, FieldRange range, const NumberText& numbers)
{
    const std::string typed = plainTyped(text);
    const std::optional<double> value = numbers.parse(typed);
    return judged(value, range, !value && numbers.beyondDouble(typed));
}

FieldReading readResistance(std::string_view text, FieldRange range, const NumberText& numbers)
{
    const std::string typed = plainTyped(text);
    std::optional<double> value = numbers.parse(typed);
    const bool beyond = !value && numbers.beyondDouble(typed);
    if (!value)
        value = parseResistance(typed, numbers);
    return judged(value, range, beyond);
}

std::string fieldProblem(std::string_view text, FieldStatus status, FieldRange range, const NumberText& numbers)
{
    const std::string bounds = rangeText(range, numbers.periodAccepted() ? NumberText(".") : numbers);
    return quoted(text) + (status == FieldStatus::OutOfRange ? " is out of range " : " is not a number in the range ") +
           bounds;
}

} // namespace tarnel
