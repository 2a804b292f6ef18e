#include "form_controls.h"

#include "caption_left_check_box.h"
#include "control_adapters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace tarnel {

QFont tarnelFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    return font;
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = place(new QFrame(parent), name, geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto* label = placeControl(new QLabel(text, parent), name, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->lower();
    return label;
}

QLineEdit* makeEdit(FieldControls& fields, QWidget* parent, const char* name, const QRect& geometry, Field field)
{
    return fields.edit(field) =
               placeControl(new QLineEdit(toQString(numberField(field).initialText), parent), name, geometry);
}

QCheckBox* makeArmBox(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                      bool initiallyChecked)
{
    QCheckBox* box = placeControl(new CaptionLeftCheckBox(caption, parent), name, geometry);
    box->setChecked(initiallyChecked);
    return box;
}

QCheckBox* makeArmBox(FieldControls& fields, QWidget* parent, const char* name, const QRect& geometry,
                      const QString& caption, bool highArm, ArmKind kind)
{
    return fields.armCheck(highArm, kind) = makeArmBox(parent, name, geometry, caption,
                                                       (highArm ? initialHighShapes : initialLowShapes).allows(kind));
}

QComboBox* makeChoiceBox(FieldControls& fields, QWidget* parent, const char* name, const QRect& geometry, ChoiceId id)
{
    auto* box = placeControl(new QComboBox(parent), name, geometry);
    const ChoiceField& field = choiceField(id);
    for (const Choice& choice : field.choices)
        box->addItem(toQString(choice.caption));
    box->setCurrentIndex(static_cast<int>(field.initialChoice));
    return fields.box(id) = box;
}

namespace {

// The slots' caption names the states only; this says what they do.
const QString slotHint = QStringLiteral(
    "A resistor value in k (2 is 2 k\u03a9). A click steps the box through three states:\n"
    "( ) excluded: no divider uses the value;\n"
    "(-) ignored: the slot does nothing;\n"
    "(x) listed: once any slot is listed, dividers use listed values only.");

} // namespace

QLineEdit* makeSpecialEdit(FieldControls& fields, std::size_t slot, QWidget* parent, const char* name,
                           const QRect& geometry)
{
    QLineEdit* edit = placeControl(new QLineEdit(toQString(specialSlotTexts[slot]), parent), name, geometry);
    setFieldHint(*edit, slotHint);
    return fields.specialEdits[slot] = edit;
}

QCheckBox* makeSpecialBox(FieldControls& fields, std::size_t slot, QWidget* parent, const char* name,
                          const QRect& geometry)
{
    QCheckBox* box = placeControl(new QCheckBox(QStringLiteral("( )/(-)/(x)"), parent), name, geometry);
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    box->setToolTip(slotHint);
    return fields.specialChecks[slot] = box;
}

} // namespace tarnel
