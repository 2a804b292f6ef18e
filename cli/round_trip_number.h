#pragma once

#include <string>

namespace tarnel::cli {

// Appends the shortest fixed-point text that reads back as exactly value,
// with a period whatever the locale: the form scripts and other tools parse.
void appendRoundTrip(std::string& out, double value);

[[nodiscard]] std::string roundTrip(double value);

} // namespace tarnel::cli
