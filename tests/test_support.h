#pragma once

#include "request/search_input.h"
#include "request/summary_text.h"
#include "search/divider_search.h"
#include "tarnel/tarnel.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarnel::test {

inline std::vector<std::string> linesOf(const ResultList& list)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i)
        lines.push_back(list.line(i));
    return lines;
}

// The inputs at their initial texts and states but for these texts.
inline SearchInput inputWith(std::initializer_list<std::pair<Field, const char*>> texts)
{
    SearchInput input;
    for (const auto& [field, text] : texts)
        input.text(field) = std::string(text);
    return input;
}

// One run as a press of Start makes it: the inputs read, and searched when
// they all read.
struct TestRun {
    InputReading reading;
    ResultList list;
    std::optional<RunSummary> summary;

    [[nodiscard]] std::vector<std::string> lines() const { return linesOf(list); }
};

inline TestRun runInput(const SearchInput& input, const NumberText& numbers = NumberText())
{
    TestRun run{readSearchParams(input, numbers), ResultList(numbers), std::nullopt};
    if (run.reading.valid)
        run.summary = searchDividers(run.reading.params, run.list);
    return run;
}

} // namespace tarnel::test
