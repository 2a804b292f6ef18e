#pragma once

// The makers of the form's controls: each named, placed at its design
// geometry and in its font, and held by the field it edits.

#include "field_controls.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <cstddef>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

namespace tarnel {

// Every control but the panels and the list has the larger font.
inline constexpr int controlFontPixels = 19;

// The font of the form: Segoe UI where it is, else its Linux kin.
[[nodiscard]] QFont tarnelFont(int pixelSize);

template <class Control>
Control* place(Control* control, const char* name, const QRect& geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

template <class Control>
Control* placeControl(Control* control, const char* name, const QRect& geometry)
{
    control->setFont(tarnelFont(controlFontPixels));
    return place(control, name, geometry);
}

[[nodiscard]] QFrame* makePanel(QWidget* parent, const char* name, const QRect& geometry);
// Like a caption drawn on the panel, a label lies under the edits.
QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text);
// The edit of a number field, which the field's row then holds.
QLineEdit* makeEdit(FieldControls& fields, QWidget* parent, const char* name, const QRect& geometry, Field field);
// The arm boxes and chkDivOnly: caption at the left, box at the right.
QCheckBox* makeArmBox(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                      bool initiallyChecked);
QCheckBox* makeArmBox(FieldControls& fields, QWidget* parent, const char* name, const QRect& geometry,
                      const QString& caption, bool highArm, ArmKind kind);
// A choice box holding the choices of its field.
QComboBox* makeChoiceBox(FieldControls& fields, QWidget* parent, const char* name, const QRect& geometry, ChoiceId id);
// A special slot's edit, and its box, which steps unchecked, grayed, checked,
// as "( )/(-)/(x)" reads.
QLineEdit* makeSpecialEdit(FieldControls& fields, std::size_t slot, QWidget* parent, const char* name,
                           const QRect& geometry);
QCheckBox* makeSpecialBox(FieldControls& fields, std::size_t slot, QWidget* parent, const char* name,
                          const QRect& geometry);

} // namespace tarnel
