#pragma once

#include "search/search_params.h"
#include "search/result_list.h"

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string_view>

namespace tarnel {

// The forms a run's results are written in.
enum class OutputFormat { Text, Csv, Json };

// The extension of a file of each format, in the order of OutputFormat.
inline constexpr std::array<std::string_view, 3> formatExtensions{"txt", "csv", "json"};

// The format the extension of path's file name asks for, in any case; none
// for another extension or none at all.
[[nodiscard]] std::optional<OutputFormat> formatOfPath(std::string_view path);

inline constexpr std::size_t blockLines = 4096;

// Writes the list in the format, in blocks of linesPerBlock lines formatted
// on every core, a few at a time, so that millions of lines never build one
// string: text as the window's lines, csv and json with the columns of
// resultColumns. params are the run's, for the figures of each divider.
// Stops early when out fails.
void writeResults(OutputFormat format, const ResultList& list, const SearchParams& params, std::ostream& out,
                  std::size_t linesPerBlock = blockLines);

} // namespace tarnel
