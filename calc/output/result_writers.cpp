#include "output/result_writers.h"

#include "request/result_table.h"
#include "search/ordered_pipeline.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

namespace {

// A period whatever the locale: the form scripts and other tools read.
const NumberText periodNumbers(".");

void write(std::ostream& out, std::string_view text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The longest object: every name quoted, every cell a number or a word quoted.
constexpr std::size_t jsonObjectRoom = [] {
    std::size_t room = 2;
    for (const std::string_view column : resultColumns)
        room += column.size() + 4 + NumberText::plainTextRoom + 2;
    return room;
}();

void appendJsonObject(std::string& out, const ResultRow& row)
{
    // Built in one buffer and appended once: a run writes millions of objects.
    std::array<char, jsonObjectRoom> text;
    char* end = text.data();
    const auto put = [&](std::string_view piece) { end = std::copy(piece.begin(), piece.end(), end); };
    for (std::size_t i = 0; i < row.size(); ++i) {
        put(i == 0 ? "{\"" : ",\"");
        put(resultColumns[i]);
        put("\":");
        switch (row[i].kind) {
        case ResultCell::Kind::Number:
            end = periodNumbers.putPlain(end, row[i].number);
            break;
        case ResultCell::Kind::Written:
            put(row[i].text);
            break;
        case ResultCell::Kind::Word:
            put("\"");
            put(row[i].text);
            put("\"");
            break;
        case ResultCell::Kind::Nothing:
            put("null");
            break;
        }
    }
    put("}");
    out.append(text.data(), end);
}

// The lines go out in blocks of linesPerBlock, formatted on every core, at
// most blocksInFlight at a time, and written in order as they are done, so
// millions of lines never build one string and memory is the same on any
// number of cores. With one block there is nothing to share, and
// forEachInOrder works alone. appendLine(out, index) appends one line and
// its newline.
// A block of json is megabytes; four keep the cores busy while one is written.
constexpr std::size_t blocksInFlight = 4;

template <class AppendLine>
void writeLines(std::size_t count, std::size_t linesPerBlock, std::ostream& out, AppendLine appendLine)
{
    const std::size_t blocks = (count + linesPerBlock - 1) / linesPerBlock;
    // Block buffers are used again: a block of csv is megabytes, and a fresh
    // one would be mapped and faulted in page by page for every block.
    std::mutex spareGuard;
    std::vector<std::string> spares;
    forEachInOrder(
        blocks,
        [&](std::size_t block) {
            std::string text;
            {
                const std::scoped_lock lock(spareGuard);
                if (!spares.empty()) {
                    text = std::move(spares.back());
                    spares.pop_back();
                }
            }
            text.clear();
            for (std::size_t i = block * linesPerBlock; i < std::min(count, (block + 1) * linesPerBlock); ++i)
                appendLine(text, i);
            return text;
        },
        [&](std::size_t /*block*/, std::string text) {
            write(out, text);
            const std::scoped_lock lock(spareGuard);
            spares.push_back(std::move(text));
            return static_cast<bool>(out);
        },
        {.inFlight = blocksInFlight});
}

void writeText(const ResultList& list, std::size_t linesPerBlock, std::ostream& out)
{
    writeLines(list.size(), linesPerBlock, out, [&](std::string& buffer, std::size_t i) {
        list.appendLine(i, buffer);
        buffer.push_back('\n');
    });
}

// A run that searched holds result lines only: the one message line a run
// can add comes with a failed run, which prints no results.
void writeCsv(const ResultList& list, const SearchParams& params, std::size_t linesPerBlock, std::ostream& out)
{
    std::string header;
    appendTableHeader(header, ',');
    write(out, header);
    const WrittenValues written(list.values(), periodNumbers);
    writeLines(list.size(), linesPerBlock, out, [&](std::string& buffer, std::size_t i) {
        appendTableRow(buffer, resultRow(list.divider(i), params, written), ',', periodNumbers);
    });
}

void writeJson(const ResultList& list, const SearchParams& params, std::size_t linesPerBlock,
               std::ostream& out)
{
    write(out, "[");
    // Each object goes out behind the separator of the one before, so no
    // line has to know whether another follows.
    const WrittenValues written(list.values(), periodNumbers);
    writeLines(list.size(), linesPerBlock, out, [&](std::string& buffer, std::size_t i) {
        buffer.append(i == 0 ? "\n" : ",\n");
        appendJsonObject(buffer, resultRow(list.divider(i), params, written));
    });
    write(out, list.size() == 0 ? "]\n" : "\n]\n");
}

} // namespace

void writeResults(OutputFormat format, const ResultList& list, const SearchParams& params, std::ostream& out,
                  std::size_t linesPerBlock)
{
    switch (format) {
    case OutputFormat::Text:
        writeText(list, linesPerBlock, out);
        break;
    case OutputFormat::Csv:
        writeCsv(list, params, linesPerBlock, out);
        break;
    case OutputFormat::Json:
        writeJson(list, params, linesPerBlock, out);
        break;
    }
}

std::optional<OutputFormat> formatOfPath(std::string_view path)
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const std::string_view extension = name.substr(dot + 1);
    for (std::size_t i = 0; i < formatExtensions.size(); ++i)
        if (std::equal(extension.begin(), extension.end(), formatExtensions[i].begin(), formatExtensions[i].end(),
                       [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; }))
            return static_cast<OutputFormat>(i);
    return std::nullopt;
}

} // namespace tarnel
