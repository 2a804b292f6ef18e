#include "result_writers.h"

#include "divider.h"
#include "round_trip_number.h"
#include "standard_values.h"

#include <optional>
#include <string>

namespace tarnel::cli {

namespace {

// One result line as the csv row and the json object show it.
struct ResultRow {
    const ArmCombination& arms;
    std::array<std::optional<double>, 4> resistors; // high_r1, high_r2, low_r1, low_r2
    DividerFigures figures;
    double deviationPercent;
};

ResultRow rowOf(const ResultEntry& entry, double ratioOffset)
{
    const ArmCombination& arms = entry.divider.arms();
    std::array<std::optional<double>, 4> resistors;
    for (std::size_t i = 0; i < resistors.size(); ++i) {
        // A one-resistor arm has no second resistor.
        const ArmKind kind = i < 2 ? arms.high : arms.low;
        if (i % 2 == 0 || kind != ArmKind::Single)
            resistors[i] = standardValues()[entry.divider.values[i]];
    }
    return {arms, resistors, dividerFigures(entry.divider, ratioOffset), entry.deviationPercent};
}

void appendCsvRow(std::string& out, const ResultRow& row)
{
    out.append(std::to_string(row.arms.number));
    out.append(",").append(shapeWord(row.arms.high));
    out.append(",").append(shapeWord(row.arms.low));
    for (const std::optional<double>& resistor : row.resistors) {
        out.push_back(',');
        if (resistor)
            appendRoundTrip(out, *resistor);
    }
    for (const double value : {row.figures.ratio, row.deviationPercent, row.figures.total}) {
        out.push_back(',');
        appendRoundTrip(out, value);
    }
    out.push_back('\n');
}

void appendJsonKey(std::string& out, std::size_t column)
{
    out.append(column == 0 ? "{\"" : ",\"").append(resultColumns[column]).append("\":");
}

void appendJsonObject(std::string& out, const ResultRow& row)
{
    std::size_t column = 0;
    appendJsonKey(out, column++);
    out.append(std::to_string(row.arms.number));
    for (const ArmKind kind : {row.arms.high, row.arms.low}) {
        appendJsonKey(out, column++);
        out.append("\"").append(shapeWord(kind)).append("\"");
    }
    for (const std::optional<double>& resistor : row.resistors) {
        appendJsonKey(out, column++);
        if (resistor)
            appendRoundTrip(out, *resistor);
        else
            out.append("null");
    }
    for (const double value : {row.figures.ratio, row.deviationPercent, row.figures.total}) {
        appendJsonKey(out, column++);
        appendRoundTrip(out, value);
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
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}

// A run that searched holds result lines only: the one message line a run
// can add comes with a failed run, which prints no results. csv and json
// therefore have no form for messages and pass over any.
void writeCsv(const ResultList& list, double ratioOffset, std::ostream& out)
{
    std::string line;
    for (const std::string_view column : resultColumns)
        line.append(line.empty() ? "" : ",").append(column);
    line.push_back('\n');
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    for (std::size_t i = 0; i < list.size() && out; ++i) {
        if (list.isMessage(i))
            continue;
        line.clear();
        appendCsvRow(line, rowOf(list.entry(i), ratioOffset));
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}

void writeJson(const ResultList& list, double ratioOffset, std::ostream& out)
{
    std::string line = "[";
    bool first = true;
    for (std::size_t i = 0; i < list.size() && out; ++i) {
        if (list.isMessage(i))
            continue;
        // Each object goes out behind the separator of the one before, so
        // no line has to know whether another follows.
        line.append(first ? "\n" : ",\n");
        first = false;
        appendJsonObject(line, rowOf(list.entry(i), ratioOffset));
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        line.clear();
    }
    line.append(first ? "]\n" : "\n]\n");
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

} // namespace

void writeResults(OutputFormat format, const ResultList& list, double ratioOffset, std::ostream& out)
{
    switch (format) {
    case OutputFormat::Text:
        writeText(list, out);
        break;
    case OutputFormat::Csv:
        writeCsv(list, ratioOffset, out);
        break;
    case OutputFormat::Json:
        writeJson(list, ratioOffset, out);
        break;
    }
}

} // namespace tarnel::cli
