#pragma once

#include "divider.h"
#include "value_set.h"

#include <cstddef>
#include <cstdint>
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

    // How many places the loops have, and the place of an arm among them.
    [[nodiscard]] std::size_t loopCount() const;
    [[nodiscard]] std::uint32_t loopIndex(const Arm& arm, bool largerOuter) const;
    // The arm at a loop index with the smaller value outer, if the table holds it.
    [[nodiscard]] const Arm* atLoopIndex(std::size_t index) const;

    // Calls visit(arm) for each arm in loop order, largerOuter as above,
    // until it returns false; then returns false.
    template <class Visit>
    bool eachInLoopOrder(bool largerOuter, Visit&& visit) const;

    static constexpr std::uint32_t none = UINT32_MAX;

private:
    ArmKind kind_;
    ValueRange range_;
    std::vector<Arm> arms_;
    std::vector<std::uint32_t> positionByLoop_; // smaller value outer; none for an arm left out
};

template <class Visit>
bool ArmTable::eachInLoopOrder(bool largerOuter, Visit&& visit) const
{
    if (!largerOuter || kind_ == ArmKind::Single) {
        for (const std::uint32_t position : positionByLoop_)
            if (position != none && !visit(arms_[position]))
                return false;
        return true;
    }
    const std::size_t n = range_.size();
    for (std::size_t larger = 0; larger < n; ++larger) {
        // The smaller-outer index of (0, larger), then down the column.
        std::size_t index = larger;
        for (std::size_t smaller = 0; smaller <= larger; ++smaller) {
            if (const std::uint32_t position = positionByLoop_[index]; position != none && !visit(arms_[position]))
                return false;
            index += n - smaller - 1;
        }
    }
    return true;
}

} // namespace tarnel
