#pragma once

#include "plot_data.h"
#include "search/result_list.h"
#include "search/search_params.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QPainter;

namespace tarnel {

// Every listed divider on one plot: total resistance across (log; the
// current at Uin on the top axis) against the size of the deviation up
// (log; exact dividers on a floor line), the Pareto front as a step line.
// A few lines are drawn a point each, shaped and coloured by their number
// of resistors; many are binned into a density image. Both, and the front,
// are worked out on a thread of the plot's own, so the window answers
// meanwhile; clear() ends that work before the list changes. The wheel
// zooms about the pointer, a drag moves the view, a double-click fits it.
class DividerPlot final : public QWidget {
    Q_OBJECT

public:
    explicit DividerPlot(QWidget* parent = nullptr);
    ~DividerPlot() override;
    DividerPlot(const DividerPlot&) = delete;
    DividerPlot& operator=(const DividerPlot&) = delete;

    // Plots the lines of a run: list must stay unchanged until clear().
    void plot(const ResultList& list, const SearchParams& params);
    // Ends the work on a plot, waiting for it, and shows none.
    void clear();
    // Marks the point of a result line; none marks nothing.
    void markLine(std::optional<std::size_t> line);

    [[nodiscard]] bool ready() const { return data_ != nullptr; }
    [[nodiscard]] std::size_t frontSize() const;
    // Where a result line's point is drawn; none while nothing is plotted.
    [[nodiscard]] std::optional<QPointF> pointOf(std::size_t line) const;
    [[nodiscard]] std::optional<std::size_t> markedLine() const { return marked_; }
    // The extent shown, x and y in log10 as the points; empty while nothing is plotted.
    [[nodiscard]] QRectF visibleRange() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    // A click chose the line of the point under it.
    void lineChosen(int line);
    // The plot of the lines given is ready.
    void plotted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // x and y in log10, as the points.
    struct Range {
        double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
    };
    // Where the plot's values land on the widget.
    struct Frame {
        double left, width, floor, bottom, top;
    };

    void take(std::shared_ptr<const PlotData> data);
    void drawAxes(QPainter& painter) const;
    [[nodiscard]] QRectF plotArea() const;
    [[nodiscard]] Frame frame() const;
    [[nodiscard]] QPointF at(double x, double y) const; // y NaN: on the floor line
    [[nodiscard]] static Range fitted(const PlotData& data);
    [[nodiscard]] std::optional<std::size_t> lineNear(QPointF position) const;

    const ResultList* list_ = nullptr;
    SearchParams params_;
    std::shared_ptr<const PlotData> data_;
    std::optional<std::size_t> marked_;
    Range view_;
    // Where the left button went down, and the view then; a move further than
    // a click's makes it a drag.
    std::optional<QPointF> pressedAt_;
    Range pressedView_;
    bool dragging_ = false;
    std::uint64_t generation_ = 0; // of the plot asked for last; older threads' work is dropped
    // Last, so that it is stopped and joined before anything it reads goes.
    std::jthread worker_;
};

} // namespace tarnel
