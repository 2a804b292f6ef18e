#pragma once

#include "command_line_options.h"

#include "result_list.h"
#include "special_values.h"
#include "start_run.h"
#include "window_controls.h"

#include <array>
#include <string>
#include <vector>

namespace tarnel::cli {

class TextEdit final : public EditField {
public:
    explicit TextEdit(std::string text = {}) : text_(std::move(text)) {}
    [[nodiscard]] std::string text() const override { return text_; }
    void setColor(FieldColor color) override { color_ = color; }
    [[nodiscard]] bool isRed() const { return color_ == FieldColor::Red; }

private:
    std::string text_;
    FieldColor color_ = FieldColor::Window;
};

// Always one of the three states a box can show, so a run never meets the
// unknown state the window's toolkit might report.
class StateCheck final : public CheckField {
public:
    explicit StateCheck(CheckState state = CheckState::Unchecked) : state_(state) {}
    explicit StateCheck(bool ticked) : state_(ticked ? CheckState::Checked : CheckState::Unchecked) {}
    [[nodiscard]] bool checked() const override { return state_ == CheckState::Checked; }
    [[nodiscard]] CheckState state() const override { return state_; }

private:
    CheckState state_;
};

// Nothing takes input while a command-line search runs, so there is nothing to lock.
class IgnoredPanel final : public PanelControl {
public:
    void setEnabled(bool /*enabled*/) override {}
};

// The window's controls filled from the options, for the calculation's own
// run of the Start button.
class CommandLineWindow {
public:
    CommandLineWindow(const Options& options, std::string decimalSeparator);
    CommandLineWindow(const CommandLineWindow&) = delete;
    CommandLineWindow& operator=(const CommandLineWindow&) = delete;

    // Unticks every arm box: the run then reads and judges every field but
    // searches nothing, which is all that is wanted when the answer is an
    // error report, the help or the version.
    void allowNoArms();

    [[nodiscard]] StartWindow startWindow();
    [[nodiscard]] const ResultList& list() const { return list_; }

    // One error for every field the last run painted red, worded from the
    // window's reader.
    [[nodiscard]] std::vector<ArgumentError> fieldErrors() const;

private:
    std::array<TextEdit, numericOptions.size()> edits_;
    std::array<std::size_t, numericOptions.size()> editPositions_{};
    StateCheck chkDivOnly_;
    std::array<StateCheck, 3> highArm_;
    std::array<StateCheck, 3> lowArm_;
    std::array<StateCheck, specialSlotCount> slotChecks_;
    std::array<TextEdit, specialSlotCount> slotEdits_;
    std::vector<SpecialValueOption> slotOptions_; // the used slots, from the first
    IgnoredPanel panel1_;
    ResultList list_;
};

// The message for a value the window's reader rejected: not a number, or out
// of its range, with what the option accepts.
[[nodiscard]] std::string rejectedValueMessage(std::string_view option, std::string_view text, double lo, double hi,
                                               const NumberText& numbers);

} // namespace tarnel::cli
