#include "values/value_set.h"

#include "values/decimal_bounds.h"

#include <algorithm>
#include <stdexcept>

namespace tarnel {

ValueSet::ValueSet(std::string name, std::vector<double> values, bool inSeries, std::size_t outsideRange)
    : name_(std::move(name)), values_(std::move(values)), inSeries_(inSeries), outsideRange_(outsideRange)
{
    if (values_.empty() || values_.size() > maxValueCount)
        throw std::invalid_argument("a value set holds 1 to 16384 values");
}

std::size_t ValueSet::endIndex(double bound) const
{
    const auto above =
        std::partition_point(values_.begin(), values_.end(), [bound](double v) { return notAbove(v, bound); });
    return static_cast<std::size_t>(above - values_.begin());
}

std::size_t ValueSet::floorIndex(double start) const
{
    const std::size_t end = endIndex(start);
    return end == 0 ? 0 : end - 1;
}

std::shared_ptr<const ValueSet> seriesValues(std::size_t series)
{
    // Walking a cursor keeps one definition of what a standard value is.
    static const auto made = [] {
        std::array<std::shared_ptr<const ValueSet>, seriesTable.size()> sets;
        for (std::size_t s = 0; s < seriesTable.size(); ++s) {
            std::vector<double> values;
            ValueCursor cursor(1.0, seriesTable[s].mantissas);
            for (; !cursor.finished; cursor.advance(maxStandardValue))
                values.push_back(cursor.value());
            sets[s] = std::make_shared<const ValueSet>(std::string(seriesTable[s].name), std::move(values), true);
        }
        return sets;
    }();
    return made.at(series);
}

} // namespace tarnel
