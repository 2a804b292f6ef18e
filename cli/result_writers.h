#pragma once

#include "command_line_options.h"

#include "result_list.h"
#include "search_params.h"

#include <cstddef>
#include <ostream>

namespace tarnel::cli {

// Writes the list in the format, in blocks of blockLines lines formatted on
// both cores, so that millions of lines never build one string: text as the
// window's lines, csv and json with the columns of resultColumns. params are
// the run's, for the figures of each divider. Stops early when out fails.
void writeResults(OutputFormat format, const ResultList& list, const SearchParams& params, std::ostream& out);

inline constexpr std::size_t blockLines = 8192;

} // namespace tarnel::cli
