#include "result_writers.h"

#include "result_table.h"

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

void appendJsonObject(std::string& out, const ResultRow& row)
{
    for (std::size_t i = 0; i < row.size(); ++i) {
        out.append(i == 0 ? "{\"" : ",\"").append(resultColumns[i]).append("\":");
        if (row[i].number)
            periodNumbers.appendPlain(out, *row[i].number);
        else if (!row[i].word.empty())
            out.append("\"").append(row[i].word).append("\"");
        else
            out.append("null");
    }
    out.push_back('}');
}

void writeText(const ResultList& list, std::ostream& out)
{
    std::string line;
    for (std::size_t i = 0; i < list.size() && out; ++i) {
        line.clear();
        list.appendLine(i, line);
        line.push_back('\n');
        write(out, line);
    }
}

// A run that searched holds result lines only: the one message line a run
// can add comes with a failed run, which prints no results.
void writeCsv(const ResultList& list, const SearchParams& params, std::ostream& out)
{
    std::string line;
    appendTableHeader(line, ',');
    write(out, line);
    for (std::size_t i = 0; i < list.size() && out; ++i) {
        line.clear();
        appendTableRow(line, resultRow(list.entry(i), params), ',', periodNumbers);
        write(out, line);
    }
}

void writeJson(const ResultList& list, const SearchParams& params, std::ostream& out)
{
    write(out, "[");
    std::string line;
    for (std::size_t i = 0; i < list.size() && out; ++i) {
        // Each object goes out behind the separator of the one before, so
        // no line has to know whether another follows.
        line.assign(i == 0 ? "\n" : ",\n");
        appendJsonObject(line, resultRow(list.entry(i), params));
        write(out, line);
    }
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
