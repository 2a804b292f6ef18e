#pragma once

// Tarnel's calculation as a library, in one header:
//   SearchParams (as made, the tool's default search) -> search -> SearchResult
//   (the listed dividers, the figures of each, the run's summary) -> text, csv or json.
// Nothing here knows Qt; every call is reentrant, and only a Searcher keeps
// anything between calls.

#include "output/result_writers.h"
#include "request/divider_details.h"
#include "request/pareto_front.h"
#include "search/result_list.h"
#include "search/run_summary.h"
#include "search/search_control.h"
#include "search/search_params.h"
#include "values/request_error.h"
#include "values/stock_file.h"
#include "values/value_set.h"

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

namespace tarnel {

class ArmTableCache;

// The answer to one request.
struct SearchResult {
    SearchParams request;
    ResultList list;    // the listed dividers, in order: line(i), divider(i)
    RunSummary summary; // how many met the bounds, how many are listed, why none

    [[nodiscard]] std::size_t size() const { return list.size(); }
    // What the divider of line i delivers: the figures of the csv's columns.
    [[nodiscard]] DividerDetails details(std::size_t line) const;
    // The summary as the programs word it: "24 dividers", "No divider: …",
    // the bounds it names by the window's captions, or the command line's options.
    [[nodiscard]] std::string summaryText(bool optionNames = false) const;
    // Every line as tarnel-cli writes it in that format.
    void write(OutputFormat format, std::ostream& out) const;
};

// Searches as the programs do, the text lines written with the decimal
// separator of lines. Throws RequestError, before searching, when a field
// lies outside the range its input takes; a stop asked for through control
// ends the search early with no lines and summary.stopped set.
[[nodiscard]] SearchResult search(const SearchParams& request, const SearchControl& control = {},
                                  const NumberText& lines = NumberText());

// Searches one after another over the same values, keeping the arm tables
// between them: the second search of a series costs a fraction of the first.
// One searcher serves one thread at a time.
class Searcher {
public:
    Searcher();
    Searcher(Searcher&&) noexcept;
    Searcher& operator=(Searcher&&) noexcept;
    ~Searcher();

    [[nodiscard]] SearchResult search(const SearchParams& request, const SearchControl& control = {},
                                      const NumberText& lines = NumberText());

private:
    std::unique_ptr<ArmTableCache> cache_;
};

} // namespace tarnel
