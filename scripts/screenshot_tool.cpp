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
    tarnel::TForm1& window = *tarnel::Form1;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.editUin->setText(QStringLiteral("12"));
    window.editUout->setText(QStringLiteral("3.3"));
    window.editTol->setText(QStringLiteral("1"));
    for (QCheckBox* box : {window.chkHi2Rser, window.chkHi2Rpar, window.chkLo2Rser, window.chkLo2Rpar})
        box->setChecked(true);
    window.cmbOrder->setCurrentIndex(1);
    QTest::mouseClick(window.btnStart, Qt::LeftButton);
    while (window.searching())
        QTest::qWait(50);
    QTest::qWait(300); // lets the list lay out and paint its rows
    window.ListBox1->setCurrentIndex(window.ListBox1->model()->index(0, 0));
    QTest::qWait(300);

    const QPixmap shot = window.screen()->grabWindow(0);
    if (shot.isNull() || !shot.save(args[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
