#include "main_window.h"
#include "result_list_model.h"
#include "result_list_view.h"
#include "ui_test_support.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <limits>
#include <memory>
#include <stdexcept>

using namespace tarnel;
using namespace tarnel::test;

namespace {

// Records the enabled state a widget takes at each change.
class EnabledHistory final : public QObject {
public:
    explicit EnabledHistory(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    QList<bool> states;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget_ && event->type() == QEvent::EnabledChange)
            states.append(widget_->isEnabled());
        return false;
    }

private:
    QWidget* widget_;
};

QColor baseColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Base);
}

bool isRed(const QWidget* widget)
{
    return baseColor(widget) == QColor(Qt::red);
}

// The text the list refuses a line with, as the window's error box shows it.
QString fullListMessage()
{
    ResultList list;
    list.setCapacity(0);
    try {
        list.addMessage("x");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> window;

    template <class W>
    W* control(const QString& name)
    {
        auto* found = window->findChild<W*>(name);
        if (found == nullptr)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* edit(const QString& name) { return control<QLineEdit>(name); }
    QCheckBox* check(const QString& name) { return control<QCheckBox>(name); }

    QStringList listLines()
    {
        QStringList lines;
        QAbstractItemModel* model = window->ListBox1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            lines.append(model->index(row, 0).data().toString());
        return lines;
    }

    void clickStart() { QTest::mouseClick(window->btnStart, Qt::LeftButton); }

    // Replaces the field's text by typing, as a user would.
    static void type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        QCOMPARE(field->text(), text);
    }

    void openWindow(const QLocale& locale = QLocale::c())
    {
        window.reset();
        pinLocale(locale);
        window = std::make_unique<TForm1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QModelIndex index = window->ListBox1->model()->index(row, 0);
        // The view lays its rows out after the run, once events are processed.
        QTRY_VERIFY(window->ListBox1->visualRect(index).isValid());
        QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, modifiers,
                          window->ListBox1->visualRect(index).center());
    }

private slots:
    void init()
    {
        resetProcessState();
        openWindow();
    }
    void cleanup()
    {
        window.reset();
        QLocale::setDefault(QLocale::c());
    }

    void window_opens_with_its_caption_position_size_and_colour()
    {
        window.reset();
        window = std::make_unique<TForm1>();
        QCOMPARE(window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tarnel"));
        QCOMPARE(window->pos(), QPoint(926, 194));
        QCOMPARE(window->size(), QSize(654, 938));
        // The window has an edit's background colour, not the dialog colour.
        QCOMPARE(window->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Base));
    }

    void control_has_its_parent_and_design_geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        const struct {
            const char* name;
            const char* parent;
            QRect geometry;
        } rows[] = {
            {"Panel1", "Form1", {237, 8, 204, 625}},
            {"Label1", "Panel1", {16, 19, 58, 25}},
            {"Label2", "Panel1", {16, 58, 70, 25}},
            {"Label3", "Panel1", {16, 305, 57, 25}},
            {"Label4", "Panel1", {16, 129, 69, 25}},
            {"Label5", "Panel1", {16, 168, 72, 25}},
            {"Label6", "Panel1", {16, 344, 100, 25}},
            {"Label7", "Panel1", {16, 217, 79, 25}},
            {"Label8", "Panel1", {16, 256, 82, 25}},
            {"btnStart", "Panel1", {16, 568, 177, 41}},
            {"editUin", "Panel1", {120, 16, 73, 33}},
            {"editUout", "Panel1", {120, 55, 73, 33}},
            {"editTol", "Panel1", {120, 302, 73, 33}},
            {"editRmin", "Panel1", {120, 126, 73, 33}},
            {"editRmax", "Panel1", {120, 165, 73, 33}},
            {"chkHi1R", "Panel1", {16, 384, 177, 25}},
            {"chkHi2Rser", "Panel1", {16, 408, 177, 25}},
            {"chkHi2Rpar", "Panel1", {16, 432, 177, 25}},
            {"chkLo1R", "Panel1", {16, 472, 177, 25}},
            {"chkLo2Rser", "Panel1", {16, 496, 177, 25}},
            {"chkLo2Rpar", "Panel1", {16, 520, 177, 25}},
            {"editMaxResults", "Panel1", {122, 341, 71, 33}},
            {"editRsumMax", "Panel1", {120, 253, 73, 33}},
            {"editRsumMin", "Panel1", {120, 214, 73, 33}},
            {"chkDivOnly", "Panel1", {16, 89, 177, 25}},
            {"ListBox1", "Form1", {0, 8, 231, 929}},
            {"Panel2", "Form1", {447, 8, 204, 625}},
            {"editSpecVal0", "Panel2", {120, 16, 73, 33}},
            {"chkSpecVal0", "Panel2", {17, 20, 97, 25}},
            {"editSpecVal1", "Panel2", {120, 55, 73, 33}},
            {"chkSpecVal1", "Panel2", {17, 59, 97, 25}},
            {"editSpecVal2", "Panel2", {120, 94, 73, 33}},
            {"chkSpecVal2", "Panel2", {17, 98, 97, 25}},
            {"editSpecVal3", "Form1", {567, 141, 73, 33}},
            {"chkSpecVal3", "Form1", {464, 145, 97, 25}},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.name << row.parent << row.geometry;
    }
    void control_has_its_parent_and_design_geometry()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        const QWidget* widget = control<QWidget>(name);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            // A label is as wide as its text in the font at hand.
            QCOMPARE(label->pos(), geometry.topLeft());
            QCOMPARE(label->height(), geometry.height());
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        } else {
            QCOMPARE(widget->geometry(), geometry);
        }
    }

    void control_shows_its_initial_text_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const struct {
            const char* name;
            const char* text;
        } rows[] = {
            {"Label1", "Uin [V]"},       {"Label2", "Uout [V]"},      {"Label3", "Tol [%]"},
            {"Label4", "Rmin [k]"},      {"Label5", "Rmax [k]"},      {"Label6", "Max. results"},
            {"Label7", "RsumMin"},       {"Label8", "RsumMax"},       {"btnStart", "Start"},
            {"editUin", "10"},           {"editUout", "1"},           {"editTol", "5"},
            {"editRmin", "1"},           {"editRmax", "100"},         {"editMaxResults", "200"},
            {"editRsumMax", "100"},      {"editRsumMin", "10"},       {"editSpecVal0", "2"},
            {"editSpecVal1", "3"},       {"editSpecVal2", "18"},      {"editSpecVal3", "27"},
            {"chkHi1R", "Hi 1xR"},       {"chkHi2Rser", "Hi R+R"},    {"chkHi2Rpar", "Hi R||R"},
            {"chkLo1R", "Lo 1xR"},       {"chkLo2Rser", "Lo R+R"},    {"chkLo2Rpar", "Lo R||R"},
            {"chkDivOnly", "1+H/L ( ) / H/L (x)"},
            {"chkSpecVal0", "( )/(-)/(x)"}, {"chkSpecVal1", "( )/(-)/(x)"}, {"chkSpecVal2", "( )/(-)/(x)"},
            {"chkSpecVal3", "( )/(-)/(x)"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.name << row.text;
    }
    void control_shows_its_initial_text()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        const QObject* object = control<QObject>(name);
        if (const auto* label = qobject_cast<const QLabel*>(object))
            QCOMPARE(label->text(), text);
        else if (const auto* edit = qobject_cast<const QLineEdit*>(object))
            QCOMPARE(edit->text(), text);
        else
            QCOMPARE(qobject_cast<const QAbstractButton*>(object)->text(), text);
    }

    void checkbox_starts_in_its_state_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Qt::CheckState>("state");
        QTest::newRow("chkHi1R") << "chkHi1R" << Qt::Checked;
        QTest::newRow("chkHi2Rser") << "chkHi2Rser" << Qt::Unchecked;
        QTest::newRow("chkHi2Rpar") << "chkHi2Rpar" << Qt::Unchecked;
        QTest::newRow("chkLo1R") << "chkLo1R" << Qt::Checked;
        QTest::newRow("chkLo2Rser") << "chkLo2Rser" << Qt::Unchecked;
        QTest::newRow("chkLo2Rpar") << "chkLo2Rpar" << Qt::Unchecked;
        QTest::newRow("chkDivOnly") << "chkDivOnly" << Qt::Unchecked;
        for (const char* name : {"chkSpecVal0", "chkSpecVal1", "chkSpecVal2", "chkSpecVal3"})
            QTest::newRow(name) << name << Qt::PartiallyChecked;
    }
    void checkbox_starts_in_its_state()
    {
        QFETCH(QString, name);
        QFETCH(Qt::CheckState, state);
        QCOMPARE(check(name)->checkState(), state);
    }

    void window_starts_with_an_empty_list_and_normal_fields()
    {
        QCOMPARE(window->ListBox1->model()->rowCount(), 0);
        QVERIFY(window->Panel1->isEnabled());
        for (QLineEdit* e : window->findChildren<QLineEdit*>())
            QVERIFY2(!isRed(e), qPrintable(e->objectName()));
    }

    void control_has_its_font_size_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("Form1") << "Form1" << 12;
        for (const char* name : {"Panel1", "Panel2", "ListBox1"})
            QTest::newRow(name) << name << 12;
        for (const char* name : {"btnStart", "editUin", "Label1", "Label6", "editMaxResults", "chkHi1R", "chkDivOnly",
                                 "chkSpecVal0", "editSpecVal3", "chkSpecVal3"})
            QTest::newRow(name) << name << 19;
    }
    void control_has_its_font_size()
    {
        QFETCH(QString, name);
        QFETCH(int, pixelSize);
        const QWidget* widget = name == "Form1" ? window.get() : control<QWidget>(name);
        QCOMPARE(widget->font().pixelSize(), pixelSize);
        const QStringList families{"Segoe UI", "Noto Sans", "DejaVu Sans"};
        QCOMPARE(widget->font().families(), families);
    }

    void tab_runs_through_panel1_then_the_list_then_panel2_and_slot_3()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->btnStart->setFocus();
        const QStringList expected{
            "btnStart",    "editUin",      "editUout",    "editTol",      "editRmin",    "editRmax",
            "chkHi1R",     "chkHi2Rser",   "chkHi2Rpar",  "chkLo1R",      "chkLo2Rser",  "chkLo2Rpar",
            "editMaxResults", "editRsumMax", "editRsumMin", "chkDivOnly",  "ListBox1",    "editSpecVal0",
            "chkSpecVal0", "editSpecVal1", "chkSpecVal1", "editSpecVal2", "chkSpecVal2", "editSpecVal3",
            "chkSpecVal3", "btnStart",
        };
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited, expected);
    }

    void special_value_box_steps_unchecked_grayed_checked_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"chkSpecVal0", "chkSpecVal1", "chkSpecVal2", "chkSpecVal3"})
            QTest::newRow(name) << name;
    }
    void special_value_box_steps_unchecked_grayed_checked()
    {
        QFETCH(QString, name);
        QCheckBox* box = check(name);
        box->setCheckState(Qt::Unchecked);
        QList<Qt::CheckState> states;
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(box, Qt::LeftButton);
            states.append(box->checkState());
        }
        QCOMPARE(states, (QList<Qt::CheckState>{Qt::PartiallyChecked, Qt::Checked, Qt::Unchecked}));
    }

    void arm_box_has_two_states_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"chkHi1R", "chkHi2Rser", "chkHi2Rpar", "chkLo1R", "chkLo2Rser", "chkLo2Rpar",
                                 "chkDivOnly"})
            QTest::newRow(name) << name;
    }
    void arm_box_has_two_states()
    {
        QFETCH(QString, name);
        QCheckBox* box = check(name);
        box->setCheckState(Qt::Unchecked);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2)); // on the caption
        QCOMPARE(box->checkState(), Qt::Checked);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, box->height() / 2)); // on the box
        QCOMPARE(box->checkState(), Qt::Unchecked);
    }

    // Where the box is drawn: the pixels that differ between the checked and
    // the unchecked rendering are the check mark.
    void checkbox_draws_its_box_on_its_side_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("boxAtRight");
        for (const char* name : {"chkHi1R", "chkHi2Rser", "chkHi2Rpar", "chkLo1R", "chkLo2Rser", "chkLo2Rpar",
                                 "chkDivOnly"})
            QTest::newRow(name) << name << true;
        for (const char* name : {"chkSpecVal0", "chkSpecVal3"})
            QTest::newRow(name) << name << false;
    }
    void checkbox_draws_its_box_on_its_side()
    {
        QFETCH(QString, name);
        QFETCH(bool, boxAtRight);
        QCheckBox* box = check(name);
        box->setCheckState(Qt::Unchecked);
        const QImage unchecked = box->grab().toImage();
        box->setCheckState(Qt::Checked);
        const QImage checked = box->grab().toImage();
        QCOMPARE(checked.size(), unchecked.size());
        int minX = checked.width();
        int maxX = -1;
        for (int y = 0; y < checked.height(); ++y) {
            for (int x = 0; x < checked.width(); ++x) {
                if (checked.pixel(x, y) != unchecked.pixel(x, y)) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                }
            }
        }
        QVERIFY(maxX >= 0);
        const int middle = checked.width() / 2;
        if (boxAtRight)
            QVERIFY2(minX > middle, qPrintable(QString("mark spans x %1..%2").arg(minX).arg(maxX)));
        else
            QVERIFY2(maxX < middle, qPrintable(QString("mark spans x %1..%2").arg(minX).arg(maxX)));
    }

    void enter_in_an_edit_starts_nothing()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (QLineEdit* e : {window->editUin, window->editMaxResults, window->editSpecVal3}) {
            e->setFocus();
            QTest::keyClick(e, Qt::Key_Return);
            QTest::keyClick(e, Qt::Key_Enter);
        }
        QCOMPARE(window->ListBox1->model()->rowCount(), 0);
    }

    void start_with_the_defaults_lists_the_24_lines()
    {
        QSignalSpy resets(window->ListBox1->model(), &QAbstractItemModel::modelReset);
        QSignalSpy inserts(window->ListBox1->model(), &QAbstractItemModel::rowsInserted);
        clickStart();
        const QStringList lines = listLines();
        QCOMPARE(lines.size(), 24);
        QCOMPARE(lines[0], QStringLiteral("9.10   /  1.00   d 1.00"));
        QCOMPARE(lines[1], QStringLiteral("10.00   /  1.10   d 0.91"));
        QCOMPARE(lines[7], QStringLiteral("18.00   /  2.00   d 0.00"));
        QCOMPARE(resets.size(), 1);
        QCOMPARE(inserts.size(), 0);
        QVERIFY(window->Panel1->isEnabled());
    }

    void lines_use_the_decimal_separator_of_the_locale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("tolerance");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("C") << QLocale::c() << "5.0" << "9.10   /  1.00   d 1.00";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "5,0" << "9,10   /  1,00   d 1,00";
    }
    void lines_use_the_decimal_separator_of_the_locale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, tolerance);
        QFETCH(QString, firstLine);
        openWindow(locale);
        type(window->editTol, tolerance);
        clickStart();
        QVERIFY(!isRed(window->editTol));
        QCOMPARE(listLines().value(0), firstLine);
    }

    void bad_field_turns_red_and_stops_the_run_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("slotBox"); // a special slot to set, so that its edit is read
        QTest::addColumn<Qt::CheckState>("slotState");
        const QString none;
        QTest::newRow("Uin empty") << "editUin" << "" << none << Qt::Unchecked;
        QTest::newRow("Uout not a number") << "editUout" << "abc" << none << Qt::Unchecked;
        QTest::newRow("Tol above 100") << "editTol" << "100.5" << none << Qt::Unchecked;
        QTest::newRow("Rmin below 1") << "editRmin" << "0.5" << none << Qt::Unchecked;
        QTest::newRow("Rmax beyond a double") << "editRmax" << "1e400" << none << Qt::Unchecked;
        QTest::newRow("RsumMin infinite") << "editRsumMin" << "inf" << none << Qt::Unchecked;
        QTest::newRow("RsumMax with a comma") << "editRsumMax" << "1,5" << none << Qt::Unchecked;
        QTest::newRow("Max. results text") << "editMaxResults" << "many" << none << Qt::Unchecked;
        QTest::newRow("listed slot 1 not a number") << "editSpecVal1" << "x" << "chkSpecVal1" << Qt::Checked;
        QTest::newRow("excluded slot 3 below 1") << "editSpecVal3" << "0" << "chkSpecVal3" << Qt::Unchecked;
    }
    void bad_field_turns_red_and_stops_the_run()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, slotBox);
        QFETCH(Qt::CheckState, slotState);
        clickStart(); // a good run first, so that stopping must empty the list
        QCOMPARE(listLines().size(), 24);
        if (!slotBox.isEmpty())
            check(slotBox)->setCheckState(slotState);
        QLineEdit* bad = edit(name);
        type(bad, text);
        clickStart();
        QVERIFY(isRed(bad));
        for (QLineEdit* e : window->findChildren<QLineEdit*>()) {
            if (e != bad)
                QVERIFY2(!isRed(e), qPrintable(e->objectName()));
        }
        QCOMPARE(listLines(), QStringList());
        QVERIFY(window->Panel1->isEnabled());
        QCOMPARE(bad->text(), text); // what the user typed stays
    }

    void every_bad_field_turns_red_at_once()
    {
        type(window->editUin, "x");
        type(window->editTol, "-1");
        type(window->editMaxResults, "");
        clickStart();
        QVERIFY(isRed(window->editUin));
        QVERIFY(isRed(window->editTol));
        QVERIFY(isRed(window->editMaxResults));
        QVERIFY(!isRed(window->editUout));
    }

    void corrected_field_loses_its_red_on_the_next_run()
    {
        const QColor normal = baseColor(window->editUin);
        type(window->editUin, "ten");
        clickStart();
        QVERIFY(isRed(window->editUin));
        type(window->editUin, "10");
        clickStart();
        QCOMPARE(baseColor(window->editUin), normal);
        QCOMPARE(listLines().size(), 24);
    }

    void panel_is_disabled_for_the_search_and_enabled_after_it()
    {
        EnabledHistory history(window->Panel1);
        clickStart();
        QCOMPARE(history.states, (QList<bool>{false, true}));
        QVERIFY(window->btnStart->isEnabled());
    }

    void failed_run_shows_the_error_and_leaves_a_working_window()
    {
        MessageBoxCatcher boxes;
        QSignalSpy resets(window->ListBox1->model(), &QAbstractItemModel::modelReset);
        window->resultList().setCapacity(3);
        clickStart();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].text, fullListMessage());
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Tarnel"));
        QCOMPARE(boxes.boxes[0].icon, static_cast<int>(QMessageBox::Critical));
        QVERIFY(window->Panel1->isEnabled());
        QCOMPARE(resets.size(), 1); // the view is not left inside a reset
        QCOMPARE(listLines().size(), 3); // the lines before the failure stay
        QVERIFY(window->isVisible());

        window->resultList().setCapacity(std::numeric_limits<std::size_t>::max());
        clickStart();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(listLines().size(), 24);
    }

    void resizing_moves_the_panels_and_slot_3_and_stretches_the_list_data()
    {
        QTest::addColumn<int>("dw");
        QTest::addColumn<int>("dh");
        QTest::newRow("unchanged") << 0 << 0;
        QTest::newRow("24 wider") << 24 << 0;
        QTest::newRow("300 wider") << 300 << 0;
        QTest::newRow("200 taller") << 0 << 200;
        QTest::newRow("wider and taller") << 150 << 90;
        QTest::newRow("narrower and shorter") << -100 << -300;
    }
    void resizing_moves_the_panels_and_slot_3_and_stretches_the_list()
    {
        QFETCH(int, dw);
        QFETCH(int, dh);
        window->resize(654 + dw, 938 + dh);
        QTRY_COMPARE(window->size(), QSize(654 + dw, 938 + dh));
        QTRY_COMPARE(window->Panel1->geometry(), QRect(237 + dw, 8, 204, 625));
        QCOMPARE(window->Panel2->geometry(), QRect(447 + dw, 8, 204, 625));
        QCOMPARE(window->ListBox1->geometry(), QRect(0, 8, 231 + dw, 929 + dh));
        // Slot 3 stays in Panel2's fourth row, a child of the window.
        QCOMPARE(window->editSpecVal3->geometry(), QRect(567 + dw, 141, 73, 33));
        QCOMPARE(window->chkSpecVal3->geometry(), QRect(464 + dw, 145, 97, 25));
        QCOMPARE(window->editSpecVal3->pos() - window->Panel2->pos(),
                 window->editSpecVal2->pos() + QPoint(0, 39));
        QVERIFY(!window->Panel1->geometry().intersects(window->editSpecVal3->geometry()));
        QVERIFY(!window->Panel1->geometry().intersects(window->chkSpecVal3->geometry()));
        QCOMPARE(window->editSpecVal3->parentWidget(), window.get());
    }

    void shift_and_ctrl_clicks_select_lines_that_ctrl_c_copies_in_list_order()
    {
        clickStart();
        const QStringList lines = listLines();
        clickRow(5);
        clickRow(2, Qt::ControlModifier);
        clickRow(8, Qt::ShiftModifier); // from the last clicked row, 2, to 8
        clickRow(4, Qt::ControlModifier); // and 4 out again
        clickRow(20, Qt::ControlModifier);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(window->ListBox1, Qt::Key_C, Qt::ControlModifier);
        const QStringList expected{lines[2], lines[3], lines[5], lines[6], lines[7], lines[8], lines[20]};
        QCOMPARE(QGuiApplication::clipboard()->text(), expected.join('\n'));
    }

    void context_menu_copies_the_selection_or_every_line()
    {
        clickStart();
        const QStringList lines = listLines();
        QCOMPARE(window->ListBox1->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList captions;
        for (const QAction* action : window->ListBox1->actions())
            captions.append(action->text());
        QCOMPARE(captions, (QStringList{"Copy", "Copy all"}));

        clickRow(3);
        window->ListBox1->copyAction()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), lines[3]);
        window->ListBox1->copyAllAction()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.join('\n'));
    }

    void copy_is_offered_only_when_there_is_something_to_copy()
    {
        QVERIFY(!window->ListBox1->copyAction()->isEnabled());
        QVERIFY(!window->ListBox1->copyAllAction()->isEnabled());
        clickStart();
        QVERIFY(!window->ListBox1->copyAction()->isEnabled());
        QVERIFY(window->ListBox1->copyAllAction()->isEnabled());
        clickRow(0);
        QVERIFY(window->ListBox1->copyAction()->isEnabled());
    }

    void long_lines_scroll_sideways_instead_of_being_cut()
    {
        type(window->editRmax, "9100000");
        type(window->editRsumMax, "9100000");
        type(window->editTol, "100");
        window->chkHi1R->setCheckState(Qt::Unchecked);
        window->chkHi2Rpar->setCheckState(Qt::Checked);
        window->chkLo1R->setCheckState(Qt::Unchecked);
        window->chkLo2Rpar->setCheckState(Qt::Checked);
        type(window->editMaxResults, "20000");
        clickStart();
        const QStringList lines = listLines();
        QVERIFY(!lines.isEmpty());
        const QFontMetrics metrics(window->ListBox1->font());
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        QVERIFY(widest > window->ListBox1->viewport()->width());
        const QModelIndex last = window->ListBox1->model()->index(static_cast<int>(lines.size()) - 1, 0);
        QVERIFY(window->ListBox1->visualRect(last).width() >= widest);
        QVERIFY(window->ListBox1->horizontalScrollBar()->maximum() > 0);
    }

    void window_model_stays_consistent_over_runs()
    {
        QAbstractItemModelTester tester(window->ListBox1->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        MessageBoxCatcher boxes;
        window->resultList().setCapacity(5);
        clickStart();
        QCOMPARE(boxes.boxes.size(), 1);
        window->resultList().setCapacity(std::numeric_limits<std::size_t>::max());
        clickStart();
        type(window->editUin, "bad");
        clickStart();
        type(window->editUin, "10");
        window->chkLo2Rser->setCheckState(Qt::Checked);
        clickStart();
        QVERIFY(listLines().size() > 24);
    }
};

TARNEL_UI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
