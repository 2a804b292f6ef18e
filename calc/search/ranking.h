#pragma once

// Dividers ranked: by the size of their deviation, then fewer resistors,
// then fewer distinct values, then the order found. Sizes that agree within
// a billionth of the target, as the bounds' decimals do, tie.

#include "search/divider.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace tarnel {

// How many billionths of the target a deviation in percent is off, to the
// nearest: dividers exact in decimal differ only in binary residues, far
// below one, and deviations a hair from half a billionth are rare, so ties
// fall within one step and no tie straddles two.
[[nodiscard]] inline double tiedSize(double deviationPercent) { return std::round(std::fabs(deviationPercent) * 1e7); }

// The largest deviation of the same tied size as deviationPercent: a bound
// that takes in a tie whole.
[[nodiscard]] double tieEnd(double deviationPercent);

// A divider and the tied size of its deviation, ranked by the size, then
// fewer resistors, then fewer distinct values, then the order found.
struct Ranked {
    double size;
    std::uint64_t divider; // packed, the resistors and distinct values in the top four bits

    static constexpr unsigned rankShift = 60;
    static constexpr std::uint64_t dividerMask = (std::uint64_t{1} << rankShift) - 1;
};

// The rank's second and third keys in one: fewer resistors, then fewer
// distinct values, first.
[[nodiscard]] constexpr std::uint64_t rankKey(std::size_t resistors, std::size_t distinct)
{
    return (resistors - 1) * 4 + distinct - 1;
}

[[nodiscard]] Ranked ranked(const Divider& divider, double deviation);

// Non-negative doubles order as their bits do.
[[nodiscard]] inline std::uint64_t sizeBits(const Ranked& item) { return std::bit_cast<std::uint64_t>(item.size); }

[[nodiscard]] inline bool ranksBefore(const Ranked& a, const Ranked& b)
{
    const std::uint64_t sa = sizeBits(a);
    const std::uint64_t sb = sizeBits(b);
    return sa != sb ? sa < sb : a.divider >> Ranked::rankShift < b.divider >> Ranked::rankShift;
}

// A stable sort by rank; scratch holds at least as many items.
void sortByRank(std::span<Ranked> items, std::span<Ranked> scratch);

// Ranked dividers without their deviations, in blocks of 64 KiB as the
// result list's, read once in the order put: each block is freed once read,
// so that what is read next takes up the memory they give back.
class RankedQueue {
public:
    void push(std::uint64_t rankedDivider);
    [[nodiscard]] std::size_t size() const { return size_ - read_; }
    [[nodiscard]] std::uint64_t pop();

private:
    static constexpr std::size_t blockBits = 13;
    static constexpr std::size_t blockSize = std::size_t{1} << blockBits;
    using Block = std::array<std::uint64_t, blockSize>;

    std::vector<std::unique_ptr<Block>> blocks_;
    std::size_t size_ = 0;
    std::size_t read_ = 0;
};

} // namespace tarnel
