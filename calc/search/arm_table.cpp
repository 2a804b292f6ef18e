#include "search/arm_table.h"

#include "search/ordered_pipeline.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <stdexcept>

namespace tarnel {

ArmTable::ArmTable(const ValueSet& values, ArmKind kind, ValueRange range, const std::vector<bool>& usable)
    : values_(values), kind_(kind), range_(range), usable_(range.size())
{
    for (std::size_t i = 0; i < range.size(); ++i)
        usable_[i] = usable[range.first + i] ? 1 : 0;
    // Each value's inverse once, rather than twice for every pair it is in.
    if (kind == ArmKind::Parallel) {
        inverses_.resize(range.size());
        for (std::size_t i = 0; i < range.size(); ++i)
            inverses_[i] = 1.0 / values[range.first + i];
    }
    sortByResistance();
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
    const std::size_t smaller = arm.first - range_.first;
    const std::size_t larger = arm.second - range_.first;
    return static_cast<std::uint32_t>(larger * (larger + 1) / 2 + smaller);
}

Arm ArmTable::armOf(std::size_t smaller, std::size_t larger) const
{
    const std::size_t first = range_.first + smaller;
    const std::size_t second = range_.first + larger;
    const double resistance = resistanceOf(smaller, larger);
    const std::size_t n = range_.size();
    const std::size_t loop =
        kind_ == ArmKind::Single ? smaller : smaller * n - smaller * (smaller - 1) / 2 + (larger - smaller);
    return {resistance, static_cast<ValueIndex>(first), static_cast<ValueIndex>(second),
            static_cast<std::uint32_t>(loop)};
}

// Every arm the table holds, in loop order with the smaller value outer;
// the loop index counts on, and the shape is chosen once, not for each arm.
template <class Take>
void ArmTable::eachArm(Take&& take) const
{
    const std::size_t n = range_.size();
    const auto each = [&](auto resistance) {
        std::uint32_t loop = 0;
        for (std::size_t smaller = 0; smaller < n; ++smaller) {
            const std::size_t inners = kind_ == ArmKind::Single ? 1 : n - smaller;
            if (!usable_[smaller]) {
                loop += static_cast<std::uint32_t>(inners);
                continue;
            }
            for (std::size_t larger = smaller; larger < smaller + inners; ++larger, ++loop)
                if (usable_[larger])
                    take(Arm{resistance(smaller, larger), static_cast<ValueIndex>(range_.first + smaller),
                             static_cast<ValueIndex>(range_.first + larger), loop});
        }
    };
    const double* const values = values_.values().data() + range_.first;
    switch (kind_) {
    case ArmKind::Single:
        each([values](std::size_t smaller, std::size_t) { return values[smaller]; });
        break;
    case ArmKind::Series:
        each([values](std::size_t smaller, std::size_t larger) {
            return armResistance(ArmKind::Series, values[smaller], values[larger]);
        });
        break;
    case ArmKind::Parallel:
        each([this](std::size_t smaller, std::size_t larger) {
            return parallelOfInverses(inverses_[smaller], inverses_[larger]);
        });
        break;
    }
}

// Positive doubles order as their bits do, and their bits run about as
// their logarithm, over which the arms spread fairly evenly. So the arms are
// made twice: once to count them into buckets by their top bits, a few arms
// to a bucket, and once to put them there; then each bucket is sorted by
// insertion.
void ArmTable::sortByResistance()
{
    const auto firstUsable = std::find(usable_.begin(), usable_.end(), 1);
    if (firstUsable == usable_.end())
        return;
    const auto firstPlace = static_cast<std::size_t>(firstUsable - usable_.begin());
    const auto lastPlace =
        static_cast<std::size_t>(std::find(usable_.rbegin(), usable_.rend(), 1).base() - 1 - usable_.begin());
    // Every arm shape grows with each of its values.
    const auto bits = [](double resistance) { return std::bit_cast<std::uint64_t>(resistance); };
    const std::uint64_t base = bits(armOf(firstPlace, firstPlace).resistance);
    const std::uint64_t top = bits(armOf(lastPlace, lastPlace).resistance);
    const auto values = static_cast<std::size_t>(std::count(usable_.begin(), usable_.end(), 1));
    const std::size_t count = kind_ == ArmKind::Single ? values : values * (values + 1) / 2;
    const auto bucketBits = static_cast<unsigned>(std::max(4, static_cast<int>(std::bit_width(count)) - 2));
    const auto spread = static_cast<unsigned>(std::bit_width(top - base));
    const unsigned shift = spread > bucketBits ? spread - bucketBits : 0;
    const auto bucketOf = [&](const Arm& arm) { return static_cast<std::size_t>((bits(arm.resistance) - base) >> shift); };

    std::vector<std::uint32_t> starts((std::size_t{1} << bucketBits) + 1);
    eachArm([&](const Arm& arm) { ++starts[bucketOf(arm) + 1]; });
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    arms_.resize(count);
    {
        std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
        eachArm([&](const Arm& arm) { arms_[next[bucketOf(arm)]++] = arm; });
    }
    for (std::size_t bucket = 0; bucket + 1 < starts.size(); ++bucket) {
        const auto first = arms_.begin() + starts[bucket];
        const auto last = arms_.begin() + starts[bucket + 1];
        for (auto it = first; it != last; ++it) {
            const Arm arm = *it;
            auto hole = it;
            for (; hole != first && (hole - 1)->resistance > arm.resistance; --hole)
                *hole = *(hole - 1);
            *hole = arm;
        }
    }
}

ArmTables::ArmTables(std::shared_ptr<const ValueSet> values, ValueRange range, std::vector<bool> usable)
    : values_(std::move(values)), range_(range), usable_(std::move(usable))
{
}

bool ArmTables::holds(const ValueSet& values, ValueRange range, const std::vector<bool>& usable) const
{
    return values_.get() == &values && range_.first == range.first && range_.end == range.end && usable_ == usable;
}

void ArmTables::make(const std::array<bool, 3>& wanted)
{
    std::vector<ArmKind> missing;
    for (const ArmKind kind : {ArmKind::Single, ArmKind::Series, ArmKind::Parallel})
        if (wanted[static_cast<std::size_t>(kind)] && !tables_[static_cast<std::size_t>(kind)])
            missing.push_back(kind);
    // The tables of pairs take about as long each; below this many values
    // another thread costs more than it saves.
    constexpr std::size_t pairsWorthThreads = 300;
    forEachInOrder(
        missing.size(),
        [&](std::size_t i) { return std::make_unique<const ArmTable>(*values_, missing[i], range_, usable_); },
        [&](std::size_t i, std::unique_ptr<const ArmTable> table) {
            tables_[static_cast<std::size_t>(missing[i])] = std::move(table);
            return true;
        },
        {.workers = range_.size() >= pairsWorthThreads ? workerCount() : 1});
}

void ArmTables::fixArms(double highFixed, double lowFixed)
{
    const auto fixedTable = [&](double value) -> std::unique_ptr<const ArmTable> {
        if (value == 0.0)
            return nullptr;
        const std::size_t at = values_->indexOf(value);
        if (at == values_->size())
            throw std::invalid_argument("a fixed arm's value is not among the run's values");
        std::vector<bool> only(values_->size());
        only[at] = true;
        return std::make_unique<const ArmTable>(*values_, ArmKind::Single, ValueRange{at, at + 1}, only);
    };
    fixedHigh_ = fixedTable(highFixed);
    fixedLow_ = fixedTable(lowFixed);
}

ArmTables& ArmTableCache::tables(const std::shared_ptr<const ValueSet>& values, ValueRange range,
                                 const std::vector<bool>& usable)
{
    if (!tables_ || !tables_->holds(*values, range, usable)) {
        // The old tables go before the new ones are made.
        tables_.reset();
        tables_ = std::make_unique<ArmTables>(values, range, usable);
    }
    return *tables_;
}

} // namespace tarnel
