#pragma once

#include "search/divider.h"
#include "search/input_fields.h"
#include "search/search_params.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tarnel {

// One or two bounds widened at once, and how many dividers the run finds
// then: the nearest change that gives dividers, as far as cheap trials tell.
struct BoundChange {
    std::array<Field, 2> fields{};
    std::size_t size = 0;        // how many of fields are widened
    std::array<double, 2> values{}; // as the field reads them; a field that may be empty is left empty
    std::uint64_t count = 0;

    [[nodiscard]] std::span<const Field> widened() const { return std::span(fields).first(size); }
    // The parameters with the change made.
    [[nodiscard]] SearchParams appliedTo(SearchParams params) const;
};

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
        OutMinAboveOutMax,
        NoGuarantee,         // the tolerances alone stray further than Tol
        NoArmWithinBounds,   // of the high arm, or the low
        LeastTotalAbove,     // figure: the least total
        GreatestTotalBelow,  // figure: the greatest total
        OutputImpedance,     // every divider's is above the bound
        Power,               // every divider has a resistor above P max
        ImpedanceByTotal,    // at the ratio, RsumMin alone gives an H || L above Rout max
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
    // The bound of the values, Rmin or Rmax, that leaves no arm within NoArmWithinBounds' bounds.
    std::optional<Field> blocking;
    std::optional<BoundChange> change;
};

// What a run found: how many dividers met the bounds and how many the list
// shows, why there are none where the inputs tell, and which values could
// not be used. summaryText words it.
struct RunSummary {
    std::uint64_t found = 0;
    std::size_t shown = 0;
    NoneReason noneBecause;
    std::vector<double> unmatchedListed; // "only these" values that are none of values
    bool stopped = false; // a stop was asked for before the search was done: what it found is not whole
    SearchParams params;  // of the run, for its values and the figures a reason names

    [[nodiscard]] bool limitCut() const { return shown < found; }
    // Whether some values could not be used, which the text then names.
    [[nodiscard]] bool hasNotes() const { return !unmatchedListed.empty() || params.values->outsideRange() > 0; }
    // Whether the summary tells what the lines alone do not, so that a front end shows it.
    [[nodiscard]] bool tellsMore() const { return found == 0 || limitCut() || hasNotes() || params.outputWindowed(); }
};

// The reasons for no divider that the inputs tell alone, without a search.
[[nodiscard]] NoneReason reasonInInputs(const SearchParams& params);

// The summary of a search with these parameters and the special-value table.
[[nodiscard]] RunSummary summarizeRun(const SearchParams& params, std::uint64_t found, std::size_t shown,
                                      NoneReason noneBecause = {});

} // namespace tarnel
