#pragma once

#include "text/number_text.h"
#include "text/range_text.h"

#include <string>
#include <string_view>

namespace tarnel {

// How a field's text read; the window paints a failed field red. The edit
// of an ignored special-value slot is not read at all.
enum class FieldStatus { Ok, NotRead, NotANumber, OutOfRange };

[[nodiscard]] constexpr bool failed(FieldStatus status)
{
    return status == FieldStatus::NotANumber || status == FieldStatus::OutOfRange;
}

inline constexpr double failedReadValue = -1.0;

struct FieldReading {
    FieldStatus status;
    double value; // failedReadValue unless status is Ok
};

// How a field's text reads against the inclusive range. Not-a-number and
// infinities never read, so no such value reaches a search.
[[nodiscard]] FieldReading readNumber(std::string_view text, FieldRange range, const NumberText& numbers);
// The same for a resistance, which may also be typed as a part is marked:
// 4k7, 240R, 1M5, 470 Ω (parseResistance); a plain number reads as above.
[[nodiscard]] FieldReading readResistance(std::string_view text, FieldRange range, const NumberText& numbers);

// Why a text failed, as the command line and the window's tooltips say it:
// "\"x\" is not a number in the range 0 to 100". Where a period reads in
// every locale the range is written with one.
[[nodiscard]] std::string fieldProblem(std::string_view text, FieldStatus status, FieldRange range,
                                       const NumberText& numbers);

} // namespace tarnel
