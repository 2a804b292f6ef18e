#pragma once

#include <QString>

class QWidget;

namespace tarnel {

// Gives picture a context menu entry "Save picture…" that writes what it
// shows as PNG or SVG, by the name's extension or the filter chosen.
void addSavePictureAction(QWidget& picture);

// Writes picture to path as an SVG drawing when the name ends in .svg, else
// as a PNG image, whole or not at all, by the rule Save results writes by.
// Returns why it failed, or nothing.
[[nodiscard]] QString savePicture(QWidget& picture, const QString& path);

} // namespace tarnel
