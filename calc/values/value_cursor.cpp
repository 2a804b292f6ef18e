#include "values/value_cursor.h"

namespace tarnel {

ValueCursor::ValueCursor(double start, std::span<const double> mantissas) : mantissas_(mantissas)
{
    currentValue = mantissas_[0] * decade;
    lastDecade = decade;
    lastValue = currentValue;
    // Climb to the floor of start: the walk ends on the first refused step.
    while (!tableEnded && !finished)
        advance(start);
    finished = false;
}

double ValueCursor::advance(double bound)
{
    if (mantissaIndex < static_cast<std::int32_t>(mantissas_.size()) - 1) {
        ++mantissaIndex;
    } else if (decadeIndex < decadeCount - 1) {
        ++decadeIndex;
        decade *= 10.0;
        mantissaIndex = 0;
    } else {
        tableEnded = true;
    }
    currentValue = mantissas_[static_cast<std::size_t>(mantissaIndex)] * decade;

    if (tableEnded || currentValue > bound) {
        currentValue = lastValue;
        decadeIndex = lastDecadeIndex;
        decade = lastDecade;
        mantissaIndex = lastMantissaIndex;
        finished = true;
    } else {
        lastValue = currentValue;
        lastDecadeIndex = decadeIndex;
        lastDecade = decade;
        lastMantissaIndex = mantissaIndex;
    }
    return currentValue;
}

} // namespace tarnel
