#include "number_text.h"

#include "rounded_digits.h"

#include <algorithm>
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
    if (const std::optional<std::int64_t> hundredths = roundedScaled(value, 2)) {
        // A value that rounds to zero has no sign.
        if (*hundredths < 0)
            out.push_back('-');
        const std::uint64_t size = *hundredths < 0 ? -static_cast<std::uint64_t>(*hundredths)
                                                   : static_cast<std::uint64_t>(*hundredths);
        appendDigits(out, size / 100, 1);
        out.append(separator_);
        appendDigits(out, size % 100, 2);
        return;
    }
    char buffer[512]; // room for any finite double in fixed notation
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string_view digits(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0);
    if (digits == "-0.00")
        digits.remove_prefix(1);
    appendWithSeparator(out, digits);
}

void NumberText::appendPlain(std::string& out, double value) const
{
    if (value == 0.0) {
        out.push_back('0');
        return;
    }
    if (const std::optional<SignificantDigits> rounded = roundedToTwelveDigits(std::fabs(value))) {
        if (value < 0)
            out.push_back('-');
        appendGeneral(out, *rounded);
        return;
    }
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    appendWithSeparator(out, std::string_view(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0));
}

// As printf's %.12g writes it: positional for exponents from -4 to 11,
// else with an exponent of at least two digits; no trailing zeros.
void NumberText::appendGeneral(std::string& out, SignificantDigits rounded) const
{
    char digits[significantDigits];
    std::uint64_t rest = rounded.digits;
    for (int i = significantDigits - 1; i >= 0; --i, rest /= 10)
        digits[i] = static_cast<char>('0' + rest % 10);
    int used = significantDigits;
    while (used > 1 && digits[used - 1] == '0')
        --used;
    const int exponent = rounded.exponent;
    const std::string_view all(digits, static_cast<std::size_t>(used));
    if (exponent < -4 || exponent >= significantDigits) {
        out.push_back(digits[0]);
        if (used > 1)
            out.append(separator_).append(all.substr(1));
        out.push_back('e');
        out.push_back(exponent < 0 ? '-' : '+');
        appendDigits(out, static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent), 2);
    } else if (exponent >= 0) {
        const auto whole = static_cast<std::size_t>(exponent + 1);
        out.append(all.substr(0, std::min(whole, all.size())));
        out.append(whole > all.size() ? whole - all.size() : 0, '0');
        if (all.size() > whole)
            out.append(separator_).append(all.substr(whole));
    } else {
        out.push_back('0');
        out.append(separator_);
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(all);
    }
}

// number in decimal, with leading zeros up to width digits.
void NumberText::appendDigits(std::string& out, std::uint64_t number, int width)
{
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    for (; count < width; ++count)
        digits[count] = '0';
    while (count > 0)
        out.push_back(digits[--count]);
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
