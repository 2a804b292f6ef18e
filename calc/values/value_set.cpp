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
    const std::size_t end = endIndex(start);
    return end == 0 ? 0 : end - 1;
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
