#include "command_line.h"
#include "text/number_text.h"

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // Numbers are typed and shown with the user's decimal separator, as in the window.
    std::setlocale(LC_ALL, "");
    const std::string decimalSeparator = tarnel::systemDecimalSeparator();
    // Millions of lines can follow; C stdio needs no share of them.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return tarnel::cli::run(args, std::cout, std::cerr, decimalSeparator);
}
