#pragma once

#include "search/divider.h"
#include "values/value_set.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace tarnel {

// The values a search's loops run over: places from first up to end in the
// run's values.
struct ValueRange {
    std::size_t first = 0;
    std::size_t end = 0; // one past the last
    [[nodiscard]] std::size_t size() const { return end - first; }
};

// One arm: its resistance with the search's arithmetic, the places of its
// values, the smaller first (one resistor stands in both places), and its
// loop index with the smaller value outer.
struct Arm {
    double resistance;
    ValueIndex first;
    ValueIndex second;
    std::uint32_t loop;
};

// Every arm of one shape over a value range, ascending by resistance, that
// holds no value the special table rejects. Arms of equal resistance may
// stand in any order.
//
// The plain loops visit the arms of a shape in a fixed order: a pair with
// its smaller value in the outer loop, or, for the low arm under one high
// resistor, its larger; an arm's loop index is its place in that order,
// counting the arms left out too.
class ArmTable {
public:
    ArmTable(const ValueSet& values, ArmKind kind, ValueRange range, const std::vector<bool>& usable);

    [[nodiscard]] ArmKind kind() const { return kind_; }
    [[nodiscard]] std::size_t size() const { return arms_.size(); }
    [[nodiscard]] const Arm& operator[](std::size_t position) const { return arms_[position]; }
    [[nodiscard]] std::span<const Arm> arms() const { return arms_; }

    // The arm of two values, by their places in the run's values, the
    // smaller first; to the bit as the table's.
    [[nodiscard]] Arm arm(ValueIndex first, ValueIndex second) const
    {
        return armOf(first - range_.first, second - range_.first);
    }

    // How many places the loops have, and the place of an arm among them.
    [[nodiscard]] std::size_t loopCount() const;
    [[nodiscard]] std::uint32_t loopIndex(const Arm& arm, bool largerOuter) const;

    // Calls take(arm) once for each arm of resistance from least to
    // greatest that holds the value at place a or b in the run's values or,
    // of pairs, one value twice: where a crowd of dividers ties, those that
    // repeat a value rank first, and these are found without passing the
    // others. The arms are made afresh, to the bit as the table's.
    template <class Take>
    void eachHolding(ValueIndex a, ValueIndex b, double least, double greatest, Take&& take) const;

    // Calls visit(arm) for each arm in loop order, largerOuter as above,
    // until it returns false; then returns false. The arms are made afresh,
    // to the bit as the table's.
    template <class Visit>
    bool eachInLoopOrder(bool largerOuter, Visit&& visit) const;

private:
    // The arm of two places within the range, the smaller first, and its resistance alone.
    [[nodiscard]] Arm armOf(std::size_t smaller, std::size_t larger) const;
    [[nodiscard]] double resistanceOf(std::size_t smaller, std::size_t larger) const
    {
        return kind_ == ArmKind::Parallel ? parallelOfInverses(inverses_[smaller], inverses_[larger])
                                          : armResistance(kind_, values_[range_.first + smaller],
                                                          values_[range_.first + larger]);
    }
    template <class Take>
    void eachArm(Take&& take) const;
    void sortByResistance();

    const ValueSet& values_;
    ArmKind kind_;
    ValueRange range_;
    std::vector<char> usable_;     // by place within the range
    std::vector<double> inverses_; // of the range's values, for parallel arms
    std::vector<Arm> arms_;
};

// The tables of each shape over one value range, with the values the special
// table admits, each made when a search first needs it.
class ArmTables {
public:
    // usable tells by place in values which values the special table admits.
    ArmTables(std::shared_ptr<const ValueSet> values, ValueRange range, std::vector<bool> usable);

    [[nodiscard]] bool holds(const ValueSet& values, ValueRange range, const std::vector<bool>& usable) const;
    // Makes the tables of the shapes wanted, by ArmKind, not made yet.
    void make(const std::array<bool, 3>& wanted);
    // An arm fixed to one resistor takes a table of that one, whatever the
    // range and the special values; a value of 0 leaves the arm searched.
    // For the run about to search, as the tables the cache keeps are not.
    void fixArms(double highFixed, double lowFixed);
    // The table of a shape as the high arm, or the low, takes it.
    [[nodiscard]] const ArmTable& high(ArmKind kind) const { return fixedHigh_ ? *fixedHigh_ : shared(kind); }
    [[nodiscard]] const ArmTable& low(ArmKind kind) const { return fixedLow_ ? *fixedLow_ : shared(kind); }

private:
    [[nodiscard]] const ArmTable& shared(ArmKind kind) const { return *tables_[static_cast<std::size_t>(kind)]; }

    std::shared_ptr<const ValueSet> values_;
    ValueRange range_;
    std::vector<bool> usable_;
    std::array<std::unique_ptr<const ArmTable>, 3> tables_;
    std::unique_ptr<const ArmTable> fixedHigh_;
    std::unique_ptr<const ArmTable> fixedLow_;
};

// The tables of the last search, kept for the next: over a fine series,
// making them is most of a search, and pressing Start again over the same
// values, range and special values needs them again. For one search at a time.
class ArmTableCache {
public:
    [[nodiscard]] ArmTables& tables(const std::shared_ptr<const ValueSet>& values, ValueRange range,
                                    const std::vector<bool>& usable);

private:
    std::unique_ptr<ArmTables> tables_;
};

template <class Take>
void ArmTable::eachHolding(ValueIndex a, ValueIndex b, double least, double greatest, Take&& take) const
{
    const std::size_t n = range_.size();
    // A value beyond the range, as a fixed arm's may be, has no place: n.
    const auto placeOf = [&](ValueIndex value) {
        return value >= range_.first && value < range_.end ? value - range_.first : n;
    };
    const std::size_t placeA = placeOf(a);
    const std::size_t placeB = placeOf(b);
    // Along the places the values ascend, so an arm of one value and
    // another, or of another twice, grows with the other's place.
    const auto eachAlong = [&](auto placesAt, auto held) {
        const auto resistanceAt = [&](std::size_t other) {
            const auto [smaller, larger] = placesAt(other);
            return resistanceOf(smaller, larger);
        };
        // A search without branches: which way each step goes cannot be
        // foretold (best 200 over the integers to 2,000: 0.99 s of CPU time became 0.67 s).
        std::size_t first = 0;
        for (std::size_t count = n; count > 1; count -= count / 2)
            first = resistanceAt(first + count / 2 - 1) < least ? first + count / 2 : first;
        if (n > 0 && resistanceAt(first) < least)
            ++first;
        for (std::size_t other = first; other < n && resistanceAt(other) <= greatest; ++other)
            if (usable_[other] && !held(other)) {
                const auto [smaller, larger] = placesAt(other);
                take(armOf(smaller, larger));
            }
    };
    for (const std::size_t place : {placeA, placeB}) {
        if (place == n || !usable_[place] || (place == placeB && placeB == placeA))
            continue;
        if (kind_ == ArmKind::Single) {
            const Arm arm = armOf(place, place);
            if (arm.resistance >= least && arm.resistance <= greatest)
                take(arm);
            continue;
        }
        // The arm of both values was taken with the first.
        eachAlong([&](std::size_t other) { return std::pair(std::min(place, other), std::max(place, other)); },
                  [&](std::size_t other) { return place == placeB && other == placeA; });
    }
    if (kind_ != ArmKind::Single)
        eachAlong([&](std::size_t other) { return std::pair(other, other); },
                  [&](std::size_t other) { return other == placeA || other == placeB; });
}

template <class Visit>
bool ArmTable::eachInLoopOrder(bool largerOuter, Visit&& visit) const
{
    const std::size_t n = range_.size();
    const bool pairs = kind_ != ArmKind::Single;
    for (std::size_t outer = 0; outer < n; ++outer) {
        if (!usable_[outer])
            continue;
        if (!pairs) {
            if (!visit(armOf(outer, outer)))
                return false;
            continue;
        }
        // The inner value runs up from the outer one, or, larger outer, up to it.
        const std::size_t from = largerOuter ? 0 : outer;
        const std::size_t to = largerOuter ? outer + 1 : n;
        for (std::size_t inner = from; inner < to; ++inner)
            if (usable_[inner] && !visit(largerOuter ? armOf(inner, outer) : armOf(outer, inner)))
                return false;
    }
    return true;
}

} // namespace tarnel
