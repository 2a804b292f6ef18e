#include "command_line.h"
#include "control_adapters.h"
#include "divider_plot.h"
#include "divider_schematic.h"
#include "fitting.h"
#include "main_window.h"
#include "picture_saving.h"
#include "plot_ticks.h"
#include "result_list_model.h"
#include "result_list_view.h"
#include "result_saving.h"
#include "ui_test_support.h"

#include <QWheelEvent>

#include <limits>
#include <memory>
#include <sstream>

using namespace tarnel;
using namespace tarnel::test;

namespace {

bool isRed(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Base) == QColor(Qt::red);
}

// Records the enabled state a widget takes at each change.
struct EnabledHistory final : QObject {
    explicit EnabledHistory(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange)
            states.append(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }
    QList<bool> states;
};

// Replaces the field's text by typing, as a user would.
void type(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> window;

    template <class Control = QWidget>
    Control* find(const char* name) const
    {
        return control<Control>(*window, name);
    }
    ResultListView* listBox() const { return find<ResultListView>("ListBox1"); }

    QStringList listLines() const
    {
        QStringList lines;
        for (int row = 0; row < listBox()->model()->rowCount(); ++row)
            lines.append(listBox()->model()->index(row, 0).data().toString());
        return lines;
    }

    void clickStart()
    {
        QTest::mouseClick(find("btnStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->searching(), 60000);
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QModelIndex index = listBox()->model()->index(row, 0);
        // The view lays its rows out after the run, once events are processed.
        QTRY_VERIFY(listBox()->visualRect(index).isValid());
        QTest::mouseClick(listBox()->viewport(), Qt::LeftButton, modifiers,
                          listBox()->visualRect(index).center());
    }

    void openWindow()
    {
        window = std::make_unique<TForm1>(nullptr, ".");
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // Starts the best of millions of dividers: seconds of work.
    void startLongRun()
    {
        for (const auto& [name, text] : {std::pair{"editTol", "100"}, {"editRmax", "9100000"}, {"editRsumMin", "1"},
                                         {"editRsumMax", "9100000"}, {"editMaxResults", "9100000"}})
            find<QLineEdit>(name)->setText(text);
        for (QCheckBox* arm : window->findChildren<QCheckBox*>(QRegularExpression("^chk(Hi|Lo)")))
            arm->setChecked(true);
        find<QComboBox>("cmbOrder")->setCurrentIndex(1);
        find<QComboBox>("cmbSeries")->setCurrentIndex(find<QComboBox>("cmbSeries")->findText("E192"));
        QTest::mouseClick(find("btnStart"), Qt::LeftButton);
    }

private slots:
    void init() { openWindow(); }

    void typed_fields_and_clicked_boxes_give_the_lines_of_the_calculation()
    {
        SearchInput expected;
        for (const auto& [name, field, text] :
             {std::tuple{"editUin", Field::Uin, "3.3"}, {"editUout", Field::Uout, "0.8"}, {"editTol", Field::Tol, "2"},
              {"editRmin", Field::Rmin, "1.5"}, {"editRmax", Field::Rmax, "470"}, {"editRsumMin", Field::RsumMin, "20"},
              {"editRsumMax", Field::RsumMax, "300"}, {"editMaxResults", Field::MaxResults, "90"}}) {
            type(window->findChild<QLineEdit*>(name), text);
            expected.text(field) = text;
        }
        type(find<QLineEdit>("editSpecVal3"), "4.7");
        QTest::mouseClick(find<QCheckBox>("chkHi2Rser"), Qt::LeftButton);
        QTest::mouseClick(find<QCheckBox>("chkLo2Rpar"), Qt::LeftButton);
        find<QComboBox>("cmbOrder")->setFocus();
        QTest::keyClick(find<QComboBox>("cmbOrder"), Qt::Key_Down); // best first
        expected.choice(ChoiceId::Order) = 1;
        find<QComboBox>("cmbSeries")->setFocus();
        QTest::keyClick(find<QComboBox>("cmbSeries"), Qt::Key_Up); // E12
        expected.choice(ChoiceId::Series) = 2;
        // The special boxes step unchecked, grayed, checked, as their caption reads.
        QList<Qt::CheckState> states;
        for (int i = 0; i < 5; ++i) {
            QTest::mouseClick(find<QCheckBox>("chkSpecVal3"), Qt::LeftButton);
            states.append(find<QCheckBox>("chkSpecVal3")->checkState());
        }
        QCOMPARE(states, (QList{Qt::Checked, Qt::Unchecked, Qt::PartiallyChecked, Qt::Checked, Qt::Unchecked}));
        expected.shapes(true).allow(ArmKind::Series);
        expected.shapes(false).allow(ArmKind::Parallel);
        expected.specialSlots[3] = {CheckState::Unchecked, "4.7"};
        EnabledHistory history(find("Panel1"));
        clickStart();
        const TestRun run = runInput(expected);
        QStringList lines;
        for (const std::string& line : run.lines())
            lines.append(QString::fromStdString(line));
        QVERIFY(lines.size() > 24);
        QCOMPARE(listLines(), lines);
        QVERIFY(!isRed(find<QLineEdit>("editUout")));
        QCOMPARE(find<QLabel>("lblSummary")->text(), toQString(summaryText(*run.summary, run.list.numbers(), false)));
        QCOMPARE(history.states, (QList<bool>{false, true}));
    }

    void tab_runs_through_panel1_then_the_list_then_panel2_and_slot_3()
    {
        find("btnStart")->setFocus();
        const QStringList expected{
            "btnStart",    "editUin",      "editUout",    "editTol",        "editRmin",    "editRmax",
            "chkHi1R",     "chkHi2Rser",   "chkHi2Rpar",  "chkLo1R",        "chkLo2Rser",  "chkLo2Rpar",
            "editMaxResults", "editRsumMax", "editRsumMin", "chkDivOnly",   "ListBox1",    "editSpecVal0",
            "chkSpecVal0", "editSpecVal1", "chkSpecVal1", "editSpecVal2",   "chkSpecVal2", "editSpecVal3",
            "chkSpecVal3", "cmbOrder",    "editPartTol",  "cmbSeries",      "cmbCriterion", "cmbUse",
            "editSourceTol", "editHiMin", "editHiMax",    "editLoMin",      "editLoMax",   "editRoutMax", "cmbNotation",
            "editPowerMax", "editCurrentMin", "editCurrentMax", "editOutMin", "editOutMax", "editHiFixed",
            "editLoFixed", "editLoad", "btnStart"};
        QStringList visited{QApplication::focusWidget()->objectName()};
        while (visited.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited, expected);
    }

    void bad_field_turns_red_says_why_keeps_its_text_and_stops_the_run()
    {
        for (const auto& [name, text, why] :
             {std::tuple{"editUin", "", "Uin: \"\" is not a number"}, {"editTol", "100.5", "Tol: \"100.5\" is out of range"},
              {"editRsumMax", "1,5", "RsumMax: \"1,5\" is not a number"}, {"editSpecVal1", "x", "\"x\" is not a number"}}) {
            openWindow();
            auto* bad = window->findChild<QLineEdit*>(name);
            QTest::keyClick(bad, Qt::Key_Return); // Enter in an edit presses Start: a good run first
            QTRY_VERIFY(!window->searching());
            QCOMPARE(listLines().size(), 24);
            find<QCheckBox>("chkSpecVal1")->setCheckState(Qt::Checked);
            type(bad, text);
            clickStart();
            for (const QLineEdit* e : window->findChildren<QLineEdit*>())
                QCOMPARE(isRed(e), e == bad);
            QVERIFY2(bad->toolTip().startsWith(QString::fromUtf8(why)), qPrintable(bad->toolTip()));
            QVERIFY(find<QLabel>("lblSummary")->text().contains(bad->toolTip()));
            QCOMPARE(listLines(), QStringList());
            QVERIFY(find("Panel1")->isEnabled());
            QCOMPARE(bad->text(), text);
            if (bad == find<QLineEdit>("editSpecVal1"))
                find<QCheckBox>("chkSpecVal1")->setCheckState(Qt::PartiallyChecked); // not read now, so no longer red
            else
                type(bad, "10");
            clickStart();
            QVERIFY(!isRed(bad));
        }
    }

    void a_file_of_values_is_searched_and_a_bad_one_is_named_with_its_fault()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("drawer.txt"));
        const auto write = [&](const char* content) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) > 0);
        };
        write("# my drawer\n4k7\n10k\n1k0\n2.2\n");
        window->setValuesFile(path);
        QCOMPARE(find<QLabel>("lblValuesFile")->text(), QStringLiteral("drawer.txt"));
        type(find<QLineEdit>("editTol"), "20");
        clickStart();
        SearchInput expected = inputWith({{Field::Tol, "20"}});
        expected.valuesFile = path.toStdString();
        QStringList lines;
        for (const std::string& line : runInput(expected).lines())
            lines.append(QString::fromStdString(line));
        QVERIFY(!lines.isEmpty());
        QCOMPARE(listLines(), lines);
        // Read again at each Start: a bad line stops the run and is named.
        write("4k7\n10 pF\n");
        clickStart();
        QCOMPARE(listLines(), QStringList());
        QCOMPARE(find<QLabel>("lblSummary")->text(),
                 QStringLiteral("drawer.txt: line 2: \"10 pF\" is no resistor value"));
        QCOMPARE(find<QLabel>("lblValuesFile")->palette().color(QPalette::WindowText), QColor(Qt::red));
        // Back on a series, the file is not read.
        find<QComboBox>("cmbSeries")->setFocus();
        QTest::keyClick(find<QComboBox>("cmbSeries"), Qt::Key_Up);
        QCOMPARE(find<QComboBox>("cmbSeries")->currentText(), QStringLiteral("E192"));
        QCOMPARE(find<QLabel>("lblValuesFile")->text(), QString());
        // Asked for a file again, Cancel leaves E192 chosen.
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        cancel.start(20);
        QTest::keyClick(find<QComboBox>("cmbSeries"), Qt::Key_End);
        QCOMPARE(find<QComboBox>("cmbSeries")->currentText(), QStringLiteral("E192"));
        clickStart();
        QVERIFY(listLines().size() > 24);
    }

    void failed_run_shows_the_error_and_leaves_a_working_window()
    {
        MessageBoxCatcher boxes;
        window->resultList().setCapacity(3);
        clickStart();
        QCOMPARE(boxes.boxes, (QList<MessageBoxCatcher::Box>{
                                  {"Tarnel", "The result list cannot take another line.", QMessageBox::Critical}}));
        QVERIFY(find("Panel1")->isEnabled());
        QCOMPARE(listLines().size(), 3); // the lines before the failure stay
        window->resultList().setCapacity(std::numeric_limits<std::size_t>::max());
        clickStart();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(listLines().size(), 24);
    }

    void resizing_moves_the_panels_and_slot_3_and_stretches_the_list_until_the_window_scrolls()
    {
        auto* surface = find("Panel1")->parentWidget();
        const QSize opened = window->size();
        for (const QSize change : {QSize(24, 0), QSize(300, 90), QSize(-100, -300)}) {
            window->resize(opened + change);
            QTRY_COMPARE(window->size(), opened + change);
            // Shorter than the panels or the column beside them need, the
            // window scrolls instead of cutting them off.
            const int columnNeeds = surface->parentWidget()->layout()->minimumSize().height();
            QCOMPARE(surface->height(), std::max({641, columnNeeds, window->height() - find("menuBar")->height()}));
            const int dw = surface->width() - 654;
            QCOMPARE(find("Panel1")->geometry(), QRect(237 + dw, 8, 204, 625));
            QCOMPARE(find("Panel2")->geometry(), QRect(447 + dw, 8, 204, 625));
            QCOMPARE(listBox()->geometry(), QRect(0, 8, 231 + dw, surface->height() - 9));
            // Slot 3 stays in Panel2's fourth row.
            QCOMPARE(find<QLineEdit>("editSpecVal3")->geometry(), QRect(567 + dw, 141, 73, 33));
            QCOMPARE(find<QCheckBox>("chkSpecVal3")->geometry(), QRect(464 + dw, 145, 97, 25));
        }
        // The window opens centred within the screen's free area, shrunk where it does not fit.
        QCOMPARE(placedWithin({1200, 938}, {0, 0, 1920, 1200}), QRect(360, 143, 1200, 938));
        QCOMPARE(placedWithin({1200, 938}, {10, 0, 1366, 728}), QRect(93, 32, 1200, 688));
    }

    void captions_and_the_widest_values_fit_their_controls()
    {
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (!label->wordWrap() && label != find<QLabel>("lblDetails"))
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(label->objectName()));
        for (const QCheckBox* box : window->findChildren<QCheckBox*>())
            QVERIFY2(box->fontMetrics().horizontalAdvance(box->text()) <= textRoom(*box), qPrintable(box->objectName()));
        const char* const edits[] = {"editUin",     "editUout",    "editTol",        "editRmin",   "editRmax",
                                     "editRsumMin", "editRsumMax", "editMaxResults", "editPartTol", "editSourceTol",
                                     "editHiMin",   "editHiMax",   "editLoMin",      "editLoMax",   "editRoutMax",
                                     "editPowerMax", "editCurrentMin", "editCurrentMax", "editOutMin", "editOutMax",
                                     "editHiFixed", "editLoFixed", "editLoad", "editPinCurrent"};
        static_assert(std::size(edits) == numberFields.size());
        for (const NumberField& field : numberFields) {
            const char* name = edits[static_cast<std::size_t>(field.field)];
            const auto* edit = window->findChild<QLineEdit*>(name);
            QVERIFY2(edit->fontMetrics().horizontalAdvance(widestValueText(field.range)) <= textRoom(*edit), name);
        }
    }

    void selected_lines_and_every_line_are_copied()
    {
        clickStart();
        const QStringList lines = listLines();
        clickRow(5);
        clickRow(2, Qt::ControlModifier);
        clickRow(8, Qt::ShiftModifier); // from the last clicked row, 2, to 8
        clickRow(4, Qt::ControlModifier); // and 4 out again
        clickRow(20, Qt::ControlModifier);
        QTest::keyClick(listBox(), Qt::Key_C, Qt::ControlModifier);
        const QStringList expected{lines[2], lines[3], lines[5], lines[6], lines[7], lines[8], lines[20]};
        QCOMPARE(QGuiApplication::clipboard()->text(), expected.join('\n'));
        listBox()->copyTableAction()->trigger();
        const QStringList table = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(table.size(), expected.size() + 1);
        QVERIFY(table[0].startsWith("combination\thigh\tlow\thigh_r1"));
        QVERIFY(table[7].startsWith("0\t1\t1\t62\t\t6.8\t")); // the last selected line, row 20
        QVERIFY(find<QLabel>("lblDetails")->text().startsWith("High arm: 62 k")); // the current row's divider
        // A part tolerance that does not read turns red and leaves the band as it was.
        const QString details = find<QLabel>("lblDetails")->text();
        const QString partTol = find<QLineEdit>("editPartTol")->text();
        type(find<QLineEdit>("editPartTol"), "x");
        QVERIFY(isRed(find<QLineEdit>("editPartTol")));
        // Summary and details say their run's inputs have changed, and no longer once they are back.
        QCOMPARE(find<QLabel>("lblDetails")->text(), "Of the run listed, before the inputs changed:\n" + details);
        QVERIFY(find<QLabel>("lblSummary")->text().endsWith("(inputs changed since this run)"));
        type(find<QLineEdit>("editPartTol"), partTol);
        QCOMPARE(find<QLabel>("lblDetails")->text(), details);
        QVERIFY(!find<QLabel>("lblSummary")->text().endsWith("(inputs changed since this run)"));
        // Ranges of a selection come in click order and may overlap; each line goes once, in list order.
        const QAbstractItemModel* model = listBox()->model();
        QItemSelection overlapping;
        for (const auto& [top, bottom] : {std::pair{7, 9}, {1, 1}, {3, 8}, {5, 5}})
            overlapping.append(QItemSelectionRange(model->index(top, 0), model->index(bottom, 0)));
        QCOMPARE(QString::fromUtf8(window->resultModel().linesText(overlapping)),
                 (lines.mid(1, 1) + lines.mid(3, 7)).join('\n'));
        QCOMPARE(listBox()->copyAllAction()->text(), QStringLiteral("Copy all"));
        listBox()->copyAllAction()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.join('\n'));
    }

    void a_preset_gives_the_lines_tarnel_cli_gives_with_it_and_starts_nothing()
    {
        const auto cliLines = [](const QString& preset, std::vector<std::string> more = {}) {
            std::ostringstream out, err;
            more.insert(more.begin(), {"--preset", preset.toStdString()});
            const int status = cli::run(more, out, err, ".");
            return QString::number(status) + '\n' + QString::fromStdString(out.str()).trimmed();
        };
        const QString adc = "ADC input 24 V to 3.0 V, total at least 100 k";
        window->loadPreset(adc);
        QVERIFY(listLines().isEmpty() && !window->searching());
        clickStart();
        QCOMPARE("0\n" + listLines().join('\n'), cliLines(adc));
        // A preset the window saves, every kind of input changed, reads the same on the command line.
        type(find<QLineEdit>("editTol"), "3");
        type(find<QLineEdit>("editLoMax"), "22");
        find<QCheckBox>("chkHi2Rser")->setChecked(true);
        find<QCheckBox>("chkDivOnly")->setChecked(true);
        find<QCheckBox>("chkSpecVal0")->setCheckState(Qt::Unchecked);
        find<QComboBox>("cmbOrder")->setCurrentIndex(1);
        find<QComboBox>("cmbCriterion")->setCurrentIndex(1);
        window->savePreset("board 7");
        clickStart();
        QCOMPARE("0\n" + listLines().join('\n'), cliLines("board 7"));
        QVERIFY(listLines().size() > 1);
        // The load, hidden in feedback use, stays out of a preset saved in it.
        type(find<QLineEdit>("editLoad"), "1M");
        find<QComboBox>("cmbUse")->setCurrentIndex(static_cast<int>(DividerUse::Feedback));
        window->savePreset("board 8");
        clickStart();
        QCOMPARE("0\n" + listLines().join('\n'), cliLines("board 8"));
        window->deletePreset("board 8");
        find<QComboBox>("cmbUse")->setCurrentIndex(static_cast<int>(DividerUse::Divider));
        find<QLineEdit>("editLoad")->clear();
        // Saved again under its name, a preset is replaced; its stock file
        // gives way to the series the command line asks for.
        QTemporaryDir dir;
        QFile stock(dir.filePath("drawer.txt"));
        QVERIFY(stock.open(QIODevice::WriteOnly) && stock.write("10k\n4k7\n") > 0);
        stock.close();
        window->setValuesFile(stock.fileName());
        window->savePreset("board 7");
        clickStart();
        QCOMPARE("0\n" + listLines().join('\n'), cliLines("board 7"));
        find<QComboBox>("cmbSeries")->setCurrentIndex(find<QComboBox>("cmbSeries")->findText("E96"));
        clickStart();
        QCOMPARE("0\n" + listLines().join('\n'), cliLines("board 7", {"--series", "E96"}));
        window->deletePreset("board 7");
        QVERIFY(cliLines("board 7").startsWith("2\n"));
    }

    void at_1366x768_every_control_the_summary_and_the_first_lines_details_show_together()
    {
        QCOMPARE(window->screen()->availableGeometry(), QRect(0, 0, 1366, 768));
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        for (QCheckBox* arm : window->findChildren<QCheckBox*>(QRegularExpression("^chk(Hi|Lo)")))
            arm->setChecked(true);
        clickStart();
        clickRow(0);
        for (const QWidget* w : window->findChildren<QWidget*>())
            if (w->isVisible() && !listBox()->isAncestorOf(w) && w->metaObject()->className() != QByteArray("QWidget"))
                QVERIFY2(window->rect().contains(QRect(w->mapTo(window.get(), QPoint()), w->size())), qPrintable(w->objectName()));
        for (const QLabel* text : {find<QLabel>("lblSummary"), find<QLabel>("lblDetails")})
            QVERIFY(!text->text().isEmpty() && text->height() >= text->sizeHint().height());
        // The schematic has room for the largest divider, under the details.
        const auto* schematic = find<DividerSchematicView>("schematicView");
        QVERIFY(schematic->isVisible() && schematic->schematic().has_value());
        QVERIFY(schematic->width() >= schematic->sizeHint().width() &&
                schematic->height() >= schematic->sizeHint().height());
        QVERIFY(schematic->y() >= find("lblDetails")->geometry().bottom());
        const auto* plot = find<DividerPlot>("dividerPlot");
        QVERIFY(plot->isVisible() && plot->width() >= plot->minimumSizeHint().width() &&
                plot->height() >= plot->minimumSizeHint().height());
        // The longest line shows whole.
        int widest = 0;
        for (const QString& line : listLines())
            widest = std::max(widest, listBox()->fontMetrics().horizontalAdvance(line));
        QVERIFY(widest < listBox()->viewport()->width());
    }

    void the_chosen_line_is_drawn_with_its_parts_as_marked_and_follows_the_use()
    {
        const auto* schematic = find<DividerSchematicView>("schematicView");
        find<QCheckBox>("chkHi2Rser")->setChecked(true);
        find<QCheckBox>("chkLo2Rpar")->setChecked(true);
        clickStart();
        QVERIFY(!schematic->schematic().has_value());
        const auto& model = window->resultModel();
        for (const int row : {0, 3}) {
            clickRow(row);
            QVERIFY(schematic->schematic().has_value());
            const DividerSchematic& drawn = *schematic->schematic();
            const Divider divider = model.list().divider(static_cast<std::size_t>(row));
            const DividerSchematic expected = dividerSchematic(divider, *model.runParams(), model.list().numbers());
            QCOMPARE(drawn.high.resistors.size(), expected.high.resistors.size());
            QCOMPARE(drawn.low.resistors.front().marking, expected.low.resistors.front().marking);
            QCOMPARE(drawn.tapVoltage, expected.tapVoltage);
            QCOMPARE(drawn.topName, std::string("Uin"));
        }
        // Drawn in the palette's text colour, whatever the theme.
        QPalette dark = schematic->palette();
        dark.setColor(QPalette::WindowText, QColor(0, 200, 0));
        find("schematicView")->setPalette(dark);
        const QImage picture = find("schematicView")->grab().toImage();
        int inTextColour = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                inTextColour += picture.pixelColor(x, y) == QColor(0, 200, 0) ? 1 : 0;
        QVERIFY(inTextColour > 100);
        // Saved as shown, PNG or SVG by the name; a folder that is not there is named, nothing written.
        QTemporaryDir dir;
        QWidget& drawing = *find("schematicView");
        for (const char* picture : {"schematicView", "dividerPlot"})
            QCOMPARE(find(picture)->actions().size(), 1); // Save picture…
        QCOMPARE(savePicture(drawing, dir.filePath("divider.png")), QString());
        QCOMPARE(QImage(dir.filePath("divider.png")).size(), drawing.size());
        QCOMPARE(savePicture(drawing, dir.filePath("divider.SVG")), QString());
        QFile svg(dir.filePath("divider.SVG"));
        QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));
        QVERIFY(savePicture(drawing, dir.filePath("missing/divider.png")).startsWith(dir.filePath("missing/divider.png: ")));
        // In feedback use the tap is the feedback pin at the reference, and
        // the fields of Uin and Uout hold the regulated output and the reference.
        // A field of one use alone shows in it, keeping its text while the other use hides it.
        find<QLineEdit>("editLoad")->setText(QStringLiteral("1M"));
        QVERIFY(!find("editLoad")->isHidden() && find("editPinCurrent")->isHidden());
        find<QComboBox>("cmbUse")->setCurrentIndex(static_cast<int>(DividerUse::Feedback));
        QCOMPARE(find<QLabel>("Label1")->text(), QStringLiteral("Vout [V]"));
        QCOMPARE(find<QLabel>("Label2")->text(), QStringLiteral("Vref [V]"));
        QVERIFY(find("editLoad")->isHidden() && !find("editPinCurrent")->isHidden() && !find("lblPinCurrent")->isHidden());
        find<QLineEdit>("editPinCurrent")->setText(QStringLiteral("50"));
        clickStart();
        clickRow(0);
        QVERIFY2(find<QLabel>("lblDetails")->text().contains(QStringLiteral("Pin current: 50 \u00b5A")),
                 qPrintable(find<QLabel>("lblDetails")->text()));
        QCOMPARE(find<QLineEdit>("editLoad")->text(), QStringLiteral("1M"));
        find<QLineEdit>("editLoad")->clear();
        find<QLineEdit>("editPinCurrent")->clear();
        QCOMPARE(schematic->schematic()->topName, std::string("Vout"));
        QCOMPARE(schematic->schematic()->tapName, std::string("FB = Vref"));
        find<QLineEdit>("editUin")->setText(QStringLiteral("x"));
        QTest::mouseClick(find("btnStart"), Qt::LeftButton);
        QVERIFY(find<QLineEdit>("editUin")->toolTip().startsWith(QStringLiteral("Vout: ")));
        find<QLineEdit>("editUin")->setText(QStringLiteral("12"));
        find<QComboBox>("cmbUse")->setCurrentIndex(static_cast<int>(DividerUse::Divider));
        QCOMPARE(find<QLabel>("Label1")->text(), QStringLiteral("Uin [V]"));
        // A fixed arm's shape boxes are grayed while it is fixed.
        find<QLineEdit>("editLoFixed")->setText(QStringLiteral("240R"));
        QVERIFY(!find("chkLo2Rser")->isEnabled() && find("chkHi2Rser")->isEnabled());
        find<QLineEdit>("editLoFixed")->clear();
        QVERIFY(find("chkLo2Rser")->isEnabled());
        // A new run draws nothing until a line is chosen.
        QTest::mouseClick(find("btnStart"), Qt::LeftButton);
        QVERIFY(!schematic->schematic().has_value());
        QTRY_VERIFY_WITH_TIMEOUT(!window->searching(), 60000);
    }

    // A click on a point chooses its line; choosing a line marks its point.
    // A few lines are drawn a point each, many binned: both are tried.
    // However far a view is zoomed, its axes keep labelled ticks, at round values.
    void plot_axes_keep_round_ticks_at_any_zoom()
    {
        const struct {
            double low, high;
            std::vector<double> ticks;
        } views[] = {
            {-0.2, 3.3, {1, 10, 100, 1000}},
            {0.1, 1.2, {2, 5, 10}},
            {std::log10(4.7), std::log10(5.6), {5, 5.5}},
            {-2.3, -1.9, {0.006, 0.008, 0.010, 0.012}},
        };
        for (const auto& view : views) {
            const std::vector<double> ticks = logTicks(view.low, view.high);
            QCOMPARE(ticks.size(), view.ticks.size());
            for (std::size_t i = 0; i < ticks.size(); ++i)
                QVERIFY2(std::fabs(ticks[i] / view.ticks[i] - 1) < 1e-12, qPrintable(QString::number(ticks[i])));
        }
    }

    void a_plot_point_clicked_chooses_its_line_and_a_chosen_line_is_marked_data()
    {
        QTest::addColumn<QString>("tolerance");
        QTest::addColumn<QString>("maxResults");
        QTest::addRow("points") << "1" << "200";
        QTest::addRow("density") << "100" << "60000";
    }
    void a_plot_point_clicked_chooses_its_line_and_a_chosen_line_is_marked()
    {
        QFETCH(QString, tolerance);
        QFETCH(QString, maxResults);
        find<QLineEdit>("editTol")->setText(tolerance);
        find<QLineEdit>("editMaxResults")->setText(maxResults);
        for (QCheckBox* arm : window->findChildren<QCheckBox*>(QRegularExpression("^chk(Hi|Lo)")))
            arm->setChecked(true);
        auto* plot = find<DividerPlot>("dividerPlot");
        clickStart();
        QTRY_VERIFY_WITH_TIMEOUT(plot->ready(), 10000);
        QCOMPARE(listBox()->model()->rowCount(), maxResults.toInt());
        QVERIFY(plot->frontSize() > 0);
        for (const int row : {0, 3, 20}) {
            listBox()->scrollToTop(); // the click on the plot before scrolled to its line
            clickRow(row);
            QCOMPARE(plot->markedLine().value_or(9999), std::size_t(row));
            const QPoint point = plot->pointOf(static_cast<std::size_t>(row))->toPoint();
            QVERIFY(plot->rect().contains(point));
            find<QLabel>("lblDetails")->clear();
            // Elsewhere first, then on the point: the line chosen lies there, its details shown.
            clickRow(row + 1);
            QTest::mouseClick(plot, Qt::LeftButton, {}, point);
            const int chosen = listBox()->currentIndex().row();
            const QPointF at = *plot->pointOf(static_cast<std::size_t>(chosen));
            QVERIFY2(QLineF(at, point).length() < plot->fontMetrics().lineSpacing(), qPrintable(QString::number(chosen)));
            QCOMPARE(plot->markedLine().value_or(9999), std::size_t(chosen));
            QVERIFY(!find<QLabel>("lblDetails")->text().isEmpty());
            QVERIFY(find<DividerSchematicView>("schematicView")->schematic().has_value());
        }
        // Zoomed about a point and dragged, the point follows; a click on it
        // still chooses its line, a drag none; a double-click fits again.
        const QRectF fitted = plot->visibleRange();
        listBox()->scrollToTop();
        clickRow(0);
        const QPoint at3 = plot->pointOf(3)->toPoint();
        QWheelEvent wheel(at3, plot->mapToGlobal(at3), {}, QPoint(0, 3 * 120), Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(plot, &wheel);
        QVERIFY(plot->visibleRange().width() < 0.6 * fitted.width());
        QVERIFY(plot->visibleRange().height() < 0.6 * fitted.height());
        QVERIFY(QLineF(*plot->pointOf(3), at3).length() < 2);
        const QPoint by(-30, 20);
        QTest::mousePress(plot, Qt::LeftButton, {}, at3);
        for (const QPoint to : {at3 + by / 2, at3 + by}) {
            // QTest's moves carry no buttons held.
            QMouseEvent move(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(plot, &move);
        }
        QTest::mouseRelease(plot, Qt::LeftButton, {}, at3 + by);
        QCOMPARE(listBox()->currentIndex().row(), 0);
        QVERIFY(QLineF(*plot->pointOf(3), at3 + by).length() < 2);
        QTest::mouseClick(plot, Qt::LeftButton, {}, at3 + by);
        const int chosen = listBox()->currentIndex().row();
        QVERIFY2(QLineF(*plot->pointOf(static_cast<std::size_t>(chosen)), at3 + by).length() <
                     plot->fontMetrics().lineSpacing(),
                 qPrintable(QString::number(chosen)));
        QTest::mouseDClick(plot, Qt::LeftButton, {}, QPoint(plot->width() - 2, 2));
        QCOMPARE(plot->visibleRange(), fitted);
        // A click far from every point chooses nothing.
        const int before = listBox()->currentIndex().row();
        QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(plot->width() - 2, 2));
        QCOMPARE(listBox()->currentIndex().row(), before);
        // A new run drops the plot at once, its work on the old list ended.
        QTest::mouseClick(find("btnStart"), Qt::LeftButton);
        QVERIFY(!plot->ready());
        QTRY_VERIFY_WITH_TIMEOUT(!window->searching(), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(plot->ready(), 10000);
    }

    void escape_stops_a_long_run_at_once_the_window_answering_meanwhile()
    {
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        startLongRun();
        QTRY_VERIFY(find("busyPanel")->isVisible());
        QVERIFY(ticks > 10);
        QVERIFY(!find("Panel3")->isEnabled());
        // A second press is dropped: were it queued, the stop below would wait for a whole run.
        window->btnStartClick();
        QElapsedTimer stopping;
        stopping.start();
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!window->searching(), 1000);
        QVERIFY(stopping.elapsed() < 500);
        QCOMPARE(find<QLabel>("lblSummary")->text(), QStringLiteral("Stopped"));
        QCOMPARE(listLines(), QStringList());
        QVERIFY(find("Panel3")->isEnabled() && !find("busyPanel")->isVisible());
    }

    void results_are_saved_as_the_command_line_writes_them_or_not_at_all()
    {
        clickStart();
        const SearchParams& params = *window->resultModel().runParams();
        QTemporaryDir dir;
        const ResultFile csv = resultFileFor(dir.filePath("run"), "CSV (*.csv)");
        QCOMPARE(csv.path, dir.filePath("run.csv"));
        QCOMPARE(saveResults(csv, window->resultList(), params), QString());
        std::ostringstream expected;
        writeResults(OutputFormat::Csv, window->resultList(), params, expected);
        QFile saved(csv.path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), expected.str());
        QCOMPARE(resultFileFor(dir.filePath("run.JSON"), "CSV (*.csv)").format, OutputFormat::Json);
        const QString nowhere = dir.filePath("missing/run.txt");
        QVERIFY(saveResults({nowhere, OutputFormat::Text}, window->resultList(), params).startsWith(nowhere + ": "));
    }

    void closing_during_a_run_ends_it_promptly()
    {
        startLongRun();
        QElapsedTimer closing;
        closing.start();
        window->close();
        window.reset();
        QVERIFY(closing.elapsed() < 1000);
    }
    void keys_move_through_the_list_and_typing_searches_nothing()
    {
        clickStart();
        auto* list = listBox();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down); // the first row
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(list->currentIndex().row(), 23);
        QVERIFY(list->viewport()->rect().contains(list->visualRect(list->currentIndex())));
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_PageDown);
        QCOMPARE(list->currentIndex().row(), std::min(23, list->viewport()->height() / 15));
        // A line starts with "1", yet typing it moves nothing.
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClicks(list, "1");
        QCOMPARE(list->currentIndex().row(), 0);
        QCOMPARE(list->indexAt(list->visualRect(list->model()->index(5, 0)).center()).row(), 5);
    }

    void long_lines_scroll_sideways_instead_of_being_cut()
    {
        window->resize(1000, 700);
        for (const auto& [name, text] : {std::pair{"editRmax", "9100000"}, {"editRsumMax", "9100000"},
                                         {"editTol", "100"}, {"editMaxResults", "20000"}})
            find<QLineEdit>(name)->setText(text);
        find<QCheckBox>("chkHi1R")->setCheckState(Qt::Unchecked);
        find<QCheckBox>("chkHi2Rpar")->setCheckState(Qt::Checked);
        find<QCheckBox>("chkLo1R")->setCheckState(Qt::Unchecked);
        find<QCheckBox>("chkLo2Rpar")->setCheckState(Qt::Checked);
        clickStart();
        const QModelIndex last = listBox()->model()->index(19999, 0);
        const int width = QFontMetrics(listBox()->font()).horizontalAdvance(last.data().toString());
        QVERIFY(width > listBox()->viewport()->width());
        QVERIFY(listBox()->visualRect(last).width() >= width);
        QVERIFY(listBox()->horizontalScrollBar()->maximum() > 0);
    }
};

TARNEL_UI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
