// TForm1's menu bar and the windows it opens: the manual and About.
#include "main_window.h"

#include "error_box.h"
#include "result_list_view.h"
#include "tarnel_version.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tarnel {

namespace {

// Built from the README's part on the window, as a resource of the program.
const QString manualResource = QStringLiteral(":/manual/window.md");

QAction* addShortcutAction(QMenu* menu, const QString& text, const QKeySequence& keys)
{
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    return action;
}

} // namespace

void TForm1::createMenus()
{
    menuBar_->setObjectName(QStringLiteral("menuBar"));
    QMenu* file = menuBar_->addMenu(tr("&File"));
    connect(file->addAction(tr("Open stock file…")), &QAction::triggered, this, &TForm1::chooseValuesFile);
    ListBox1->saveAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addAction(ListBox1->saveAction());
    file->addSeparator();
    connect(addShortcutAction(file, tr("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q)), &QAction::triggered, this,
            &QWidget::close);

    QMenu* edit = menuBar_->addMenu(tr("&Edit"));
    // The list's own Copy, Ctrl+C while the list has the focus, so that the
    // edits keep theirs.
    edit->addAction(ListBox1->copyAction());
    connect(addShortcutAction(edit, tr("Copy details"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
            &QAction::triggered, this, &TForm1::copyDetails);
    edit->addAction(ListBox1->copyTableAction());
    edit->addSeparator();
    connect(edit->addAction(tr("Reset to defaults")), &QAction::triggered, this, &TForm1::resetToDefaults);

    QMenu* search = menuBar_->addMenu(tr("&Search"));
    // Enter is the window's own (keyPressEvent): the item shows the key, and
    // a shortcut bound to the menu alone never takes it from the inputs or the list.
    QAction* start = addShortcutAction(search, tr("Start"), QKeySequence(Qt::Key_Return));
    start->setShortcutContext(Qt::WidgetShortcut);
    connect(start, &QAction::triggered, this, &TForm1::btnStartClick);
    stopAction_ = addShortcutAction(search, tr("Stop"), QKeySequence(Qt::Key_Escape));
    stopAction_->setEnabled(false);
    connect(stopAction_, &QAction::triggered, this, &TForm1::stopSearch);

    // Filled as it opens, so that it lists the presets file as it is then.
    QMenu* presets = menuBar_->addMenu(tr("&Presets"));
    presets->setObjectName(QStringLiteral("presetsMenu"));
    connect(presets, &QMenu::aboutToShow, this,
            [this, presets] { reportingFailures(this, [&] { fillPresetsMenu(*presets); }); });

    QMenu* help = menuBar_->addMenu(tr("&Help"));
    connect(addShortcutAction(help, tr("Manual"), QKeySequence(Qt::Key_F1)), &QAction::triggered, this,
            &TForm1::showManual);
    connect(help->addAction(tr("About Tarnel")), &QAction::triggered, this, &TForm1::showAbout);
}

void TForm1::copyDetails()
{
    if (!lblDetails->text().isEmpty())
        QGuiApplication::clipboard()->setText(lblDetails->text());
}

void TForm1::showManual()
{
    reportingFailures(this, [this] {
        auto* manual = findChild<QDialog*>(QStringLiteral("manual"));
        if (manual == nullptr) {
            manual = new QDialog(this);
            manual->setObjectName(QStringLiteral("manual"));
            manual->setWindowTitle(tr("Tarnel manual"));
            auto* text = new QTextBrowser(manual);
            QFile source(manualResource);
            if (!source.open(QIODevice::ReadOnly))
                throw std::runtime_error("the manual is missing from the program");
            text->setMarkdown(QString::fromUtf8(source.readAll()));
            auto* layout = new QVBoxLayout(manual);
            layout->addWidget(text);
            manual->resize(640, 600);
        }
        manual->show();
        manual->raise();
        manual->activateWindow();
    });
}

void TForm1::showAbout()
{
    QMessageBox::about(this, tr("About Tarnel"),
                       tr("<p><b>Tarnel %1</b></p><p>Finds resistive voltage dividers from standard resistor "
                          "values.</p><p>Copyright 2026 Tarnel developers. Proprietary licence: no right to "
                          "copy, modify or distribute is granted.</p>")
                           .arg(QString::fromLatin1(tarnelVersion)));
}

} // namespace tarnel
