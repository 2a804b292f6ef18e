#include "reference_search.h"

#include "search/guarantee.h"
#include "values/special_values.h"

#include <algorithm>
#include <span>

namespace tarnel::test {

namespace {

enum Arm { One, Ser, Par };

struct Combination {
    Arm high;
    Arm low;
};

const Combination combinations[9] = {
    {One, One}, {Ser, One}, {Par, One}, {One, Ser}, {One, Par}, {Ser, Ser}, {Par, Par}, {Ser, Par}, {Par, Ser},
};

bool allowed(const ArmShapes& shapes, Arm arm)
{
    return shapes.allows(arm == One ? ArmKind::Single : arm == Ser ? ArmKind::Series : ArmKind::Parallel);
}

double par(double a, double b) { return 1.0 / (1.0 / a + 1.0 / b); }

// Each combination's high over low and total, bracket for bracket; unused values are not read.
std::pair<double, double> figures(std::size_t n, double h1, double h2, double l1, double l2)
{
    switch (n) {
    case 0: return {h1 / l1, h1 + l1};
    case 1: return {(h1 + h2) / l1, (h1 + h2) + l1};
    case 2: return {par(h1, h2) / l1, par(h1, h2) + l1};
    case 3: return {h1 / (l1 + l2), (h1 + l1) + l2};
    case 4: return {h1 / par(l1, l2), h1 + par(l1, l2)};
    case 5: return {(h1 + h2) / (l1 + l2), ((h1 + h2) + l1) + l2};
    case 6: return {par(h1, h2) / par(l1, l2), par(h1, h2) + par(l1, l2)};
    case 7: return {(h1 + h2) / par(l1, l2), (h1 + h2) + par(l1, l2)};
    default: return {par(h1, h2) / (l1 + l2), par(h1, h2) + (l1 + l2)};
    }
}

double armOf(Arm arm, double first, double second)
{
    return arm == One ? first : arm == Ser ? first + second : par(first, second);
}

bool loadsTheTap(const SearchParams& p) { return p.use == DividerUse::Divider && p.tapLoad != noUpperBound; }
bool drawsThePin(const SearchParams& p) { return p.use == DividerUse::Feedback && p.pinCurrent != 0.0; }

// The ratio counted, the output's: past a load the low arm stands with the
// load across it; a pin's current through the high arm adds I * H to the
// regulated output.
double countedRatio(const SearchParams& p, double highOverLow, double high, double low)
{
    if (loadsTheTap(p))
        return p.ratioOffset + high * (1.0 / low + 1.0 / p.tapLoad);
    if (drawsThePin(p))
        return p.ratioOffset + high * (1.0 / low + p.pinCurrent * 1000.0 / p.uout);
    return p.ratioOffset + highOverLow;
}

// Each arm's current in amperes: the chain's, across it Uin or the regulated
// output; past a load, the source's through H + L || Rload and L's share of
// it; with a pin, the reference's through L and the pin's besides through H.
std::pair<double, double> armCurrents(const SearchParams& p, double ratio, double total, double high, double low)
{
    if (loadsTheTap(p)) {
        const double h = p.uin / ((high + par(low, p.tapLoad)) * 1000.0);
        return {h, h * par(low, p.tapLoad) / low};
    }
    if (drawsThePin(p))
        return {p.uout / (low * 1000.0) + p.pinCurrent, p.uout / (low * 1000.0)};
    const double chain = (p.use == DividerUse::Feedback ? p.uout * ratio : p.uin) / (total * 1000.0);
    return {chain, chain};
}

// The current the bounds name: the source's in divider use, the reference's in feedback use.
double current(const SearchParams& p, double ratio, double total, double high, double low)
{
    const auto [h, l] = armCurrents(p, ratio, total, high, low);
    return p.use == DividerUse::Feedback ? l : h;
}

// The largest power in watts any resistor dissipates, as the circuit has it:
// the arm's current through each resistor of a series arm or one alone,
// the arm's voltage across each of a parallel pair.
double largestPower(const SearchParams& p, const Combination& c, const std::array<double, 4>& r, double ratio,
                    double total)
{
    const double high = armOf(c.high, r[0], r[1]);
    const double low = armOf(c.low, r[2], r[3]);
    const auto [highAmperes, lowAmperes] = armCurrents(p, ratio, total, high, low);
    double largest = 0.0;
    for (std::size_t i = 0; i < 4; ++i) {
        const Arm arm = i < 2 ? c.high : c.low;
        if (arm == One && i % 2 == 1)
            continue;
        const double amperes = i < 2 ? highAmperes : lowAmperes;
        const double armOhms = armOf(arm, r[i & 2], r[(i & 2) + 1]) * 1000.0;
        const double power = arm == Par ? (amperes * armOhms) * (amperes * armOhms) / (r[i] * 1000.0)
                                        : amperes * amperes * (r[i] * 1000.0);
        largest = std::max(largest, power);
    }
    return largest;
}

using Lines = std::vector<ReferenceLine>;

bool atLeast(double x, double bound);
bool atMost(double x, double bound);

// Whether the output as the circuit gives it, the tap's voltage or the
// regulated output, holds at every corner of the resistors off by t and
// the source by s; a load and a pin's current keep their values.
template <class Holds>
bool atEveryCorner(const SearchParams& p, const Combination& c, const std::array<double, 4>& r, double t, double s,
                   Holds holds)
{
    for (unsigned corner = 0; corner < 32; ++corner) {
        const auto off = [&](unsigned bit, double tolerance) { return corner >> bit & 1 ? 1 + tolerance : 1 - tolerance; };
        const double high = armOf(c.high, r[0] * off(0, t), r[1] * off(1, t));
        const double low = armOf(c.low, r[2] * off(2, t), r[3] * off(3, t));
        const double tapLow = loadsTheTap(p) ? par(low, p.tapLoad) : low;
        const double pin = drawsThePin(p) ? p.pinCurrent * high * 1000.0 : 0.0;
        if (!holds(p.use == DividerUse::Feedback ? p.uout * off(4, s) * (high + low) / low + pin
                                                  : p.uin * off(4, s) * tapLow / (high + tapLow)))
            return false;
    }
    return true;
}

// Whether the output lies within Out min and Out max, at every corner under the worst-case criterion.
bool outputWithin(const SearchParams& p, const Combination& c, const std::array<double, 4>& r)
{
    const bool corners = p.criterion == Criterion::WorstCase;
    return atEveryCorner(p, c, r, corners ? p.partTolerance : 0.0, corners ? p.sourceTolerance : 0.0,
                         [&](double out) { return atLeast(out, p.outMin) && atMost(out, p.outMax); });
}

// Whether the ratio every corner's output implies, Uin over the tap's
// voltage or the regulated output over the reference, lies in the window.
bool impliedWithin(const SearchParams& p, const Combination& c, const std::array<double, 4>& r, double ratioLow,
                   double ratioHigh)
{
    return atEveryCorner(p, c, r, p.partTolerance, p.sourceTolerance, [&](double out) {
        const double implied = p.use == DividerUse::Feedback ? out / p.uout : p.uin / out;
        return atLeast(implied, ratioLow) && atMost(implied, ratioHigh);
    });
}

// Whether the regulated output rises with the high arm at the corner the
// reference drives least current through the low arm: no output at or
// below the reference is kept.
bool risesWithHighArm(const SearchParams& p, double low)
{
    return !drawsThePin(p) ||
           p.uout * (1 - p.sourceTolerance) / (low * (1 + p.partTolerance) * 1000.0) + p.pinCurrent > 0.0;
}

// A bound holds in decimal: a value within a relative 1e-9 of it is on it.
double upTo(double bound) { return bound * (1 + 1e-9); }
bool atLeast(double x, double bound) { return x >= bound * (1 - 1e-9); }
bool atMost(double x, double bound) { return x * (1 - 1e-9) <= bound; }

bool ok(const SearchParams& p, double value)
{
    return specValClassify(p.specialValues, value) == SpecialValueClass::Ok;
}

// One resistor's loop over the run's values: from the floor of rMin while
// not above rMax and the lines may grow.
template <class Body>
void eachValue(const SearchParams& p, const Lines& lines, std::size_t stopAfter, Body body)
{
    const std::span<const double> values = p.values->values();
    std::size_t i = 0;
    while (i + 1 < values.size() && values[i + 1] <= upTo(p.rMin))
        ++i;
    for (; i < values.size() && values[i] <= upTo(p.rMax) && lines.size() < stopAfter; ++i)
        body(values[i]);
}


// The loops of one arm; a pair keeps first <= second, its second value in
// the outer loop when secondOuter. A fixed arm is its one resistor.
template <class Body>
void eachArm(const SearchParams& p, const Lines& lines, std::size_t stopAfter, Arm arm, bool secondOuter, double fixed,
             Body body)
{
    if (fixed > 0.0)
        return body(fixed, fixed);
    if (arm == One)
        return eachValue(p, lines, stopAfter, [&](double v) { body(v, v); });
    eachValue(p, lines, stopAfter, [&](double outer) {
        eachValue(p, lines, stopAfter, [&](double inner) {
            if ((secondOuter ? inner : outer) <= (secondOuter ? outer : inner))
                body(secondOuter ? inner : outer, secondOuter ? outer : inner);
        });
    });
}

} // namespace

std::vector<ReferenceLine> referenceSearch(const SearchParams& p, std::size_t stopAfter)
{
    Lines lines;
    const double ratioLow = p.ratioLow();
    const double ratioHigh = p.ratioHigh();
    for (std::size_t n = 0; n < 9; ++n) {
        const Combination& c = combinations[n];
        const auto armAllowed = [](const ArmShapes& shapes, double fixed, Arm arm) {
            return fixed > 0.0 ? arm == One : allowed(shapes, arm);
        };
        if (!(armAllowed(p.highShapes, p.highFixed, c.high) && armAllowed(p.lowShapes, p.lowFixed, c.low)))
            continue;
        eachArm(p, lines, stopAfter, c.high, false, p.highFixed, [&](double h1, double h2) {
            // Under one high resistor the low pair loops its second value outside.
            eachArm(p, lines, stopAfter, c.low, c.high == One, p.lowFixed, [&](double l1, double l2) {
                const auto [highOverLow, total] = figures(n, h1, h2, l1, l2);
                const double high = armOf(c.high, h1, h2);
                const double low = armOf(c.low, l1, l2);
                const double ratio = countedRatio(p, highOverLow, high, low);
                const bool onCorners = p.criterion == Criterion::WorstCase &&
                                       (p.partTolerance > 0 || p.sourceTolerance > 0) &&
                                       (loadsTheTap(p) || drawsThePin(p));
                const bool windowed = p.outputWindowed() ? outputWithin(p, c, {h1, h2, l1, l2})
                                      : onCorners        ? impliedWithin(p, c, {h1, h2, l1, l2}, ratioLow, ratioHigh)
                                                         : atLeast(ratio, ratioLow) && atMost(ratio, ratioHigh);
                const double tapLow = loadsTheTap(p) ? par(low, p.tapLoad) : low;
                const double amperes = current(p, ratio, total, high, low);
                if (windowed && risesWithHighArm(p, low) && atLeast(total, p.rSumMin) &&
                    atMost(total, p.rSumMax) && atLeast(high, p.highArm.least) && atMost(high, p.highArm.greatest) &&
                    atLeast(low, p.lowArm.least) && atMost(low, p.lowArm.greatest) &&
                    atMost(par(high, tapLow), p.outputImpedanceMax) &&
                    atMost(largestPower(p, c, {h1, h2, l1, l2}, ratio, total), p.resistorPowerMax) &&
                    atLeast(amperes, p.currentMin) && atMost(amperes, p.currentMax) &&
                    (p.highFixed > 0.0 || (ok(p, h1) && ok(p, h2))) && (p.lowFixed > 0.0 || (ok(p, l1) && ok(p, l2))))
                    lines.push_back({n, {h1, h2, l1, l2}, ((ratio - p.ratio()) / p.ratio()) * 100.0,
                                     rankedDeviation(high, low, p)});
            });
        });
    }
    return lines;
}

} // namespace tarnel::test
