#pragma once

#include "text/number_text.h"
#include "request/search_params.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnel {

// What a run found, in a line: how many dividers met the bounds and how
// many the list shows, and why there are none where the inputs tell.
struct RunSummary {
    std::uint64_t found = 0;
    std::size_t shown = 0;
    std::string noneBecause;             // empty when the inputs tell no reason
    std::vector<double> unmatchedListed; // "only these" values that are none of values
    std::shared_ptr<const ValueSet> values;
    bool stopped = false; // a stop was asked for before the search was done: what it found is not whole

    // "24 dividers", "200 of 15,975 dividers shown: the limit cut the rest",
    // "No divider: Rmin is above Rmax", and what of the values could not be
    // used: "…; 4.8 is no E24 value", "…; 2 values in drawer.txt lie outside
    // 1 to 9100000 k and are not tried"; "Stopped" for a run that was stopped.
    [[nodiscard]] std::string text(const NumberText& numbers) const;
    [[nodiscard]] bool limitCut() const { return shown < found; }
    // Whether some values could not be used, which the text then names.
    [[nodiscard]] bool hasNotes() const { return !unmatchedListed.empty() || values->outsideRange() > 0; }
};

// The summary of a search with these parameters and the special-value table.
[[nodiscard]] RunSummary summarizeRun(const SearchParams& params, std::uint64_t found, std::size_t shown);

} // namespace tarnel
