#pragma once

#include "request/pareto_front.h"
#include "search/result_list.h"
#include "search/search_params.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRectF>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <stop_token>
#include <vector>

namespace tarnel {

// The bins of the density image, over every resistance a run may list (1 Ω
// to 100 GΩ, in log10 of kilo-ohms) and every deviation that can be told
// apart from none (1e-10 % to 1e5 %); row 0 holds the exact dividers.
namespace bins {
inline constexpr double xFirst = -3.0;
inline constexpr int xPerDecade = 48;
inline constexpr int columns = 11 * xPerDecade;
inline constexpr double yFirst = -10.0;
inline constexpr int yPerDecade = 24;
inline constexpr int rows = 1 + 15 * yPerDecade;
inline constexpr std::uint32_t noLine = std::numeric_limits<std::uint32_t>::max(); // a bin without a line
} // namespace bins

// A bin's place within count, from a fractional one.
[[nodiscard]] int clamped(double bin, int count);

// A point's colour by its number of resistors, 2 to 4: the palette's
// highlight and two of its hue turned by a third, as light and as strong, so
// they read on the theme's base and apart from one another.
using PlotColours = std::array<QColor, 3>;
[[nodiscard]] PlotColours coloursOf(const QPalette& palette);

// Lines at most that are drawn a point each.
inline constexpr std::size_t plotPointLimit = 20'000;

// What a plot of a run's lines shows, worked out on a thread of its own and
// read only once made.
struct PlotPoint {
    float x;     // log10 of the total in kilo-ohms
    float y;     // log10 of the deviation in percent; NaN for an exact divider
    std::uint32_t line;
    std::uint8_t resistors;
};
struct PlotData {
    std::vector<FrontPoint> front;
    std::vector<PlotPoint> points; // every line, when they are few
    QImage density;                // every line binned, when they are many
    QRectF densityArea;            // the image's extent: x and y in log10
    bool densityExact = false;     // the image's bottom row holds exact dividers
    std::vector<std::uint32_t> binLine; // a line of each of the image's bins, for clicks
    double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1; // the extent of every point, in log10
    bool anyExact = false;
};

// The plot of a run's lines, on every core; none once a stop is asked for.
[[nodiscard]] std::shared_ptr<const PlotData> plotData(const ResultList& list, const SearchParams& params,
                                                       const PlotColours& colours, std::stop_token stop);

} // namespace tarnel
