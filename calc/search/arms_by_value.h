#pragma once

// A table's arms by the values they hold: where a crowd of dividers ties,
// those that repeat a value rank first, and this finds them in a run of
// lows without passing the others.

#include "search/arm_table.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tarnel {

class ArmsByValue {
public:
    explicit ArmsByValue(const ArmTable& table);

    // Calls take(position) once for each position from first up to end,
    // ascending, of an arm that holds value a or b, or one value twice.
    template <class Take>
    void eachSharing(ValueIndex a, ValueIndex b, std::uint32_t first, std::uint32_t end, Take&& take) const
    {
        std::array<std::span<const std::uint32_t>, 3> lists{holding(a), a == b ? std::span<const std::uint32_t>()
                                                                               : holding(b),
                                                             std::span<const std::uint32_t>(doubles_)};
        for (std::span<const std::uint32_t>& list : lists) {
            const auto from = std::lower_bound(list.begin(), list.end(), first);
            list = {from, std::lower_bound(from, list.end(), end)};
        }
        // A merge that takes a position held by more than one list once.
        while (true) {
            std::uint32_t next = end;
            for (const std::span<const std::uint32_t> list : lists)
                if (!list.empty())
                    next = std::min(next, list.front());
            if (next == end)
                return;
            take(next);
            for (std::span<const std::uint32_t>& list : lists)
                if (!list.empty() && list.front() == next)
                    list = list.subspan(1);
        }
    }

private:
    [[nodiscard]] std::span<const std::uint32_t> holding(ValueIndex value) const
    {
        if (std::size_t{value} + 1 >= starts_.size())
            return {};
        return std::span<const std::uint32_t>(positions_).subspan(starts_[value], starts_[value + 1] - starts_[value]);
    }

    std::vector<std::uint32_t> starts_;    // by value, where its positions start in positions_
    std::vector<std::uint32_t> positions_; // ascending for each value
    std::vector<std::uint32_t> doubles_;   // of pairs of one value twice, ascending
};

} // namespace tarnel
