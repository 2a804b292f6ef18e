#pragma once

#include "request/field_reading.h"
#include "request/search_input.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tarnel {

// The window's Qt widgets as the calculation reads them, and the verdicts
// of a reading shown on them.

// The calculation's UTF-8 text as Qt's.
[[nodiscard]] inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A field's standing tooltip, for which a red field's reason stands until
// the field reads again.
void setFieldHint(QLineEdit& edit, const QString& hint);

// A field that failed is painted red; any other gets the window's own colours back.
void paintStatus(QLineEdit& edit, FieldStatus status);
// Paints the field as its verdict says and gives a failed one the reason as
// its tooltip, "Rmax: \"4x7\" is not a number…"; returns that reason, or
// nothing for a field that read.
QString showVerdict(QLineEdit& edit, const FieldVerdict& verdict, std::string_view caption);

[[nodiscard]] CheckState checkStateOf(const QCheckBox& box);
// Unknown leaves the box as it is.
void setCheckState(QCheckBox& box, CheckState state);

// A box with nothing chosen counts as its first entry.
[[nodiscard]] std::size_t choiceOf(const QComboBox& box);

// A stock file that did not read turns its name red, and the problem label says why.
void showValuesFileProblem(QLabel& nameLabel, QLabel& problemLabel, const std::optional<std::string>& path,
                           const std::string& problem);

} // namespace tarnel
