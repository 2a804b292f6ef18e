#pragma once

#include "number_text.h"
#include "value_set.h"
#include "window_controls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tarnel {

struct StartWindow;

// Cleared by any field or special-value slot that fails to read; a run
// searches only while it is still true.
extern bool inputsValid;

inline constexpr double failedReadValue = -1.0;
inline constexpr double minFieldValue = 1.0;

struct FieldRange {
    double lo;
    double hi;
};

// A range as messages give it: "1 to 9100000".
[[nodiscard]] std::string rangeText(FieldRange range, const NumberText& numbers);

struct FieldReading {
    FieldStatus status;
    double value; // failedReadValue unless status is Ok
};

// How a field's text reads against the inclusive range. Not-a-number and
// infinities never read, so no such value reaches a search.
[[nodiscard]] FieldReading readNumber(std::string_view text, FieldRange range, const NumberText& numbers);

// Reads the edit and shows it how it read; on failure clears inputsValid
// and yields failedReadValue.
double readField(EditField& edit, double lo, double hi, const NumberText& numbers);
// readField over minFieldValue .. maxStandardValue.
double readValueField(EditField& edit, const NumberText& numbers);

// Which dividers a run lists, and in which order.
enum class ListOrder { AsFound, BestFirst };

struct SearchParams {
    double uin = 0.0;
    double uout = 0.0;
    double tolerance = 0.0; // a fraction: 5 % is 0.05
    double rMin = 0.0;
    double rMax = 0.0;
    double rSumMin = 0.0;
    double rSumMax = 0.0;
    double ratioOffset = 1.0; // 1.0 counts 1 + H/L, 0.0 counts H/L
    double ratio = 0.0;
    double ratioLow = 0.0;
    double ratioHigh = 0.0;
    std::int32_t maxResults = 0;
    bool useHi1R = false;
    bool useHi2Rser = false;
    bool useHi2Rpar = false;
    bool useLo1R = false;
    bool useLo2Rser = false;
    bool useLo2Rpar = false;
    ListOrder order = ListOrder::AsFound;
    double partTolerance = 0.0; // a fraction, for the band each listed divider's output may take
    std::shared_ptr<const ValueSet> values = e24Values(); // the resistor values tried
};

// Sets inputsValid, then reads and shows every field in the order of the
// field table, going on past failed fields so that all bad ones show at once.
SearchParams readSearchParams(const StartWindow& window, const NumberText& numbers);

} // namespace tarnel
