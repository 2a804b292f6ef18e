#pragma once

// The keywords of tarnel.search, read into a request as tarnel-cli reads its
// options: one keyword a field of the field table (its option's name, '_'
// for '-'), a choice, the arm shapes, the ratio, the special values and the
// values. Every judgement is the library's; a message names the keyword.

#include "search/search_params.h"
#include "values/stock_file.h"

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

namespace tarnel::python {

// One keyword as help and the stub show it.
struct Keyword {
    std::string name;
    std::string type; // the Python type it takes, as the stub writes it
    std::string help; // what it sets, its range and its default
};

[[nodiscard]] std::vector<Keyword> searchKeywords();

// The request the keywords make, the tool's default search for every keyword
// not given (or given None). Raises ValueError with every bad value's message,
// OSError for a stock file that cannot be read, TypeError for a keyword of no
// input or a value of no type that input takes.
[[nodiscard]] SearchParams readSearchKeywords(const pybind11::kwargs& keywords);

// Raises OSError for a stock file the system would not let be read, as Python's
// own do: with the error number where the system gave one, and the path.
[[noreturn]] void raiseUnread(const std::string& keyword, const std::string& path, const StockReading& stock);

// A value as its text: a text as it is, a number as the shortest text that reads back to it.
[[nodiscard]] std::string numberText(const std::string& keyword, pybind11::handle value);

} // namespace tarnel::python
