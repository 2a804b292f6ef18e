#include "search/arm_table.h"
#include "values/decimal_bounds.h"
#include "search/divider.h"
#include "search/divider_search.h"
#include "values/request_error.h"
#include "reference_search.h"
#include "values/special_values.h"
#include "values/value_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <tuple>

using namespace tarnel;

namespace {

// Generated parameter sets on which the real search must give exactly the
// lines of the literal reference, over every series and stocks of odd values.
// Most use narrow value ranges so that the reference stays quick; a few the
// full range of a small set with a small limit.
class Generator {
public:
    explicit Generator(std::uint64_t seed)
        : rng_(seed), design_(~seed), windows_(seed * 3 + 1), fixed_(seed * 5 + 2), tap_(seed * 7 + 3)
    {
    }

    SearchParams params()
    {
        SearchParams p;
        // Now and then the values and range of the set before, so that arm
        // tables kept from it are used again, or must not be for other special values.
        const bool again = previous_.values && chance(0.1);
        p.values = again ? previous_.values : valueSet();
        const ValueSet& values = *p.values;
        const bool fullRange = chance(0.01) && values.size() <= e24Values()->size();
        const std::size_t width =
            fullRange ? values.size() : uniform(1, std::min<std::size_t>(values.size(), chance(0.05) ? 24 : 10));
        const std::size_t first = uniform(0, values.size() - width);
        p.rMin = boundNear(values, first);
        p.rMax = boundNear(values, first + width - 1);
        if (chance(0.05))
            std::swap(p.rMin, p.rMax);
        if (again) {
            p.rMin = previous_.rMin;
            p.rMax = previous_.rMax;
        }
        previous_ = p;
        p.ratioOffset = fullRange || chance(0.5) ? 0.0 : 1.0;
        const double* const e24FromOne = &e24Values()->values()[e24Values()->floorIndex(1.0)];
        p.uin = e24FromOne[uniform(0, 60)];
        p.uout = chance(0.7) ? e24FromOne[uniform(0, 40)] : real(1.0, 30.0);
        const double tolerances[] = {0.0, real(0.0, 0.002), real(0.0, 0.02), real(0.0, 0.2), real(0.0, 1.0), 1.0};
        p.tolerance = tolerances[fullRange ? 5 : uniform(0, 4)];
        // Now and then dividers judged at their extremes, and arms and H || L bounded.
        if (chance(0.2)) {
            p.criterion = Criterion::WorstCase;
            p.use = chance(0.5) ? DividerUse::Feedback : DividerUse::Divider;
            p.partTolerance = chance(0.2) ? 0.0 : real(0.0, 0.05);
            p.sourceTolerance = chance(0.5) ? 0.0 : real(0.0, 0.05);
            p.tolerance = std::max(p.tolerance, real(0.0, 0.2));
        }
        const double rangeTop = std::max(p.rMin, p.rMax);
        // Bounds a typist could give: within the resistances, or none.
        const auto resistance = [&](double lo, double hi) {
            return std::clamp(real(lo, hi), minResistance, maxStandardValue);
        };
        if (chance(0.1))
            p.highArm = {resistance(0.0, rangeTop), chance(0.5) ? resistance(0.0, 2.0 * rangeTop) : noUpperBound};
        if (chance(0.1))
            p.lowArm = {chance(0.5) ? resistance(0.0, rangeTop) : 0.0, resistance(0.0, 2.0 * rangeTop)};
        if (chance(0.1))
            p.outputImpedanceMax = resistance(0.0, rangeTop);
        p.rSumMin = fullRange || chance(0.5) ? minResistance : resistance(minResistance, 2.0 * rangeTop);
        p.rSumMax = fullRange || chance(0.4) ? maxStandardValue : resistance(p.rSumMin * 0.9, 8.0 * rangeTop);
        // The literal four-deep loops over all values take seconds unless the limit stops them early.
        p.maxResults = static_cast<std::int32_t>(fullRange ? uniform(1, 3000) : uniform(1, chance(0.5) ? 40 : 100000));
        for (ArmShapes* shapes : {&p.highShapes, &p.lowShapes})
            for (const ArmKind kind : armKinds)
                shapes->allow(kind, chance(0.55));
        boundTheDesign(p);
        p.specialValues = {};
        for (std::size_t slot = 0; slot < specialSlotCount && !fullRange; ++slot) {
            const double roll = real(0.0, 1.0);
            const double value = chance(0.8) ? values[uniform(0, values.size() - 1)] : real(1.0, 100.0);
            if (roll >= 0.75) // grayed otherwise
                (roll < 0.88 ? p.specialValues.excludedValues : p.specialValues.listedValues)[slot] = value;
        }
        return p;
    }

    // Now and then the bounds an engineer designs by, drawn apart from the
    // rest so that the sets without them stay as they were.
    void boundTheDesign(SearchParams& p)
    {
        std::uniform_real_distribution<double> roll(0.0, 1.0);
        // Around what a divider of the range dissipates at these voltages.
        const double volts = std::max(p.uin, p.uout);
        const double typicalWatts = volts * volts / (2000.0 * std::max(p.rMin, p.rMax));
        if (roll(design_) < 0.15)
            p.resistorPowerMax = std::clamp(typicalWatts * std::exp(8.0 * roll(design_) - 4.0), 1e-6, 1e3);
        // Bounds on the current, which the search folds into others, but for H/L feedback, which refuses them.
        const double typicalAmperes = volts / (2000.0 * std::max(p.rMin, p.rMax));
        const auto amperes = [&] { return std::clamp(typicalAmperes * std::exp(4.0 * roll(design_) - 2.0), 1e-9, 1e3); };
        if (roll(design_) < 0.15 && !(p.use == DividerUse::Feedback && p.ratioOffset == 0.0)) {
            p.currentMin = roll(design_) < 0.5 ? amperes() : 0.0;
            p.currentMax = roll(design_) < 0.7 ? amperes() : noUpperBound;
        }
        // An output window about the wanted output, one end now and then
        // open, drawn apart again so that the bounds above stay as they were.
        if (roll(windows_) < 0.15 && p.ratioOffset == 1.0) {
            const double wanted = p.use == DividerUse::Feedback ? p.uin : p.uout;
            const auto volts = [&](double factor) { return std::clamp(wanted * factor, 0.001, maxStandardValue); };
            p.outMin = roll(windows_) < 0.8 ? volts(1 - 0.3 * roll(windows_)) : 0.0;
            p.outMax = roll(windows_) < 0.8 ? volts(1 + 0.3 * roll(windows_)) : noUpperBound;
        }
        // Now and then one arm or both fixed, to a value of the range or one
        // off the set's, drawn apart again.
        const std::size_t first = p.values->floorIndex(std::min(p.rMin, p.rMax));
        const std::size_t end = std::max(first + 1, p.values->endIndex(p.rMax));
        for (double* fixed : {&p.highFixed, &p.lowFixed})
            if (roll(fixed_) < 0.08) {
                const double value = (*p.values)[std::uniform_int_distribution<std::size_t>(first, end - 1)(fixed_)];
                *fixed = roll(fixed_) < 0.5 ? value : std::min(value * (1 + 0.5 * roll(fixed_)), maxStandardValue);
            }
        // Now and then a load on the tap about the arms' size, or a pin's
        // current of either sign about a tenth of the chain's, drawn apart again.
        if (roll(tap_) < 0.12 && p.ratioOffset == 1.0) {
            if (roll(tap_) < 0.5)
                p.use = DividerUse::Feedback;
            if (p.use == DividerUse::Divider)
                p.tapLoad = std::clamp(std::max(p.rMin, p.rMax) * std::exp(6.0 * roll(tap_) - 3.0), minResistance,
                                       maxStandardValue);
            else
                p.pinCurrent = (roll(tap_) < 0.3 ? -1.0 : 1.0) *
                               std::clamp(typicalAmperes * std::exp(4.0 * roll(tap_) - 4.0), 1e-9, 0.05);
            // What the load or the pin changes, bounded more often than elsewhere.
            if (roll(tap_) < 0.4)
                p.outputImpedanceMax = std::clamp(std::max(p.rMin, p.rMax) * roll(tap_), minResistance, maxStandardValue);
            if (roll(tap_) < 0.4)
                p.currentMax = std::clamp(typicalAmperes * std::exp(4.0 * roll(tap_) - 2.0), 1e-9, 1e3);
            if (roll(tap_) < 0.3)
                p.currentMin = std::clamp(typicalAmperes * std::exp(4.0 * roll(tap_) - 3.0), 1e-9, 1e3);
            if (roll(tap_) < 0.3)
                p.resistorPowerMax = std::clamp(typicalWatts * std::exp(6.0 * roll(tap_) - 3.0), 1e-6, 1e3);
        }
    }

    // Moves one bound onto the ratio or total of a candidate in the value range.
    void putABoundOnACandidate(SearchParams& p)
    {
        const std::span<const double> values = p.values->values();
        const ArmCombination& c = armCombinations[uniform(0, armCombinations.size() - 1)];
        const std::size_t lo = p.values->floorIndex(std::min(p.rMin, p.rMax));
        const auto hi = static_cast<std::size_t>(std::upper_bound(values.begin(), values.end(), p.rMax) - values.begin());
        std::array<ValueIndex, 4> r{};
        for (ValueIndex& v : r)
            v = static_cast<ValueIndex>(uniform(lo, std::max(lo + 1, hi) - 1));
        if (c.high == ArmKind::Single)
            r[1] = r[0];
        if (c.low == ArmKind::Single)
            r[3] = r[2];
        for (std::size_t first : {0, 2})
            if (r[first] > r[first + 1])
                std::swap(r[first], r[first + 1]);
        const DividerFigures f = dividerFigures({c.number, r}, Circuit(p), *p.values);
        const std::size_t which = uniform(0, 3);
        const double figure = chance(0.5) ? (which < 2 ? f.ratio : f.total) : typed(which < 2 ? f.ratio : f.total);
        if (which < 2)
            putWindowEdgeOn(p, which == 0, figure);
        else
            (which == 2 ? p.rSumMin : p.rSumMax) = std::clamp(figure, minResistance, maxStandardValue);
        p.maxResults = std::max(p.maxResults, 2000);
    }

    // Moves the window's low or high edge onto target, to the bit where a
    // few steps of Uin reach it: the edge follows Uin, which the window is
    // derived from. Left as it was where no voltages a typist could give reach it.
    static void putWindowEdgeOn(SearchParams& p, bool lowEdge, double target)
    {
        const SearchParams before = p;
        const auto edge = [&] { return lowEdge ? p.ratioLow() : p.ratioHigh(); };
        p.uout = std::clamp(1.0 / target, 0.001, maxStandardValue);
        p.uin = target * p.uout;
        p.uin *= target / edge();
        for (int step = 0; step < 8 && edge() != target; ++step)
            p.uin = std::nextafter(p.uin, edge() < target ? noUpperBound : 0.0);
        try {
            checkSearchParams(p);
        } catch (const RequestError&) {
            p = before;
        }
    }

    bool chance(double p) { return real(0.0, 1.0) < p; }
    std::size_t uniform(std::size_t lo, std::size_t hi) { return std::uniform_int_distribution<std::size_t>(lo, hi)(rng_); }
    double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }

private:
    // A figure as a user types it, which is the same decimal: twelve significant digits.
    static double typed(double x)
    {
        std::array<char, 32> text{};
        std::snprintf(text.data(), text.size(), "%.12g", x);
        return std::strtod(text.data(), nullptr);
    }

    // On a value, as typed, between two, or just below one.
    double boundNear(const ValueSet& values, std::size_t index)
    {
        const double v = values[index];
        const double near = std::array{std::nextafter(v, 0.0), v * 1.02, v, typed(v)}[uniform(0, 3)];
        return std::clamp(near, minResistance, maxStandardValue); // as a typist's field holds it
    }

    // Mostly a series; otherwise a stock of values as parts are marked, or of
    // any doubles, some a hair apart, and sums that tie.
    std::shared_ptr<const ValueSet> valueSet()
    {
        if (!chance(0.2))
            return seriesValues(uniform(0, seriesTable.size() - 1));
        std::vector<double> values(uniform(1, 60));
        const double unit = chance(0.3) ? minResistance : 1.0; // from 1 Ω now and then
        const double spread = real(0.0, std::log(maxStandardValue / unit));
        for (double& v : values) {
            const double x = std::exp(real(0.0, spread));
            v = unit * (chance(0.3) ? std::round(x) : chance(0.5) ? std::stod(std::to_string(x).substr(0, 4)) : x);
            if (chance(0.1))
                v = std::min(v * (1 + real(0.0, 1e-8)), maxStandardValue);
        }
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end(), sameDecimal), values.end());
        return std::make_shared<const ValueSet>("stock.txt", std::move(values), false);
    }

    std::mt19937_64 rng_;
    std::mt19937_64 design_;
    std::mt19937_64 windows_;
    std::mt19937_64 fixed_;
    std::mt19937_64 tap_;
    SearchParams previous_ = [] {
        SearchParams none;
        none.values = nullptr;
        return none;
    }();
};

// The reference's lines ranked as best first lists them: by the size of the
// deviation in whole billionths of the target, then fewer resistors, then
// fewer distinct values, then as found.
std::vector<test::ReferenceLine> bestFirst(std::vector<test::ReferenceLine> lines, std::size_t limit)
{
    const auto key = [](const test::ReferenceLine& line) {
        const ArmCombination& c = armCombinations[line.combination];
        std::vector<double> values{line.resistors[0], line.resistors[2]};
        if (c.high != ArmKind::Single)
            values.push_back(line.resistors[1]);
        if (c.low != ArmKind::Single)
            values.push_back(line.resistors[3]);
        const std::size_t resistors = values.size();
        std::sort(values.begin(), values.end());
        const auto distinct = std::unique(values.begin(), values.end()) - values.begin();
        return std::tuple(std::round(std::fabs(line.rankedDeviation) * 1e7), resistors, distinct);
    };
    std::stable_sort(lines.begin(), lines.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
    lines.resize(std::min(lines.size(), limit));
    return lines;
}

class DifferentialTest : public ::testing::TestWithParam<int> {};

TEST_P(DifferentialTest, search_gives_the_lines_and_the_count_of_the_literal_reference_in_either_order)
{
    Generator gen(0x7a12e1 + static_cast<std::uint64_t>(GetParam()));
    ArmTableCache kept; // as pressing Start again keeps the tables
    for (int set = 0; set < 800 && !HasFatalFailure(); ++set) {
        SearchParams p = gen.params();
        // Every fourth set has a candidate exactly on a bound, so that the
        // inclusive bounds and the exact bracketing are exercised.
        if (set % 4 == 0 && p.rMax - p.rMin < 1e6)
            gen.putABoundOnACandidate(p);
        // Over the full range the literal loops are stopped by the limit; elsewhere they find all.
        const auto limit = static_cast<std::size_t>(p.maxResults);
        const bool complete = p.rMax - p.rMin < 1e6;
        const std::vector<test::ReferenceLine> all = test::referenceSearch(p, complete ? SIZE_MAX : limit);
        for (const ListOrder order : {ListOrder::AsFound, ListOrder::BestFirst}) {
            if (order == ListOrder::BestFirst && !complete)
                continue;
            p.order = order;
            ResultList actual;
            const std::uint64_t found = searchDividers(p, actual, kept).found;
            const std::vector<test::ReferenceLine> expected =
                order == ListOrder::AsFound ? std::vector(all.begin(), all.begin() + std::min(all.size(), limit))
                                            : bestFirst(all, limit);
            const auto where = ::testing::Message() << "block " << GetParam() << " set " << set << " order "
                                                    << static_cast<int>(order);
            if (complete) {
                ASSERT_EQ(found, all.size()) << where;
            }
            ASSERT_EQ(actual.size(), expected.size()) << where;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const ResultEntry a = actual.entry(i);
                std::array<double, 4> resistors{};
                for (std::size_t r = 0; r < 4; ++r)
                    resistors[r] = actual.values()[a.divider.values[r]];
                ASSERT_EQ(a.divider.combination, expected[i].combination) << where << " line " << i;
                ASSERT_EQ(resistors, expected[i].resistors) << where << " line " << i;
                // Bitwise: the deviation must come from the very same arithmetic.
                ASSERT_EQ(std::bit_cast<std::uint64_t>(a.deviationPercent),
                          std::bit_cast<std::uint64_t>(expected[i].deviationPercent))
                    << where << " line " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, DifferentialTest, ::testing::Range(0, 25));

// Over the integers over half a million dividers are exact, too many for the
// bound to narrow: best first cuts the tie by resistors, distinct values and
// the order found, and wherever the limit falls in it, among two-resistor,
// three-resistor or four-resistor dividers, lists what the reference ranks.
TEST(DifferentialTest, best_first_cuts_a_crowded_tie_where_the_reference_ranks_it)
{
    std::vector<double> integers(150);
    std::iota(integers.begin(), integers.end(), 1.0);
    SearchParams p;
    p.values = std::make_shared<const ValueSet>("stock.txt", std::move(integers), false);
    p.uin = 2;
    p.uout = 1;
    p.rMin = 1;
    p.rMax = 150;
    p.rSumMin = minResistance;
    p.rSumMax = maxStandardValue;
    p.highShapes = p.lowShapes = {ArmKind::Single, ArmKind::Series};
    p.order = ListOrder::BestFirst;
    // The limit within the crowd of 568,175 exact dividers, or past it, where
    // the crowd is listed first and those that miss by a little follow.
    std::vector<test::ReferenceLine> all;
    for (const auto& [tolerance, limit] : {std::pair{0.0, 200}, {0.0, 20000}, {0.0, 300000}, {0.004, 600000}}) {
        if (all.empty() || p.tolerance != tolerance) {
            p.tolerance = tolerance;
            all = test::referenceSearch(p, SIZE_MAX);
        }
        p.maxResults = static_cast<std::int32_t>(limit);
        ResultList actual;
        ASSERT_EQ(searchDividers(p, actual).found, all.size());
        const std::vector<test::ReferenceLine> expected = bestFirst(all, limit);
        ASSERT_EQ(actual.size(), expected.size()) << limit;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Divider d = actual.divider(i);
            ASSERT_EQ(d.combination, expected[i].combination) << limit << " line " << i;
            for (std::size_t r = 0; r < 4; ++r)
                ASSERT_EQ(actual.values()[d.values[r]], expected[i].resistors[r]) << limit << " line " << i;
        }
    }
}

} // namespace
