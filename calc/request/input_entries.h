#pragma once

// A search's inputs as named texts, to be kept and read back: the window's
// remembered inputs and presets. Every key comes from the field table, so an
// input added there is kept without a change here.

#include "request/search_input.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnel {

using InputEntry = std::pair<std::string, std::string>; // key, value

// Every input as a key and its text: a number field under its option's
// name, a choice as its word, the arm shapes as the command line's lists,
// each special slot's state and text, and the stock file when one is chosen.
[[nodiscard]] std::vector<InputEntry> inputEntries(const SearchInput& input);

// The inputs the entries give, starting from the initial ones; a key missing
// keeps its input's initial value. A value that does not read does too, and
// adds its key to problems: a damaged file costs that input only.
using EntryLookup = std::function<std::optional<std::string>(std::string_view key)>;
struct EntriesReading {
    SearchInput input;
    std::vector<std::string> problems; // the keys whose values did not read
};
[[nodiscard]] EntriesReading readInputEntries(const EntryLookup& lookup);

} // namespace tarnel
