#include "main_window.h"

#include "control_adapters.h"
#include "divider_plot.h"
#include "divider_schematic.h"
#include "error_box.h"
#include "fitting.h"
#include "result_list_model.h"
#include "result_list_view.h"
#include "request/summary_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <string>

namespace tarnel {

namespace {

// A run that ends sooner shows no busy bar, so quick runs do not flicker.
constexpr int busyDelayMs = 300;
constexpr int progressIntervalMs = 100;
const QString staleNote = QStringLiteral(" (inputs changed since this run)");
const QString staleDetailsNote = QStringLiteral("Of the run listed, before the inputs changed:\n");

} // namespace

TForm1::TForm1(QWidget* parent, std::string decimalSeparator)
    : QWidget(parent),
      model_(new ResultListModel(NumberText(std::move(decimalSeparator)), this)),
      menuBar_(new QMenuBar(this)),
      scrollArea_(new QScrollArea(this)),
      surface_(new QWidget(scrollArea_)),
      form_(new QWidget(surface_)),
      column_(new QVBoxLayout),
      busyDelay_(new QTimer(this)),
      progressTimer_(new QTimer(this))
{
    createForm();
    createMenus();
    connectControls();
    const QSize client = openingSize();
    setGeometry(placedWithin({client.width(), client.height() + menuBar_->sizeHint().height()},
                             screen()->availableGeometry()));
}

// The plot's thread reads the list, which the model, gone before the plot, holds.
TForm1::~TForm1()
{
    plotView->clear();
}

void TForm1::connectControls()
{
    connect(btnStart, &QPushButton::clicked, this, &TForm1::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TForm1::stopSearch);
    connect(ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this, &TForm1::showDetails);
    connect(editPartTol, &QLineEdit::textChanged, this, &TForm1::readPartTolerance);
    fields_.connectChanges(this, [this] { markSummaryStale(); });
    connect(fields_.box(ChoiceId::Use), &QComboBox::currentIndexChanged, this, &TForm1::captionsFollowUse);
    captionsFollowUse();
    // A fixed arm is its one resistor whatever its boxes say: they wait,
    // grayed, until the arm is searched again.
    for (const bool highArm : {true, false})
        connect(fields_.edit(highArm ? Field::HighFixed : Field::LowFixed), &QLineEdit::textChanged, this,
                [this, highArm](const QString& text) {
                    for (const ArmKind kind : armKinds)
                        fields_.armCheck(highArm, kind)->setEnabled(text.trimmed().isEmpty());
                });
    connect(cmbSeries, &QComboBox::activated, this, &TForm1::seriesActivated);
    connect(&runner_, &SearchRunner::finished, this, &TForm1::searchFinished, Qt::QueuedConnection);
    busyDelay_->setSingleShot(true);
    busyDelay_->setInterval(busyDelayMs);
    connect(busyDelay_, &QTimer::timeout, this, [this] {
        showProgress();
        busyPanel->show();
    });
    progressTimer_->setInterval(progressIntervalMs);
    connect(progressTimer_, &QTimer::timeout, this, &TForm1::showProgress);
    // The plot's thread reads the list: it ends before the list changes.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, plotView, &DividerPlot::clear);
    connect(plotView, &DividerPlot::lineChosen, this, &TForm1::chooseLine);
    connect(ListBox1, &ResultListView::resultsSaved, this, [this](const QString& message) {
        lblSummary->setText(message);
    });
}

// In feedback use the field of Uin holds the regulated output and that of
// Uout the reference: their captions say so. A field of one use alone shows
// in it, keeping its text while hidden.
void TForm1::captionsFollowUse()
{
    const DividerUse use = chosenUse();
    Label1->setText(toQString(captionOf(Field::Uin, use)) + QStringLiteral(" [V]"));
    Label2->setText(toQString(captionOf(Field::Uout, use)) + QStringLiteral(" [V]"));
    for (const UseFieldPlace& place : useFieldPlaces_) {
        place.label->setVisible(place.use == use);
        place.edit->setVisible(place.use == use);
    }
}

DividerUse TForm1::chosenUse() const
{
    return static_cast<DividerUse>(std::max(0, fields_.box(ChoiceId::Use)->currentIndex()));
}

// What a search reads: the fields as they stand, but for those of the other use, hidden.
SearchInput TForm1::searchedInput() const
{
    SearchInput input = readControls();
    for (const NumberField& field : numberFields)
        if (const std::optional<DividerUse> only = onlyUseOf(field.field); only && *only != chosenUse())
            input.text(field.field).clear();
    return input;
}

ResultList& TForm1::resultList()
{
    return model_->list();
}

SearchInput TForm1::readControls() const
{
    SearchInput input = fields_.read();
    if (fileChosen())
        input.valuesFile = valuesFilePath_;
    return input;
}

void TForm1::showReading(const InputReading& reading)
{
    // A red field says why in its tooltip, as the command line would, and
    // the summary line gathers every reason.
    QStringList problems = fields_.show(reading);
    lblSummary->clear();
    if (fileChosen())
        showValuesFileProblem(*lblValuesFile, *lblSummary, valuesFilePath_, reading.valuesFileProblem);
    if (!lblSummary->text().isEmpty())
        problems.append(lblSummary->text());
    lblSummary->setText(problems.join(QStringLiteral("; ")));
}

void TForm1::btnStartClick()
{
    if (searching_)
        return; // a press during a run is dropped, not queued
    lblDetails->clear();
    schematicView->setSchematic(std::nullopt);
    // The view is whole again before an error box shows.
    reportingFailures(this, [this] {
        runSummary_.clear();
        const ResultListModel::Reset reset(*model_);
        model_->setRunParams(std::nullopt);
        lblSummary->clear();
        ResultList& list = resultList();
        list.clear();
        const InputReading reading = readSearchParams(searchedInput(), list.numbers());
        showReading(reading);
        for (const std::string& message : reading.listMessages)
            list.addMessage(message);
        if (!reading.valid)
            return;
        // Started first: should no thread start, the window stays as it was.
        // Nothing reads the list before this handler returns.
        runner_.start(reading.params, list, armTables_);
        model_->setListLent(true);
        runInputs_ = readControls();
        detailsStale_ = false;
        searching_ = true;
        setInputsEnabled(false);
        stopAction_->setEnabled(true);
        busyDelay_->start();
        progressTimer_->start();
    });
}

void TForm1::stopSearch()
{
    if (searching_)
        runner_.stop();
}

void TForm1::searchFinished(const SearchOutcome& outcome)
{
    searching_ = false;
    busyDelay_->stop();
    progressTimer_->stop();
    busyPanel->hide();
    stopAction_->setEnabled(false);
    setInputsEnabled(true);
    // The lines the search made show before an error box does.
    reportingFailures(this, [&] {
        {
            const ResultListModel::Reset reset(*model_);
            model_->setListLent(false);
            if (outcome.summary && !outcome.summary->stopped)
                model_->setRunParams(outcome.params);
        }
        if (outcome.failure)
            std::rethrow_exception(outcome.failure);
        if (model_->runParams())
            plotView->plot(resultList(), *model_->runParams());
        runSummary_ = toQString(summaryText(*outcome.summary, resultList().numbers(), false));
        lblSummary->setText(runSummary_);
    });
}

void TForm1::showProgress()
{
    lblProgress->setText(QStringLiteral("%1 found").arg(toQString(resultList().numbers().grouped(runner_.found()))));
}

// Every input is locked for a run, as the panel is, so that the inputs always
// read as those of the list shown.
void TForm1::setInputsEnabled(bool enabled)
{
    for (QWidget* inputs : {static_cast<QWidget*>(Panel1), static_cast<QWidget*>(Panel2),
                            static_cast<QWidget*>(editSpecVal3), static_cast<QWidget*>(chkSpecVal3),
                            static_cast<QWidget*>(Panel3)})
        inputs->setEnabled(enabled);
}

// The summary stands for the list under it: once any input differs from the
// run's, it says so, and no longer once they are back.
void TForm1::markSummaryStale()
{
    if (runSummary_.isEmpty() || searching_)
        return;
    const bool stale = readControls() != runInputs_;
    lblSummary->setText(stale ? runSummary_ + staleNote : runSummary_);
    if (stale != detailsStale_) {
        detailsStale_ = stale;
        showDetails();
    }
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // In the list, Enter is the list's own.
    if (enter && !ListBox1->hasFocus() && event->modifiers() == Qt::NoModifier) {
        btnStart->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), menuHeight);
    scrollArea_->setGeometry(0, menuHeight, width(), height() - menuHeight);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    runner_.stop();
    QWidget::closeEvent(event);
}

void TForm1::showDetails()
{
    // Details of a list whose inputs have changed say whose figures they are.
    reportingFailures(this, [this] {
        const int row = ListBox1->currentIndex().row();
        const QString details = model_->detailsText(row);
        lblDetails->setText(detailsStale_ && !details.isEmpty() ? staleDetailsNote + details : details);
        schematicView->setSchematic(model_->schematic(row));
        const bool divider = row >= 0 && model_->runParams() && !resultList().isMessage(static_cast<std::size_t>(row));
        plotView->markLine(divider ? std::optional<std::size_t>(static_cast<std::size_t>(row)) : std::nullopt);
    });
}

void TForm1::chooseLine(int line)
{
    const QModelIndex index = model_->index(line, 0);
    ListBox1->setCurrentIndex(index);
    ListBox1->scrollTo(index);
}

bool TForm1::fileChosen() const
{
    return cmbSeries->currentIndex() == fileEntry;
}

// The file entry asks for a file; with none chosen the series stays as it
// was, be it a series or the file chosen before.
void TForm1::seriesActivated(int index)
{
    if (index == fileEntry)
        return chooseValuesFile();
    entryBeforeFile_ = index;
    lblValuesFile->clear();
}

void TForm1::chooseValuesFile()
{
    reportingFailures(this, [this] {
        const QString start = valuesFilePath_ ? QFile::decodeName(valuesFilePath_->c_str()) : valuesFolder_;
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Resistor values"), start,
                                                          QStringLiteral("Text files (*.txt);;All files (*)"));
        if (!path.isEmpty())
            setValuesFile(path);
        else
            cmbSeries->setCurrentIndex(entryBeforeFile_);
    });
}

void TForm1::setValuesFile(const QString& path)
{
    valuesFilePath_ = QFile::encodeName(path).toStdString();
    valuesFolder_ = QFileInfo(path).absolutePath();
    cmbSeries->setCurrentIndex(fileEntry);
    entryBeforeFile_ = fileEntry;
    const QString name = QFileInfo(path).fileName();
    lblValuesFile->setText(lblValuesFile->fontMetrics().elidedText(name, Qt::ElideMiddle, lblValuesFile->width()));
    lblValuesFile->setToolTip(path);
    lblValuesFile->setPalette(QPalette());
    markSummaryStale();
}

// A new part tolerance shows in the chosen divider's band at once; one that
// does not read turns red and leaves the band as it was.
void TForm1::readPartTolerance()
{
    reportingFailures(this, [this] {
        const NumberField& field = numberField(Field::PartTol);
        const std::string text = editPartTol->text().toStdString();
        const NumberText& numbers = resultList().numbers();
        const FieldReading reading = readNumber(text, field.range, numbers);
        const std::string problem =
            failed(reading.status) ? fieldProblem(text, reading.status, field.range, numbers) : std::string();
        showVerdict(*editPartTol, {reading.status, problem}, field.caption);
        if (!model_->runParams() || reading.status != FieldStatus::Ok)
            return;
        SearchParams params = *model_->runParams();
        field.use(params, reading.value);
        model_->setRunParams(std::move(params));
        // Under the worst-case criterion the deviations, and so the front, follow the parts.
        plotView->plot(resultList(), *model_->runParams());
        showDetails();
    });
}

} // namespace tarnel
