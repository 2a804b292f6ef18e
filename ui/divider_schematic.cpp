#include "divider_schematic.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <utility>

namespace tarnel {

namespace {

QString qs(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lays a schematic out from the font and, given a painter, draws it; without
// one it only measures, so the size asked for and the drawing agree.
class Drawing {
public:
    Drawing(const QFont& font, QPainter* painter) : font_(font), bold_(font), metrics_(font), painter_(painter)
    {
        bold_.setBold(true);
        line_ = metrics_.lineSpacing();
        em_ = metrics_.horizontalAdvance(QLatin1Char('M'));
        gap_ = em_ / 2;
        boxWidth_ = std::max(6.0, line_ * 0.6);
        boxHeight_ = 2.0 * line_;
        branch_ = em_ + boxWidth_;
        terminal_ = std::max(2.0, line_ / 5);
        if (painter_ != nullptr)
            painter_->setPen(QPen(painter_->pen().color(), std::max(1.0, line_ / 12), Qt::SolidLine, Qt::RoundCap));
    }

    // The size the schematic takes.
    QSizeF draw(const DividerSchematic& s)
    {
        const double margin = gap_;
        const QString current = qs(s.current);
        // What lies left of the chain: the current, and a parallel arm's left branch with its labels.
        double left = metrics_.horizontalAdvance(current) + gap_ + em_;
        for (const SchematicArm* arm : {&s.high, &s.low})
            if (arm->kind == ArmKind::Parallel && !arm->resistors.empty())
                left = std::max(left, branch_ + boxWidth_ / 2 + gap_ + labelWidth(arm->resistors.front()));
        x_ = margin + left;
        right_ = x_;

        double y = margin + line_ / 2;
        terminal(x_, y, qs(s.topName), qs(s.topVoltage));
        // The current beside the wire from the top, its arrow on the wire.
        const double wireEnd = y + 2 * line_;
        wire(x_, y + terminal_, x_, wireEnd);
        arrow(x_, (y + wireEnd) / 2 + line_ / 4);
        text(QRectF(margin, (y + wireEnd) / 2 - line_ / 2, x_ - gap_ - margin, line_), Qt::AlignRight, current,
             font_);
        y = arm(s.high, wireEnd);
        // The tap: a dot on the chain and a wire out to its terminal.
        dot(x_, y);
        const double tapX = x_ + branch_ + boxWidth_ / 2 + 2 * terminal_;
        wire(x_, y, tapX - terminal_, y);
        terminal(tapX, y, qs(s.tapName), qs(s.tapVoltage));
        y = arm(s.low, y);
        // Ground.
        wire(x_, y, x_, y + line_ / 2);
        y += line_ / 2;
        for (int bar = 0; bar < 3; ++bar) {
            const double half = em_ * (3 - bar) / 3.0;
            wire(x_ - half, y + bar * line_ / 5, x_ + half, y + bar * line_ / 5);
        }
        y += 2 * line_ / 5;
        return {right_ + margin, y + margin};
    }

private:
    // An arm from top, down to where it ends.
    double arm(const SchematicArm& a, double top)
    {
        const double stub = line_ / 2;
        double y = top;
        if (a.kind == ArmKind::Parallel && a.resistors.size() == 2) {
            const double l = x_ - branch_, r = x_ + branch_;
            wire(x_, y, x_, y + stub);
            y += stub;
            wire(l, y, r, y);
            for (const double x : {l, r})
                wire(x, y, x, y + stub);
            resistor(l, y + stub, a.resistors[0], true);
            resistor(r, y + stub, a.resistors[1], false);
            y += stub + boxHeight_;
            for (const double x : {l, r})
                wire(x, y, x, y + stub);
            y += stub;
            wire(l, y, r, y);
            wire(x_, y, x_, y + stub);
            return y + stub;
        }
        // One resistor, or two in series one above the other.
        for (const SchematicResistor& part : a.resistors) {
            wire(x_, y, x_, y + stub);
            resistor(x_, y + stub, part, false);
            y += stub + boxHeight_;
        }
        wire(x_, y, x_, y + stub);
        return y + stub;
    }

    // A resistor's box with its top at y, labelled on the side given.
    void resistor(double x, double y, const SchematicResistor& part, bool labelLeft)
    {
        if (painter_ != nullptr)
            painter_->drawRect(QRectF(x - boxWidth_ / 2, y, boxWidth_, boxHeight_));
        const double width = labelWidth(part);
        const double labelX = labelLeft ? x - boxWidth_ / 2 - gap_ - width : x + boxWidth_ / 2 + gap_;
        const Qt::Alignment align = labelLeft ? Qt::AlignRight : Qt::AlignLeft;
        const double middle = y + boxHeight_ / 2;
        text(QRectF(labelX, middle - line_, width, line_), align, qs(part.marking), bold_);
        text(QRectF(labelX, middle, width, line_), align, figures(part), font_);
    }

    QString figures(const SchematicResistor& part) const { return qs(part.voltage) + ", " + qs(part.power); }

    double labelWidth(const SchematicResistor& part) const
    {
        return std::max(QFontMetricsF(bold_).horizontalAdvance(qs(part.marking)),
                        metrics_.horizontalAdvance(figures(part))) +
               1;
    }

    // A terminal's open circle at (x, y), its name and voltage at its right.
    void terminal(double x, double y, const QString& name, const QString& voltage)
    {
        if (painter_ != nullptr)
            painter_->drawEllipse(QPointF(x, y), terminal_, terminal_);
        const double nameX = x + terminal_ + gap_;
        const double nameWidth = QFontMetricsF(bold_).horizontalAdvance(name) + 1;
        text(QRectF(nameX, y - line_ / 2, nameWidth, line_), Qt::AlignLeft, name, bold_);
        const double voltageX = nameX + nameWidth + gap_;
        text(QRectF(voltageX, y - line_ / 2, metrics_.horizontalAdvance(voltage) + 1, line_), Qt::AlignLeft, voltage,
             font_);
    }

    void dot(double x, double y)
    {
        if (painter_ == nullptr)
            return;
        const QBrush brush = painter_->brush();
        painter_->setBrush(painter_->pen().color());
        painter_->drawEllipse(QPointF(x, y), terminal_ * 0.8, terminal_ * 0.8);
        painter_->setBrush(brush);
    }

    // An arrow head pointing down, its tip at (x, y).
    void arrow(double x, double y)
    {
        if (painter_ == nullptr)
            return;
        const double size = line_ / 3;
        QPainterPath head;
        head.moveTo(x, y);
        head.lineTo(x - size / 2, y - size);
        head.lineTo(x + size / 2, y - size);
        head.closeSubpath();
        painter_->fillPath(head, painter_->pen().color());
    }

    void wire(double x1, double y1, double x2, double y2)
    {
        right_ = std::max(right_, std::max(x1, x2));
        if (painter_ != nullptr)
            painter_->drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }

    void text(const QRectF& room, Qt::Alignment align, const QString& words, const QFont& font)
    {
        right_ = std::max(right_, room.right());
        if (painter_ == nullptr)
            return;
        painter_->setFont(font);
        painter_->drawText(room, align | Qt::AlignVCenter | Qt::TextSingleLine, words);
    }

    QFont font_;
    QFont bold_;
    QFontMetricsF metrics_;
    QPainter* painter_;
    double line_ = 0, em_ = 0, gap_ = 0, boxWidth_ = 0, boxHeight_ = 0, branch_ = 0, terminal_ = 0;
    double x_ = 0;     // the chain's
    double right_ = 0; // of everything drawn so far
};

// The largest a schematic takes: two resistors in each arm, long figures.
DividerSchematic largestSchematic(ArmKind kind)
{
    const SchematicResistor part{"10k05", "999.9 mV", "999.9 mW"};
    return {"FB = Vref", "99.9999 V", {kind, {part, part}}, "FB = Vref", "99.9999 V", {kind, {part, part}},
            "999.9 \u00b5A"};
}

} // namespace

DividerSchematicView::DividerSchematicView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

void DividerSchematicView::setSchematic(std::optional<DividerSchematic> schematic)
{
    schematic_ = std::move(schematic);
    updateGeometry();
    update();
}

// As tall as the tallest divider, so the column below stays put; as wide as
// the one drawn, so the plot beside it has the rest.
QSize DividerSchematicView::sizeHint() const
{
    const double height = Drawing(font(), nullptr).draw(largestSchematic(ArmKind::Series)).height();
    const double width = Drawing(font(), nullptr).draw(schematic_ ? *schematic_ : largestSchematic(ArmKind::Series)).width();
    return QSizeF(width, height).toSize() + QSize(1, 1);
}

void DividerSchematicView::paintEvent(QPaintEvent* /*event*/)
{
    if (!schematic_)
        return;
    // No exception leaves a paint event: should the drawing fail, what is drawn stays.
    try {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(palette().color(QPalette::WindowText));
        Drawing(font(), &painter).draw(*schematic_);
    } catch (...) {
    }
}

void DividerSchematicView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateGeometry();
}

} // namespace tarnel
