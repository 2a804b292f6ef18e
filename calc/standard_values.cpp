#include "standard_values.h"

#include "value_cursor.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace tarnel {

const std::array<double, standardValueCount>& standardValues()
{
    // Walking a cursor keeps one definition of what a standard value is.
    static const std::array<double, standardValueCount> table = [] {
        std::array<double, standardValueCount> values{};
        ValueCursor cursor(1.0);
        for (double& value : values) {
            value = cursor.value();
            cursor.advance(maxStandardValue);
        }
        return values;
    }();
    return table;
}

namespace {

// Open addressing over the values' bit patterns: the result list maps every
// value of every line back to its index, millions of times, and a binary
// search's unpredictable branches cost far more than one hashed probe.
class ValueIndexTable {
public:
    ValueIndexTable()
    {
        const auto& values = standardValues();
        for (std::size_t i = 0; i < values.size(); ++i) {
            std::size_t slot = slotOf(values[i]);
            while (slots_[slot] != empty)
                slot = (slot + 1) % slotCount;
            slots_[slot] = static_cast<std::uint8_t>(i);
        }
    }

    [[nodiscard]] std::optional<std::size_t> find(double x) const
    {
        const auto& values = standardValues();
        for (std::size_t slot = slotOf(x); slots_[slot] != empty; slot = (slot + 1) % slotCount)
            if (values[slots_[slot]] == x)
                return slots_[slot];
        return std::nullopt;
    }

private:
    static constexpr std::size_t slotCount = 512;
    static constexpr std::uint8_t empty = 0xFF;

    static std::size_t slotOf(double x)
    {
        // +0.0 and -0.0 compare equal but differ in bits; neither is a standard value.
        const auto bits = std::bit_cast<std::uint64_t>(x);
        return static_cast<std::size_t>(((bits ^ (bits >> 29)) * 0x9E3779B97F4A7C15ULL) >> 55);
    }

    std::array<std::uint8_t, slotCount> slots_ = [] {
        std::array<std::uint8_t, slotCount> s{};
        s.fill(empty);
        return s;
    }();
};

} // namespace

std::optional<std::size_t> standardValueIndex(double x)
{
    static const ValueIndexTable table;
    return table.find(x);
}

std::size_t standardFloorIndex(double start)
{
    const auto& values = standardValues();
    const auto above = std::upper_bound(values.begin(), values.end(), start);
    return above == values.begin() ? 0 : static_cast<std::size_t>(above - values.begin()) - 1;
}

} // namespace tarnel
