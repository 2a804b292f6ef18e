#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tarnel {

// What the calculation needs of the window's controls. The window adapts its
// widgets to these; the command line and the tests use plain ones.

// How an edit's text read at the last run; the window paints a failed edit
// red. The edit of an ignored special-value slot is not read at all.
enum class FieldStatus { Ok, NotRead, NotANumber, OutOfRange };

[[nodiscard]] constexpr bool failed(FieldStatus status)
{
    return status == FieldStatus::NotANumber || status == FieldStatus::OutOfRange;
}

class EditField {
public:
    virtual ~EditField() = default;
    [[nodiscard]] virtual std::string text() const = 0; // UTF-8
    virtual void showStatus(FieldStatus status) = 0;
};

// Unknown stands for a state the toolkit reports that is none of the three.
enum class CheckState { Unchecked, Grayed, Checked, Unknown };

class CheckField {
public:
    virtual ~CheckField() = default;
    [[nodiscard]] virtual bool checked() const = 0;
    [[nodiscard]] virtual CheckState state() const = 0;
};

// A choice among fixed entries, as a combo box offers them.
class ChoiceControl {
public:
    virtual ~ChoiceControl() = default;
    [[nodiscard]] virtual std::size_t choice() const = 0;
};

// The user's file of resistor values: while one is chosen, it stands in for
// the series.
class ValuesFileField {
public:
    virtual ~ValuesFileField() = default;
    [[nodiscard]] virtual std::optional<std::string> path() const = 0;
    // Why the file did not read, or empty when it did.
    virtual void showProblem(const std::string& problem) = 0;
};

class PanelControl {
public:
    virtual ~PanelControl() = default;
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace tarnel
