// Opens the window as the program does, asks for the best dividers from 12 V
// to 3.3 V with every arm shape, presses Start, chooses the first line and
// saves the whole screen, so the picture shows how the window fits it.
// scripts/screenshot.sh runs it under Xvfb at two screen sizes.

#include "application.h"
#include "main_window.h"
#include "result_list_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    tarnel::Application app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tarnel_screenshot OUTPUT.png\n");
        return 2;
    }
    // The picture shows "." as the decimal separator wherever it is made.
    std::setlocale(LC_NUMERIC, "C");

    app.createForm();
    tarnel::TForm1& window = *app.mainForm();
    using tarnel::control;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    control<QLineEdit>(window, "editUin")->setText(QStringLiteral("12"));
    control<QLineEdit>(window, "editUout")->setText(QStringLiteral("3.3"));
    control<QLineEdit>(window, "editTol")->setText(QStringLiteral("1"));
    for (const char* arm : {"chkHi2Rser", "chkHi2Rpar", "chkLo2Rser", "chkLo2Rpar"})
        control<QCheckBox>(window, arm)->setChecked(true);
    control<QComboBox>(window, "cmbOrder")->setCurrentIndex(1);
    QTest::mouseClick(control<QPushButton>(window, "btnStart"), Qt::LeftButton);
    while (window.searching())
        QTest::qWait(50);
    QTest::qWait(300); // lets the list lay out and paint its rows
    auto* list = control<tarnel::ResultListView>(window, "ListBox1");
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::qWait(300);

    const QPixmap shot = window.screen()->grabWindow(0);
    if (shot.isNull() || !shot.save(args[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
