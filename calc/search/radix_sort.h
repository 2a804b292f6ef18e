#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <numeric>
#include <span>
#include <vector>

namespace tarnel {

// Sorts items stably by a key of digitCount digits of DigitBits bits each,
// the least significant first; digitOf(item, d) gives digit d. The
// histograms of all digits come from one read, and a digit all items share
// costs no pass. scratch must hold at least items.size() items.
template <unsigned DigitBits, class T, class DigitOf>
void radixSort(std::span<T> items, std::span<T> scratch, unsigned digitCount, DigitOf digitOf)
{
    if (items.size() < 2)
        return;
    constexpr std::size_t radix = std::size_t{1} << DigitBits;
    std::vector<std::array<std::size_t, radix>> starts(digitCount);
    for (const T& item : items)
        for (unsigned d = 0; d < digitCount; ++d)
            ++starts[d][digitOf(item, d)];
    // Each pass moves the items between the two spans; they end in items.
    std::span<T> from = items;
    std::span<T> to = scratch.first(items.size());
    for (unsigned d = 0; d < digitCount; ++d) {
        if (std::find(starts[d].begin(), starts[d].end(), items.size()) != starts[d].end())
            continue;
        std::exclusive_scan(starts[d].begin(), starts[d].end(), starts[d].begin(), std::size_t{0});
        for (const T& item : from)
            to[starts[d][digitOf(item, d)]++] = item;
        std::swap(from, to);
    }
    if (from.data() != items.data())
        std::copy(from.begin(), from.end(), items.begin());
}

} // namespace tarnel
