#include "result_table.h"

#include "divider_details.h"

#include <algorithm>
#include <array>

namespace tarnel {

ResultRow resultRow(const ResultEntry& entry, const SearchParams& params)
{
    const DividerDetails d = dividerDetails(entry.divider, params);
    const ArmCombination& arms = entry.divider.arms();
    ResultRow row;
    std::size_t column = 0;
    const auto number = [&](double value) { row[column++].number = value; };
    number(static_cast<double>(arms.number));
    row[column++].word = armWord(arms.high);
    row[column++].word = armWord(arms.low);
    // A one-resistor arm has no second resistor, nor its power.
    const auto perResistor = [&](const std::array<double, 4>& values, double scale) {
        for (std::size_t i = 0; i < 4; ++i, ++column)
            if (i % 2 == 0 || (i < 2 ? arms.high : arms.low) != ArmKind::Single)
                row[column].number = values[i] * scale;
    };
    perResistor(d.resistors, 1.0);
    number(d.figures.ratio);
    number(entry.deviationPercent);
    number(d.figures.total);
    number(d.figures.high);
    number(d.figures.low);
    number(d.output);
    number(d.outputError * 1e3);
    number(d.outputErrorPercent);
    number(d.current * 1e3);
    perResistor(d.power, 1e3);
    number(d.outputLow);
    number(d.outputHigh);
    return row;
}

void appendTableRow(std::string& out, const ResultRow& row, char separator, const NumberText& numbers)
{
    // Built in one buffer and appended once: a run writes millions of rows.
    // A cell is a number or a word of at most three letters.
    std::array<char, resultColumns.size() * (NumberText::plainTextRoom + 1) + 1> text;
    char* end = text.data();
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            *end++ = separator;
        if (row[i].number)
            end = numbers.putPlain(end, *row[i].number);
        else
            end = std::copy(row[i].word.begin(), row[i].word.end(), end);
    }
    *end++ = '\n';
    out.append(text.data(), end);
}

void appendTableHeader(std::string& out, char separator)
{
    for (std::size_t i = 0; i < resultColumns.size(); ++i)
        out.append(i == 0 ? "" : std::string(1, separator)).append(resultColumns[i]);
    out.push_back('\n');
}

} // namespace tarnel
