#include "request/result_table.h"

#include "request/divider_details.h"

#include <algorithm>
#include <array>

namespace tarnel {

WrittenValues::WrittenValues(const ValueSet& values, const NumberText& numbers)
{
    values_.reserve(values.size());
    for (const double value : values.values())
        values_.push_back(numbers.plain(value));
    for (std::size_t i = 0; i < combinations_.size(); ++i)
        combinations_[i] = numbers.plain(static_cast<double>(i));
}

ResultRow resultRow(const Divider& divider, const SearchParams& params, const WrittenValues& written)
{
    const DividerDetails d = dividerDetails(divider, params);
    const ArmCombination& arms = divider.arms();
    ResultRow row;
    std::size_t column = 0;
    using Kind = ResultCell::Kind;
    const auto number = [&](double value) { row[column++] = {Kind::Number, value, {}}; };
    row[column++] = {Kind::Written, 0.0, written.combination(arms.number)};
    row[column++] = {Kind::Word, 0.0, armWord(arms.high)};
    row[column++] = {Kind::Word, 0.0, armWord(arms.low)};
    for (std::size_t i = 0; i < 4; ++i, ++column)
        if (holdsResistor(arms, i))
            row[column] = {Kind::Written, 0.0, written.value(divider.values[i])};
    number(d.figures.ratio);
    // A divider whose output is Uout in decimal deviates by nothing, as its line says.
    number(d.outputError == 0.0 ? 0.0 : deviationPercent(d.figures.ratio, params.ratio()));
    number(d.figures.total);
    number(d.figures.high);
    number(d.figures.low);
    number(d.output);
    number(d.outputError * 1e3);
    number(d.outputErrorPercent);
    number(d.current * 1e3);
    for (std::size_t i = 0; i < 4; ++i, ++column)
        if (holdsResistor(arms, i))
            row[column] = {Kind::Number, d.power[i] * 1e3, {}};
    number(d.outputLow);
    number(d.outputHigh);
    row[column++] = {Kind::Word, 0.0, params.ratioOffset == 0.0 ? "h/l" : "1+h/l"};
    number(d.worstDeviation);
    number(d.outputImpedance);
    for (std::size_t i = 0; i < 4; ++i, ++column)
        if (holdsResistor(arms, i))
            row[column] = {Kind::Number, d.voltage[i], {}};
    return row;
}

void appendTableRow(std::string& out, const ResultRow& row, char separator, const NumberText& numbers)
{
    // Built in one buffer and appended once: a run writes millions of rows.
    // A cell is a number or a word of at most five letters.
    std::array<char, resultColumns.size() * (NumberText::plainTextRoom + 1) + 1> text;
    char* end = text.data();
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            *end++ = separator;
        if (row[i].kind == ResultCell::Kind::Number)
            end = numbers.putPlain(end, row[i].number);
        else
            end = std::copy(row[i].text.begin(), row[i].text.end(), end);
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
