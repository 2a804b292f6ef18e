#include "main_window.h"
#include "ui_test_support.h"

#include <functional>
#include <stdexcept>

using namespace tarnel;
using namespace tarnel::test;

class ApplicationTest : public QObject {
    Q_OBJECT

    static Application& app() { return *static_cast<Application*>(QCoreApplication::instance()); }

private slots:
    void failures_are_shown_in_the_error_box()
    {
        const std::pair<std::function<void()>, QString> rows[] = {
            {[] { throw std::runtime_error("disk on fire"); }, "disk on fire"}, {[] { throw 42; }, ""}};
        for (const auto& row : rows) {
            const std::function<void()>& raise = row.first;
            const QString& message = row.second;
            MessageBoxCatcher boxes;
            // From an event handler: shown, and the loop goes on.
            QEventLoop loop;
            QTimer::singleShot(0, &loop, raise);
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
            // While starting: shown, and the program ends with status 0.
            QCOMPARE(runApplication(app(), [&raise](Application&) { raise(); }), 0);
            QCOMPARE(boxes.boxes.size(), 2);
            for (const MessageBoxCatcher::Box& box : boxes.boxes)
                QCOMPARE(box, (MessageBoxCatcher::Box{"Tarnel", message, QMessageBox::Critical}));
        }
    }

    void main_window_runs_until_it_is_closed_and_the_status_is_0()
    {
        bool shownWhileRunning = false;
        QCOMPARE(runApplication(app(),
                                [&](Application& a) {
                                    a.createForm();
                                    QTimer::singleShot(0, a.mainForm(), [&] {
                                        shownWhileRunning = a.mainForm()->isVisible();
                                        a.mainForm()->close();
                                    });
                                }),
                 0);
        QVERIFY(shownWhileRunning);
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0.0.0"));
    }
};

TARNEL_UI_TEST_MAIN(ApplicationTest)
#include "application_test.moc"
