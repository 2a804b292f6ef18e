#pragma once

#include "search/divider.h"
#include "text/number_text.h"
#include "request/search_params.h"

#include <array>
#include <string>

namespace tarnel {

// What a divider delivers at the run's input voltage. Resistances are in the
// unit the user types (kilo-ohms by the labels), voltages in volts, the
// current in amperes and powers in watts.
struct DividerDetails {
    DividerFigures figures;
    std::array<double, 4> resistors{}; // high first, high second, low first, low second
    double output = 0.0;               // Uin divided by the ratio
    double outputError = 0.0;          // output less Uout: the opposite sign of the ratio's deviation
    double outputErrorPercent = 0.0;
    double current = 0.0;
    std::array<double, 4> power{}; // in each resistor, placed as resistors
    double outputLow = 0.0;        // the band of the output with every resistor off by the part tolerance
    double outputHigh = 0.0;
};

[[nodiscard]] DividerDetails dividerDetails(const Divider& divider, const SearchParams& params);

// The details in a few lines, values with their units, for the window.
[[nodiscard]] std::string detailsText(const Divider& divider, const SearchParams& params, const NumberText& numbers);

} // namespace tarnel
