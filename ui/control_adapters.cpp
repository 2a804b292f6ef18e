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

void paintStatus(QLineEdit& edit, FieldStatus status)
{
    // A palette that sets no role inherits them all, so a good field goes
    // back to whatever the window's colours are.
    QPalette palette;
    if (failed(status))
        palette.setColor(QPalette::Base, Qt::red);
    edit.setPalette(palette);
}

namespace {

constexpr const char* hintProperty = "tarnelHint";

} // namespace

void setFieldHint(QLineEdit& edit, const QString& hint)
{
    edit.setProperty(hintProperty, hint);
    edit.setToolTip(hint);
}

QString showVerdict(QLineEdit& edit, const FieldVerdict& verdict, std::string_view caption)
{
    paintStatus(edit, verdict.status);
    QString problem;
    if (failed(verdict.status))
        problem = (caption.empty() ? QString() : toQString(caption) + QStringLiteral(": ")) + toQString(verdict.problem);
    edit.setToolTip(problem.isEmpty() ? edit.property(hintProperty).toString() : problem);
    return problem;
}

CheckState checkStateOf(const QCheckBox& box)
{
    switch (box.checkState()) {
    case Qt::Unchecked:
        return CheckState::Unchecked;
    case Qt::PartiallyChecked:
        return CheckState::Grayed;
    case Qt::Checked:
        return CheckState::Checked;
    }
    return CheckState::Unknown;
}

void setCheckState(QCheckBox& box, CheckState state)
{
    switch (state) {
    case CheckState::Unchecked:
        return box.setCheckState(Qt::Unchecked);
    case CheckState::Grayed:
        return box.setCheckState(Qt::PartiallyChecked);
    case CheckState::Checked:
        return box.setCheckState(Qt::Checked);
    case CheckState::Unknown:
        return;
    }
}

std::size_t choiceOf(const QComboBox& box)
{
    return static_cast<std::size_t>(std::max(0, box.currentIndex()));
}

void showValuesFileProblem(QLabel& nameLabel, QLabel& problemLabel, const std::optional<std::string>& path,
                           const std::string& problem)
{
    QPalette palette;
    if (!problem.empty()) {
        palette.setColor(QPalette::WindowText, Qt::red);
        const QString name = QFileInfo(QFile::decodeName(path.value_or(std::string()).c_str())).fileName();
        problemLabel.setText(name + QStringLiteral(": ") + toQString(problem));
    }
    nameLabel.setPalette(palette);
}

} // namespace tarnel
