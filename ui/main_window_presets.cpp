// TForm1's presets: named sets of inputs in the file tarnel-cli --preset reads.
#include "main_window.h"

#include "control_adapters.h"
#include "error_box.h"
#include "request/presets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QSaveFile>

#include <algorithm>
#include <sstream>

namespace tarnel {

namespace {

QString joined(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list.append(toQString(text));
    return list.join(QStringLiteral("; "));
}

} // namespace

std::vector<Preset> TForm1::readPresetsFile()
{
    const PresetsReading reading = loadPresets(presetsFilePath());
    if (!reading.problems.empty())
        lblSummary->setText(tr("Presets file: %1").arg(joined(reading.problems)));
    return reading.presets;
}

void TForm1::writePresetsFile(const std::vector<Preset>& presets)
{
    const std::optional<std::string> path = presetsFilePath();
    if (!path)
        throw std::runtime_error("Presets need HOME or XDG_CONFIG_HOME to say where they are kept");
    std::ostringstream text;
    writePresets(text, presets);
    const QString name = QFile::decodeName(path->c_str());
    QDir().mkpath(QFileInfo(name).absolutePath());
    // Whole or not at all, so that a failure never loses the presets there.
    QSaveFile file(name);
    const std::string bytes = text.str();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0 ||
        !file.commit())
        throw std::runtime_error("Cannot write the presets to " + *path + ": " + file.errorString().toStdString());
}

void TForm1::fillPresetsMenu(QMenu& menu)
{
    menu.clear();
    connect(menu.addAction(tr("Save as preset…")), &QAction::triggered, this, [this] {
        bool ok = false;
        const QString name = QInputDialog::getText(this, tr("Save as preset"), tr("Name:"), QLineEdit::Normal,
                                                   QString(), &ok)
                                 .simplified();
        if (ok && !name.isEmpty())
            reportingFailures(this, [&] { savePreset(name); });
    });
    connect(menu.addAction(tr("Delete preset…")), &QAction::triggered, this, [this] {
        QStringList names;
        for (const Preset& preset : readPresetsFile())
            names.append(toQString(preset.name));
        bool ok = false;
        const QString name = QInputDialog::getItem(this, tr("Delete preset"), tr("Preset:"), names, 0, false, &ok);
        if (ok)
            reportingFailures(this, [&] { deletePreset(name); });
    });
    menu.addSeparator();
    for (const Preset& preset : readPresetsFile()) {
        const QString name = toQString(preset.name);
        connect(menu.addAction(name), &QAction::triggered, this,
                [this, name] { reportingFailures(this, [&] { loadPreset(name); }); });
    }
}

void TForm1::loadPreset(const QString& name)
{
    const std::vector<Preset> presets = readPresetsFile();
    if (const Preset* preset = findPreset(presets, name.toStdString()))
        showInputs(presetInput(*preset));
}

void TForm1::savePreset(const QString& name)
{
    std::vector<Preset> presets = readPresetsFile();
    // What a search reads, so that the command line runs a preset alike in either use.
    Preset saved{name.toStdString(), inputEntries(searchedInput())};
    const auto same = std::find_if(presets.begin(), presets.end(), [&](const Preset& p) { return p.name == saved.name; });
    if (same != presets.end())
        *same = std::move(saved);
    else
        presets.push_back(std::move(saved));
    writePresetsFile(presets);
}

void TForm1::deletePreset(const QString& name)
{
    std::vector<Preset> presets = readPresetsFile();
    std::erase_if(presets, [&](const Preset& preset) { return preset.name == name.toStdString(); });
    writePresetsFile(presets);
}

} // namespace tarnel
