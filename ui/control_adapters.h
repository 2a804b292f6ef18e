#pragma once

#include "window_controls.h"

#include <string>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace tarnel {

// The window's Qt widgets as the calculation sees them.

class LineEditField final : public EditField {
public:
    explicit LineEditField(QLineEdit& edit) : edit_(edit) {}
    [[nodiscard]] std::string text() const override;
    void setColor(FieldColor color) override;

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

class WidgetPanel final : public PanelControl {
public:
    explicit WidgetPanel(QWidget& panel) : panel_(panel) {}
    void setEnabled(bool enabled) override;

private:
    QWidget& panel_;
};

} // namespace tarnel
