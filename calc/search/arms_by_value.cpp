#include "search/arms_by_value.h"

namespace tarnel {

ArmsByValue::ArmsByValue(const ArmTable& table)
{
    const std::span<const Arm> arms = table.arms();
    std::size_t values = 0;
    for (const Arm& arm : arms)
        values = std::max<std::size_t>(values, std::size_t{arm.second} + 1);
    // Counted, then placed: each value's positions come out ascending.
    starts_.assign(values + 1, 0);
    for (const Arm& arm : arms) {
        ++starts_[arm.first + 1];
        if (arm.second != arm.first)
            ++starts_[arm.second + 1];
    }
    for (std::size_t v = 0; v < values; ++v)
        starts_[v + 1] += starts_[v];
    positions_.resize(starts_.back());
    std::vector<std::uint32_t> next(starts_.begin(), starts_.end() - 1);
    const bool pairs = table.kind() != ArmKind::Single;
    for (std::uint32_t position = 0; position < arms.size(); ++position) {
        const Arm& arm = arms[position];
        positions_[next[arm.first]++] = position;
        if (arm.second != arm.first)
            positions_[next[arm.second]++] = position;
        else if (pairs)
            doubles_.push_back(position);
    }
}

} // namespace tarnel
