#include "values/stock_file.h"

#include "values/decimal_bounds.h"
#include "request/field_reading.h"
#include "request/search_params.h"
#include "text/quoted_text.h"
#include "values/regular_file.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tarnel {

namespace {

// The power of ten a multiplier letter makes of ohms, in kilo-ohms.
std::optional<int> exponentOf(char letter)
{
    switch (letter) {
    case 'R':
    case 'r':
        return -3;
    case 'k':
    case 'K':
        return 0;
    case 'M':
        return 3;
    default:
        return std::nullopt;
    }
}

// The value as a decimal text, to be read once and so rounded once. A number
// with an exponent of its own takes no unit or multiplier.
std::optional<double> scaled(const std::string& number, int exponent, const NumberText& numbers, bool withUnit)
{
    if (number.empty() || (withUnit && number.find_first_of("eE") != std::string::npos))
        return std::nullopt;
    const std::optional<double> value = numbers.parse(withUnit ? number + "e" + std::to_string(exponent) : number);
    // Zero is a jumper: a resistance, if not one a divider can use.
    if (!value || !(*value >= 0.0))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> parseResistance(std::string_view text, const NumberText& numbers)
{
    text = trimmed(text);
    bool ohms = false;
    for (const std::string_view unit : {"\u03a9", "ohms", "ohm", "Ohms", "Ohm"}) {
        if (text.ends_with(unit)) {
            text = trimmed(text.substr(0, text.size() - unit.size()));
            ohms = true;
            break;
        }
    }
    if (text.empty())
        return std::nullopt;
    // An RKM code: the multiplier stands where the decimal point would.
    const std::size_t letter = text.find_first_of("RrkKM");
    if (letter != std::string_view::npos && letter > 0 && letter + 1 < text.size()) {
        const std::string_view whole = text.substr(0, letter);
        const std::string_view fraction = text.substr(letter + 1);
        if (!std::all_of(whole.begin(), whole.end(), isDigit) || !std::all_of(fraction.begin(), fraction.end(), isDigit))
            return std::nullopt;
        return scaled(std::string(whole) + "." + std::string(fraction), *exponentOf(text[letter]),
                      NumberText(".", NumberText::Period::AlsoAccepted), true);
    }
    if (const std::optional<int> exponent = exponentOf(text.back()))
        return scaled(std::string(trimmed(text.substr(0, text.size() - 1))), *exponent, numbers, true);
    return scaled(std::string(text), ohms ? -3 : 0, numbers, ohms);
}

StockReading parseStock(std::string_view text, std::string name, const NumberText& numbers)
{
    if (text.starts_with("\xEF\xBB\xBF")) // the byte order mark some editors write
        text.remove_prefix(3);
    std::vector<double> values;
    std::size_t outsideRange = 0;
    std::size_t lineNumber = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++lineNumber;
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const std::optional<double> value = parseResistance(line, numbers);
        if (!value)
            return {nullptr, "line " + std::to_string(lineNumber) + ": " + quoted(line) + " is no resistor value"};
        if (!(minFieldValue <= *value && *value <= maxStandardValue)) {
            ++outsideRange;
            continue;
        }
        if (values.size() == maxStockValues)
            return {nullptr, "line " + std::to_string(lineNumber) + ": more than 10,000 values"};
        values.push_back(*value);
    }
    if (values.empty())
        return {nullptr, outsideRange == 0
                             ? "holds no value"
                             : "holds no value from " + rangeText({minFieldValue, maxStandardValue}, numbers) + " k"};
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
        return {nullptr, "is not a regular file"};
    case FileContent::Status::Unreadable:
        return {nullptr, "cannot be read: " + file.reason};
    case FileContent::Status::TooLarge:
        return {nullptr, "is larger than 4 MB"};
    case FileContent::Status::Read:
        break;
    }
    // The name goes into the run's summary, which must read as UTF-8 too.
    return parseStock(file.text, escaped(std::filesystem::path(path).filename().string()), numbers);
}

} // namespace tarnel
