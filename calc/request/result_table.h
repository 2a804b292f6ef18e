#pragma once

#include "text/number_text.h"
#include "search/result_list.h"
#include "search/search_params.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

// The columns of a result line as a table row: csv and json on the command
// line, "Copy as table" in the window. Resistances in kilo-ohms. The output
// is the tap's in divider use and the regulated one in feedback use.
inline constexpr std::array<std::string_view, 29> resultColumns{
    "combination",      "high",             "low",             "high_r1",          "high_r2",
    "low_r1",           "low_r2",           "ratio",           "deviation_percent", "total_resistance",
    "high_arm",         "low_arm",          "output_v",        "output_error_mv",  "output_error_percent",
    "current_ma",       "high_r1_power_mw", "high_r2_power_mw", "low_r1_power_mw", "low_r2_power_mw",
    "output_min_v",     "output_max_v",     "ratio_counted",   "worst_deviation_percent", "output_impedance",
    "high_r1_v",        "high_r2_v",        "low_r1_v",        "low_r2_v"};

// A cell: a number, a number already written, a word, or nothing, as for
// the second resistor of a one-resistor arm. Small, for millions of rows.
struct ResultCell {
    enum class Kind : std::uint8_t { Nothing, Number, Written, Word };
    Kind kind = Kind::Nothing;
    double number = 0.0;
    std::string_view text; // the written number or the word
};

using ResultRow = std::array<ResultCell, resultColumns.size()>;

// The run's resistor values and the combinations' numbers as plain
// numbers, written once for all rows of a table.
class WrittenValues {
public:
    WrittenValues(const ValueSet& values, const NumberText& numbers);
    [[nodiscard]] std::string_view value(ValueIndex index) const { return values_[index]; }
    [[nodiscard]] std::string_view combination(std::size_t number) const { return combinations_[number]; }

private:
    std::vector<std::string> values_;
    std::array<std::string, armCombinations.size()> combinations_;
};

// The row of a divider of a search run with these parameters; written
// holds the run's values.
[[nodiscard]] ResultRow resultRow(const Divider& divider, const SearchParams& params, const WrittenValues& written);

// The cells apart by separator, numbers plain, ended by a newline.
void appendTableRow(std::string& out, const ResultRow& row, char separator, const NumberText& numbers);
// The column names apart by separator, ended by a newline.
void appendTableHeader(std::string& out, char separator);

} // namespace tarnel
