#include "search_params.h"

#include "value_cursor.h"

#include <cmath>

namespace tarnel {

bool inputsValid = true;

FieldReading readNumber(std::string_view text, double lo, double hi, const NumberText& numbers)
{
    const std::optional<double> value = numbers.parse(text);
    if (!value)
        return {FieldStatus::NotANumber, failedReadValue};
    if (!(lo <= *value && *value <= hi))
        return {FieldStatus::OutOfRange, failedReadValue};
    return {FieldStatus::Ok, *value};
}

double readField(EditField& edit, double lo, double hi, const NumberText& numbers)
{
    const FieldReading reading = readNumber(edit.text(), lo, hi, numbers);
    if (reading.status == FieldStatus::Ok) {
        edit.setColor(FieldColor::Window);
        return reading.value;
    }
    edit.setColor(FieldColor::Red);
    inputsValid = false;
    return failedReadValue;
}

double readValueField(EditField& edit, const NumberText& numbers)
{
    return readField(edit, minFieldValue, maxStandardValue, numbers);
}

SearchParams readSearchParams(const SearchFields& fields, const NumberText& numbers)
{
    inputsValid = true;
    SearchParams p;
    p.uin = readValueField(fields.editUin, numbers);
    p.uout = readValueField(fields.editUout, numbers);
    p.tolerance = readField(fields.editTol, minTolerancePercent, maxTolerancePercent, numbers) / 100.0;
    p.rMin = readValueField(fields.editRmin, numbers);
    p.rMax = readValueField(fields.editRmax, numbers);
    p.rSumMin = readValueField(fields.editRsumMin, numbers);
    p.rSumMax = readValueField(fields.editRsumMax, numbers);
    p.ratioOffset = fields.chkDivOnly.checked() ? 0.0 : 1.0;
    p.ratio = p.uin / p.uout;
    p.ratioLow = (1.0 - p.tolerance) * p.ratio;
    p.ratioHigh = (1.0 + p.tolerance) * p.ratio;
    // The range check keeps this within 1 .. 9,100,000, so the conversion is defined.
    p.maxResults = static_cast<std::int32_t>(std::trunc(readValueField(fields.editMaxResults, numbers)));
    p.useHi1R = fields.chkHi1R.checked();
    p.useHi2Rser = fields.chkHi2Rser.checked();
    p.useHi2Rpar = fields.chkHi2Rpar.checked();
    p.useLo1R = fields.chkLo1R.checked();
    p.useLo2Rser = fields.chkLo2Rser.checked();
    p.useLo2Rpar = fields.chkLo2Rpar.checked();
    return p;
}

} // namespace tarnel
