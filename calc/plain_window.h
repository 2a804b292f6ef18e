#pragma once

#include "start_run.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

// The window's controls as plain values: the command line fills them from
// its options, the tests set them as a user would.

class PlainEdit final : public EditField {
public:
    explicit PlainEdit(std::string_view text = {}) : text_(text) {}
    [[nodiscard]] std::string text() const override { return text_; }
    void showStatus(FieldStatus status) override { status_ = status; }
    void setText(std::string text) { text_ = std::move(text); }
    // How the text read at the last run that read it; nothing while never read.
    [[nodiscard]] std::optional<FieldStatus> status() const { return status_; }

private:
    std::string text_;
    std::optional<FieldStatus> status_;
};

class PlainCheck final : public CheckField {
public:
    explicit PlainCheck(CheckState state = CheckState::Unchecked) : state_(state) {}
    [[nodiscard]] bool checked() const override { return state_ == CheckState::Checked; }
    [[nodiscard]] CheckState state() const override { return state_; }
    void set(CheckState state) { state_ = state; }
    void set(bool checked) { state_ = checked ? CheckState::Checked : CheckState::Unchecked; }

private:
    CheckState state_;
};

class PlainChoice final : public ChoiceControl {
public:
    [[nodiscard]] std::size_t choice() const override { return choice_; }
    void set(std::size_t choice) { choice_ = choice; }

private:
    std::size_t choice_ = 0;
};

class PlainValuesFile final : public ValuesFileField {
public:
    [[nodiscard]] std::optional<std::string> path() const override { return path_; }
    void showProblem(const std::string& problem) override { problem_ = problem; }
    void setPath(std::optional<std::string> path) { path_ = std::move(path); }
    [[nodiscard]] const std::string& problem() const { return problem_; }

private:
    std::optional<std::string> path_;
    std::string problem_;
};

class PlainPanel final : public PanelControl {
public:
    void setEnabled(bool enabled) override { changes_.push_back(enabled); }
    [[nodiscard]] const std::vector<bool>& changes() const { return changes_; }

private:
    std::vector<bool> changes_;
};

// Every control of a search, with the initial texts and states of the field tables.
class PlainWindow {
public:
    explicit PlainWindow(NumberText numbers = NumberText());
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    // The control of that name in the field tables; std::out_of_range for any other.
    [[nodiscard]] PlainEdit& edit(std::string_view name);
    [[nodiscard]] PlainCheck& check(std::string_view name);
    [[nodiscard]] PlainChoice& choice(std::string_view name);
    [[nodiscard]] PlainValuesFile& valuesFile() { return valuesFile_; }

    // The controls as a press of Start reads them.
    [[nodiscard]] StartWindow controls();
    // One press of Start.
    std::optional<SearchRun> start() { return runStart(controls()); }

    [[nodiscard]] ResultList& list() { return list_; }
    [[nodiscard]] const PlainPanel& panel1() const { return panel1_; }

private:
    std::array<PlainEdit, numberFields.size()> edits_;
    PlainCheck ratioBox_;
    std::array<PlainCheck, armBoxes.size()> armBoxes_;
    std::array<PlainChoice, choiceFields.size()> choices_;
    PlainValuesFile valuesFile_;
    std::array<PlainEdit, specialSlotCount> slotEdits_;
    std::array<PlainCheck, specialSlotCount> slotBoxes_;
    PlainPanel panel1_;
    ArmTableCache armTables_;
    ResultList list_;
};

} // namespace tarnel
