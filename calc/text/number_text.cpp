#include "text/number_text.h"

#include "text/rounded_digits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <system_error>

namespace tarnel {

namespace {

// "00" to "99": two digits a step halve the divisions.
constexpr std::array<char, 200> digitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// number in decimal at to, with leading zeros up to width digits; gives the end.
char* putDigits(char* to, std::uint64_t number, int width)
{
    char reversed[20];
    int count = 0;
    for (; number >= 10; number /= 100) {
        reversed[count++] = digitPairs[2 * (number % 100) + 1];
        reversed[count++] = digitPairs[2 * (number % 100)];
    }
    if (number > 0 || count == 0)
        reversed[count++] = static_cast<char>('0' + number);
    for (; count < width; ++count)
        reversed[count] = '0';
    return std::reverse_copy(reversed, reversed + count, to);
}

static_assert(std::endian::native == std::endian::little, "bytes in memory order are the low ones first");

// Twelve digits as sixteen bytes in two words, '0's after them: put
// together, shifted, counted and stored in registers, for reading back
// bytes just stored waits for the stores.
struct DigitBytes {
    std::uint64_t first;
    std::uint64_t second;
};

constexpr std::uint64_t zeroBytes = 0x3030303030303030;

// Two digits as their two bytes in memory order.
std::uint64_t digitPair(std::uint32_t number)
{
    std::uint16_t pair = 0;
    std::memcpy(&pair, &digitPairs[2 * number], 2);
    return pair;
}

DigitBytes digitBytes(std::uint64_t twelveDigits)
{
    const auto high = static_cast<std::uint32_t>(twelveDigits / 1'000'000);
    const auto low = static_cast<std::uint32_t>(twelveDigits % 1'000'000);
    return {digitPair(high / 10000) | digitPair(high / 100 % 100) << 16 | digitPair(high % 100) << 32 |
                digitPair(low / 10000) << 48,
            digitPair(low / 100 % 100) | digitPair(low % 100) << 16 | zeroBytes << 32};
}

// The digits from the count-th on, for count up to twelve.
DigitBytes digitsFrom(DigitBytes digits, int count)
{
    const auto bits = static_cast<unsigned>(8 * count);
    if (count == 0)
        return digits;
    if (count < 8)
        return {digits.first >> bits | digits.second << (64 - bits), digits.second >> bits | zeroBytes << (64 - bits)};
    if (count == 8)
        return {digits.second, zeroBytes};
    return {digits.second >> (bits - 64) | zeroBytes << (128 - bits), zeroBytes};
}

// How many of the twelve digits are left without the trailing zeros.
int usedDigits(DigitBytes digits)
{
    if (const std::uint64_t last = (digits.second ^ zeroBytes) & 0xffffffff; last != 0)
        return 8 + (63 - std::countl_zero(last)) / 8 + 1;
    return (63 - std::countl_zero(digits.first ^ zeroBytes)) / 8 + 1;
}

void store(char* to, DigitBytes digits)
{
    std::memcpy(to, &digits.first, 8);
    std::memcpy(to + 8, &digits.second, 8);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

} // namespace

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

NumberText::NumberText(std::string decimalSeparator, Period period)
    : separator_(decimalSeparator.empty() || decimalSeparator.size() > maxSeparatorSize ? std::string(".")
                                                                                      : std::move(decimalSeparator)),
      periodAccepted_(period == Period::AlsoAccepted)
{
    std::copy(separator_.begin(), separator_.end(), separatorBytes_.begin());
}

std::optional<double> NumberText::parse(std::string_view text) const
{
    bool beyond = false;
    return parsed(text, beyond);
}

bool NumberText::beyondDouble(std::string_view text) const
{
    bool beyond = false;
    return !parsed(text, beyond) && beyond;
}

std::optional<double> NumberText::parsed(std::string_view text, bool& beyond) const
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
    beyond = ec == std::errc::result_out_of_range && ptr == end;
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

char* NumberText::putWithSeparator(char* to, std::string_view digits) const
{
    const std::size_t point = digits.find('.');
    to = std::copy(digits.begin(), digits.begin() + static_cast<std::ptrdiff_t>(std::min(point, digits.size())), to);
    if (point == std::string_view::npos)
        return to;
    to = putSeparator(to);
    return std::copy(digits.begin() + static_cast<std::ptrdiff_t>(point) + 1, digits.end(), to);
}

void NumberText::appendFixed2(std::string& out, double value) const
{
    if (const std::optional<std::int64_t> hundredths = roundedHundredths(value)) {
        char text[plainTextRoom];
        out.append(text, putFixed2(text, *hundredths));
        return;
    }
    char buffer[512]; // room for any finite double in fixed notation
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string_view digits(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0);
    if (digits == "-0.00")
        digits.remove_prefix(1);
    char text[sizeof buffer + maxSeparatorSize];
    out.append(text, putWithSeparator(text, digits));
}

void NumberText::appendPlain(std::string& out, double value) const
{
    char text[plainTextRoom];
    out.append(text, putPlain(text, value));
}

char* NumberText::putPlain(char* to, double value) const
{
    if (value == 0.0) {
        *to++ = '0';
        return to;
    }
    if (const std::optional<SignificantDigits> rounded = roundedToTwelveDigits(std::fabs(value))) {
        if (value < 0)
            *to++ = '-';
        return putGeneral(to, *rounded);
    }
    char buffer[32]; // the longest: -1.23456789012e-308
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    return putWithSeparator(to, std::string_view(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0));
}

char* NumberText::putSeparator(char* to) const
{
    for (const char c : separator_)
        *to++ = c;
    return to;
}

char* NumberText::putFixed2(char* to, std::int64_t hundredths) const
{
    // A value that rounds to zero has no sign.
    if (hundredths < 0)
        *to++ = '-';
    const std::uint64_t size =
        hundredths < 0 ? -static_cast<std::uint64_t>(hundredths) : static_cast<std::uint64_t>(hundredths);
    to = putDigits(to, size / 100, 1);
    to = putSeparator(to);
    return putDigits(to, size % 100, 2);
}

// As printf's %.12g writes it: positional for exponents from -4 to 11,
// else with an exponent of at least two digits; no trailing zeros. Pieces
// are stored in whole words, past their end into the room, so that no
// length makes a branch.
char* NumberText::putGeneral(char* to, SignificantDigits rounded) const
{
    const DigitBytes digits = digitBytes(rounded.digits);
    const int used = usedDigits(digits);
    const int exponent = rounded.exponent;
    const int separator = static_cast<int>(separator_.size());
    if (exponent >= 0 && exponent < significantDigits) {
        const int whole = exponent + 1;
        store(to, digits);
        if (used <= whole)
            return to + whole;
        std::memcpy(to + whole, separatorBytes_.data(), separatorBytes_.size());
        store(to + whole + separator, digitsFrom(digits, whole));
        return to + used + separator;
    }
    if (exponent >= -4 && exponent < 0) {
        *to++ = '0';
        std::memcpy(to, separatorBytes_.data(), separatorBytes_.size());
        to += separator;
        std::memcpy(to, "0000", 4);
        to += -exponent - 1;
        store(to, digits);
        return to + used;
    }
    *to++ = static_cast<char>(digits.first & 0xff);
    if (used > 1) {
        std::memcpy(to, separatorBytes_.data(), separatorBytes_.size());
        store(to + separator, digitsFrom(digits, 1));
        to += separator + used - 1;
    }
    *to++ = 'e';
    *to++ = exponent < 0 ? '-' : '+';
    return putDigits(to, static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent), 2);
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
