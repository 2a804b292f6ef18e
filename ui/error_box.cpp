#include "error_box.h"

#include <QApplication>
#include <QMessageBox>

namespace tarnel {

void showErrorBox(QWidget* parent, const QString& message)
{
    QMessageBox::critical(parent, QApplication::applicationName(), message);
}

} // namespace tarnel
