#include "start_run.h"

#include "divider_search.h"

namespace tarnel {

namespace {

// Enables the panel again however the search ends, so an error never leaves
// the Start button dead.
class PanelDisabled {
public:
    explicit PanelDisabled(PanelControl& panel) : panel_(panel) { panel_.setEnabled(false); }
    ~PanelDisabled() { panel_.setEnabled(true); }
    PanelDisabled(const PanelDisabled&) = delete;
    PanelDisabled& operator=(const PanelDisabled&) = delete;

private:
    PanelControl& panel_;
};

} // namespace

std::optional<SearchRun> runStart(const StartWindow& window)
{
    ResultList& list = *window.list;
    list.clear();
    const SearchParams params = readSearchParams(window, list.numbers());
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
        specValsInit(*window.specialSlots[slot].box, *window.specialSlots[slot].edit, slot, list, list.numbers());
    if (!inputsValid)
        return std::nullopt;
    if (const std::size_t values = searchedValueCount(params); values > maxPairedValues && searchesPairs(params)) {
        window.valuesFile->showProblem("holds " + list.numbers().grouped(values) +
                                       " values from Rmin to Rmax; arms of two resistors take at most " +
                                       list.numbers().grouped(maxPairedValues));
        return std::nullopt;
    }

    list.clear();
    const PanelDisabled disabled(*window.panel1);
    const std::uint64_t found = searchDividers(params, list, window.armTables);
    return SearchRun{params, summarizeRun(params, found, list.size())};
}

} // namespace tarnel
