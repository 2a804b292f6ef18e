#pragma once

#include "input_fields.h"
#include "plain_window.h"

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

// An option's value as typed: it goes to the window's field reader as it is,
// so that every bad value is judged, and reported, by one reader.
struct OptionText {
    std::string text;
    std::size_t position = noPosition;
};

// --only lists a value, --exclude excludes it; they fill the special slots in turn.
struct SpecialValueOption {
    bool listed = false;
    OptionText value;
};

enum class OutputFormat { Text, Csv, Json };

struct Options {
    std::array<OptionText, numberFields.size()> numbers; // the window's initial texts by default
    bool highOverLowOnly = false;                        // --ratio h/l, the window's ratio box
    std::array<bool, armBoxes.size()> arms{};            // the arm boxes, in their table's order
    std::array<std::size_t, choiceFields.size()> choices{};
    std::vector<SpecialValueOption> specialValues;       // at most specialSlotCount, in the order given
    std::optional<OptionText> valuesFile;                // --values, standing in for the series
    OutputFormat format = OutputFormat::Text;
    bool help = false;
    bool version = false;

    Options();
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
// not judged here: the window's field reader does that in the run.
[[nodiscard]] ParsedArguments parseArguments(const std::vector<std::string>& args);

// Sets the window's controls as the options say.
void applyOptions(const Options& options, PlainWindow& window);

// One error for every field the last run of the window rejected, worded from
// the reader's verdict and the field's range.
[[nodiscard]] std::vector<ArgumentError> rejectedValues(const Options& options, PlainWindow& window);

// Every option with its range and default, an example and the exit statuses.
[[nodiscard]] std::string helpText();
[[nodiscard]] std::string versionText();
// The one line that follows errors of usage (an unknown option, one special value too many).
[[nodiscard]] std::string usageHint();

} // namespace tarnel::cli
