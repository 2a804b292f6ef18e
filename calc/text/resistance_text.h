#pragma once

#include "text/number_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarnel {

// A resistance as a part is marked or a user types it, in kilo-ohms: a plain
// number is in kilo-ohms like every field; a number with a unit or an RKM
// code is what it says ("2.2k", "100R", "1M", "470 Ω", "4k7", "R47"). The
// fields and the stock files read resistances alike through this. Nothing
// when it is none; zero, a jumper, reads as zero.
[[nodiscard]] std::optional<double> parseResistance(std::string_view text, const NumberText& numbers);

// Examples of what it reads, for help texts.
inline constexpr std::string_view resistanceNotations = "4k7, 240R, 1M5, 1R0, 470 \u03a9";

// A resistor value as the result lines write it: from 1 k as "%f" does, two
// decimals; below, with as many decimals as its digits need, two at least,
// so that 240 Ω is 0.24 and 47.5 Ω 0.0475, and no resistor reads 0.00.
void appendLineValue(std::string& out, double kiloOhms, const NumberText& numbers);

// A resistor value as the part is marked, which parseResistance reads back:
// the multiplier R, k or M where the decimal point would stand, "240R",
// "4k7", "1M", "3R3", "R47"; twelve significant digits at most, so that a
// value's binary residue never shows.
void appendMarkedValue(std::string& out, double kiloOhms);
[[nodiscard]] inline std::string markedValue(double kiloOhms)
{
    std::string out;
    appendMarkedValue(out, kiloOhms);
    return out;
}

} // namespace tarnel
