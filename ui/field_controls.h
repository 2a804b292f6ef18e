#pragma once

#include "request/search_input.h"
#include "search/input_fields.h"

#include <QStringList>

#include <array>
#include <cstddef>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QObject;

namespace tarnel {

// The controls that hold the field table's inputs, each at its row's place:
// the window's form puts every control here as it makes it, and a search
// reads its input from here and shows its reading here.
struct FieldControls {
    std::array<QLineEdit*, numberFields.size()> numberEdits{}; // by Field
    std::array<std::array<QCheckBox*, armKinds.size()>, 2> armChecks{}; // by highArm (low first), then ArmKind
    std::array<QComboBox*, choiceFields.size()> choiceBoxes{}; // by ChoiceId
    std::array<QLineEdit*, specialSlotCount> specialEdits{};
    std::array<QCheckBox*, specialSlotCount> specialChecks{};
    QCheckBox* highOverLowOnly = nullptr;

    [[nodiscard]] QLineEdit*& edit(Field field) { return numberEdits[static_cast<std::size_t>(field)]; }
    [[nodiscard]] QComboBox*& box(ChoiceId id) { return choiceBoxes[static_cast<std::size_t>(id)]; }
    [[nodiscard]] QComboBox* box(ChoiceId id) const { return choiceBoxes[static_cast<std::size_t>(id)]; }
    [[nodiscard]] QCheckBox*& armCheck(bool highArm, ArmKind kind)
    {
        return armChecks[static_cast<std::size_t>(highArm)][static_cast<std::size_t>(kind)];
    }
    [[nodiscard]] QCheckBox* armCheck(bool highArm, ArmKind kind) const
    {
        return armChecks[static_cast<std::size_t>(highArm)][static_cast<std::size_t>(kind)];
    }

    // What the controls hold, as a search reads it. A box's entries beyond
    // its field's choices are the window's own and choose nothing.
    [[nodiscard]] SearchInput read() const;
    // Sets every control as the input has it, read() giving it back; the
    // stock file is the window's.
    void write(const SearchInput& input) const;
    // Calls changed, in context, whenever a control's input changes.
    void connectChanges(const QObject* context, const std::function<void()>& changed) const;
    // Paints every field and slot read; the reasons of those that failed, in
    // the order read.
    [[nodiscard]] QStringList show(const InputReading& reading) const;
    // The hints of the resistance fields and each field's widest value
    // fitted to its edit.
    void explainAndFit() const;
};

} // namespace tarnel
