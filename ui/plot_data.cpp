#include "plot_data.h"

#include "request/divider_details.h"
#include "search/divider.h"
#include "search/ordered_pipeline.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

namespace tarnel {

int clamped(double bin, int count)
{
    return static_cast<int>(std::clamp(std::floor(bin), 0.0, static_cast<double>(count - 1)));
}

PlotColours coloursOf(const QPalette& palette)
{
    const QColor highlight = palette.color(QPalette::Highlight).toHsv();
    const int saturation = std::max(highlight.hsvSaturation(), 160);
    const auto turned = [&](int degrees) {
        return QColor::fromHsv((std::max(highlight.hsvHue(), 0) + degrees) % 360, saturation, highlight.value());
    };
    return {turned(0), turned(120), turned(240)};
}

namespace {

// Lines a block of the thread's work.
constexpr std::size_t blockLines = std::size_t{1} << 14;

// log10 of a positive double to within 0.003 of a decade, a tenth of a
// bin, for binning millions of points: its binary exponent and a quadratic
// of its mantissa, exact at the powers of two, far quicker than std::log10.
double roughLog10(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto exponent = static_cast<double>(static_cast<int>((bits >> 52) & 0x7ff) - 1023);
    const double t = std::bit_cast<double>((bits & 0x000f'ffff'ffff'ffffULL) | 0x3ff0'0000'0000'0000ULL) - 1.0;
    return (exponent + t * (1.3465 - 0.3465 * t)) * 0.30102999566398120;
}

// Colours each bin by the number of resistors most of its lines have,
// more opaque the more lines it holds.
QImage densityImage(const std::vector<std::array<std::uint32_t, 3>>& counts, int colLow, int colHigh, int rowLow,
                    int rowHigh, const PlotColours& colours)
{
    std::uint32_t most = 1;
    for (const auto& bin : counts)
        most = std::max(most, bin[0] + bin[1] + bin[2]);
    QImage image(colHigh - colLow + 1, rowHigh - rowLow + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const double scale = 1.0 / std::log1p(static_cast<double>(most));
    for (int row = rowLow; row <= rowHigh; ++row)
        for (int col = colLow; col <= colHigh; ++col) {
            const auto& bin = counts[static_cast<std::size_t>(row * bins::columns + col)];
            const std::uint32_t lines = bin[0] + bin[1] + bin[2];
            if (lines == 0)
                continue;
            const auto kind = static_cast<std::size_t>(std::max_element(bin.begin(), bin.end()) - bin.begin());
            QColor colour = colours[kind];
            colour.setAlphaF(static_cast<float>(0.3 + 0.7 * std::log1p(static_cast<double>(lines)) * scale));
            image.setPixelColor(col - colLow, rowHigh - row, colour);
        }
    return image;
}

} // namespace

std::shared_ptr<const PlotData> plotData(const ResultList& list, const SearchParams& params, const PlotColours& colours,
                                         std::stop_token stop)
{
    auto data = std::make_shared<PlotData>();
    const FrontSieve sieve = frontSieve(list, params);
    const ShownDeviation shownDeviation(params);
    const Circuit circuit(params);
    std::vector<FrontPoint> fronts; // of the blocks
    const std::size_t lines = list.size();
    const bool each = lines <= plotPointLimit;
    std::vector<std::array<std::uint32_t, 3>> counts(each ? 0 : static_cast<std::size_t>(bins::columns * bins::rows));
    if (!each)
        data->binLine.assign(counts.size(), bins::noLine);
    double xLow = std::numeric_limits<double>::infinity(), xHigh = -xLow, yLow = xLow, yHigh = -xLow;
    // A block's points when they are few, else each line's bin and number of
    // resistors, with the extent of its points and its front.
    struct Block {
        std::vector<FrontPoint> front;
        std::vector<PlotPoint> points;
        std::vector<std::uint32_t> bins; // bin * 4 + resistors - 2, a line each; bins::noLine for a message
        double xLow = std::numeric_limits<double>::infinity(), xHigh = -xLow, yLow = xLow, yHigh = -xLow;
        bool anyExact = false;
    };
    const auto work = [&](std::size_t block) {
        Block b;
        const std::size_t first = block * blockLines;
        const std::size_t end = std::min(lines, first + blockLines);
        (each ? b.points.reserve(end - first) : b.bins.reserve(end - first));
        // Each line weighed once, for its point and for the front.
        std::vector<FrontPoint> weighedLines;
        weighedLines.reserve(end - first);
        for (std::size_t line = first; line < end; ++line) {
            const std::optional<Divider> divider = list.dividerAt(line);
            if (!divider) {
                if (!each)
                    b.bins.push_back(bins::noLine);
                continue;
            }
            const DividerFigures figures = dividerFigures(*divider, circuit, list.values());
            const double deviation = shownDeviation(figures);
            weighedLines.push_back({deviation, figures.total, line});
            const auto resistors = static_cast<std::uint8_t>(resistorsIn(divider->arms().high) +
                                                             resistorsIn(divider->arms().low));
            const double x = each ? std::log10(figures.total) : roughLog10(figures.total);
            const bool exact = deviation == 0.0;
            const double y = exact ? 0.0 : each ? std::log10(deviation) : roughLog10(deviation);
            b.xLow = std::min(b.xLow, x);
            b.xHigh = std::max(b.xHigh, x);
            b.anyExact = b.anyExact || exact;
            if (!exact) {
                b.yLow = std::min(b.yLow, y);
                b.yHigh = std::max(b.yHigh, y);
            }
            if (each) {
                b.points.push_back({static_cast<float>(x),
                                    exact ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(y),
                                    static_cast<std::uint32_t>(line), resistors});
                continue;
            }
            const int col = clamped((x - bins::xFirst) * bins::xPerDecade, bins::columns);
            const int row = exact ? 0 : 1 + clamped((y - bins::yFirst) * bins::yPerDecade, bins::rows - 1);
            b.bins.push_back(static_cast<std::uint32_t>(row * bins::columns + col) * 4u + (resistors - 2u));
        }
        b.front = blockFront(weighedLines, sieve);
        return b;
    };
    const auto deliver = [&](std::size_t block, Block b) {
        xLow = std::min(xLow, b.xLow);
        xHigh = std::max(xHigh, b.xHigh);
        yLow = std::min(yLow, b.yLow);
        yHigh = std::max(yHigh, b.yHigh);
        data->anyExact = data->anyExact || b.anyExact;
        fronts.insert(fronts.end(), b.front.begin(), b.front.end());
        data->points.insert(data->points.end(), b.points.begin(), b.points.end());
        for (std::size_t i = 0; i < b.bins.size(); ++i) {
            if (b.bins[i] == bins::noLine)
                continue;
            const std::size_t bin = b.bins[i] / 4u;
            ++counts[bin][b.bins[i] % 4u];
            if (data->binLine[bin] == bins::noLine)
                data->binLine[bin] = static_cast<std::uint32_t>(block * blockLines + i);
        }
        return true;
    };
    if (stop.stop_requested() || !forEachInOrder((lines + blockLines - 1) / blockLines, work, deliver, {}, stop))
        return nullptr;
    data->front = frontOfBlocks(std::move(fronts));
    if (!(xLow <= xHigh))
        xLow = xHigh = 0.0; // no divider
    if (!(yLow <= yHigh))
        yLow = yHigh = 0.0; // none but exact ones
    data->xLow = xLow - 0.05 - (xLow == xHigh ? 0.5 : 0.0);
    data->xHigh = xHigh + 0.05 + (xLow == xHigh ? 0.5 : 0.0);
    data->yLow = yLow - 0.1 - (yLow == yHigh ? 0.5 : 0.0);
    data->yHigh = yHigh + 0.1 + (yLow == yHigh ? 0.5 : 0.0);
    if (!each) {
        // The image spans the bins of the points, exact ones in its bottom row.
        const int colLow = clamped((xLow - bins::xFirst) * bins::xPerDecade, bins::columns);
        const int colHigh = clamped((xHigh - bins::xFirst) * bins::xPerDecade, bins::columns);
        const int rowLow = 1 + clamped((yLow - bins::yFirst) * bins::yPerDecade, bins::rows - 1);
        const int rowHigh = 1 + clamped((yHigh - bins::yFirst) * bins::yPerDecade, bins::rows - 1);
        data->density = densityImage(counts, colLow, colHigh, rowLow, rowHigh, colours);
        data->densityArea = QRectF(bins::xFirst + colLow / double(bins::xPerDecade), bins::yFirst + (rowLow - 1) / double(bins::yPerDecade),
                                   (colHigh - colLow + 1) / double(bins::xPerDecade),
                                   (rowHigh - rowLow + 1) / double(bins::yPerDecade));
        if (data->anyExact) {
            data->densityExact = true;
            QImage exactRow = densityImage(counts, colLow, colHigh, 0, 0, colours);
            data->density = data->density.copy(0, 0, data->density.width(), data->density.height() + 1);
            for (int col = 0; col < exactRow.width(); ++col)
                data->density.setPixelColor(col, data->density.height() - 1, exactRow.pixelColor(col, 0));
        }
    }
    return data;
}

} // namespace tarnel
