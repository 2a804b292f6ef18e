#pragma once

#include "window_controls.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace tarnel {

// The window's Qt widgets as the calculation sees them.

// The calculation's UTF-8 text as Qt's.
[[nodiscard]] inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class LineEditField final : public EditField {
public:
    explicit LineEditField(QLineEdit& edit) : edit_(edit) {}
    [[nodiscard]] std::string text() const override;
    // A field that failed is painted red; any other gets the window's own colours back.
    void showStatus(FieldStatus status) override;

private:
    QLineEdit& edit_;
};

class CheckBoxField final : public CheckField {
public:
    explicit CheckBoxField(QCheckBox& box) : box_(box) {}
    [[nodiscard]] bool checked() const override;
    [[nodiscard]] CheckState state() const override;

private:
    QCheckBox& box_;
};

class ComboBoxChoice final : public ChoiceControl {
public:
    explicit ComboBoxChoice(QComboBox& box) : box_(box) {}
    [[nodiscard]] std::size_t choice() const override;

private:
    QComboBox& box_;
};

// The series box's last entry stands for a file of values, whose name a label
// shows; a file that does not read turns the label red and says why in the
// problem label.
class ValuesFileChoice final : public ValuesFileField {
public:
    ValuesFileChoice(const QComboBox& box, const std::optional<std::string>& path, QLabel& nameLabel,
                     QLabel& problemLabel)
        : box_(box), path_(path), nameLabel_(nameLabel), problemLabel_(problemLabel)
    {
    }
    [[nodiscard]] std::optional<std::string> path() const override;
    void showProblem(const std::string& problem) override;

private:
    const QComboBox& box_;
    const std::optional<std::string>& path_;
    QLabel& nameLabel_;
    QLabel& problemLabel_;
};

class WidgetPanel final : public PanelControl {
public:
    explicit WidgetPanel(QWidget& panel) : panel_(panel) {}
    void setEnabled(bool enabled) override;

private:
    QWidget& panel_;
};

} // namespace tarnel
