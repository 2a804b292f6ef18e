#include "result_writers.h"

#include "result_table.h"

#include "both_cores.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace tarnel::cli {

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

// The lines go out in blocks, formatted on both cores: each formats every
// other block into its own buffer, and the blocks are written in order, so
// millions of lines never build one string. appendLine(out, index) appends
// one line and its newline.
template <class AppendLine>
void writeLines(std::size_t count, std::ostream& out, AppendLine appendLine)
{
    const std::size_t blocks = (count + blockLines - 1) / blockLines;
    // Each core's buffer on a cache line of its own, or each append would
    // pull the line from the other core.
    struct alignas(64) Buffer {
        std::string text;
    };
    std::array<Buffer, 2> buffers;
    const auto format = [&](std::size_t block, std::string& buffer) {
        buffer.clear();
        for (std::size_t i = block * blockLines; i < std::min(count, (block + 1) * blockLines); ++i)
            appendLine(buffer, i);
    };
    for (std::size_t block = 0; block < blocks && out; block += 2) {
        if (block + 1 < blocks)
            onBothCores([&] { format(block + 1, buffers[1].text); }, [&] { format(block, buffers[0].text); });
        else
            format(block, buffers[0].text);
        write(out, buffers[0].text);
        if (block + 1 < blocks)
            write(out, buffers[1].text);
    }
}

void writeText(const ResultList& list, std::ostream& out)
{
    writeLines(list.size(), out, [&](std::string& buffer, std::size_t i) {
        list.appendLine(i, buffer);
        buffer.push_back('\n');
    });
}

// A run that searched holds result lines only: the one message line a run
// can add comes with a failed run, which prints no results.
void writeCsv(const ResultList& list, const SearchParams& params, std::ostream& out)
{
    std::string header;
    appendTableHeader(header, ',');
    write(out, header);
    const WrittenValues written(list.values(), periodNumbers);
    writeLines(list.size(), out, [&](std::string& buffer, std::size_t i) {
        appendTableRow(buffer, resultRow(list.divider(i), params, written), ',', periodNumbers);
    });
}

void writeJson(const ResultList& list, const SearchParams& params, std::ostream& out)
{
    write(out, "[");
    // Each object goes out behind the separator of the one before, so no
    // line has to know whether another follows.
    const WrittenValues written(list.values(), periodNumbers);
    writeLines(list.size(), out, [&](std::string& buffer, std::size_t i) {
        buffer.append(i == 0 ? "\n" : ",\n");
        appendJsonObject(buffer, resultRow(list.divider(i), params, written));
    });
    write(out, list.size() == 0 ? "]\n" : "\n]\n");
}

} // namespace

void writeResults(OutputFormat format, const ResultList& list, const SearchParams& params, std::ostream& out)
{
    switch (format) {
    case OutputFormat::Text:
        writeText(list, out);
        break;
    case OutputFormat::Csv:
        writeCsv(list, params, out);
        break;
    case OutputFormat::Json:
        writeJson(list, params, out);
        break;
    }
}

} // namespace tarnel::cli
