#include "divider.h"
#include "divider_search.h"
#include "calc_test.h"
#include "reference_search.h"
#include "special_values.h"
#include "standard_values.h"
#include "value_cursor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <random>
#include <sstream>

using namespace tarnel;
using namespace tarnel::test;

namespace {

// Generated parameter sets: the real search must give exactly the lines of
// the literal reference. Most sets use narrow value ranges so the reference
// stays quick; a few use the full range with a small limit.
class Generator {
public:
    explicit Generator(std::uint64_t seed) : rng_(seed) {}

    SearchParams params()
    {
        SearchParams p;
        const bool fullRange = chance(0.01);
        const std::size_t width = fullRange ? standardValueCount : uniform(1, chance(0.05) ? 24 : 10);
        const std::size_t first = uniform(0, standardValueCount - width);
        p.rMin = boundNear(first);
        p.rMax = boundNear(first + width - 1);
        if (chance(0.05))
            std::swap(p.rMin, p.rMax);

        p.ratioOffset = chance(0.5) ? 1.0 : 0.0;
        p.uin = standardValues()[uniform(0, 60)];
        p.uout = chance(0.7) ? standardValues()[uniform(0, 40)] : real(1.0, 30.0);
        p.tolerance = tolerance();
        p.ratio = p.uin / p.uout;
        p.ratioLow = (1.0 - p.tolerance) * p.ratio;
        p.ratioHigh = (1.0 + p.tolerance) * p.ratio;

        const double rangeTop = std::max(p.rMin, p.rMax);
        p.rSumMin = chance(0.5) ? 1.0 : real(1.0, 2.0 * rangeTop);
        p.rSumMax = chance(0.4) ? maxStandardValue : real(p.rSumMin * 0.9, 8.0 * rangeTop);
        p.maxResults = static_cast<std::int32_t>(chance(0.5) ? uniform(1, 40) : uniform(1, 100000));

        p.useHi1R = chance(0.6);
        p.useHi2Rser = chance(0.5);
        p.useHi2Rpar = chance(0.5);
        p.useLo1R = chance(0.6);
        p.useLo2Rser = chance(0.5);
        p.useLo2Rpar = chance(0.5);
        if (fullRange) {
            // The literal four-deep loops over all 168 values take seconds
            // unless the limit stops them early.
            p.ratioOffset = 0.0;
            p.tolerance = 1.0;
            p.ratioLow = 0.0;
            p.ratioHigh = 2.0 * p.ratio;
            p.rSumMin = 1.0;
            p.rSumMax = maxStandardValue;
            p.maxResults = static_cast<std::int32_t>(uniform(1, 3000));
        }
        return p;
    }

    SpecialValueTable specialTable()
    {
        SpecialValueTable t;
        for (std::size_t slot = 0; slot < specialSlotCount; ++slot) {
            const double roll = real(0.0, 1.0);
            if (roll < 0.75)
                continue; // grayed
            const double value = chance(0.8) ? standardValues()[uniform(0, 60)] : real(1.0, 100.0);
            (roll < 0.88 ? t.excludedValues : t.listedValues)[slot] = value;
        }
        return t;
    }

    bool chance(double p) { return real(0.0, 1.0) < p; }
    std::size_t uniform(std::size_t lo, std::size_t hi) { return std::uniform_int_distribution<std::size_t>(lo, hi)(rng_); }
    double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }

private:
    // On a standard value, between two, or just off one.
    double boundNear(std::size_t index)
    {
        const double v = standardValues()[index];
        switch (uniform(0, 3)) {
        case 0:
            return std::nextafter(v, 0.0);
        case 1:
            return v * 1.02;
        default:
            return v;
        }
    }

    double tolerance()
    {
        switch (uniform(0, 4)) {
        case 0:
            return 0.0;
        case 1:
            return real(0.0, 0.002);
        case 2:
            return real(0.0, 0.02);
        case 3:
            return real(0.0, 0.2);
        default:
            return real(0.0, 1.0);
        }
    }

    std::mt19937_64 rng_;
};

std::string describe(const SearchParams& p)
{
    std::ostringstream s;
    s.precision(17);
    s << "uin " << p.uin << " uout " << p.uout << " tol " << p.tolerance << " window " << p.ratioLow << ".."
      << p.ratioHigh << " offset " << p.ratioOffset << " r " << p.rMin << ".." << p.rMax << " sum " << p.rSumMin
      << ".." << p.rSumMax << " limit " << p.maxResults << " arms " << p.useHi1R << p.useHi2Rser << p.useHi2Rpar
      << p.useLo1R << p.useLo2Rser << p.useLo2Rpar;
    return s.str();
}

void expectSameLines(const SearchParams& p)
{
    ResultList expected;
    ResultList actual;
    referenceSearch(p, expected);
    searchDividers(p, actual);
    ASSERT_EQ(actual.size(), expected.size()) << describe(p);
    ASSERT_EQ(actual.resultCount(), expected.resultCount()) << describe(p);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ResultEntry e = expected.entry(i);
        const ResultEntry a = actual.entry(i);
        ASSERT_EQ(a.formatIndex, e.formatIndex) << "line " << i << ": " << describe(p);
        ASSERT_EQ(a.resistors, e.resistors) << "line " << i << ": " << describe(p);
        // Bitwise: the deviation must come from the very same arithmetic.
        ASSERT_EQ(std::memcmp(&a.deviationPercent, &e.deviationPercent, sizeof(double)), 0)
            << "line " << i << ": " << describe(p);
    }
}

constexpr int blocks = 24;
constexpr int setsPerBlock = 900;

class GeneratedSetsTest : public CalcTestWithParam<int> {};

TEST_P(GeneratedSetsTest, search_matches_the_literal_reference)
{
    Generator gen(0x7a12e1 + static_cast<std::uint64_t>(GetParam()));
    for (int i = 0; i < setsPerBlock; ++i) {
        const SearchParams p = gen.params();
        // A full range with listed values leaves the literal loops nothing to stop them.
        specialValueTable = p.rMax - p.rMin > 1e6 ? SpecialValueTable{} : gen.specialTable();
        expectSameLines(p);
        if (HasFatalFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, GeneratedSetsTest, ::testing::Range(0, blocks));

// Sets whose window edges fall exactly on a candidate's ratio or total, so
// the inclusive bounds and the exact bracketing are exercised.
class EdgeSetsTest : public CalcTestWithParam<int> {};

TEST_P(EdgeSetsTest, candidates_exactly_on_a_bound_are_treated_alike)
{
    Generator gen(0xed6e + static_cast<std::uint64_t>(GetParam()));
    for (int i = 0; i < setsPerBlock; ++i) {
        SearchParams p = gen.params();
        if (p.rMax - p.rMin < 1e6)
            p.maxResults = 1000000;
        // A candidate of some combination inside the value range.
        const ArmCombination& c = armCombinations[gen.uniform(0, armCombinations.size() - 1)];
        const auto lo = standardFloorIndex(std::min(p.rMin, p.rMax));
        const auto hi = std::max(lo, static_cast<std::size_t>(std::upper_bound(standardValues().begin(),
                                                                               standardValues().end(), p.rMax) -
                                                              standardValues().begin()) -
                                         1);
        std::array<double, 4> r{};
        for (double& v : r)
            v = standardValues()[gen.uniform(lo, std::max(lo, hi))];
        const std::size_t lowStart = resistorsIn(c.high);
        if (c.high != ArmKind::Single && r[0] > r[1])
            std::swap(r[0], r[1]);
        if (c.low != ArmKind::Single && r[lowStart] > r[lowStart + 1])
            std::swap(r[lowStart], r[lowStart + 1]);
        const DividerFigures f = dividerFigures(c, p.ratioOffset, r);
        switch (gen.uniform(0, 3)) {
        case 0:
            p.ratioLow = f.ratio;
            break;
        case 1:
            p.ratioHigh = f.ratio;
            break;
        case 2:
            p.rSumMin = f.total;
            break;
        default:
            p.rSumMax = f.total;
            break;
        }
        if (gen.chance(0.5)) {
            p.ratioLow = std::min(p.ratioLow, f.ratio);
            p.ratioHigh = std::max(p.ratioHigh, f.ratio);
        }
        expectSameLines(p);
        if (HasFatalFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, EdgeSetsTest, ::testing::Range(0, 4));

} // namespace
