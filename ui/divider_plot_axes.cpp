// The plot's axes: ticks, their labels and the floor line of the exact dividers.

#include "divider_plot.h"

#include "control_adapters.h"
#include "plot_ticks.h"
#include "request/divider_details.h"
#include "text/resistance_text.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace tarnel {

void DividerPlot::drawAxes(QPainter& painter) const
{
    const QPalette& colours = palette();
    const QRectF area = plotArea();
    const QFontMetricsF metrics(font());
    const double line = metrics.lineSpacing();
    const NumberText& numbers = list_->numbers();
    const QColor text = colours.color(QPalette::WindowText);
    QColor grid = colours.color(QPalette::Mid);
    grid.setAlpha(90);

    // Ticks across: total resistance under, current at Uin over.
    // A label that would run into the one before it is left out, its tick kept.
    const auto label = [&](double x, double y, const QString& words, double& clear) {
        const double half = metrics.horizontalAdvance(words) / 2;
        x = std::min(x, width() - half - 1);
        if (x - half < clear)
            return;
        painter.drawText(QRectF(x - half - 1, y, 2 * half + 2, line), Qt::AlignCenter, words);
        clear = x + half + metrics.averageCharWidth();
    };
    double clear = -1e9;
    for (const double total : logTicks(view_.xLow, view_.xHigh)) {
        const double x = at(std::log10(total), 0).x();
        painter.setPen(grid);
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(text);
        label(x, area.bottom(), toQString(markedValue(total)), clear);
    }
    const double uinLog = std::log10(params_.uin) - 3.0;
    clear = -1e9;
    const std::vector<double> currents = logTicks(uinLog - view_.xHigh, uinLog - view_.xLow);
    for (auto current = currents.rbegin(); current != currents.rend(); ++current) {
        const double x = at(uinLog - std::log10(*current), 0).x();
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.top() - line / 4));
        label(x, area.top() - 1.25 * line, toQString(withPrefix(*current, "A", numbers)), clear);
    }
    painter.drawText(QRectF(area.left(), area.bottom() + line, area.width(), line), Qt::AlignRight,
                     QStringLiteral("total resistance"));
    // A load on the tap draws more than Uin across the total drives.
    const bool loaded = params_.use == DividerUse::Divider && params_.tapLoad != noUpperBound;
    painter.drawText(QRectF(0, 0, width(), line), Qt::AlignLeft | Qt::AlignTop,
                     loaded ? QStringLiteral("Uin / total, the load's current besides") : QStringLiteral("current at Uin"));
    // Ticks up, and the floor of the exact ones.
    for (const double deviation : logTicks(view_.yLow, view_.yHigh)) {
        const double y = at(view_.xLow, std::log10(deviation)).y();
        painter.setPen(grid);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(text);
        painter.drawText(QRectF(0, y - line / 2, area.left() - line / 4, line), Qt::AlignRight | Qt::AlignVCenter,
                         toQString(numbers.plain(deviation) + " %"));
    }
    const double floor = frame().floor;
    painter.setPen(QPen(grid, 1, Qt::DashLine));
    painter.drawLine(QPointF(area.left(), floor), QPointF(area.right(), floor));
    painter.setPen(text);
    painter.drawText(QRectF(0, floor - line / 2, area.left() - line / 4, line), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("exact"));
}

} // namespace tarnel
