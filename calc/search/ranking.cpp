#include "search/ranking.h"

#include "search/radix_sort.h"

#include <algorithm>
#include <cmath>

namespace tarnel {

Ranked ranked(const Divider& divider, double deviation)
{
    const std::size_t resistors = resistorsIn(divider.arms().high) + resistorsIn(divider.arms().low);
    return {tiedSize(deviation), divider.packed() | rankKey(resistors, divider.distinctValues()) << Ranked::rankShift};
}

double tieEnd(double deviationPercent)
{
    const double size = tiedSize(deviationPercent);
    // The step's middle in decimal, a few ulps off in binary.
    double end = (size + 0.5) / 1e7;
    while (end > 0.0 && tiedSize(end) > size)
        end = std::nextafter(end, 0.0);
    while (end < HUGE_VAL && tiedSize(std::nextafter(end, HUGE_VAL)) == size)
        end = std::nextafter(end, HUGE_VAL);
    return end;
}

// The key's lowest digit is the rank's second key, the others the bits in
// which the sizes differ.
void sortByRank(std::span<Ranked> items, std::span<Ranked> scratch)
{
    constexpr unsigned digitBits = 11;
    // Below a digit's count of buckets, comparing costs less than counting.
    if (items.size() < std::size_t{1} << digitBits) {
        std::stable_sort(items.begin(), items.end(), ranksBefore);
        return;
    }
    const auto [least, most] = std::minmax_element(items.begin(), items.end(),
                                                   [](const Ranked& a, const Ranked& b) { return sizeBits(a) < sizeBits(b); });
    const std::uint64_t base = sizeBits(*least);
    const auto sizeDigits = static_cast<unsigned>((std::bit_width(sizeBits(*most) - base) + digitBits - 1) / digitBits);
    radixSort<digitBits, Ranked>(items, scratch, sizeDigits + 1, [base](const Ranked& item, unsigned d) {
        return d == 0 ? static_cast<std::size_t>(item.divider >> Ranked::rankShift)
                      : static_cast<std::size_t>((sizeBits(item) - base) >> ((d - 1) * digitBits)) &
                            ((std::size_t{1} << digitBits) - 1);
    });
}

void RankedQueue::push(std::uint64_t rankedDivider)
{
    if ((size_ >> blockBits) == blocks_.size())
        blocks_.push_back(std::make_unique_for_overwrite<Block>());
    (*blocks_[size_ >> blockBits])[size_ & (blockSize - 1)] = rankedDivider;
    ++size_;
}

std::uint64_t RankedQueue::pop()
{
    const std::uint64_t item = (*blocks_[read_ >> blockBits])[read_ & (blockSize - 1)];
    ++read_;
    if (read_ == size_)
        *this = RankedQueue();
    else if ((read_ & (blockSize - 1)) == 0)
        blocks_[(read_ - 1) >> blockBits].reset();
    return item;
}

} // namespace tarnel
