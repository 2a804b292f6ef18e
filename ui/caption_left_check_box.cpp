#include "caption_left_check_box.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace tarnel {

void CaptionLeftCheckBox::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    // The style places the box where a right-to-left check box has it.
    QStyleOptionButton mirrored = option;
    mirrored.direction = Qt::RightToLeft;
    QStyleOptionButton box = option;
    box.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &mirrored, this);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

    QStyleOptionButton caption = option;
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    caption.rect = QRect(0, 0, std::max(0, box.rect.left() - spacing), height());
    painter.drawControl(QStyle::CE_CheckBoxLabel, caption);

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->itemTextRect(option.fontMetrics, caption.rect, Qt::AlignLeft | Qt::AlignVCenter,
                                           isEnabled(), option.text)
                         .adjusted(-1, 0, 1, 0)
                         .intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CaptionLeftCheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

} // namespace tarnel
