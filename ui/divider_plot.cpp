#include "divider_plot.h"

#include "control_adapters.h"
#include "error_box.h"
#include "search/freed_memory.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tarnel {

DividerPlot::DividerPlot(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

DividerPlot::~DividerPlot()
{
    clear();
}

QSize DividerPlot::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {24 * metrics.averageCharWidth(), 16 * metrics.lineSpacing()};
}

QSize DividerPlot::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    return {20 * metrics.averageCharWidth(), 12 * metrics.lineSpacing()};
}

void DividerPlot::clear()
{
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
    ++generation_;
    data_.reset();
    list_ = nullptr;
    marked_.reset();
    update();
}

void DividerPlot::plot(const ResultList& list, const SearchParams& params)
{
    // The line chosen stays marked: it is of this list.
    const std::optional<std::size_t> marked = marked_;
    clear();
    marked_ = marked;
    list_ = &list;
    params_ = params;
    const std::uint64_t generation = generation_;
    const PlotColours colours = coloursOf(palette());
    worker_ = std::jthread([this, &list, params, colours, generation](std::stop_token stop) {
        std::shared_ptr<const PlotData> data;
        try {
            data = plotData(list, params, colours, stop);
        } catch (...) {
            return; // out of memory: the plot stays empty, the list is whole
        }
        // The blocks were freed on the pipeline's threads, into arenas of their own.
        releaseFreedMemory();
        if (data != nullptr)
            QMetaObject::invokeMethod(
                this, [this, data, generation] {
                    if (generation == generation_)
                        take(data);
                },
                Qt::QueuedConnection);
    });
}

void DividerPlot::take(std::shared_ptr<const PlotData> data)
{
    data_ = std::move(data);
    view_ = fitted(*data_);
    update();
    emit plotted();
}

std::size_t DividerPlot::frontSize() const
{
    return data_ ? data_->front.size() : 0;
}

void DividerPlot::markLine(std::optional<std::size_t> line)
{
    marked_ = line;
    update();
}

QRectF DividerPlot::plotArea() const
{
    const QFontMetricsF metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("0.0001 %")) + metrics.averageCharWidth();
    return QRectF(left, 2.25 * metrics.lineSpacing(), width() - left - 2 * metrics.averageCharWidth(),
                  height() - 4 * metrics.lineSpacing());
}

DividerPlot::Frame DividerPlot::frame() const
{
    const QRectF area = plotArea();
    const double line = QFontMetricsF(font()).lineSpacing();
    // Exact dividers lie on a floor line under the others.
    return {area.left(), area.width(), area.bottom() - line / 2, area.bottom() - 1.5 * line, area.top() + line / 2};
}

QPointF DividerPlot::at(double x, double y) const
{
    const Frame f = frame();
    const double px = f.left + (x - view_.xLow) / (view_.xHigh - view_.xLow) * f.width;
    if (std::isnan(y))
        return {px, f.floor};
    return {px, f.bottom - (y - view_.yLow) / (view_.yHigh - view_.yLow) * (f.bottom - f.top)};
}

DividerPlot::Range DividerPlot::fitted(const PlotData& data)
{
    return {data.xLow, data.xHigh, data.yLow, data.yHigh};
}

QRectF DividerPlot::visibleRange() const
{
    if (!data_)
        return {};
    return {view_.xLow, view_.yLow, view_.xHigh - view_.xLow, view_.yHigh - view_.yLow};
}

std::optional<QPointF> DividerPlot::pointOf(std::size_t line) const
{
    if (!data_ || list_ == nullptr || line >= list_->size() || list_->isMessage(line))
        return std::nullopt;
    const FrontPoint p = frontPoint(*list_, line, params_);
    return at(std::log10(p.total), p.deviation == 0.0 ? std::nan("") : std::log10(p.deviation));
}

std::optional<std::size_t> DividerPlot::lineNear(QPointF position) const
{
    if (!data_)
        return std::nullopt;
    const double reach = QFontMetricsF(font()).lineSpacing() / 2;
    std::optional<std::size_t> nearest;
    double best = reach * reach;
    const auto consider = [&](QPointF point, std::size_t line) {
        const QPointF d = point - position;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= best) {
            best = distance;
            nearest = line;
        }
    };
    for (const PlotPoint& p : data_->points)
        consider(at(p.x, p.y), p.line);
    if (!data_->density.isNull()) {
        // The bins around the position, each at its centre.
        const QRectF& area = data_->densityArea;
        const QPointF low = at(area.left(), area.top());
        const QPointF high = at(area.right(), area.bottom());
        const double binWidth = (high.x() - low.x()) / (area.width() * bins::xPerDecade);
        const double binHeight = (low.y() - high.y()) / (area.height() * bins::yPerDecade);
        const int colFrom = clamped((area.left() - bins::xFirst) * bins::xPerDecade, bins::columns);
        const int rowFrom = 1 + clamped((area.top() - bins::yFirst) * bins::yPerDecade, bins::rows - 1);
        const int spanCols = static_cast<int>(std::ceil(reach / std::max(binWidth, 1e-9))) + 1;
        const int spanRows = static_cast<int>(std::ceil(reach / std::max(binHeight, 1e-9))) + 1;
        const int col = colFrom + static_cast<int>(std::floor((position.x() - low.x()) / binWidth));
        const int row = rowFrom + static_cast<int>(std::floor((low.y() - position.y()) / binHeight));
        for (int c = std::max(0, col - spanCols); c <= std::min(bins::columns - 1, col + spanCols); ++c) {
            const double x = bins::xFirst + (c + 0.5) / bins::xPerDecade;
            for (int r = std::max(1, row - spanRows); r <= std::min(bins::rows - 1, row + spanRows); ++r)
                if (const std::uint32_t line = data_->binLine[static_cast<std::size_t>(r * bins::columns + c)]; line != bins::noLine)
                    consider(at(x, bins::yFirst + (r - 0.5) / bins::yPerDecade), line);
            if (const std::uint32_t line = data_->binLine[static_cast<std::size_t>(c)]; line != bins::noLine)
                consider(at(x, std::nan("")), line);
        }
    }
    // The front's own points first, when as near.
    for (const FrontPoint& f : data_->front) {
        const QPointF point = at(std::log10(f.total), f.deviation == 0.0 ? std::nan("") : std::log10(f.deviation));
        const QPointF d = point - position;
        if (d.x() * d.x() + d.y() * d.y() <= best + 1.0) {
            best = d.x() * d.x() + d.y() * d.y();
            nearest = f.line;
        }
    }
    return nearest;
}

void DividerPlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressedAt_ = event->position();
    pressedView_ = view_;
    dragging_ = false;
}

void DividerPlot::mouseReleaseEvent(QMouseEvent* event)
{
    reportingFailures(this, [&] {
        if (event->button() != Qt::LeftButton)
            return;
        const bool click = pressedAt_ && !dragging_;
        pressedAt_.reset();
        dragging_ = false;
        if (!click)
            return;
        if (const std::optional<std::size_t> line = lineNear(event->position()))
            emit lineChosen(static_cast<int>(*line));
    });
}

void DividerPlot::mouseMoveEvent(QMouseEvent* event)
{
    reportingFailures(this, [&] {
        if (pressedAt_ && (event->buttons() & Qt::LeftButton) && data_) {
            const QPointF moved = event->position() - *pressedAt_;
            dragging_ = dragging_ || moved.manhattanLength() >= QApplication::startDragDistance();
            if (dragging_) {
                // The view moves with the pointer, the values under it staying under it.
                const Frame f = frame();
                const double dx = moved.x() / f.width * (pressedView_.xHigh - pressedView_.xLow);
                const double dy = moved.y() / (f.bottom - f.top) * (pressedView_.yHigh - pressedView_.yLow);
                view_ = {pressedView_.xLow - dx, pressedView_.xHigh - dx, pressedView_.yLow + dy,
                         pressedView_.yHigh + dy};
                QToolTip::hideText();
                update();
                return;
            }
        }
        const std::optional<std::size_t> line = lineNear(event->position());
        if (line && list_ != nullptr)
            QToolTip::showText(event->globalPosition().toPoint(), toQString(list_->line(*line)), this);
        else
            QToolTip::hideText();
    });
}

void DividerPlot::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !data_)
        return;
    view_ = fitted(*data_);
    update();
}

void DividerPlot::wheelEvent(QWheelEvent* event)
{
    if (!data_ || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    // A notch shows a fifth less about the pointer; from a thousandth of a
    // decade to ten times the fitted view, so the axes always keep a scale.
    const double factor = std::pow(0.8, event->angleDelta().y() / 120.0);
    const Frame f = frame();
    const Range fit = fitted(*data_);
    const auto zoomed = [&](double low, double high, double at, double widest) {
        const double span = std::clamp((high - low) * factor, 1e-3, 10 * widest);
        const double value = low + std::clamp(at, 0.0, 1.0) * (high - low);
        const double from = value - std::clamp(at, 0.0, 1.0) * span;
        return std::pair{from, from + span};
    };
    const QPointF p = event->position();
    const auto [xLow, xHigh] = zoomed(view_.xLow, view_.xHigh, (p.x() - f.left) / f.width, fit.xHigh - fit.xLow);
    const auto [yLow, yHigh] =
        zoomed(view_.yLow, view_.yHigh, (f.bottom - p.y()) / (f.bottom - f.top), fit.yHigh - fit.yLow);
    view_ = {xLow, xHigh, yLow, yHigh};
    event->accept();
    update();
}

void DividerPlot::paintEvent(QPaintEvent* /*event*/)
{
    // No exception leaves a paint event: should the drawing fail, what is drawn stays.
    try {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette& colours = palette();
        const QRectF area = plotArea();
        const QFontMetricsF metrics(font());
        const double line = metrics.lineSpacing();
        painter.fillRect(area, colours.color(QPalette::Base));
        painter.setPen(colours.color(QPalette::Mid));
        painter.drawRect(area);
        if (!data_ || list_ == nullptr || area.width() < 10 || area.height() < 4 * line)
            return;
        const PlotData& d = *data_;
        drawAxes(painter);
        const NumberText& numbers = list_->numbers();
        const QColor text = colours.color(QPalette::WindowText);
        const double floor = frame().floor;

        painter.setClipRect(area);
        const PlotColours byResistors = coloursOf(colours);
        if (!d.density.isNull()) {
            const QRectF& a = d.densityArea;
            const QPointF topLeft = at(a.left(), a.bottom());
            const QPointF bottomRight = at(a.right(), a.top());
            const int rowsAbove = d.density.height() - (d.densityExact ? 1 : 0);
            painter.drawImage(QRectF(topLeft, bottomRight), d.density, QRectF(0, 0, d.density.width(), rowsAbove));
            if (d.densityExact)
                painter.drawImage(QRectF(topLeft.x(), floor - line / 4, bottomRight.x() - topLeft.x(), line / 2),
                                  d.density, QRectF(0, rowsAbove, d.density.width(), 1));
        }
        // A point each: 2 resistors a disc, 3 a square, 4 a diamond.
        const double size = std::max(2.0, line / 5);
        painter.setPen(Qt::NoPen);
        for (const PlotPoint& p : d.points) {
            const QPointF c = at(p.x, p.y);
            painter.setBrush(byResistors[p.resistors - 2u]);
            if (p.resistors == 2)
                painter.drawEllipse(c, size, size);
            else if (p.resistors == 3)
                painter.drawRect(QRectF(c.x() - size, c.y() - size, 2 * size, 2 * size));
            else
                painter.drawPolygon(QPolygonF({c + QPointF(0, -1.3 * size), c + QPointF(1.3 * size, 0),
                                               c + QPointF(0, 1.3 * size), c + QPointF(-1.3 * size, 0)}));
        }
        // The front, least current first, as steps.
        if (!d.front.empty()) {
            QPainterPath steps;
            const auto pointAt = [&](const FrontPoint& f) {
                return at(std::log10(f.total), f.deviation == 0.0 ? std::nan("") : std::log10(f.deviation));
            };
            QPointF previous = pointAt(d.front.front());
            steps.moveTo(previous);
            for (const FrontPoint& f : d.front) {
                const QPointF next = pointAt(f);
                steps.lineTo(next.x(), previous.y());
                steps.lineTo(next);
                previous = next;
            }
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(text, std::max(1.5, line / 8)));
            painter.drawPath(steps);
        }
        if (marked_) {
            if (const std::optional<QPointF> point = pointOf(*marked_)) {
                painter.setBrush(Qt::NoBrush);
                painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
                painter.drawEllipse(*point, line / 2, line / 2);
                painter.drawLine(*point - QPointF(line, 0), *point - QPointF(line / 2, 0));
                painter.drawLine(*point + QPointF(line / 2, 0), *point + QPointF(line, 0));
            }
        }
        painter.setClipping(false);
        painter.setPen(text);
        const QRectF caption(area.left() + line / 4, area.top() + line / 8, area.width() - line / 2, line);
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(toQString(frontSummaryText(d.front.size(),
                                                                static_cast<std::size_t>(list_->resultCount()), numbers)),
                                            Qt::ElideRight, caption.width()));
    } catch (...) {
    }
}

} // namespace tarnel
