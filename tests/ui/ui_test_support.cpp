#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>

namespace tarnel::test {

MessageBoxCatcher::MessageBoxCatcher()
{
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &MessageBoxCatcher::closeShownBoxes);
    timer_.start();
}

void MessageBoxCatcher::closeShownBoxes()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr || !box->isVisible())
            continue;
        boxes.append({box->windowTitle(), box->text(), static_cast<int>(box->icon())});
        box->buttons().value(0)->click();
    }
}

void pinLocale(const QLocale& locale)
{
    QLocale::setDefault(locale);
}

} // namespace tarnel::test
