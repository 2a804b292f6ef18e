#pragma once

#include "application.h"
#include "test_support.h"

#include <QTest>
#include <clocale>
#include <QtWidgets>

namespace tarnel::test {

// Answers every message box as soon as it shows and remembers what it said,
// so that code which shows a modal box can run inside a test.
class MessageBoxCatcher final : public QObject {
public:
    MessageBoxCatcher()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
                    boxes.append({box->windowTitle(), box->text(), box->icon()});
                    box->buttons().value(0)->click();
                }
            }
        });
        timer_.start(10);
    }

    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        bool operator==(const Box&) const = default;
    };
    QList<Box> boxes;

private:
    QTimer timer_;
};

} // namespace tarnel::test

// QTEST_MAIN with Tarnel's own application object, whose notify() reports
// exceptions as the program does, a decimal point whatever the machine's
// locale, and settings in a folder of the test's own, never the user's.
#define TARNEL_UI_TEST_MAIN(TestObject)                                                                                \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        const QTemporaryDir settingsFolder;                                                                            \
        qputenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit());                                               \
        tarnel::Application app(argc, argv);                                                                           \
        std::setlocale(LC_NUMERIC, "C");                                                                               \
        TestObject test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
