#pragma once

#include "number_text.h"
#include "result_list.h"
#include "search_params.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarnel {

// The columns of a result line as a table row: csv and json on the command
// line, "Copy as table" in the window. Resistances in kilo-ohms.
inline constexpr std::array<std::string_view, 22> resultColumns{
    "combination",      "high",             "low",             "high_r1",          "high_r2",
    "low_r1",           "low_r2",           "ratio",           "deviation_percent", "total_resistance",
    "high_arm",         "low_arm",          "output_v",        "output_error_mv",  "output_error_percent",
    "current_ma",       "high_r1_power_mw", "high_r2_power_mw", "low_r1_power_mw", "low_r2_power_mw",
    "output_min_v",     "output_max_v"};

// A cell: a number, a word, or neither, as for the second resistor of a
// one-resistor arm.
struct ResultCell {
    std::optional<double> number;
    std::string_view word;
};

using ResultRow = std::array<ResultCell, resultColumns.size()>;

// The row of a result line of a search run with these parameters.
[[nodiscard]] ResultRow resultRow(const ResultEntry& entry, const SearchParams& params);

// The cells apart by separator, numbers plain, ended by a newline.
void appendTableRow(std::string& out, const ResultRow& row, char separator, const NumberText& numbers);
// The column names apart by separator, ended by a newline.
void appendTableHeader(std::string& out, char separator);

} // namespace tarnel
