#include "values/stock_file.h"

#include "values/decimal_bounds.h"
#include "text/resistance_text.h"
#include "text/quoted_text.h"
#include "values/regular_file.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tarnel {

namespace {

// The lines a stock file names at most among those that do not read, so
// that one run shows what to fix without a message of a thousand lines.
constexpr std::size_t namedBadLines = 20;

// "line 3: "x" is no resistor value", or "lines 3 "x", 7 "y" and 2 more
// are no resistor values"; badLines counts every one, named or not.
struct BadLine {
    std::size_t number;
    std::string text; // quoted
};

std::string badLinesText(const std::vector<BadLine>& named, std::size_t badLines)
{
    if (badLines == 1)
        return "line " + std::to_string(named.front().number) + ": " + named.front().text + " is no resistor value";
    std::string text = "lines ";
    for (std::size_t i = 0; i < named.size(); ++i) {
        if (i > 0)
            text += i + 1 == named.size() && badLines == named.size() ? " and " : ", ";
        text += std::to_string(named[i].number) + " " + named[i].text;
    }
    if (badLines > named.size())
        text += " and " + std::to_string(badLines - named.size()) + " more";
    return text + " are no resistor values";
}

} // namespace

StockReading parseStock(std::string_view text, std::string name, const NumberText& numbers)
{
    if (text.starts_with("\xEF\xBB\xBF")) // the byte order mark some editors write
        text.remove_prefix(3);
    std::vector<double> values;
    std::size_t outsideRange = 0;
    std::size_t lineNumber = 0;
    std::vector<BadLine> namedBad;
    std::size_t badLines = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++lineNumber;
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const std::optional<double> value = parseResistance(plainTyped(line), numbers);
        if (!value) {
            if (++badLines <= namedBadLines)
                namedBad.push_back({lineNumber, quoted(line)});
            continue;
        }
        if (!resistanceRange.holds(*value)) {
            ++outsideRange;
            continue;
        }
        if (values.size() == maxStockValues) {
            const std::string tooMany = "line " + std::to_string(lineNumber) + ": more than 10,000 values";
            return {nullptr, badLines == 0 ? tooMany : badLinesText(namedBad, badLines) + "; " + tooMany};
        }
        values.push_back(*value);
    }
    if (badLines > 0)
        return {nullptr, badLinesText(namedBad, badLines)};
    if (values.empty())
        return {nullptr, outsideRange == 0
                             ? "holds no value"
                             : "holds no value from " + rangeText(resistanceRange, numbers) + " k"};
    std::sort(values.begin(), values.end());
    // A value written twice, or as two decimals for one resistor, is one.
    values.erase(std::unique(values.begin(), values.end(), sameDecimal), values.end());
    return {std::make_shared<const ValueSet>(std::move(name), std::move(values), false, outsideRange), {}};
}

StockReading readStockFile(const std::string& path, const NumberText& numbers)
{
    const FileContent file = readRegularFile(path, maxStockFileBytes);
    switch (file.status) {
    case FileContent::Status::NotRegular:
        return {nullptr, "is not a regular file", true};
    case FileContent::Status::Unreadable:
        return {nullptr, "cannot be read: " + file.reason, true, file.error};
    case FileContent::Status::TooLarge:
        return {nullptr, "is larger than 4 MB"};
    case FileContent::Status::Read:
        break;
    }
    // The name goes into the run's summary, which must read as UTF-8 too.
    return parseStock(file.text, escaped(std::filesystem::path(path).filename().string()), numbers);
}

} // namespace tarnel
