#pragma once

#include "text/rounded_digits.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnel {

// Converts between numbers and the text the user reads and types, with the
// decimal separator of the user's locale (UTF-8, usually "." or ",").
class NumberText {
public:
    // A period reads as a decimal separator too: scripts write numbers alike in every locale.
    enum class Period { OnlyAsSeparator, AlsoAccepted };

    // A separator longer than any locale's, or none, is a period.
    explicit NumberText(std::string decimalSeparator = ".", Period period = Period::OnlyAsSeparator);
    static constexpr std::size_t maxSeparatorSize = 8;

    // The double nearest to the decimal text. Accepts surrounding blanks, an
    // optional sign and an exponent; rejects everything else, including names
    // of infinity and not-a-number and numbers too large for a double.
    [[nodiscard]] std::optional<double> parse(std::string_view text) const;
    // Whether text is a number parse would read but for its size: too large
    // or too small for a double, as 1e999 and 1e-999 are.
    [[nodiscard]] bool beyondDouble(std::string_view text) const;

    // "%f" of the result lines: fixed-point, two decimals, correctly rounded,
    // no grouping; a value that rounds to zero is written without a sign.
    void appendFixed2(std::string& out, double value) const;
    [[nodiscard]] std::string fixed2(double value) const;

    // A number as a person writes it: at most twelve significant digits and
    // no trailing zeros, so 4.800000000000001 is 4.8; an exponent only for
    // the very large and the very small.
    void appendPlain(std::string& out, double value) const;
    // plain(value) written at to, which has room for plainTextRoom bytes; gives the end.
    char* putPlain(char* to, double value) const;
    // A sign, twelve digits and their zeros, an exponent and a separator,
    // and room for the quick path to copy in whole words.
    static constexpr std::size_t plainTextRoom = 48;
    [[nodiscard]] std::string plain(double value) const;

    // A count with its thousands grouped by the character a reader of the
    // separator expects, so that 15,975 never reads as a fraction.
    [[nodiscard]] std::string grouped(std::uint64_t count) const;

    [[nodiscard]] const std::string& decimalSeparator() const { return separator_; }
    [[nodiscard]] bool periodAccepted() const { return periodAccepted_; }

private:
    // parse, and whether a text of its grammar failed by its size alone.
    std::optional<double> parsed(std::string_view text, bool& beyond) const;
    // digits as to_chars writes them, with its point replaced by the separator.
    char* putWithSeparator(char* to, std::string_view digits) const;
    // The text of a number on the quick path, written at to, which has room
    // for it; gives the end.
    char* putFixed2(char* to, std::int64_t hundredths) const;
    char* putGeneral(char* to, SignificantDigits rounded) const;
    char* putSeparator(char* to) const;

    std::string separator_;
    std::array<char, maxSeparatorSize> separatorBytes_{}; // the separator, for copies of a fixed size
    bool periodAccepted_;
};

// Number text is read in ASCII whatever the locale.
[[nodiscard]] constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
// text without the blanks (space, tab, CR, LF) around it.
[[nodiscard]] std::string_view trimmed(std::string_view text);

// The decimal separator of the C library's locale (LC_NUMERIC, as LC_ALL,
// LC_NUMERIC or LANG set it), which the window and the command line both
// use; the program must have called setlocale(LC_ALL, "") first, as Qt does.
[[nodiscard]] std::string systemDecimalSeparator();

} // namespace tarnel
