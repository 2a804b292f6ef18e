#include "application.h"
#include "main_window.h"
#include "ui_test_support.h"

#include <QEventLoop>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <stdexcept>

using namespace tarnel;
using namespace tarnel::test;

namespace {

using Throw = std::function<void()>;

Application& app()
{
    return *static_cast<Application*>(QCoreApplication::instance());
}

} // namespace

Q_DECLARE_METATYPE(Throw)

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void init() { pinLocale(); }

    void application_carries_tarnels_identity()
    {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tarnel"));
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0.0.0"));
        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        for (int size : {16, 24, 32, 48, 64, 256})
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    }

    void exception_from_an_event_handler_is_shown_and_the_loop_goes_on_data()
    {
        QTest::addColumn<Throw>("raise");
        QTest::addColumn<QString>("message");
        QTest::newRow("standard exception") << Throw([] { throw std::runtime_error("disk on fire"); })
                                            << "disk on fire";
        QTest::newRow("other exception") << Throw([] { throw 42; }) << "";
    }
    void exception_from_an_event_handler_is_shown_and_the_loop_goes_on()
    {
        QFETCH(Throw, raise);
        QFETCH(QString, message);
        MessageBoxCatcher boxes;
        QEventLoop loop;
        bool laterEventHandled = false;
        QTimer::singleShot(0, &loop, raise);
        QTimer::singleShot(20, &loop, [&] {
            laterEventHandled = true;
            loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        QVERIFY(laterEventHandled);
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].text, message);
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Tarnel"));
        QCOMPARE(boxes.boxes[0].icon, static_cast<int>(QMessageBox::Critical));
    }

    void failure_while_starting_is_shown_and_ends_with_status_0_data()
    {
        QTest::addColumn<Throw>("raise");
        QTest::addColumn<QString>("message");
        QTest::newRow("standard exception") << Throw([] { throw std::runtime_error("no window today"); })
                                            << "no window today";
        QTest::newRow("other exception") << Throw([] { throw "a C string is no std::exception"; }) << "";
    }
    void failure_while_starting_is_shown_and_ends_with_status_0()
    {
        QFETCH(Throw, raise);
        QFETCH(QString, message);
        MessageBoxCatcher boxes;
        const int status = runApplication(app(), [&](Application&) { raise(); });
        QCOMPARE(status, 0);
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].text, message);
    }

    void main_window_runs_until_it_is_closed_and_the_status_is_0()
    {
        bool shownWhileRunning = false;
        const int status = runApplication(app(), [&](Application& a) {
            a.createForm();
            QTimer::singleShot(0, Form1, [&] {
                shownWhileRunning = Form1->isVisible();
                Form1->close();
            });
        });
        QCOMPARE(status, 0);
        QVERIFY(shownWhileRunning);
        QVERIFY(Form1 != nullptr);
        QCOMPARE(Form1->objectName(), QStringLiteral("Form1"));
        QVERIFY(!Form1->isVisible());
    }

    void start_failure_in_the_running_window_is_shown_and_the_window_goes_on()
    {
        MessageBoxCatcher boxes;
        int linesAfterRetry = -1;
        const int status = runApplication(app(), [&](Application& a) {
            a.createForm();
            QTimer::singleShot(0, Form1, [&] {
                Form1->resultList().setCapacity(1);
                QTest::mouseClick(Form1->btnStart, Qt::LeftButton);
                Form1->resultList().setCapacity(1000);
                QTest::mouseClick(Form1->btnStart, Qt::LeftButton);
                linesAfterRetry = static_cast<int>(Form1->resultList().size());
                Form1->close();
            });
        });
        QCOMPARE(status, 0);
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(linesAfterRetry, 24);
    }
};

TARNEL_UI_TEST_MAIN(ApplicationTest)
#include "application_test.moc"
