#include "main_window.h"
#include "ui_test_support.h"

#include <functional>
#include <new>
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
            {[] { throw std::runtime_error("disk on fire"); }, "disk on fire"}, {[] { throw 42; }, ""},
            // Not the bare "std::bad_alloc": what the command line says, and how to narrow the run.
            {[] { throw std::bad_alloc(); },
             "Out of memory: narrow the run with a lower Max. results, a smaller Tol, fewer arm shapes or a "
             "narrower Rmin to Rmax."}};
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

    // Every input the window has, changed, closed, and found at the next start.
    void inputs_left_at_close_are_found_at_the_next_start_and_what_cannot_be_used_is_said()
    {
        QTemporaryDir folder;
        const QString stock = folder.filePath("stock.txt");
        QFile(stock).open(QIODevice::WriteOnly);
        QVariantMap left;
        const auto start = [&](const std::function<void(TForm1&)>& use) {
            runApplication(app(), [&](Application& a) {
                a.createForm();
                a.restoreForm();
                QTimer::singleShot(0, a.mainForm(), [&a, &use] {
                    use(*a.mainForm());
                    a.mainForm()->close();
                });
            });
        };
        const auto inputs = [&folder](const TForm1& window) {
            QSettings kept(folder.filePath("inputs.ini"), QSettings::IniFormat);
            window.saveState(kept);
            kept.beginGroup("inputs");
            QVariantMap values;
            for (const QString& key : kept.childKeys())
                values[key] = kept.value(key);
            return values;
        };
        start([&](TForm1& window) {
            for (auto* edit : window.findChildren<QLineEdit*>())
                edit->setText(edit->text() + "7");
            for (auto* box : window.findChildren<QCheckBox*>())
                box->setCheckState(box->isTristate() ? Qt::Checked : box->isChecked() ? Qt::Unchecked : Qt::Checked);
            for (auto* box : window.findChildren<QComboBox*>())
                box->setCurrentIndex(box->count() - 2);
            window.setValuesFile(stock);
            left = inputs(window);
        });
        QCOMPARE(left.value("values").toString(), stock);
        start([&](TForm1& window) { QCOMPARE(inputs(window), left); });
        // A stock file gone and a setting that does not read cost those alone, with a word and no box.
        QFile::remove(stock);
        QSettings().setValue("inputs/order", "sideways");
        // hi=1,ser written by hand reads as a list.
        QSettings().setValue("inputs/hi", QStringList{"1", "ser"});
        MessageBoxCatcher boxes;
        start([&](TForm1& window) {
            QCOMPARE(control<QLabel>(window, "lblSummary")->text(),
                     "Settings not read, left at their defaults: order; The stock file " + stock +
                         " is gone; the series is used.");
            left.remove("values");
            left["order"] = "found";
            left["hi"] = "1,ser";
            QCOMPARE(inputs(window), left);
            window.resetToDefaults();
            QCOMPARE(inputs(window), inputs(TForm1()));
        });
        QVERIFY(boxes.boxes.isEmpty());
    }
};

TARNEL_UI_TEST_MAIN(ApplicationTest)
#include "application_test.moc"
