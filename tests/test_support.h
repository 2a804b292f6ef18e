#pragma once

#include "plain_window.h"

#include <string>
#include <vector>

namespace tarnel::test {

inline std::vector<std::string> linesOf(const ResultList& list)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i)
        lines.push_back(list.line(i));
    return lines;
}

} // namespace tarnel::test
