#include "results.h"

#include "search/ordered_pipeline.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <streambuf>
#include <string>

namespace py = pybind11;

namespace tarnel::python {

namespace {

const NumberText periodNumbers(".");

// Hands what a writer puts out to a Python file object's write, in blocks,
// taking the interpreter only for each call. A failed write ends the stream,
// so the writer stops, and is raised once it has.
class FileObjectBuffer : public std::streambuf {
public:
    FileObjectBuffer(py::object file, bool text) : write_(file.attr("write")), text_(text) {}
    FileObjectBuffer(const FileObjectBuffer&) = delete;
    FileObjectBuffer& operator=(const FileObjectBuffer&) = delete;
    ~FileObjectBuffer() override = default;

    void raiseFailure()
    {
        if (failure_)
            throw *failure_;
    }

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        if (failure_)
            return 0;
        pending_.append(text, static_cast<std::size_t>(count));
        if (pending_.size() >= blockBytes && sync() != 0)
            return 0;
        return count;
    }

    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }

    int sync() override
    {
        if (failure_)
            return -1;
        if (pending_.empty())
            return 0;
        const py::gil_scoped_acquire held;
        try {
            if (text_)
                write_(py::str(pending_));
            else
                write_(py::bytes(pending_));
        } catch (py::error_already_set& error) {
            failure_.emplace(std::move(error));
            return -1;
        }
        pending_.clear();
        return 0;
    }

private:
    static constexpr std::size_t blockBytes = std::size_t{1} << 20;
    py::object write_;
    bool text_;
    std::string pending_;
    std::optional<py::error_already_set> failure_;
};

[[noreturn]] void raiseFromErrno(const std::string& path)
{
    PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
    throw py::error_already_set();
}

// UTF-32 as numpy's 'U' fields hold it; the words are ASCII.
void putWord(char* field, std::string_view word, std::size_t width)
{
    std::array<char32_t, 1> unit{};
    for (std::size_t i = 0; i < width; ++i) {
        unit[0] = i < word.size() ? static_cast<unsigned char>(word[i]) : U'\0';
        std::memcpy(field + i * sizeof(char32_t), unit.data(), sizeof(char32_t));
    }
}

} // namespace

HeldResult::HeldResult(SearchResult searched)
    : result(std::move(searched)), written(result.list.values(), periodNumbers)
{
    const auto readBack = [&](std::string_view text) {
        writtenNumbers_.emplace(text.data(), periodNumbers.parse(text).value_or(std::nan("")));
    };
    for (std::size_t i = 0; i < result.list.values().size(); ++i)
        readBack(written.value(static_cast<ValueIndex>(i)));
    for (std::size_t number = 0; number < armCombinations.size(); ++number)
        readBack(written.combination(number));
}

ResultRow HeldResult::row(std::size_t line) const
{
    return resultRow(result.list.divider(line), result.request, written);
}

double HeldResult::number(const ResultCell& cell) const
{
    switch (cell.kind) {
    case ResultCell::Kind::Number:
        return cell.number;
    case ResultCell::Kind::Written:
        if (const auto known = writtenNumbers_.find(cell.text.data()); known != writtenNumbers_.end())
            return known->second;
        return periodNumbers.parse(cell.text).value_or(std::nan(""));
    case ResultCell::Kind::Word:
    case ResultCell::Kind::Nothing:
        break;
    }
    return std::nan("");
}

py::object HeldResult::object(const ResultCell& cell) const
{
    switch (cell.kind) {
    case ResultCell::Kind::Word:
        return py::str(cell.text.data(), cell.text.size());
    case ResultCell::Kind::Nothing:
        return py::none();
    case ResultCell::Kind::Number:
    case ResultCell::Kind::Written:
        break;
    }
    return py::float_(number(cell));
}

void writeResult(const HeldResult& held, OutputFormat format, const py::object& target)
{
    if (py::isinstance<py::str>(target) || py::hasattr(target, "__fspath__")) {
        const std::string path = py::module_::import("os").attr("fsdecode")(target).cast<std::string>();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out)
            raiseFromErrno(path);
        {
            const py::gil_scoped_release released;
            held.result.write(format, out);
            out.close();
        }
        if (!out)
            raiseFromErrno(path);
        return;
    }
    if (!py::hasattr(target, "write"))
        throw py::type_error("takes a path or a file object, not " +
                             py::str(py::type::of(target).attr("__name__")).cast<std::string>());
    const bool text = py::isinstance(target, py::module_::import("io").attr("TextIOBase"));
    FileObjectBuffer buffer(target, text);
    {
        const py::gil_scoped_release released;
        std::ostream out(&buffer);
        held.result.write(format, out);
        out.flush();
    }
    buffer.raiseFailure();
}

py::object numpyTable(const HeldResult& held)
{
    const py::module_ numpy = py::module_::import("numpy");
    const std::size_t lines = held.result.size();
    constexpr std::size_t columns = resultColumns.size();
    using Widths = std::array<std::size_t, columns>;
    // Rows in blocks on every core, each block's records apart from the others'.
    constexpr std::size_t blockRows = 16384;
    const std::size_t blocks = (lines + blockRows - 1) / blockRows;
    const auto eachBlock = [&](auto&& work, auto&& deliver) {
        const py::gil_scoped_release released;
        forEachInOrder(blocks, [&](std::size_t block) {
            return work(block * blockRows, std::min(lines, (block + 1) * blockRows));
        }, deliver);
    };
    // A column is text when any row's cell is a word, as wide as its widest.
    Widths wordWidth{};
    eachBlock(
        [&](std::size_t first, std::size_t end) {
            Widths widths{};
            for (std::size_t line = first; line < end; ++line) {
                const ResultRow row = held.row(line);
                for (std::size_t c = 0; c < columns; ++c)
                    if (row[c].kind == ResultCell::Kind::Word)
                        widths[c] = std::max({widths[c], row[c].text.size(), std::size_t{1}});
            }
            return widths;
        },
        [&](std::size_t, const Widths& widths) {
            for (std::size_t c = 0; c < columns; ++c)
                wordWidth[c] = std::max(wordWidth[c], widths[c]);
            return true;
        });
    py::list fields;
    for (std::size_t c = 0; c < columns; ++c)
        fields.append(py::make_tuple(std::string(resultColumns[c]),
                                     wordWidth[c] > 0 ? "<U" + std::to_string(wordWidth[c]) : std::string("<f8")));
    const py::object dtype = numpy.attr("dtype")(fields);
    py::object table = numpy.attr("empty")(lines, dtype);
    const py::dict offsets = dtype.attr("fields");
    std::array<std::size_t, columns> offset{};
    for (std::size_t c = 0; c < columns; ++c)
        offset[c] = offsets[py::str(std::string(resultColumns[c]))].cast<py::tuple>()[1].cast<std::size_t>();
    const auto itemSize = dtype.attr("itemsize").cast<std::size_t>();
    const py::buffer_info buffer = py::buffer(table).request(true);
    auto* records = static_cast<char*>(buffer.ptr);
    eachBlock(
        [&](std::size_t first, std::size_t end) {
            for (std::size_t line = first; line < end; ++line) {
                const ResultRow row = held.row(line);
                char* record = records + line * itemSize;
                for (std::size_t c = 0; c < columns; ++c) {
                    if (wordWidth[c] > 0) {
                        putWord(record + offset[c], row[c].kind == ResultCell::Kind::Word ? row[c].text : "",
                                wordWidth[c]);
                    } else {
                        const double value = held.number(row[c]);
                        std::memcpy(record + offset[c], &value, sizeof value);
                    }
                }
            }
            return true;
        },
        [](std::size_t, bool) { return true; });
    return table;
}

} // namespace tarnel::python
