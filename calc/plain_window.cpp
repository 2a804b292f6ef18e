#include "plain_window.h"

#include <stdexcept>

namespace tarnel {

PlainWindow::PlainWindow(NumberText numbers) : list_(std::move(numbers))
{
    for (std::size_t i = 0; i < numberFields.size(); ++i)
        edits_[i].setText(std::string(numberFields[i].initialText));
    for (std::size_t i = 0; i < armBoxes.size(); ++i)
        armBoxes_[i].set(armBoxes[i].initiallyChecked);
    for (std::size_t i = 0; i < choiceFields.size(); ++i)
        choices_[i].set(choiceFields[i].initialChoice);
    for (std::size_t i = 0; i < specialSlotCount; ++i) {
        slotEdits_[i].setText(std::string(specialSlotFields[i].initialText));
        slotBoxes_[i].set(CheckState::Grayed);
    }
}

PlainEdit& PlainWindow::edit(std::string_view name)
{
    for (std::size_t i = 0; i < numberFields.size(); ++i)
        if (numberFields[i].name == name)
            return edits_[i];
    for (std::size_t i = 0; i < specialSlotCount; ++i)
        if (specialSlotFields[i].editName == name)
            return slotEdits_[i];
    throw std::out_of_range("no edit " + std::string(name));
}

PlainCheck& PlainWindow::check(std::string_view name)
{
    if (name == ratioBoxName)
        return ratioBox_;
    for (std::size_t i = 0; i < armBoxes.size(); ++i)
        if (armBoxes[i].name == name)
            return armBoxes_[i];
    for (std::size_t i = 0; i < specialSlotCount; ++i)
        if (specialSlotFields[i].boxName == name)
            return slotBoxes_[i];
    throw std::out_of_range("no check box " + std::string(name));
}

PlainChoice& PlainWindow::choice(std::string_view name)
{
    const std::size_t i = indexByName(choiceFields, name);
    if (i == choiceFields.size())
        throw std::out_of_range("no choice " + std::string(name));
    return choices_[i];
}

StartWindow PlainWindow::controls()
{
    StartWindow window;
    for (std::size_t i = 0; i < edits_.size(); ++i)
        window.edits[i] = &edits_[i];
    window.ratioBox = &ratioBox_;
    for (std::size_t i = 0; i < armBoxes_.size(); ++i)
        window.armChecks[i] = &armBoxes_[i];
    for (std::size_t i = 0; i < choices_.size(); ++i)
        window.choices[i] = &choices_[i];
    window.valuesFile = &valuesFile_;
    for (std::size_t i = 0; i < specialSlotCount; ++i)
        window.specialSlots[i] = {&slotBoxes_[i], &slotEdits_[i]};
    window.panel1 = &panel1_;
    window.list = &list_;
    window.armTables = &armTables_;
    return window;
}

} // namespace tarnel
