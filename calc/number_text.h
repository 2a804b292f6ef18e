#pragma once

#include "rounded_digits.h"

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

    explicit NumberText(std::string decimalSeparator = ".", Period period = Period::OnlyAsSeparator);

    // The double nearest to the decimal text. Accepts surrounding blanks, an
    // optional sign and an exponent; rejects everything else, including names
    // of infinity and not-a-number and numbers too large for a double.
    [[nodiscard]] std::optional<double> parse(std::string_view text) const;

    // "%f" of the result lines: fixed-point, two decimals, correctly rounded,
    // no grouping; a value that rounds to zero is written without a sign.
    void appendFixed2(std::string& out, double value) const;
    [[nodiscard]] std::string fixed2(double value) const;

    // A number as a person writes it: at most twelve significant digits and
    // no trailing zeros, so 4.800000000000001 is 4.8; an exponent only for
    // the very large and the very small.
    void appendPlain(std::string& out, double value) const;
    [[nodiscard]] std::string plain(double value) const;

    // A count with its thousands grouped by the character a reader of the
    // separator expects, so that 15,975 never reads as a fraction.
    [[nodiscard]] std::string grouped(std::uint64_t count) const;

    [[nodiscard]] const std::string& decimalSeparator() const { return separator_; }

private:
    // digits as to_chars writes them, with its point replaced by the separator.
    void appendWithSeparator(std::string& out, std::string_view digits) const;
    void appendGeneral(std::string& out, SignificantDigits rounded) const;
    static void appendDigits(std::string& out, std::uint64_t number, int width);

    std::string separator_;
    bool periodAccepted_;
};

// The decimal separator of the C library's locale (LC_NUMERIC, as LC_ALL,
// LC_NUMERIC or LANG set it), which the window and the command line both
// use; the program must have called setlocale(LC_ALL, "") first, as Qt does.
[[nodiscard]] std::string systemDecimalSeparator();

} // namespace tarnel
