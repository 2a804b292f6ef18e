#include "fitting.h"

#include "text/number_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

#include <algorithm>

namespace tarnel {

namespace {

// A title bar and frame the window manager adds around the client area,
// most of it above.
constexpr int frameAllowance = 40;
constexpr int titleBarAllowance = 32;

} // namespace

QString widestValueText(FieldRange range)
{
    const NumberText numbers;
    const QString lo = QString::fromStdString(numbers.plain(range.lo));
    const QString hi = QString::fromStdString(numbers.plain(range.hi));
    return lo.size() > hi.size() ? lo : hi;
}

int textRoom(const QLabel& label)
{
    return label.contentsRect().width();
}

int textRoom(const QLineEdit& edit)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    // A line edit keeps two pixels free at each side of its text.
    constexpr int margins = 2 * 2;
    return contents.width() - edit.textMargins().left() - edit.textMargins().right() - margins;
}

int textRoom(const QCheckBox& box)
{
    return box.width() - box.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &box) -
           box.style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &box);
}

int textRoom(const QComboBox& box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.rect = box.rect();
    return box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box).width();
}

void fitFont(QWidget& control, const QString& text, int room)
{
    QFont font = control.font();
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    control.setFont(font);
}

QRect placedWithin(QSize wanted, const QRect& available)
{
    const QSize size = wanted.boundedTo(QSize(available.width(), available.height() - frameAllowance));
    const int x = available.left() + (available.width() - size.width()) / 2;
    const int y = available.top() + titleBarAllowance + (available.height() - frameAllowance - size.height()) / 2;
    return {QPoint(x, y), size};
}

} // namespace tarnel
