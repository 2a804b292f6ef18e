#pragma once

// One combination's sweep: for each high arm, the runs of low arms that meet
// the bounds, found without testing every pair; and the counts of all.

// The search lists exactly the lines of the plain nested loops over the
// run's values, in their order, but does far less work. Every IEEE operation
// is monotone in each operand, so for a fixed high arm the divider ratio
// falls as the low arm's resistance rises, and whether it meets a bound (in
// decimal) changes at most once along the way: the low arms that can meet the
// ratio window form one run of the low arms sorted by resistance. So do those
// that meet the total bounds, but for a few at a bound, where the bracketing
// of the total may differ from the sum of the arms in the last bit; those are
// tested one by one. As the high arm grows, the ends of the ratio's run move
// up the lows and those of the total's down, so one sweep over both tables
// finds every run. A run counts its dividers without visiting them, so the
// search counts every divider however few it lists.

#include "search/guarantee.h"
#include "search/search_params.h"
#include "search/arm_table.h"
#include "search/dissipation.h"
#include "search/divider.h"
#include "search/radix_sort.h"
#include "values/decimal_bounds.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <stop_token>
#include <vector>

namespace tarnel {

inline constexpr double noBand = std::numeric_limits<double>::infinity();

// Below this many arms passed, a second thread costs more than it saves.
inline constexpr std::size_t sweepsWorthThreads = 100'000;

// The values every loop runs over: from the floor of rMin up to rMax.
[[nodiscard]] ValueRange searchedValues(const SearchParams& params);

// By place in the run's values, which a searched arm takes: those the
// special values admit, but none only a fixed arm takes; an arm holding any
// other can never give a line.
[[nodiscard]] std::vector<bool> usableValues(const SearchParams& params, ValueRange range);

// Which arm tables, by ArmKind, the enabled combinations need.
[[nodiscard]] std::array<bool, 3> wantedShapes(const SearchParams& params);

// Past every loop index of an arm table.
inline constexpr std::uint32_t allLoops = std::numeric_limits<std::uint32_t>::max();

// Positions in a table of low arms.
struct Run {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
    [[nodiscard]] std::uint32_t size() const { return end - first; }
};

// The arms of a table within bounds: a run, the table being sorted by resistance.
[[nodiscard]] inline Run armsWithin(const ArmTable& table, const ArmBounds& bounds)
{
    const std::span<const Arm> arms = table.arms();
    const auto end = [&](auto below) {
        return static_cast<std::uint32_t>(std::partition_point(arms.begin(), arms.end(), below) - arms.begin());
    };
    return {end([&](const Arm& a) { return !notBelow(a.resistance, bounds.least); }),
            end([&](const Arm& a) { return notAbove(a.resistance, bounds.greatest); })};
}

// The dividers of one combination within a deviation, high arm by high arm
// in loop order; a high arm without any is left out, and so is any beyond
// the loop index the table was asked for.
struct RunTable {
    struct High {
        std::uint32_t loop;     // the high arm's loop index
        std::uint32_t position; // in the table of highs
        Run sure;               // the lows that surely meet every bound
        std::uint32_t edgesEnd; // its edges end here in edges, the previous high's ending where they start
    };
    std::vector<High> highs;
    std::vector<std::uint32_t> edges; // lows at a total bound that were tested and meet them

    [[nodiscard]] std::uint32_t edgesBegin(std::size_t high) const { return high == 0 ? 0 : highs[high - 1].edgesEnd; }
    [[nodiscard]] std::uint64_t countOf(std::size_t high) const
    {
        return highs[high].sure.size() + highs[high].edgesEnd - edgesBegin(high);
    }
};

// The first position from `from` up to end at which holds fails, holds being
// true and then false along them. Galloped: a sweep started past the first
// high moves its ends across most of the lows at once, in a few tests (as
// found over the integers to 2,000, 0.30 s of CPU time became 0.12 s).
template <class Holds>
[[nodiscard]] std::uint32_t pastHolding(std::uint32_t from, std::uint32_t end, Holds&& holds)
{
    if (from >= end || !holds(from))
        return from;
    std::uint32_t step = 1;
    std::uint32_t failing = end;
    while (step < end - from) {
        if (!holds(from + step)) {
            failing = from + step;
            break;
        }
        from += step;
        step *= 2;
    }
    // from holds, failing does not or is the end.
    for (++from; from < failing;) {
        const std::uint32_t middle = from + (failing - from) / 2;
        if (holds(middle))
            from = middle + 1;
        else
            failing = middle;
    }
    return from;
}

// One end of a run along the lows sorted by resistance, where the ratio of a
// high arm over them falls: the first low whose ratio no longer counts as
// above a bound. As the high arm grows, it moves up. Where the ratio is
// surely off the bound, by far more than decimal bounds and rounding can
// move it, one product decides instead of a division; else the exact test.
class RatioEdge {
public:
    // byProduct: whether the bound is on the ratio offset + H (1/L + g),
    // g the conductance across the low arm, which products can bound while
    // 1 + g L stays positive.
    RatioEdge(double bound, double offset, double conductance, bool byProduct)
        : surelyBelow_((bound * (1 - 2e-9) - offset) * (1 - 1e-10)),
          surelyAbove_((bound * (1 + 2e-9) - offset) * (1 + 1e-10)), conductance_(conductance),
          // Too close to the offset, the ratio's part above it is too small to bound so.
          decidesByProduct_(byProduct && conductance >= 0.0 && bound * (1 - 2e-9) - offset > 1e-3 * bound)
    {
    }

    // Moves past every low whose ratio with high counts as above, as
    // countsAbove(position) tells.
    template <class CountsAbove>
    void advance(const Arm& high, const ArmTable& lows, CountsAbove countsAbove)
    {
        position = pastHolding(position, static_cast<std::uint32_t>(lows.size()), [&](std::uint32_t k) {
            const double low = lows[k].resistance;
            // H (1 + g L) against the bound's part times L: H over L || 1/g
            // without a division; without a load, H alone, as quick as ever.
            const double scaledHigh = conductance_ == 0.0 ? high.resistance : high.resistance * (1 + conductance_ * low);
            if (decidesByProduct_ && scaledHigh >= surelyAbove_ * low)
                return true;
            return !(decidesByProduct_ && scaledHigh <= surelyBelow_ * low) && countsAbove(k);
        });
    }

    // An end never lies before its run's start.
    void catchUp(const RatioEdge& start) { position = std::max(position, start.position); }

    std::uint32_t position = 0;

private:
    double surelyBelow_; // a high up to this times the low surely gives a ratio below the bound
    double surelyAbove_; // from this times the low, surely above
    double conductance_;
    bool decidesByProduct_;
};

// The dividers of one combination.
class CombinationSearch {
public:
    CombinationSearch(const ArmCombination& combination, const SearchParams& params, const ArmTables& tables)
        : combination_(combination), params_(params), highs_(tables.high(combination.high)),
          lows_(tables.low(combination.low)),
          // With one high resistor the low pair loops its larger value outside.
          lowsLargerOuter_(combination.high == ArmKind::Single),
          lowArm_{params.lowArm.least, std::min(params.lowArm.greatest, lowArmsRising(params))},
          lowsWithinBounds_(armsWithin(lows_, lowArm_)),
          judgesExtremes_(judgesExtremes(params)), windowsOnExtremes_(windowsOnExtremes(params)),
          powerBounded_(params.resistorPowerMax != noUpperBound),
          // Where the bounds do not fold into others, they are tested divider by divider.
          currentBounded_(!foldsCurrent(params) && (params.currentMin > 0.0 || params.currentMax != noUpperBound)),
          target_(params.ratio()), window_(keptWindow(params)), circuit_(params), corners_(extremeCorners(params))
    {
    }

    [[nodiscard]] const ArmCombination& combination() const { return combination_; }

    // What a sweep costs, in arms passed.
    [[nodiscard]] std::size_t work() const { return highs_.size() + lows_.size(); }

    [[nodiscard]] Divider dividerOf(const Arm& high, const Arm& low) const
    {
        return {combination_.number, {high.first, high.second, low.first, low.second}};
    }
    // What the divider is ranked by.
    [[nodiscard]] double deviation(const Arm& high, const Arm& low) const
    {
        if (!judgesExtremes_)
            return deviationPercent(ratio(high, low), target_);
        return worstDeviationOf(implied(high, low), target_);
    }
    // The same of a divider of this combination.
    [[nodiscard]] double deviation(const Divider& divider) const
    {
        return deviation(highs_.arm(divider.values[0], divider.values[1]), lows_.arm(divider.values[2], divider.values[3]));
    }

    // How many dividers meet the bounds and deviate by at most maxDeviation.
    [[nodiscard]] std::uint64_t count(double maxDeviation) const
    {
        std::uint64_t found = 0;
        sweep(maxDeviation, [&](const Arm&, Run sure, std::span<const std::uint32_t> edges) {
            found += sure.size() + edges.size();
        });
        return found;
    }

    // The runs of the highs of loop index below loopEnd.
    [[nodiscard]] RunTable runs(double maxDeviation, std::uint32_t loopEnd = allLoops) const
    {
        std::uint64_t count = 0;
        return *collectRuns(maxDeviation, loopEnd, std::numeric_limits<std::size_t>::max(), count);
    }

    // The count within maxDeviation in one sweep, and the runs with it where
    // they hold no more than maxHighs highs: a combination of few dividers
    // is swept once, one of many is only counted, its table left to be made
    // for the highs a list takes.
    struct Counted {
        std::uint64_t count = 0;
        std::optional<RunTable> runs;
    };
    [[nodiscard]] Counted countWithSmallRuns(double maxDeviation, std::size_t maxHighs) const
    {
        Counted counted;
        counted.runs = collectRuns(maxDeviation, allLoops, maxHighs, counted.count);
        return counted;
    }

    // A loop index of the highs below which lie at least needed of the
    // dividers within maxDeviation, or allLoops: a list that takes only the
    // first of many dividers needs the runs of those highs only, not a table
    // of millions. Counted in buckets of loop indices, so it may take in a
    // few highs more.
    [[nodiscard]] std::uint32_t loopEndFor(double maxDeviation, std::uint64_t needed) const
    {
        constexpr unsigned bucketBits = 10;
        std::vector<std::uint64_t> buckets((highs_.loopCount() >> bucketBits) + 1);
        sweep(maxDeviation, [&](const Arm& high, Run sure, std::span<const std::uint32_t> edges) {
            buckets[high.loop >> bucketBits] += sure.size() + edges.size();
        });
        std::uint64_t below = 0;
        for (std::size_t bucket = 0; bucket < buckets.size(); ++bucket) {
            below += buckets[bucket];
            if (below >= needed)
                return static_cast<std::uint32_t>((bucket + 1) << bucketBits);
        }
        return allLoops;
    }

    [[nodiscard]] std::size_t highCount() const { return highs_.size(); }

    // Hands the dividers within maxDeviation of the highs from position
    // firstHigh up to endHigh in the table of highs to take(high, low), in
    // no set order: for a ranking that knows the order found by foundOrder.
    template <class Take>
    void visitUnordered(double maxDeviation, std::size_t firstHigh, std::size_t endHigh, Take&& take) const
    {
        sweep(
            maxDeviation,
            [&](const Arm& high, Run sure, std::span<const std::uint32_t> edges) {
                for (std::uint32_t position = sure.first; position < sure.end; ++position)
                    take(high, lows_[position]);
                for (const std::uint32_t position : edges)
                    take(high, lows_[position]);
            },
            firstHigh, endHigh);
    }

    // Calls found(high, sure, within, edges) for every high arm from
    // position firstHigh up to endHigh with a divider within outer, as the
    // sweep does, within the part of the sure run whose dividers lie within
    // inner, a smaller deviation, or none where inner is negative: a crowd
    // tied at outer's size is told from the dividers before it without
    // passing them one by one.
    template <class Found>
    void sweepWithin(double outer, double inner, std::size_t firstHigh, std::size_t endHigh, Found&& found) const
    {
        sweep(
            outer,
            [&](const Arm& high, Run sure, std::span<const std::uint32_t> edges) {
                Run within{sure.first, sure.first};
                if (inner >= 0) {
                    // Along the lows the ratio falls, and so do both ends' deviations.
                    const auto endOf = [&](std::uint32_t from, auto holds) {
                        std::uint32_t count = sure.end - from;
                        while (count > 0) {
                            const std::uint32_t step = count / 2;
                            if (holds(lows_[from + step])) {
                                from += step + 1;
                                count -= step + 1;
                            } else {
                                count = step;
                            }
                        }
                        return from;
                    };
                    within.first = endOf(sure.first, [&](const Arm& low) { return deviationAbove(high, low) > inner; });
                    within.end =
                        endOf(within.first, [&](const Arm& low) { return deviationBelow(high, low) >= -inner; });
                }
                found(high, sure, within, edges);
            },
            firstHigh, endHigh);
    }

    [[nodiscard]] const ArmTable& highs() const { return highs_; }
    [[nodiscard]] const ArmTable& lows() const { return lows_; }

    // Where a divider of this combination comes in the order found among
    // the combination's: by its high arm's loop index, then its low arm's.
    [[nodiscard]] std::uint64_t foundOrder(const Divider& divider) const
    {
        const Arm high = highs_.arm(divider.values[0], divider.values[1]);
        const Arm low = lows_.arm(divider.values[2], divider.values[3]);
        return std::uint64_t{high.loop} << 32 | lows_.loopIndex(low, lowsLargerOuter_);
    }

    // Hands the dividers of the table's highs from firstHigh to endHigh to
    // take in loop order, as their two arms; false once take refuses one.
    // scratch is one per thread.
    template <class Take>
    bool visit(const RunTable& runs, std::size_t firstHigh, std::size_t endHigh, double maxDeviation,
               std::vector<std::uint64_t>& scratch, Take&& take) const
    {
        for (std::size_t h = firstHigh; h < endHigh; ++h) {
            const RunTable::High& entry = runs.highs[h];
            const Arm& high = highs_[entry.position];
            // A wide run is cheaper to test in loop order than to sort back into it.
            if (runs.countOf(h) * 16 > lows_.size()) {
                const bool going = lows_.eachInLoopOrder(lowsLargerOuter_, [&](const Arm& low) {
                    return !(meetsBounds(high, low) && withinBand(deviation(high, low), maxDeviation)) ||
                           take(high, low);
                });
                if (!going)
                    return false;
                continue;
            }
            scratch.clear();
            const auto keyOf = [&](std::uint32_t position) {
                return std::uint64_t{lows_.loopIndex(lows_[position], lowsLargerOuter_)} << 32 | position;
            };
            for (std::uint32_t position = entry.sure.first; position < entry.sure.end; ++position)
                scratch.push_back(keyOf(position));
            for (std::uint32_t e = runs.edgesBegin(h); e < entry.edgesEnd; ++e)
                scratch.push_back(keyOf(runs.edges[e]));
            std::sort(scratch.begin(), scratch.end());
            for (const std::uint64_t key : scratch) {
                if (!take(high, lows_[static_cast<std::uint32_t>(key)]))
                    return false;
            }
        }
        return true;
    }

private:
    // The runs of the highs of loop index below loopEnd, counting every
    // divider within maxDeviation into count; none once more than maxHighs
    // highs have runs.
    [[nodiscard]] std::optional<RunTable> collectRuns(double maxDeviation, std::uint32_t loopEnd, std::size_t maxHighs,
                                                      std::uint64_t& count) const
    {
        // Found ascending by resistance, then put in loop order.
        struct Found {
            RunTable::High high;
            std::uint32_t edgesBegin;
        };
        std::vector<Found> found;
        std::vector<std::uint32_t> edges;
        bool whole = true;
        sweep(maxDeviation, [&](const Arm& high, Run sure, std::span<const std::uint32_t> highEdges) {
            count += sure.size() + highEdges.size();
            if (high.loop >= loopEnd || !whole)
                return;
            if (found.size() == maxHighs) {
                whole = false;
                found = {};
                edges = {};
                return;
            }
            const auto begin = static_cast<std::uint32_t>(edges.size());
            edges.insert(edges.end(), highEdges.begin(), highEdges.end());
            found.push_back({{high.loop, static_cast<std::uint32_t>(&high - &highs_[0]), sure,
                              static_cast<std::uint32_t>(edges.size())},
                             begin});
        });
        if (!whole)
            return std::nullopt;
        constexpr unsigned digitBits = 11;
        std::vector<Found> scratch(found.size());
        radixSort<digitBits, Found>(found, scratch,
                                    (std::bit_width(highs_.loopCount()) + digitBits - 1) / digitBits,
                                    [](const Found& f, unsigned d) {
                                        return static_cast<std::size_t>(f.high.loop >> (d * digitBits)) &
                                               ((std::size_t{1} << digitBits) - 1);
                                    });
        RunTable table;
        table.highs.reserve(found.size());
        table.edges.reserve(edges.size());
        for (const Found& f : found) {
            table.edges.insert(table.edges.end(), edges.begin() + f.edgesBegin, edges.begin() + f.high.edgesEnd);
            table.highs.push_back(f.high);
            table.highs.back().edgesEnd = static_cast<std::uint32_t>(table.edges.size());
        }
        return table;
    }

    [[nodiscard]] double ratio(const Arm& high, const Arm& low) const
    {
        return circuit_.ratio(high.resistance, low.resistance);
    }
    // impliedRatios with what the run fixes worked out once.
    [[nodiscard]] RatioSpan implied(const Arm& high, const Arm& low) const
    {
        return circuit_.loaded() ? loadedImplied(high, low) : impliedRatiosOfCounted(ratio(high, low), params_);
    }
    // Out of line, so that the sweeps' tests without a load stay small
    // enough to be inlined (inlined, they made every search a third slower).
    [[nodiscard, gnu::noinline]] RatioSpan loadedImplied(const Arm& high, const Arm& low) const
    {
        return loadedImpliedRatios(circuit_, corners_, high.resistance, low.resistance);
    }
    // The band's ends by the deviations of the extremes; where extremes are
    // not judged, those are the divider's own.
    [[nodiscard]] double deviationAbove(const Arm& high, const Arm& low) const
    {
        return deviationPercent(judgesExtremes_ ? implied(high, low).high : ratio(high, low), target_);
    }
    [[nodiscard]] double deviationBelow(const Arm& high, const Arm& low) const
    {
        return deviationPercent(judgesExtremes_ ? implied(high, low).low : ratio(high, low), target_);
    }
    // What the window's ends bound: the counted ratio, or the extremes
    // themselves where windows lie on them.
    [[nodiscard]] RatioSpan windowed(const Arm& high, const Arm& low) const
    {
        if (windowsOnExtremes_)
            return loadedImplied(high, low);
        const double r = ratio(high, low);
        return {r, r};
    }

    [[nodiscard]] static bool withinBand(double deviation, double maxDeviation)
    {
        return maxDeviation == noBand || std::fabs(deviation) <= maxDeviation;
    }

    [[nodiscard]] static bool withinArm(const Arm& arm, const ArmBounds& bounds)
    {
        return notBelow(arm.resistance, bounds.least) && notAbove(arm.resistance, bounds.greatest);
    }
    [[nodiscard]] bool outputImpedanceMeetsBound(const Arm& high, const Arm& low) const
    {
        return notAbove(circuit_.outputImpedance(high.resistance, low.resistance), params_.outputImpedanceMax);
    }

    // The current the bounds name, from the arms' sum where it is only
    // bounded here: past the load the high arm carries more than L's share.
    [[nodiscard]] double boundedCurrent(const Arm& high, const Arm& low) const
    {
        return circuit_.current(circuit_.armCurrents(high.resistance, low.resistance, ratio(high, low),
                                                     high.resistance + low.resistance));
    }
    // The part of a run of lows whose dividers with high meet the current's
    // bounds: along the lows the current falls. Out of line, as loadedImplied.
    [[nodiscard, gnu::noinline]] Run lowsWithinCurrent(const Arm& high, Run run) const
    {
        const std::span<const Arm> lows = lows_.arms();
        const auto at = [&](auto holds) {
            return static_cast<std::uint32_t>(
                std::partition_point(lows.begin() + run.first, lows.begin() + run.end, holds) - lows.begin());
        };
        run.end = at([&](const Arm& low) { return notBelow(boundedCurrent(high, low), params_.currentMin); });
        run.first = at([&](const Arm& low) { return !notAbove(boundedCurrent(high, low), params_.currentMax); });
        return run;
    }
    [[nodiscard]] bool currentMeetsBounds(const Arm& high, const Arm& low) const
    {
        if (!currentBounded_)
            return true;
        const double current = boundedCurrent(high, low);
        return notBelow(current, params_.currentMin) && notAbove(current, params_.currentMax);
    }

    [[nodiscard]] double total(const Arm& high, const Arm& low) const
    {
        const ValueSet& values = *params_.values;
        return totalResistance(combination_, high.resistance, values[low.first], values[low.second], low.resistance);
    }
    [[nodiscard]] bool totalMeetsBounds(const Arm& high, const Arm& low) const
    {
        const double t = total(high, low);
        return notBelow(t, params_.rSumMin) && notAbove(t, params_.rSumMax);
    }

    // Every resistor's power, as the details give it, within the bound.
    [[nodiscard]] bool powerMeetsBound(const Arm& high, const Arm& low) const
    {
        if (params_.resistorPowerMax == noUpperBound)
            return true;
        const ValueSet& values = *params_.values;
        const ArmCurrents currents =
            circuit_.armCurrents(high.resistance, low.resistance, ratio(high, low), total(high, low));
        const std::array<double, 4> powers =
            resistorPowers(combination_, {values[high.first], values[high.second], values[low.first], values[low.second]},
                           high.resistance, low.resistance, currents);
        return notAbove(*std::max_element(powers.begin(), powers.end()), params_.resistorPowerMax);
    }

    // The first of the lows from first to end past which, as far as scale
    // times the larger arm's power tells, every divider with high meets the
    // power bound. The largest power in a resistor lies between half of its
    // arm's and all of it (all of it in a one-resistor arm), and the larger
    // arm's falls as L grows in either use: the chain current falls with L,
    // and so does I^2 L once L is past H; past a load, L's power falls
    // wherever it exceeds H's (L is then past H || Rload), and so does
    // (Vref / L + I)^2 H beside Vref^2 / L.
    [[nodiscard]] std::uint32_t powerRunStart(const Arm& high, std::uint32_t first, std::uint32_t end, double scale) const
    {
        const std::span<const Arm> lows = lows_.arms();
        return static_cast<std::uint32_t>(
            std::partition_point(lows.begin() + first, lows.begin() + end, [&](const Arm& low) {
                const ArmCurrents i = circuit_.armCurrents(high.resistance, low.resistance, ratio(high, low),
                                                           high.resistance + low.resistance);
                return std::max(i.high * i.high * high.resistance, i.low * i.low * low.resistance) * 1000.0 * scale >
                       params_.resistorPowerMax;
            }) -
            lows.begin());
    }

    // The full test of one divider.
    [[nodiscard]] bool meetsBounds(const Arm& high, const Arm& low) const
    {
        const RatioSpan kept = windowed(high, low);
        return notBelow(kept.low, window_.low) && notAbove(kept.high, window_.high) && totalMeetsBounds(high, low) && withinArm(high, params_.highArm) &&
               withinArm(low, lowArm_) &&
               outputImpedanceMeetsBound(high, low) && currentMeetsBounds(high, low) && powerMeetsBound(high, low);
    }

    // Calls found(high, sure, edges) for every high arm with a divider within
    // maxDeviation, from position firstHigh up to endHigh in the table of
    // highs, ascending by resistance: sure the run of lows that surely
    // meet every bound, edges the lows at a total bound that were tested one
    // by one and meet them.
    template <class Found>
    void sweep(double maxDeviation, Found&& found, std::size_t firstHigh = 0, std::size_t endHigh = allLoops) const
    {
        const auto lowCount = static_cast<std::uint32_t>(lows_.size());
        // Along the lows the ratio falls: the window and the band each start
        // where the ratio is no longer above them and end where it falls below.
        const double offset = params_.ratioOffset;
        // Windows on the extremes bound no counted ratio.
        const bool byProduct = !windowsOnExtremes_;
        const double g = circuit_.conductance();
        RatioEdge windowFirst(window_.high, offset, g, byProduct);
        RatioEdge windowEnd(window_.low, offset, g, byProduct);
        const bool band = maxDeviation != noBand;
        const RatioSpan bandWindow = band ? ratioWindow(maxDeviation / 100, params_) : RatioSpan{};
        RatioEdge bandFirst(bandWindow.high, offset, g, byProduct);
        RatioEdge bandEnd(bandWindow.low, offset, g, byProduct);
        // Along the lows the sum of the arms rises. It stands for the total;
        // it may differ from the bracketed total in the last bits, far inside
        // this margin. Found from the top only when a high has a run, since
        // they move down as the highs grow.
        constexpr double margin = 1e-12;
        std::uint32_t mayFirst = lowCount;
        std::uint32_t sureFirst = lowCount;
        std::uint32_t sureEnd = lowCount;
        std::uint32_t mayEnd = lowCount;
        // Along the lows H || L rises, and as the highs grow so does it: the
        // lows within its bound end ever lower.
        std::uint32_t impedanceEnd = lowCount;
        // Moves a position down past every low below it for which holds.
        const auto downPast = [](std::uint32_t position, auto holds) {
            return position - pastHolding(0, position, [&](std::uint32_t d) { return holds(position - 1 - d); });
        };
        std::vector<std::uint32_t> edges;
        // Started past the first high, the edges catch up from the ends.
        for (std::size_t h = firstHigh; h < std::min(endHigh, highs_.size()); ++h) {
            const Arm& high = highs_[h];
            if (!withinArm(high, params_.highArm))
                continue;
            windowFirst.advance(high, lows_,
                                [&](std::uint32_t k) { return !notAbove(windowed(high, lows_[k]).high, window_.high); });
            windowEnd.catchUp(windowFirst);
            windowEnd.advance(high, lows_,
                              [&](std::uint32_t k) { return notBelow(windowed(high, lows_[k]).low, window_.low); });
            std::uint32_t first = windowFirst.position;
            std::uint32_t end = windowEnd.position;
            if (band) {
                bandFirst.advance(high, lows_,
                                  [&](std::uint32_t k) { return deviationAbove(high, lows_[k]) > maxDeviation; });
                bandEnd.catchUp(bandFirst);
                bandEnd.advance(high, lows_,
                                [&](std::uint32_t k) { return deviationBelow(high, lows_[k]) >= -maxDeviation; });
                first = std::max(first, bandFirst.position);
                end = std::min(end, bandEnd.position);
            }
            first = std::max(first, lowsWithinBounds_.first);
            end = std::min(end, lowsWithinBounds_.end);
            if (params_.outputImpedanceMax != noUpperBound) {
                impedanceEnd = downPast(impedanceEnd,
                                        [&](std::uint32_t k) { return !outputImpedanceMeetsBound(high, lows_[k]); });
                end = std::min(end, impedanceEnd);
            }
            if (currentBounded_ && first < end) {
                const Run within = lowsWithinCurrent(high, {first, end});
                first = within.first;
                end = within.end;
            }
            // Past the lows that surely dissipate too much, those that may are
            // tested one by one, and from powerSure on all meet the bound.
            std::uint32_t powerSure = first;
            if (powerBounded_ && first < end) {
                const double margin = 1e-6; // far above rounding, far below a typed bound's digits
                const double least = combination_.high == ArmKind::Single && combination_.low == ArmKind::Single ? 1.0 : 0.5;
                first = powerRunStart(high, first, end, least * (1 - margin));
                powerSure = powerRunStart(high, first, end, 1 + margin);
            }
            if (first >= end)
                continue;

            const auto sumAt = [&](std::uint32_t k) { return high.resistance + lows_[k].resistance; };
            mayFirst = downPast(mayFirst, [&](std::uint32_t k) { return notBelow(sumAt(k) * (1 + margin), params_.rSumMin); });
            sureFirst = downPast(sureFirst, [&](std::uint32_t k) { return notBelow(sumAt(k) * (1 - margin), params_.rSumMin); });
            sureEnd = downPast(sureEnd, [&](std::uint32_t k) { return !notAbove(sumAt(k) * (1 + margin), params_.rSumMax); });
            mayEnd = downPast(mayEnd, [&](std::uint32_t k) { return !notAbove(sumAt(k) * (1 - margin), params_.rSumMax); });
            // Within the ratio's run: lower edge, sure run, upper edge.
            const auto within = [&](std::uint32_t k) { return std::clamp(k, first, end); };
            const std::uint32_t sure = within(sureFirst);
            const std::uint32_t sureStop = std::max(sure, within(sureEnd));
            edges.clear();
            for (const Run edge : {Run{within(mayFirst), sure}, Run{sureStop, std::max(sureStop, within(mayEnd))}})
                for (std::uint32_t k = edge.first; k < edge.end; ++k)
                    if (totalMeetsBounds(high, lows_[k]) && powerMeetsBound(high, lows_[k]))
                        edges.push_back(k);
            const std::uint32_t sureOfPower = std::clamp(powerSure, sure, sureStop);
            for (std::uint32_t k = sure; k < sureOfPower; ++k)
                if (powerMeetsBound(high, lows_[k]))
                    edges.push_back(k);
            if (sureStop > sureOfPower || !edges.empty())
                found(high, Run{sureOfPower, sureStop}, std::span<const std::uint32_t>(edges));
        }
    }

    const ArmCombination& combination_;
    const SearchParams& params_;
    const ArmTable& highs_;
    const ArmTable& lows_;
    bool lowsLargerOuter_;
    ArmBounds lowArm_; // the low arm's bounds and where the output stops rising with the high arm
    Run lowsWithinBounds_;
    // Of the run, worked out once rather than for every divider.
    bool judgesExtremes_;
    bool windowsOnExtremes_;
    bool powerBounded_;
    bool currentBounded_;
    double target_;
    RatioSpan window_;
    Circuit circuit_;
    ExtremeCorners corners_;
};

// Every enabled combination, in the order a search runs them.
[[nodiscard]] std::vector<CombinationSearch> combinationSearches(const SearchParams& params, const ArmTables& tables);

// What sweeping them all costs, in arms passed.
[[nodiscard]] std::size_t workOf(const std::vector<CombinationSearch>& searches);

// The count of each combination within maxDeviation, on every core, the
// largest first. Counts stay 0 where a stop came first.
[[nodiscard]] std::vector<std::uint64_t> countsOf(const std::vector<CombinationSearch>& searches, double maxDeviation,
                                                  std::stop_token stop = {});
// Their sum.
[[nodiscard]] std::uint64_t countAll(const std::vector<CombinationSearch>& searches, double maxDeviation,
                                     std::stop_token stop = {});

} // namespace tarnel
