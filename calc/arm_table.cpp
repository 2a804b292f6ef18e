#include "arm_table.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace tarnel {

namespace {

// Loop indices of a pair of places within the range, smaller value first.
std::uint32_t smallerOuterIndex(std::size_t smaller, std::size_t larger, std::size_t n)
{
    return static_cast<std::uint32_t>(smaller * n - smaller * (smaller - 1) / 2 + (larger - smaller));
}

std::uint32_t largerOuterIndex(std::size_t smaller, std::size_t larger)
{
    return static_cast<std::uint32_t>(larger * (larger + 1) / 2 + smaller);
}

// Positive doubles order as their bits do, and their bits run about as
// their logarithm, over which the arms spread fairly evenly: one pass puts
// them into as many buckets by their top bits as there are arms, and each
// bucket, a few arms, is sorted alone.
void sortByResistance(std::vector<Arm>& arms)
{
    if (arms.size() < 2)
        return;
    const auto bits = [](const Arm& arm) { return std::bit_cast<std::uint64_t>(arm.resistance); };
    const auto [least, most] = std::minmax_element(
        arms.begin(), arms.end(), [](const Arm& a, const Arm& b) { return a.resistance < b.resistance; });
    const std::uint64_t base = bits(*least);
    const auto bucketBits = static_cast<unsigned>(std::bit_width(arms.size()));
    const auto spread = static_cast<unsigned>(std::bit_width(bits(*most) - base));
    const unsigned shift = spread > bucketBits ? spread - bucketBits : 0;
    std::vector<std::uint32_t> starts((std::size_t{1} << bucketBits) + 1);
    for (const Arm& arm : arms)
        ++starts[((bits(arm) - base) >> shift) + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<Arm> sorted(arms.size());
    std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
    for (const Arm& arm : arms)
        sorted[next[(bits(arm) - base) >> shift]++] = arm;
    for (std::size_t bucket = 0; bucket + 1 < starts.size(); ++bucket)
        std::sort(sorted.begin() + starts[bucket], sorted.begin() + starts[bucket + 1],
                  [](const Arm& a, const Arm& b) { return a.resistance < b.resistance; });
    arms = std::move(sorted);
}

} // namespace

ArmTable::ArmTable(const ValueSet& values, ArmKind kind, ValueRange range, const std::vector<bool>& usable)
    : kind_(kind), range_(range)
{
    positionByLoop_.assign(loopCount(), none);
    const std::size_t n = range.size();
    for (std::size_t smaller = 0; smaller < n; ++smaller) {
        const std::size_t first = range.first + smaller;
        if (!usable[first])
            continue;
        for (std::size_t larger = smaller; larger < n; ++larger) {
            const std::size_t second = range.first + larger;
            if (usable[second])
                arms_.push_back({armResistance(kind, values[first], values[second]), static_cast<ValueIndex>(first),
                                 static_cast<ValueIndex>(second),
                                 kind == ArmKind::Single ? static_cast<std::uint32_t>(smaller)
                                                         : smallerOuterIndex(smaller, larger, n)});
            if (kind == ArmKind::Single)
                break;
        }
    }
    sortByResistance(arms_);
    for (std::size_t position = 0; position < arms_.size(); ++position)
        positionByLoop_[arms_[position].loop] = static_cast<std::uint32_t>(position);
}

std::size_t ArmTable::loopCount() const
{
    const std::size_t n = range_.size();
    return kind_ == ArmKind::Single ? n : n * (n + 1) / 2;
}

std::uint32_t ArmTable::loopIndex(const Arm& arm, bool largerOuter) const
{
    if (!largerOuter || kind_ == ArmKind::Single)
        return arm.loop;
    return largerOuterIndex(arm.first - range_.first, arm.second - range_.first);
}

const Arm* ArmTable::atLoopIndex(std::size_t index) const
{
    const std::uint32_t position = positionByLoop_[index];
    return position == none ? nullptr : &arms_[position];
}

} // namespace tarnel
