#pragma once

#include "text/range_text.h"
#include "values/value_cursor.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

// The mantissas of the IEC 60063 series, each the double nearest to its
// decimal notation; E24's are e24Mantissas.
inline constexpr std::array<double, 3> e3Mantissas{1.0, 2.2, 4.7};
inline constexpr std::array<double, 6> e6Mantissas{1.0, 1.5, 2.2, 3.3, 4.7, 6.8};
inline constexpr std::array<double, 12> e12Mantissas{1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2};
inline constexpr std::array<double, 48> e48Mantissas{
    1.00, 1.05, 1.10, 1.15, 1.21, 1.27, 1.33, 1.40, 1.47, 1.54, 1.62, 1.69, 1.78, 1.87, 1.96, 2.05, 2.15, 2.26,
    2.37, 2.49, 2.61, 2.74, 2.87, 3.01, 3.16, 3.32, 3.48, 3.65, 3.83, 4.02, 4.22, 4.42, 4.64, 4.87, 5.11, 5.36,
    5.62, 5.90, 6.19, 6.49, 6.81, 7.15, 7.50, 7.87, 8.25, 8.66, 9.09, 9.53};
inline constexpr std::array<double, 96> e96Mantissas{
    1.00, 1.02, 1.05, 1.07, 1.10, 1.13, 1.15, 1.18, 1.21, 1.24, 1.27, 1.30, 1.33, 1.37, 1.40, 1.43, 1.47, 1.50,
    1.54, 1.58, 1.62, 1.65, 1.69, 1.74, 1.78, 1.82, 1.87, 1.91, 1.96, 2.00, 2.05, 2.10, 2.15, 2.21, 2.26, 2.32,
    2.37, 2.43, 2.49, 2.55, 2.61, 2.67, 2.74, 2.80, 2.87, 2.94, 3.01, 3.09, 3.16, 3.24, 3.32, 3.40, 3.48, 3.57,
    3.65, 3.74, 3.83, 3.92, 4.02, 4.12, 4.22, 4.32, 4.42, 4.53, 4.64, 4.75, 4.87, 4.99, 5.11, 5.23, 5.36, 5.49,
    5.62, 5.76, 5.90, 6.04, 6.19, 6.34, 6.49, 6.65, 6.81, 6.98, 7.15, 7.32, 7.50, 7.68, 7.87, 8.06, 8.25, 8.45,
    8.66, 8.87, 9.09, 9.31, 9.53, 9.76};
inline constexpr std::array<double, 192> e192Mantissas{
    1.00, 1.01, 1.02, 1.04, 1.05, 1.06, 1.07, 1.09, 1.10, 1.11, 1.13, 1.14, 1.15, 1.17, 1.18, 1.20, 1.21, 1.23,
    1.24, 1.26, 1.27, 1.29, 1.30, 1.32, 1.33, 1.35, 1.37, 1.38, 1.40, 1.42, 1.43, 1.45, 1.47, 1.49, 1.50, 1.52,
    1.54, 1.56, 1.58, 1.60, 1.62, 1.64, 1.65, 1.67, 1.69, 1.72, 1.74, 1.76, 1.78, 1.80, 1.82, 1.84, 1.87, 1.89,
    1.91, 1.93, 1.96, 1.98, 2.00, 2.03, 2.05, 2.08, 2.10, 2.13, 2.15, 2.18, 2.21, 2.23, 2.26, 2.29, 2.32, 2.34,
    2.37, 2.40, 2.43, 2.46, 2.49, 2.52, 2.55, 2.58, 2.61, 2.64, 2.67, 2.71, 2.74, 2.77, 2.80, 2.84, 2.87, 2.91,
    2.94, 2.98, 3.01, 3.05, 3.09, 3.12, 3.16, 3.20, 3.24, 3.28, 3.32, 3.36, 3.40, 3.44, 3.48, 3.52, 3.57, 3.61,
    3.65, 3.70, 3.74, 3.79, 3.83, 3.88, 3.92, 3.97, 4.02, 4.07, 4.12, 4.17, 4.22, 4.27, 4.32, 4.37, 4.42, 4.48,
    4.53, 4.59, 4.64, 4.70, 4.75, 4.81, 4.87, 4.93, 4.99, 5.05, 5.11, 5.17, 5.23, 5.30, 5.36, 5.42, 5.49, 5.56,
    5.62, 5.69, 5.76, 5.83, 5.90, 5.97, 6.04, 6.12, 6.19, 6.26, 6.34, 6.42, 6.49, 6.57, 6.65, 6.73, 6.81, 6.90,
    6.98, 7.06, 7.15, 7.23, 7.32, 7.41, 7.50, 7.59, 7.68, 7.77, 7.87, 7.96, 8.06, 8.16, 8.25, 8.35, 8.45, 8.56,
    8.66, 8.76, 8.87, 8.98, 9.09, 9.20, 9.31, 9.42, 9.53, 9.65, 9.76, 9.88};

struct Series {
    std::string_view name;
    std::span<const double> mantissas;
};

// The series a search can use, E24 among them.
inline constexpr std::array<Series, 7> seriesTable{{
    {"E3", e3Mantissas},
    {"E6", e6Mantissas},
    {"E12", e12Mantissas},
    {"E24", e24Mantissas},
    {"E48", e48Mantissas},
    {"E96", e96Mantissas},
    {"E192", e192Mantissas},
}};

// The place of the series of that name in seriesTable, capitals or not
// ("e96" is E96); none for a name of no series.
[[nodiscard]] constexpr std::optional<std::size_t> seriesIndex(std::string_view name)
{
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < seriesTable.size(); ++i)
        if (std::ranges::equal(seriesTable[i].name, name, {}, {}, upper))
            return i;
    return std::nullopt;
}

inline constexpr std::size_t e24SeriesIndex = *seriesIndex("E24");

// The resistor values a search tries, ascending and each but once: a series
// over ten decades from minResistance, or a user's own stock. A divider names its values by
// their places here.
class ValueSet {
public:
    // inSeries: the values are those of a series, so a message says "no E24
    // value"; otherwise they come from the user's file of that name, which
    // named outsideRange more that lie outside the fields' range.
    ValueSet(std::string name, std::vector<double> values, bool inSeries, std::size_t outsideRange = 0);

    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] bool isSeries() const { return inSeries_; }
    [[nodiscard]] std::size_t outsideRange() const { return outsideRange_; }
    [[nodiscard]] std::span<const double> values() const { return values_; }
    [[nodiscard]] std::size_t size() const { return values_.size(); }
    [[nodiscard]] double operator[](std::size_t index) const { return values_[index]; }

    // Where the values a search tries start: the largest searched value not
    // above start in decimal (the floor of 1.55 is 1.5, of 110 the standard
    // 110.00000000000001), or the first when all are above it.
    [[nodiscard]] std::size_t floorIndex(double start) const;
    // One past the last value not above bound in decimal.
    [[nodiscard]] std::size_t endIndex(double bound) const;

    // The same values with those of fixed arms added where none is the same
    // in decimal: added, they are taken by a fixed arm only, and a searched
    // arm passes them by.
    [[nodiscard]] static std::shared_ptr<const ValueSet> withFixedArmValues(const std::shared_ptr<const ValueSet>& set,
                                                                         std::span<const double> fixed);
    // Whether a searched arm takes the value at index: any but those added for a fixed arm.
    [[nodiscard]] bool searched(std::size_t index) const;
    // Where the value the same in decimal stands; size() for none.
    [[nodiscard]] std::size_t indexOf(double value) const;

private:
    std::string name_;
    std::vector<double> values_;
    bool inSeries_;
    std::size_t outsideRange_;
    std::vector<std::size_t> fixedOnly_; // where values only a fixed arm takes stand
};

// The smallest resistance a search takes: 1 Ω, in kilo-ohms like every value.
inline constexpr double minResistance = 0.001;
// 1 Ω to 9.1 GΩ in kilo-ohms: every series' ten decades, and what a stock file may hold.
inline constexpr FieldRange resistanceRange{minResistance, maxStandardValue};
inline constexpr int decadesBelowKiloOhm = 3;

// The values of a series of seriesTable from minResistance up to
// maxStandardValue: from 1 up, each as a ValueCursor makes it; below 1, each
// the double nearest its decimal notation, as typed. Made once and shared.
[[nodiscard]] std::shared_ptr<const ValueSet> seriesValues(std::size_t series);
// The same by the series' name, capitals or not; throws RequestError naming
// the series there are for a name of none.
[[nodiscard]] std::shared_ptr<const ValueSet> seriesValues(std::string_view name);
[[nodiscard]] inline std::shared_ptr<const ValueSet> e24Values() { return seriesValues(e24SeriesIndex); }

// At most this many values, so that a divider's four fit its 56 bits.
inline constexpr std::size_t maxValueCount = 16384;

} // namespace tarnel
