#include "number_text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <system_error>

namespace tarnel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

NumberText::NumberText(std::string decimalSeparator, Period period)
    : separator_(decimalSeparator.empty() ? std::string(".") : std::move(decimalSeparator)),
      periodAccepted_(period == Period::AlsoAccepted)
{
}

std::optional<double> NumberText::parse(std::string_view text) const
{
    text = trimmed(text);

    // Rebuild the text in the one form from_chars reads ("-12.5e3"), checking
    // the grammar on the way so that from_chars never sees a name like "inf".
    std::string plain;
    plain.reserve(text.size());
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            plain.push_back('-');
        ++pos;
    }
    bool mantissaDigits = false;
    bool separatorSeen = false;
    while (pos < text.size()) {
        if (isDigit(text[pos])) {
            plain.push_back(text[pos]);
            mantissaDigits = true;
            ++pos;
        } else if (!separatorSeen && text.substr(pos).starts_with(separator_)) {
            plain.push_back('.');
            separatorSeen = true;
            pos += separator_.size();
        } else if (!separatorSeen && periodAccepted_ && text[pos] == '.') {
            plain.push_back('.');
            separatorSeen = true;
            ++pos;
        } else {
            break;
        }
    }
    if (!mantissaDigits)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        plain.push_back('e');
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            plain.push_back(text[pos++]);
        bool exponentDigits = false;
        while (pos < text.size() && isDigit(text[pos])) {
            plain.push_back(text[pos++]);
            exponentDigits = true;
        }
        if (!exponentDigits)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    double value = 0.0;
    const char* const end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void NumberText::appendWithSeparator(std::string& out, std::string_view digits) const
{
    const std::size_t point = digits.find('.');
    out.append(digits.substr(0, point));
    if (point != std::string_view::npos) {
        out.append(separator_);
        out.append(digits.substr(point + 1));
    }
}

void NumberText::appendFixed2(std::string& out, double value) const
{
    char buffer[512]; // room for any finite double in fixed notation
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string_view digits(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0);
    if (digits == "-0.00")
        digits.remove_prefix(1);
    appendWithSeparator(out, digits);
}

void NumberText::appendPlain(std::string& out, double value) const
{
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value == 0.0 ? 0.0 : value, std::chars_format::general, 12);
    appendWithSeparator(out, std::string_view(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0));
}

std::string NumberText::plain(double value) const
{
    std::string out;
    appendPlain(out, value);
    return out;
}

std::string systemDecimalSeparator()
{
    return std::localeconv()->decimal_point;
}

std::string NumberText::fixed2(double value) const
{
    std::string out;
    appendFixed2(out, value);
    return out;
}

std::string NumberText::grouped(std::uint64_t count) const
{
    const std::string digits = std::to_string(count);
    const char group = separator_ == "," ? '.' : ',';
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(group);
        out.push_back(digits[i]);
    }
    return out;
}

} // namespace tarnel
