#pragma once

#include "application.h"
#include "fake_window.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

namespace tarnel::test {

// Answers every message box as soon as it shows and remembers what it said,
// so that code which shows a modal box can run inside a test.
class MessageBoxCatcher final : public QObject {
    Q_OBJECT

public:
    MessageBoxCatcher();

    struct Box {
        QString title;
        QString text;
        int icon;
    };
    QList<Box> boxes;

private:
    void closeShownBoxes();
    QTimer timer_;
};

// Pins the number format of the window's fields and lines.
void pinLocale(const QLocale& locale = QLocale::c());

} // namespace tarnel::test

// QTEST_MAIN with Tarnel's own application object, whose notify() reports
// exceptions as the program does.
#define TARNEL_UI_TEST_MAIN(TestObject)                                                                                \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        tarnel::Application app(argc, argv);                                                                           \
        TestObject test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
