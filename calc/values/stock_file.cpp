#include "values/stock_file.h"

#include "values/decimal_bounds.h"
#include "request/field_reading.h"
#include "text/resistance_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace tarnel {

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
        if (!value) {
            std::string shown(line.substr(0, 40));
            std::replace_if(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
            return {nullptr, "line " + std::to_string(lineNumber) + ": \"" + shown +
                                 (line.size() > 40 ? "\u2026" : "") + "\" is no resistor value"};
        }
        if (!(minResistance <= *value && *value <= maxStandardValue)) {
            ++outsideRange;
            continue;
        }
        if (values.size() == maxStockValues)
            return {nullptr, "holds more than 10,000 values"};
        values.push_back(*value);
    }
    if (values.empty())
        return {nullptr, outsideRange == 0
                             ? "holds no value"
                             : "holds no value from " + rangeText({minResistance, maxStandardValue}, numbers) + " k"};
    std::sort(values.begin(), values.end());
    // A value written twice, or as two decimals for one resistor, is one.
    values.erase(std::unique(values.begin(), values.end(), sameDecimal), values.end());
    return {std::make_shared<const ValueSet>(std::move(name), std::move(values), false, outsideRange), {}};
}

StockReading readStockFile(const std::string& path, const NumberText& numbers)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {nullptr, std::string("cannot be read: ") + std::strerror(errno)};
    std::string content(maxStockFileBytes + 1, '\0');
    file.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (file.bad())
        return {nullptr, "cannot be read"};
    content.resize(static_cast<std::size_t>(file.gcount()));
    if (content.size() > maxStockFileBytes)
        return {nullptr, "is larger than 4 MB"};
    return parseStock(content, std::filesystem::path(path).filename().string(), numbers);
}

} // namespace tarnel
