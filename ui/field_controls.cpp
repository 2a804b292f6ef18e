#include "field_controls.h"

#include "control_adapters.h"
#include "fitting.h"
#include "text/resistance_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <string>

namespace tarnel {

SearchInput FieldControls::read() const
{
    SearchInput input;
    for (std::size_t i = 0; i < numberEdits.size(); ++i)
        input.numbers[i] = numberEdits[i]->text().toStdString();
    input.highOverLowOnly = highOverLowOnly->isChecked();
    for (const bool highArm : {true, false})
        for (const ArmKind kind : armKinds)
            input.shapes(highArm).allow(kind, armCheck(highArm, kind)->isChecked());
    for (std::size_t i = 0; i < choiceBoxes.size(); ++i)
        if (const std::size_t chosen = choiceOf(*choiceBoxes[i]); chosen < choiceFields[i].choices.size())
            input.choices[i] = chosen;
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
        input.specialSlots[slot] = {checkStateOf(*specialChecks[slot]), specialEdits[slot]->text().toStdString()};
    return input;
}

void FieldControls::write(const SearchInput& input) const
{
    for (std::size_t i = 0; i < numberEdits.size(); ++i)
        numberEdits[i]->setText(toQString(input.numbers[i]));
    highOverLowOnly->setChecked(input.highOverLowOnly);
    for (const bool highArm : {true, false})
        for (const ArmKind kind : armKinds)
            armChecks[highArm ? 1 : 0][static_cast<std::size_t>(kind)]->setChecked(
                (highArm ? input.highShapes : input.lowShapes).allows(kind));
    for (std::size_t i = 0; i < choiceBoxes.size(); ++i)
        choiceBoxes[i]->setCurrentIndex(static_cast<int>(input.choices[i]));
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot) {
        specialEdits[slot]->setText(toQString(input.specialSlots[slot].text));
        setCheckState(*specialChecks[slot], input.specialSlots[slot].state);
    }
}

void FieldControls::connectChanges(const QObject* context, const std::function<void()>& changed) const
{
    for (QLineEdit* edit : numberEdits)
        QObject::connect(edit, &QLineEdit::textChanged, context, changed);
    for (QLineEdit* edit : specialEdits)
        QObject::connect(edit, &QLineEdit::textChanged, context, changed);
    for (const auto& arm : armChecks)
        for (QCheckBox* box : arm)
            QObject::connect(box, &QCheckBox::stateChanged, context, changed);
    for (QCheckBox* box : specialChecks)
        QObject::connect(box, &QCheckBox::stateChanged, context, changed);
    QObject::connect(highOverLowOnly, &QCheckBox::stateChanged, context, changed);
    for (QComboBox* box : choiceBoxes)
        QObject::connect(box, &QComboBox::currentIndexChanged, context, changed);
}

QStringList FieldControls::show(const InputReading& reading) const
{
    QStringList problems;
    const auto show = [&](QLineEdit& edit, const FieldVerdict& verdict, std::string_view caption) {
        if (const QString problem = showVerdict(edit, verdict, caption); !problem.isEmpty())
            problems.append(problem);
    };
    for (std::size_t i = 0; i < numberEdits.size(); ++i)
        show(*numberEdits[i], reading.numbers[i], captionOf(numberFields[i].field, reading.params.use));
    // A slot in no known state is left as it was.
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
        if (checkStateOf(*specialChecks[slot]) != CheckState::Unknown)
            show(*specialEdits[slot], reading.specialSlots[slot], {});
    return problems;
}

void FieldControls::explainAndFit() const
{
    // A resistance edit says on hovering what it takes.
    const QString hint = toQString("Kilo-ohms, " + rangeText(resistanceRange, NumberText()) +
                                   ", or as a part is marked: " + std::string(resistanceNotations));
    for (std::size_t i = 0; i < numberEdits.size(); ++i) {
        const NumberField& field = numberFields[i];
        if (field.readsResistance)
            setFieldHint(*numberEdits[i], toQString(field.help) + QStringLiteral(": ") + hint);
        fitFont(*numberEdits[i], widestValueText(field.range), textRoom(*numberEdits[i]));
    }
    setFieldHint(*numberEdits[static_cast<std::size_t>(Field::SourceTol)], toQString(numberField(Field::SourceTol).help));
    for (QLineEdit* edit : specialEdits) {
        setFieldHint(*edit, hint);
        fitFont(*edit, widestValueText(resistanceRange), textRoom(*edit));
    }
}

} // namespace tarnel
