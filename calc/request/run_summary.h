#pragma once

#include "text/number_text.h"
#include "request/search_params.h"
#include "search/divider.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnel {

// Why a run found no divider: the first bound every candidate fails where
// that is cheap to tell, else the divider closest to the window.
struct NoneReason {
    enum class Kind {
        Untold,
        NoShape,             // for the high arm, or the low
        RminAboveRmax,
        NoValueInRange,      // from Rmin's floor to Rmax
        NoneAdmitted,        // the special values admit none of those
        RsumMinAboveRsumMax,
        UoutNotBelowUin,
        NoGuarantee,         // the tolerances alone stray further than Tol
        NoArmWithinBounds,   // of the high arm, or the low
        LeastTotalAbove,     // figure: the least total
        GreatestTotalBelow,  // figure: the greatest total
        OutputImpedance,     // every divider's is above the bound
        Closest,             // figure: its deviation as ranked
    };
    NoneReason() = default;
    // Implicit, so that a reason reads as its kind.
    NoneReason(Kind kind, bool highArm = false, double figure = 0.0, Divider closest = {})
        : kind(kind), highArm(highArm), figure(figure), closest(closest)
    {
    }

    Kind kind = Kind::Untold;
    bool highArm = false; // which arm NoShape and NoArmWithinBounds name
    double figure = 0.0;
    Divider closest;
};

// What a run found, in a line: how many dividers met the bounds and how
// many the list shows, and why there are none where the inputs tell.
struct RunSummary {
    std::uint64_t found = 0;
    std::size_t shown = 0;
    NoneReason noneBecause;
    std::vector<double> unmatchedListed; // "only these" values that are none of values
    bool stopped = false; // a stop was asked for before the search was done: what it found is not whole
    SearchParams params;  // of the run, for its values and the figures a reason names

    // "24 dividers", "200 of 15,975 dividers shown: the limit cut the rest",
    // "No divider: Rmin is above Rmax", "No divider: every ratio lies
    // outside the window; closest: 12.4 / 10 k, d -0.44 %", and what of the
    // values could not be used: "…; 4.8 is no E24 value", "…; 2 values in
    // drawer.txt lie outside 1 to 9100000 k and are not tried"; "Stopped"
    // for a run that was stopped.
    [[nodiscard]] std::string text(const NumberText& numbers) const;
    [[nodiscard]] bool limitCut() const { return shown < found; }
    // Whether some values could not be used, which the text then names.
    [[nodiscard]] bool hasNotes() const { return !unmatchedListed.empty() || params.values->outsideRange() > 0; }
};

// The reasons for no divider that the inputs tell alone, without a search.
[[nodiscard]] NoneReason reasonInInputs(const SearchParams& params);

// The summary of a search with these parameters and the special-value table.
[[nodiscard]] RunSummary summarizeRun(const SearchParams& params, std::uint64_t found, std::size_t shown,
                                      NoneReason noneBecause = {});

} // namespace tarnel
