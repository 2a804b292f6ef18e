#include "tarnel/tarnel.h"

#include "request/summary_text.h"
#include "search/arm_table.h"
#include "search/divider_search.h"

namespace tarnel {

DividerDetails SearchResult::details(std::size_t line) const
{
    return dividerDetails(list.divider(line), request);
}

std::string SearchResult::summaryText(bool optionNames) const
{
    return tarnel::summaryText(summary, list.numbers(), optionNames);
}

void SearchResult::write(OutputFormat format, std::ostream& out) const
{
    writeResults(format, list, request, out);
}

namespace {

SearchResult searchWith(const SearchParams& request, ArmTableCache& cache, const SearchControl& control,
                        const NumberText& lines)
{
    // Kept as run: a fixed arm's value off the set is among the run's values,
    // which the list's dividers name.
    SearchResult result{withFixedArms(request), ResultList(lines), {}};
    result.summary = searchDividers(result.request, result.list, cache, control);
    return result;
}

} // namespace

SearchResult search(const SearchParams& request, const SearchControl& control, const NumberText& lines)
{
    ArmTableCache cache;
    return searchWith(request, cache, control, lines);
}

Searcher::Searcher() : cache_(std::make_unique<ArmTableCache>()) {}
Searcher::Searcher(Searcher&&) noexcept = default;
Searcher& Searcher::operator=(Searcher&&) noexcept = default;
Searcher::~Searcher() = default;

SearchResult Searcher::search(const SearchParams& request, const SearchControl& control, const NumberText& lines)
{
    return searchWith(request, *cache_, control, lines);
}

} // namespace tarnel
