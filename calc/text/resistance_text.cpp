#include "text/resistance_text.h"

#include <algorithm>
#include <array>
#include <charconv>

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
    // An RKM code: the multiplier stands where the decimal point would; R47 is 0.47 Ω.
    const std::size_t letter = text.find_first_of("RrkKM");
    if (letter != std::string_view::npos && letter + 1 < text.size()) {
        const std::string_view whole = letter == 0 ? std::string_view("0") : text.substr(0, letter);
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

void appendLineValue(std::string& out, double kiloOhms, const NumberText& numbers)
{
    // plain writes positionally from 1e-4 up, far below any resistor's 1 Ω.
    if (!(kiloOhms >= 1e-4 && kiloOhms < 1.0)) {
        numbers.appendFixed2(out, kiloOhms);
        return;
    }
    const std::size_t start = out.size();
    numbers.appendPlain(out, kiloOhms);
    const std::size_t separator = out.find(numbers.decimalSeparator(), start);
    const std::size_t decimals =
        separator == std::string::npos ? 0 : out.size() - separator - numbers.decimalSeparator().size();
    if (separator == std::string::npos)
        out += numbers.decimalSeparator();
    out.append(decimals < 2 ? 2 - decimals : 0, '0');
}

void appendMarkedValue(std::string& out, double kiloOhms)
{
    // Gigaohms stay in M, a letter parts and parseResistance both know.
    const auto [letter, scale] = kiloOhms < 1.0 ? std::pair{'R', 1e3} : kiloOhms < 1e3 ? std::pair{'k', 1.0}
                                                                                       : std::pair{'M', 1e-3};
    // to_chars, unlike printf, writes a point whatever the process's locale.
    std::array<char, 32> digits{};
    const auto written =
        std::to_chars(digits.data(), digits.data() + digits.size(), kiloOhms * scale, std::chars_format::general, 12);
    const std::string_view text(digits.data(), static_cast<std::size_t>(written.ptr - digits.data()));
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos) {
        out.append(text).push_back(letter);
        return;
    }
    out.append(text.starts_with("0.") ? std::string_view() : text.substr(0, point));
    out.push_back(letter);
    out.append(text.substr(point + 1));
}

} // namespace tarnel
