#pragma once

#include "command_line_options.h"

#include "result_list.h"

#include <array>
#include <ostream>
#include <string_view>

namespace tarnel::cli {

// The csv header and the json keys, in this order. A resistor the line has
// not (the second of a one-resistor arm) is an empty cell in csv, null in json.
inline constexpr std::array<std::string_view, 10> resultColumns{
    "combination", "high",  "low", "high_r1", "high_r2", "low_r1", "low_r2", "ratio", "deviation_percent",
    "total_resistance"};

// Writes the list in the format, one line at a time through one reused
// buffer, so that millions of lines never build one string. ratioOffset is
// the run's, for the ratio of each divider. Stops early when out fails.
void writeResults(OutputFormat format, const ResultList& list, double ratioOffset, std::ostream& out);

} // namespace tarnel::cli
