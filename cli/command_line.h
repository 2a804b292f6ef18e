#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tarnel::cli {

// The whole command line: args without the program's name; results, help and
// version go to out, errors to err. Numbers are read (and the text lines
// written) with decimalSeparator, which main takes from the system locale;
// a period reads as a decimal separator in every locale.
// Gives the exit status: 0 when the search ran or help or version was asked
// for, 2 on bad input (with every bad argument named and nothing on out),
// 1 on any other failure.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const std::string& decimalSeparator);

} // namespace tarnel::cli
