#pragma once

#include <QCheckBox>

namespace tarnel {

// A check box with its caption at the left edge and its box at the right
// edge. Qt's right-to-left layout would move the box too, but it also lays
// the caption out right to left, which reorders mixed text such as
// "1+H/L ( ) / H/L (x)".
class CaptionLeftCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The whole control toggles, as the caption and the box are far apart.
    [[nodiscard]] bool hitButton(const QPoint& pos) const override;
};

} // namespace tarnel
