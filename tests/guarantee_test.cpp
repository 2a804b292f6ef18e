#include "test_support.h"

#include "search/guarantee.h"
#include "values/decimal_bounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace tarnel;

namespace {

// The extremes of a divider found the slow way: every resistor and the
// source at each end of its tolerance, the physical output computed afresh
// at each corner, a load across the low arm and a pin's current through the
// high arm at their values.
struct Corners {
    double outputLow = INFINITY, outputHigh = -INFINITY;
    double worstDeviation = 0.0; // of the ratio each corner's output implies, percent
};

Corners cornersOf(const Divider& divider, const SearchParams& p)
{
    const ArmCombination& arms = divider.arms();
    Corners c;
    for (unsigned signs = 0; signs < 32; ++signs) {
        std::array<double, 4> r{};
        for (std::size_t i = 0; i < 4; ++i)
            r[i] = (*p.values)[divider.values[i]] * (signs >> i & 1 ? 1 + p.partTolerance : 1 - p.partTolerance);
        const double source = signs >> 4 & 1 ? 1 + p.sourceTolerance : 1 - p.sourceTolerance;
        const double high = arms.high == ArmKind::Single ? r[0] : arms.high == ArmKind::Series ? r[0] + r[1]
                                                                                             : r[0] * r[1] / (r[0] + r[1]);
        const double low = arms.low == ArmKind::Single ? r[2] : arms.low == ArmKind::Series ? r[2] + r[3]
                                                                                          : r[2] * r[3] / (r[2] + r[3]);
        const bool feedback = p.use == DividerUse::Feedback;
        const double tapLow = feedback ? low : 1.0 / (1.0 / low + 1.0 / p.tapLoad);
        const double counted = p.ratioOffset + high / tapLow;
        const double output = feedback ? p.uout * source * counted + p.pinCurrent * high * 1000.0
                                       : p.uin * source * tapLow / (high + tapLow);
        const double implied = feedback ? output / p.uout : counted / source;
        c.outputLow = std::min(c.outputLow, output);
        c.outputHigh = std::max(c.outputHigh, output);
        c.worstDeviation = std::max(c.worstDeviation, std::fabs(implied / p.ratio() - 1) * 100);
    }
    return c;
}

} // namespace

TEST(GuaranteeTest, band_and_worst_case_agree_with_every_corner_in_every_shape_mode_and_use)
{
    std::mt19937_64 rng(0x5eed);
    const auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    int judged = 0;
    for (int i = 0; i < 20000; ++i) {
        SearchParams p;
        p.values = seriesValues("E96");
        p.ratioOffset = pick(2) == 0 ? 0.0 : 1.0;
        p.use = pick(2) == 0 ? DividerUse::Divider : DividerUse::Feedback;
        p.criterion = Criterion::WorstCase;
        p.partTolerance = real(0.0, 0.1);
        p.sourceTolerance = pick(3) == 0 ? 0.0 : real(0.0, 0.05);
        p.tolerance = real(0.0, 0.3);
        Divider d{pick(armCombinations.size()), {}};
        for (ValueIndex& v : d.values)
            v = static_cast<ValueIndex>(pick(200));
        p.uout = real(0.5, 5.0);
        // Half the time a load about the arms' size, or a pin's current of
        // either sign about a tenth of the chain's, with 1 + H/L counted.
        const bool loaded = p.ratioOffset == 1.0 && pick(2) == 0;
        if (loaded && p.use == DividerUse::Divider)
            p.tapLoad = (*p.values)[d.values[2]] * real(0.1, 10.0);
        if (loaded && p.use == DividerUse::Feedback)
            p.pinCurrent = p.uout / ((*p.values)[d.values[2]] * 1000.0) * real(-0.2, 0.2);
        const DividerFigures f = dividerFigures(d, Circuit(p), *p.values);
        p.uin = p.uout * f.ratio * real(0.8, 1.2);
        // A pin drawing more than the reference drives through the low arm is never searched.
        if (f.low > lowArmsRising(p))
            continue;
        const Corners oracle = cornersOf(d, p);
        const DividerDetails details = dividerDetails(d, p);
        const auto where = ::testing::Message() << "case " << i;
        ASSERT_NEAR(details.outputLow, oracle.outputLow, 1e-12 * oracle.outputHigh) << where;
        ASSERT_NEAR(details.outputHigh, oracle.outputHigh, 1e-12 * oracle.outputHigh) << where;
        ASSERT_NEAR(details.worstDeviation, oracle.worstDeviation, 1e-9) << where;
        // At the nominal values, the circuit's own currents: through the
        // high arm and through the low, the load taking the difference or
        // the pin adding it; the tap's impedance with the load beside L.
        // (In H/L mode a feedback chain lies across Uout * H/L, no circuit.)
        const bool feedback = p.use == DividerUse::Feedback;
        if (!feedback || p.ratioOffset == 1.0) {
            const double tapLow = feedback ? f.low : 1.0 / (1.0 / f.low + 1.0 / p.tapLoad);
            const double lowAmperes =
                feedback ? p.uout / (f.low * 1000) : p.uin * tapLow / (f.high + tapLow) / (f.low * 1000);
            const double highAmperes = feedback ? lowAmperes + p.pinCurrent : p.uin / ((f.high + tapLow) * 1000);
            const double heat = highAmperes * highAmperes * f.high * 1000 + lowAmperes * lowAmperes * f.low * 1000;
            ASSERT_NEAR(details.armCurrents.high, highAmperes, 1e-12 * std::fabs(highAmperes)) << where;
            ASSERT_NEAR(details.armCurrents.low, lowAmperes, 1e-12 * lowAmperes) << where;
            const double power = details.power[0] + details.power[1] + details.power[2] + details.power[3];
            ASSERT_NEAR(power, heat, 1e-12 * heat) << where;
            ASSERT_NEAR(details.outputImpedance, 1 / (1 / f.high + 1 / tapLow), 1e-12 * f.high) << where;
        }
        // Kept exactly when every corner is within Tol, but for a hair's breadth at the bound.
        if (std::fabs(oracle.worstDeviation - p.tolerance * 100) < 1e-7)
            continue;
        const RatioSpan implied = impliedRatios(f.high, f.low, p);
        const bool kept = windowsOnExtremes(p) ? notBelow(implied.low, p.ratioLow()) && notAbove(implied.high, p.ratioHigh())
                                               : notBelow(f.ratio, p.ratioLow()) && notAbove(f.ratio, p.ratioHigh());
        ASSERT_EQ(kept, oracle.worstDeviation <= p.tolerance * 100) << where;
        judged += kept;
    }
    EXPECT_GT(judged, 1000); // the cases reach both sides of the bound
}

// Exact parts and source: worst case is nominal. A source tolerance on its
// own still narrows the list to the dividers that hold at both of its ends.
TEST(GuaranteeTest, worst_case_is_nominal_with_exact_parts_and_source_and_the_source_alone_narrows_it)
{
    for (const std::pair<bool, bool>& modes : {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        const bool highOverLow = modes.first; // named, not bound: a lambda below takes them
        const bool feedback = modes.second;
        const auto run = [&](Criterion criterion, const char* sourceTolerance) {
            SearchInput input = test::inputWith(
                {{Field::PartTol, "0"}, {Field::Tol, "2"}, {Field::Rmax, "1000"}, {Field::SourceTol, sourceTolerance}});
            input.highOverLowOnly = highOverLow;
            input.choice(ChoiceId::Order) = static_cast<std::size_t>(ListOrder::BestFirst);
            input.choice(ChoiceId::Use) =
                static_cast<std::size_t>(feedback ? DividerUse::Feedback : DividerUse::Divider);
            input.choice(ChoiceId::Criterion) = static_cast<std::size_t>(criterion);
            input.highShapes = input.lowShapes = ArmShapes::every();
            return test::runInput(input);
        };
        const test::TestRun nominal = run(Criterion::Nominal, "0");
        const test::TestRun worst = run(Criterion::WorstCase, "0");
        EXPECT_EQ(worst.summary->found, nominal.summary->found);
        EXPECT_EQ(worst.lines(), nominal.lines());
        EXPECT_GT(nominal.list.size(), 100u);

        const test::TestRun sourceOff = run(Criterion::WorstCase, "1");
        EXPECT_LT(sourceOff.summary->found, nominal.summary->found);
        EXPECT_GT(sourceOff.list.size(), 10u);
        for (std::size_t i = 0; i < sourceOff.list.size(); ++i) {
            const Corners corners = cornersOf(sourceOff.list.entry(i).divider, sourceOff.reading.params);
            ASSERT_LE(corners.worstDeviation, 2.0 + 1e-9) << sourceOff.list.line(i);
        }
    }
}

TEST(GuaranteeTest, a_regulators_feedback_divider_gives_the_regulated_output_and_its_band)
{
    // E96, 0.8 V reference, 1.8 V out within 0.5 %, 1 % parts, R2 fixed at 100 k.
    SearchInput input = test::inputWith({{Field::Uin, "1.8"}, {Field::Uout, "0.8"}, {Field::Tol, "0.5"},
                                         {Field::Rmax, "1000"}, {Field::RsumMax, "1000"}, {Field::LowArmMin, "100"},
                                         {Field::LowArmMax, "100"}});
    input.choice(ChoiceId::Series) = *seriesIndex("E96");
    input.choice(ChoiceId::Order) = static_cast<std::size_t>(ListOrder::BestFirst);
    input.choice(ChoiceId::Use) = static_cast<std::size_t>(DividerUse::Feedback);
    const test::TestRun run = test::runInput(input);
    ASSERT_EQ(run.lines(), std::vector<std::string>{"124.00   /  100.00   d -0.44"});
    EXPECT_EQ(detailsText(run.list.divider(0), run.reading.params, NumberText()),
              "High arm: 124 k\u03a9\n"
              "Low arm: 100 k\u03a9\n"
              "Total: 224 k\u03a9, 8 \u00b5A at 1.792 V\n"
              "Regulated output: 1.792 V, -8 mV (-0.444 %)\n"
              "Power: 7.936 \u00b5W / 6.4 \u00b5W\n"
              "Voltage: 992 mV / 800 mV\n"
              "Output impedance: 55.36 k\u03a9\n"
              "With 1 % parts: 1.7724 V to 1.812 V");
}
