#include "control_adapters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include <algorithm>

namespace tarnel {

std::string LineEditField::text() const
{
    return edit_.text().toStdString();
}

void LineEditField::showStatus(FieldStatus status)
{
    // A palette that sets no role inherits them all, so a good field goes
    // back to whatever the window's colours are.
    QPalette palette;
    if (failed(status))
        palette.setColor(QPalette::Base, Qt::red);
    edit_.setPalette(palette);
}

bool CheckBoxField::checked() const
{
    return box_.checkState() == Qt::Checked;
}

CheckState CheckBoxField::state() const
{
    switch (box_.checkState()) {
    case Qt::Unchecked:
        return CheckState::Unchecked;
    case Qt::PartiallyChecked:
        return CheckState::Grayed;
    case Qt::Checked:
        return CheckState::Checked;
    }
    return CheckState::Unknown;
}

std::size_t ComboBoxChoice::choice() const
{
    // A box with nothing chosen counts as its first entry.
    return static_cast<std::size_t>(std::max(0, box_.currentIndex()));
}

std::optional<std::string> ValuesFileChoice::path() const
{
    if (box_.currentIndex() != box_.count() - 1)
        return std::nullopt;
    return path_;
}

void ValuesFileChoice::showProblem(const std::string& problem)
{
    QPalette palette;
    if (!problem.empty()) {
        palette.setColor(QPalette::WindowText, Qt::red);
        const QString name = QFileInfo(QFile::decodeName(path_.value_or(std::string()).c_str())).fileName();
        problemLabel_.setText(name + QStringLiteral(": ") + toQString(problem));
    }
    nameLabel_.setPalette(palette);
}

void WidgetPanel::setEnabled(bool enabled)
{
    panel_.setEnabled(enabled);
    // The search holds the event loop, so without painting now the disabled
    // panel would never be seen.
    if (!enabled)
        panel_.repaint();
}

} // namespace tarnel
