#pragma once

#include "output/result_writers.h"
#include "search/input_fields.h"
#include "request/search_input.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel::cli {

inline constexpr std::string_view programName = "tarnel-cli";

// Where an option stood among the arguments, so that errors are reported in
// the order they were typed; options left at their default have none.
inline constexpr std::size_t noPosition = std::numeric_limits<std::size_t>::max();

template <std::size_t n>
constexpr std::array<std::size_t, n> noPositions()
{
    std::array<std::size_t, n> positions{};
    positions.fill(noPosition);
    return positions;
}

// The run's inputs as typed: values go to the field reader as they are, so
// that every bad value is judged, and reported, by one reader.
struct Options {
    SearchInput input; // the window's initial texts and ticks unless given
    std::array<std::size_t, numberFields.size()> numberPositions = noPositions<numberFields.size()>();
    // --only lists a value, --exclude excludes it; they fill the slots in the order given.
    std::array<std::size_t, specialSlotCount> slotPositions = noPositions<specialSlotCount>();
    std::size_t valuesFilePosition = noPosition; // of --values, standing in for the series
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string> outputFile; // standard output unless given
    std::size_t outputFilePosition = noPosition;
    bool help = false;
    bool version = false;
    bool pareto = false; // only the dividers on the Pareto front
};

struct ArgumentError {
    std::size_t position = noPosition;
    std::string message; // without the program's name
    bool wantsUsageHint = false;
};

struct ParsedArguments {
    Options options;
    std::vector<ArgumentError> errors;
};

// Reads the arguments (without the program's name) into options, going on
// past bad ones so that every bad argument is reported at once. Numbers are
// not judged here: readSearchParams does that in the run. Arguments after
// the first "--" are no options, and each is an error.
[[nodiscard]] ParsedArguments parseArguments(const std::vector<std::string>& args);

// Every option with its range and default, an example and the exit statuses.
[[nodiscard]] std::string helpText();
[[nodiscard]] std::string versionText();
// The one line that follows errors of usage (an unknown option, one special value too many).
[[nodiscard]] std::string usageHint();

} // namespace tarnel::cli
