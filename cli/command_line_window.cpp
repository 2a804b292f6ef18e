#include "command_line_window.h"

#include "round_trip_number.h"

#include <algorithm>

namespace tarnel::cli {

namespace {

std::array<StateCheck, 3> armChecks(const ArmShapes& shapes)
{
    return {StateCheck(shapes.single), StateCheck(shapes.series), StateCheck(shapes.parallel)};
}

} // namespace

CommandLineWindow::CommandLineWindow(const Options& options, std::string decimalSeparator)
    : chkDivOnly_(options.highOverLowOnly),
      highArm_(armChecks(options.high)),
      lowArm_(armChecks(options.low)),
      slotOptions_(options.specialValues),
      list_(NumberText(std::move(decimalSeparator)))
{
    for (std::size_t i = 0; i < numericOptions.size(); ++i) {
        const OptionText& option = options.*numericOptions[i].text;
        edits_[i] = TextEdit(option.text);
        editPositions_[i] = option.position;
    }
    // The parser keeps at most one value a slot; any more would not fit the window.
    slotOptions_.resize(std::min(slotOptions_.size(), specialSlotCount));
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot) {
        if (slot < slotOptions_.size()) {
            slotChecks_[slot] = StateCheck(slotOptions_[slot].listed ? CheckState::Checked : CheckState::Unchecked);
            slotEdits_[slot] = TextEdit(slotOptions_[slot].value.text);
        } else {
            // A grayed slot is ignored without its edit being read.
            slotChecks_[slot] = StateCheck(CheckState::Grayed);
        }
    }
}

void CommandLineWindow::allowNoArms()
{
    highArm_.fill(StateCheck(false));
    lowArm_.fill(StateCheck(false));
}

StartWindow CommandLineWindow::startWindow()
{
    const SearchFields fields{edits_[0],  edits_[1],  edits_[2],   edits_[3],   edits_[4],
                              edits_[5],  edits_[6],  edits_[7],   chkDivOnly_, highArm_[0],
                              highArm_[1], highArm_[2], lowArm_[0], lowArm_[1], lowArm_[2]};
    return {fields,
            {{{slotChecks_[0], slotEdits_[0]},
              {slotChecks_[1], slotEdits_[1]},
              {slotChecks_[2], slotEdits_[2]},
              {slotChecks_[3], slotEdits_[3]}}},
            panel1_,
            list_};
}

std::vector<ArgumentError> CommandLineWindow::fieldErrors() const
{
    std::vector<ArgumentError> errors;
    for (std::size_t i = 0; i < numericOptions.size(); ++i) {
        if (!edits_[i].isRed())
            continue;
        const NumericOption& option = numericOptions[i];
        errors.push_back({editPositions_[i],
                          rejectedValueMessage(option.name, edits_[i].text(), option.lo, option.hi, list_.numbers()),
                          false});
    }
    for (std::size_t slot = 0; slot < slotOptions_.size(); ++slot) {
        if (!slotEdits_[slot].isRed())
            continue;
        const SpecialValueOption& option = slotOptions_[slot];
        errors.push_back({option.value.position,
                          rejectedValueMessage(option.listed ? onlyOption : excludeOption, slotEdits_[slot].text(),
                                               minFieldValue, maxStandardValue, list_.numbers()),
                          false});
    }
    return errors;
}

std::string rejectedValueMessage(std::string_view option, std::string_view text, double lo, double hi,
                                 const NumberText& numbers)
{
    std::string message(option);
    message.append(" \"").append(text).append("\" ");
    const std::string range = roundTrip(lo) + " to " + roundTrip(hi);
    switch (readNumber(text, lo, hi, numbers).status) {
    case FieldStatus::OutOfRange:
        message.append("is out of range ").append(range);
        break;
    case FieldStatus::NotANumber:
        message.append("is not a number in the range ").append(range);
        // A period typed where the locale wants a comma is the likely slip.
        if (numbers.decimalSeparator() != ".")
            message.append(" (decimal separator \"").append(numbers.decimalSeparator()).append("\")");
        break;
    case FieldStatus::Ok:
        // The reader painted the field red, yet its text reads; say so rather than guess.
        message.append("was rejected");
        break;
    }
    return message;
}

} // namespace tarnel::cli
