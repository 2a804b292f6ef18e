#pragma once

// A search's answer as Python sees it: the result, its dividers with the csv's
// columns as attributes, and the result written as csv, json or a numpy array,
// all through the library's rows and writers.

#include "request/result_table.h"
#include "tarnel/tarnel.h"

#include <pybind11/pybind11.h>

#include <cstddef>
#include <memory>
#include <unordered_map>

namespace tarnel::python {

// A result with its values written once, shared by the result object and its dividers.
struct HeldResult {
    explicit HeldResult(SearchResult searched);
    // Its map points into written, so it stays where it was made.
    HeldResult(const HeldResult&) = delete;
    HeldResult& operator=(const HeldResult&) = delete;

    SearchResult result;
    WrittenValues written;

    [[nodiscard]] ResultRow row(std::size_t line) const;
    // A cell's number: a written one is read back as the csv's reader would.
    [[nodiscard]] double number(const ResultCell& cell) const;
    // A cell as Python takes it: a float, a text, or None where the csv has nothing.
    [[nodiscard]] pybind11::object object(const ResultCell& cell) const;

private:
    // The written values and combinations read back once, by where their text lies:
    // reading them for every row took a fifth of to_numpy's time.
    std::unordered_map<const char*, double> writtenNumbers_;
};

// The result in the format, to a path (str or os.PathLike) or a file object's write.
void writeResult(const HeldResult& held, OutputFormat format, const pybind11::object& target);

// Every listed divider as a row of a numpy structured array, a field a column:
// floats (NaN where the csv has nothing) and fixed-width texts.
[[nodiscard]] pybind11::object numpyTable(const HeldResult& held);

} // namespace tarnel::python
