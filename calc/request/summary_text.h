#pragma once

#include "search/run_summary.h"
#include "text/number_text.h"

#include <string>

namespace tarnel {

// A run's summary in a line: "24 dividers", "200 of 15,975 dividers shown:
// the limit cut the rest", "No divider: Rmin is above Rmax", "No divider:
// every ratio lies outside the window; closest: 12.4 / 10 k, d -0.44 %",
// and what of the values could not be used: "…; 4.8 is no E24 value",
// "…; 2 values in drawer.txt lie outside 1 to 9100000 k and are not tried";
// "Stopped" for a run that was stopped. The bounds it names go by the
// command line's options, or the window's captions.
[[nodiscard]] std::string summaryText(const RunSummary& summary, const NumberText& numbers, bool optionNames);

// Why the run found no divider, and the nearest change found that gives
// some, as the summary words it after "No divider: "; empty when it found
// some or cannot tell.
[[nodiscard]] std::string whyNoneText(const RunSummary& summary, const NumberText& numbers, bool optionNames);

// What a run that outgrew memory says, and how to narrow it: with the
// command line's options, or the window's captions.
[[nodiscard]] std::string outOfMemoryText(bool optionNames);

} // namespace tarnel
