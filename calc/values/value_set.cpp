#include "values/value_set.h"

#include "values/decimal_bounds.h"
#include "values/request_error.h"
#include "text/quoted_text.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

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
    std::size_t end = endIndex(start);
    while (end > 0 && !searched(end - 1))
        --end;
    return end == 0 ? 0 : end - 1;
}

std::shared_ptr<const ValueSet> ValueSet::withFixedArmValues(const std::shared_ptr<const ValueSet>& set,
                                                              std::span<const double> fixed)
{
    std::vector<double> added;
    for (const double value : fixed)
        if (set->indexOf(value) == set->size() && std::find(added.begin(), added.end(), value) == added.end())
            added.push_back(value);
    if (added.empty())
        return set;
    if (set->size() + added.size() > maxValueCount)
        throw RequestError("holds " + std::to_string(set->size()) + " values, and a fixed arm's value makes more than " +
                           std::to_string(maxValueCount));
    std::vector<double> values = set->values_;
    for (const double value : added)
        values.insert(std::upper_bound(values.begin(), values.end(), value), value);
    auto with = std::make_shared<ValueSet>(set->name_, std::move(values), set->inSeries_, set->outsideRange_);
    for (const double value : added)
        with->fixedOnly_.push_back(static_cast<std::size_t>(
            std::lower_bound(with->values_.begin(), with->values_.end(), value) - with->values_.begin()));
    return with;
}

bool ValueSet::searched(std::size_t index) const
{
    return std::find(fixedOnly_.begin(), fixedOnly_.end(), index) == fixedOnly_.end();
}

std::size_t ValueSet::indexOf(double value) const
{
    return static_cast<std::size_t>(
        std::find_if(values_.begin(), values_.end(), [&](double v) { return sameDecimal(v, value); }) - values_.begin());
}

namespace {

// mantissa times ten to the negative power, read from its decimal text: the
// decades below 1 are no exact doubles, so a product would round twice and
// 0.11 would not be the 0.11 a user types.
double belowKiloOhm(double mantissa, int power)
{
    char text[32];
    char* end = std::to_chars(text, text + sizeof text, mantissa).ptr;
    end = std::to_chars(std::copy_n("e-", 2, end), text + sizeof text, power).ptr;
    double value = 0.0;
    std::from_chars(text, end, value);
    return value;
}

} // namespace

std::shared_ptr<const ValueSet> seriesValues(std::size_t series)
{
    // From 1 up, walking a cursor keeps the one definition of a standard value there.
    static const auto made = [] {
        std::array<std::shared_ptr<const ValueSet>, seriesTable.size()> sets;
        for (std::size_t s = 0; s < seriesTable.size(); ++s) {
            std::vector<double> values;
            for (int power = decadesBelowKiloOhm; power > 0; --power)
                for (const double mantissa : seriesTable[s].mantissas)
                    values.push_back(belowKiloOhm(mantissa, power));
            ValueCursor cursor(1.0, seriesTable[s].mantissas);
            for (; !cursor.finished; cursor.advance(maxStandardValue))
                values.push_back(cursor.value());
            sets[s] = std::make_shared<const ValueSet>(std::string(seriesTable[s].name), std::move(values), true);
        }
        return sets;
    }();
    return made.at(series);
}

std::shared_ptr<const ValueSet> seriesValues(std::string_view name)
{
    if (const std::optional<std::size_t> series = seriesIndex(name))
        return seriesValues(*series);
    std::string known;
    for (const Series& series : seriesTable)
        known.append(known.empty() ? "" : ", ").append(series.name);
    throw RequestError(quoted(name) + " is no series; the series are " + known);
}

} // namespace tarnel
