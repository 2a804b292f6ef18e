#pragma once

#include "command_line.h"

#include <sstream>
#include <string>
#include <vector>

namespace tarnel::cli::test {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the command line in-process with a pinned decimal separator, so that
// no test depends on the machine's locale.
inline RunResult runCli(const std::vector<std::string>& args, const std::string& decimalSeparator = ".")
{
    std::ostringstream out;
    std::ostringstream err;
    RunResult result;
    result.status = run(args, out, err, decimalSeparator);
    result.out = out.str();
    result.err = err.str();
    return result;
}

// The lines of a text, each without its '\n'; a last line without one counts too.
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace tarnel::cli::test
