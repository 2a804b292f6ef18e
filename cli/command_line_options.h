#pragma once

#include "divider.h"
#include "search_params.h"
#include "value_cursor.h"

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel::cli {

inline constexpr std::string_view programName = "tarnel-cli";

// Where an option stood among the arguments, so that errors are reported in
// the order they were typed; options left at their default have none.
inline constexpr std::size_t noPosition = std::numeric_limits<std::size_t>::max();

// The text of a numeric option. It goes to the window's field reader as
// typed, so the defaults are the window's initial texts.
struct OptionText {
    std::string text;
    std::size_t position = noPosition;
};

// The three boxes of one arm, in the window's order.
struct ArmShapes {
    bool single = false;
    bool series = false;
    bool parallel = false;
};

// The words of SHAPES, indexed by ArmKind; the csv and json output use them too.
inline constexpr std::array<std::string_view, 3> shapeWords{"1", "ser", "par"};

[[nodiscard]] constexpr std::string_view shapeWord(ArmKind kind) { return shapeWords[static_cast<std::size_t>(kind)]; }

struct SpecialValueOption {
    bool listed = false; // --only; an --exclude otherwise
    OptionText value;
};

inline constexpr std::string_view excludeOption = "--exclude";
inline constexpr std::string_view onlyOption = "--only";

enum class OutputFormat { Text, Csv, Json };

struct Options {
    OptionText uin{"10"};
    OptionText uout{"1"};
    OptionText tol{"5"};
    OptionText rMin{"1"};
    OptionText rMax{"100"};
    OptionText rSumMin{"10"};
    OptionText rSumMax{"100"};
    OptionText maxResults{"200"};
    bool highOverLowOnly = false; // --ratio h/l, the window's chkDivOnly
    ArmShapes high{true, false, false};
    ArmShapes low{true, false, false};
    std::vector<SpecialValueOption> specialValues; // in the order given, at most specialSlotCount
    OutputFormat format = OutputFormat::Text;
    bool help = false;
    bool version = false;
};

struct NumericOption {
    std::string_view name;
    std::string_view valueName;
    OptionText Options::*text;
    // The range the window's reader applies to the field; here only to word
    // the reader's verdict, never to judge a value.
    double lo;
    double hi;
    std::string_view summary;
};

// The numeric options in the order the window reads their fields.
inline constexpr std::array<NumericOption, 8> numericOptions{{
    {"--uin", "V", &Options::uin, minFieldValue, maxStandardValue, "input voltage"},
    {"--uout", "V", &Options::uout, minFieldValue, maxStandardValue, "wanted output voltage"},
    {"--tol", "PCT", &Options::tol, minTolerancePercent, maxTolerancePercent, "tolerance of the ratio in percent"},
    {"--rmin", "K", &Options::rMin, minFieldValue, maxStandardValue, "smallest resistor value tried"},
    {"--rmax", "K", &Options::rMax, minFieldValue, maxStandardValue, "largest resistor value tried"},
    {"--rsum-min", "K", &Options::rSumMin, minFieldValue, maxStandardValue, "smallest total resistance of the divider"},
    {"--rsum-max", "K", &Options::rSumMax, minFieldValue, maxStandardValue, "largest total resistance of the divider"},
    {"--max-results", "N", &Options::maxResults, minFieldValue, maxStandardValue, "most result lines"},
}};

struct ArgumentError {
    std::size_t position = noPosition;
    std::string message; // without the program's name
    bool wantsUsageHint = false;
};

struct ParsedArguments {
    Options options;
    std::vector<ArgumentError> errors; // in argument order
};

// Reads the arguments (without the program's name) into options, going on
// past bad ones so that every bad argument is reported at once. Numeric
// texts are not judged here: the window's field reader does that in the run.
[[nodiscard]] ParsedArguments parseArguments(const std::vector<std::string>& args);

} // namespace tarnel::cli
