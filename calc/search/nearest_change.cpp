#include "search/nearest_change.h"

#include "search/combination_search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace tarnel {

namespace {

using Kind = NoneReason::Kind;

// The arms the trials of one run pass together, counted and made: one
// trial of E96's 2.7 million arms takes 17 to 24 ms on two cores, and making a
// table costs a few sweeps more (search_bench's (h) rows).
constexpr std::size_t trialBudget = 4'000'000;

struct Trial {
    std::array<Field, 2> fields;
    std::size_t size;
};

// Each bound alone, and the two pairs that bound a divider's size from one
// side together: a small divider needs both a low Rmin and a low RsumMin.
constexpr std::array<Trial, 17> trials{{
    {{Field::Rmin}, 1},
    {{Field::Rmax}, 1},
    {{Field::RsumMin}, 1},
    {{Field::RsumMax}, 1},
    {{Field::Rmin, Field::RsumMin}, 2},
    {{Field::Rmax, Field::RsumMax}, 2},
    {{Field::Tol}, 1},
    {{Field::HighArmMin}, 1},
    {{Field::HighArmMax}, 1},
    {{Field::LowArmMin}, 1},
    {{Field::LowArmMax}, 1},
    {{Field::OutputImpedanceMax}, 1},
    {{Field::PowerMax}, 1},
    {{Field::CurrentMin}, 1},
    {{Field::CurrentMax}, 1},
    {{Field::OutMin}, 1},
    {{Field::OutMax}, 1},
}};

// Whether the reason's words name the bound.
bool names(const NoneReason& reason, Field field)
{
    const auto any = [field](std::initializer_list<Field> named) {
        return std::find(named.begin(), named.end(), field) != named.end();
    };
    switch (reason.kind) {
    case Kind::RminAboveRmax:
    case Kind::NoValueInRange:
        return any({Field::Rmin, Field::Rmax});
    case Kind::RsumMinAboveRsumMax:
        return any({Field::RsumMin, Field::RsumMax, Field::CurrentMin, Field::CurrentMax});
    case Kind::OutMinAboveOutMax:
        return any({Field::OutMin, Field::OutMax});
    case Kind::NoArmWithinBounds:
        return field == reason.blocking || (reason.highArm ? any({Field::HighArmMin, Field::HighArmMax})
                                                           : any({Field::LowArmMin, Field::LowArmMax}));
    case Kind::LeastTotalAbove:
        return field == Field::RsumMax;
    case Kind::GreatestTotalBelow:
        return field == Field::RsumMin;
    case Kind::OutputImpedance:
        return field == Field::OutputImpedanceMax;
    case Kind::Power:
        return field == Field::PowerMax;
    case Kind::ImpedanceByTotal:
        return any({Field::RsumMin, Field::OutputImpedanceMax});
    case Kind::Closest:
        return any({Field::Tol, Field::OutMin, Field::OutMax});
    default:
        return false;
    }
}

// Reasons no bound's widening can lift, or whose words already name the fix.
bool beyondBounds(Kind kind)
{
    return kind == Kind::NoShape || kind == Kind::NoneAdmitted || kind == Kind::UoutNotBelowUin ||
           kind == Kind::NoGuarantee;
}

// The widest value a field takes, as it reads it, or none where it holds it
// already: a bound that may be empty left empty, Rmin and RsumMin at the
// least the fields take, Rmax and RsumMax at the greatest, and Tol at the
// closest divider's deviation in hundredths, rounded up.
std::optional<double> widest(Field field, const SearchParams& params, const NoneReason& reason)
{
    const NumberField& f = numberField(field);
    double wide = 0.0;
    if (field == Field::Tol) {
        if (reason.kind != Kind::Closest || params.outputWindowed())
            return std::nullopt;
        wide = std::ceil(std::fabs(reason.figure) * 100.0) / 100.0;
        if (wide > f.range.hi)
            return std::nullopt;
    } else if (f.mayBeEmpty) {
        wide = f.value(SearchParams());
    } else {
        wide = field == Field::Rmin || field == Field::RsumMin ? f.range.lo : f.range.hi;
    }
    if (wide == f.value(params))
        return std::nullopt;
    return wide;
}

// The arms a count over new tables of range passes, with making them.
std::size_t workOfTables(const SearchParams& params, ValueRange range)
{
    const std::size_t n = range.size();
    std::size_t work = 0;
    for (const ArmCombination& c : armCombinations)
        if (isEnabled(c, params))
            for (const ArmKind kind : {c.high, c.low})
                work += kind == ArmKind::Single ? n : n * (n + 1) / 2;
    // Making a table sorts it, which costs a few sweeps.
    return 3 * work;
}

} // namespace

std::optional<BoundChange> nearestChange(const SearchParams& params, const NoneReason& reason,
                                         const ArmTables& tables, const SearchControl& control)
{
    if (beyondBounds(reason.kind))
        return std::nullopt;
    std::vector<Trial> ordered(trials.begin(), trials.end());
    const auto rank = [&](const Trial& trial) {
        const std::span<const Field> fields(trial.fields.data(), trial.size);
        const bool defaults =
            std::all_of(fields.begin(), fields.end(), [&](Field f) { return atInitialValue(f, params); });
        const bool named = std::any_of(fields.begin(), fields.end(), [&](Field f) { return names(reason, f); });
        return (defaults ? 0 : 2) + (named ? 0 : 1);
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const Trial& a, const Trial& b) { return rank(a) < rank(b); });
    const ValueRange searched = searchedValues(params);
    std::size_t spent = 0;
    for (const Trial& trial : ordered) {
        BoundChange change{trial.fields, trial.size, {}, 0};
        bool widens = true;
        for (std::size_t i = 0; i < trial.size && widens; ++i) {
            const std::optional<double> wide = widest(trial.fields[i], params, reason);
            widens = wide.has_value();
            change.values[i] = wide.value_or(0.0);
        }
        if (!widens)
            continue;
        // Tol rounded up may still fall a hair short of the divider: then a hundredth more.
        for (int attempt = 0; attempt < (trial.fields[0] == Field::Tol ? 2 : 1); ++attempt) {
            if (control.stop.stop_requested())
                return std::nullopt;
            change.values[0] += attempt * 0.01;
            const SearchParams changed = withCurrentFolded(change.appliedTo(params));
            if (reasonInInputs(changed).kind != Kind::Untold)
                continue;
            const ValueRange range = searchedValues(changed);
            const bool sameValues = range.first == searched.first && range.end == searched.end;
            const std::size_t work =
                sameValues ? workOf(combinationSearches(changed, tables)) : workOfTables(changed, range);
            if (spent + work > trialBudget)
                continue;
            spent += work;
            std::optional<ArmTables> own;
            if (!sameValues) {
                own.emplace(changed.values, range, usableValues(changed, range));
                own->fixArms(changed.highFixed, changed.lowFixed);
                own->make(wantedShapes(changed));
            }
            change.count = countAll(combinationSearches(changed, sameValues ? tables : *own), noBand, control.stop);
            if (control.stop.stop_requested())
                return std::nullopt;
            if (change.count > 0)
                return change;
        }
    }
    return std::nullopt;
}

} // namespace tarnel
