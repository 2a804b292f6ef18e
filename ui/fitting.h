#pragma once

#include "request/field_reading.h"

#include <QRect>
#include <QSize>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace tarnel {

// Fonts and a window that fit: the fonts of a Linux desktop are wider than
// the designed Segoe UI, and many screens are smaller than the designed window.

// The widest text a field holds within its range: the longer of its bounds as typed.
[[nodiscard]] QString widestValueText(FieldRange range);

// The pixels a control gives its text.
[[nodiscard]] int textRoom(const QLabel& label);
[[nodiscard]] int textRoom(const QLineEdit& edit);
[[nodiscard]] int textRoom(const QCheckBox& box);
[[nodiscard]] int textRoom(const QComboBox& box);

// Shrinks the control's font, never below 8 pixels, until text fits room.
void fitFont(QWidget& control, const QString& text, int room);

// Where a window of this client size opens within the available area of its
// screen: centred, and shrunk where it does not fit.
[[nodiscard]] QRect placedWithin(QSize wanted, const QRect& available);

} // namespace tarnel
