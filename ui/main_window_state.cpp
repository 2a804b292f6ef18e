// TForm1's state from one start to the next: its inputs, geometry and folders in settings.
#include "main_window.h"

#include "input_settings.h"
#include "result_list_view.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>

namespace tarnel {

namespace {

const QString inputsGroup = QStringLiteral("inputs");
const QString geometryKey = QStringLiteral("window/geometry");
const QString valuesFolderKey = QStringLiteral("folders/values");
const QString resultsFolderKey = QStringLiteral("folders/results");

} // namespace

void TForm1::resetToDefaults()
{
    fields_.write(SearchInput());
    valuesFilePath_.reset();
    entryBeforeFile_ = cmbSeries->currentIndex();
    lblValuesFile->clear();
    lblValuesFile->setToolTip({});
}

void TForm1::saveState(QSettings& settings) const
{
    settings.beginGroup(inputsGroup);
    saveInputs(settings, readControls());
    settings.endGroup();
    settings.setValue(geometryKey, saveGeometry());
    settings.setValue(valuesFolderKey, valuesFolder_);
    settings.setValue(resultsFolderKey, ListBox1->saveFolder());
}

void TForm1::restoreState(QSettings& settings)
{
    restoreGeometry(settings.value(geometryKey).toByteArray());
    valuesFolder_ = settings.value(valuesFolderKey).toString();
    ListBox1->setSaveFolder(settings.value(resultsFolderKey).toString());
    settings.beginGroup(inputsGroup);
    const EntriesReading reading = loadInputs(settings);
    settings.endGroup();
    showInputs(reading);
}

void TForm1::showInputs(const EntriesReading& reading)
{
    fields_.write(reading.input);
    entryBeforeFile_ = cmbSeries->currentIndex();
    // What cannot be used is said in the summary, never in a box.
    QStringList notes;
    if (!reading.problems.empty()) {
        QStringList keys;
        for (const std::string& key : reading.problems)
            keys.append(QString::fromStdString(key));
        notes.append(tr("Settings not read, left at their defaults: %1").arg(keys.join(QStringLiteral(", "))));
    }
    if (reading.input.valuesFile) {
        const QString path = QFile::decodeName(reading.input.valuesFile->c_str());
        if (QFileInfo(path).isFile())
            setValuesFile(path);
        else
            notes.append(tr("The stock file %1 is gone; the series is used.").arg(path));
    } else {
        lblValuesFile->clear();
    }
    if (!notes.isEmpty())
        lblSummary->setText(notes.join(QStringLiteral("; ")));
}

} // namespace tarnel
