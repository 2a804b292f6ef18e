#include "result_saving.h"

#include "output/output_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <array>

namespace tarnel {

namespace {

struct FormatFile {
    OutputFormat format;
    const char* extension;
    const char* filter;
};

constexpr std::array<FormatFile, 3> formatFiles{{
    {OutputFormat::Text, "txt", "Text (*.txt)"},
    {OutputFormat::Csv, "csv", "CSV (*.csv)"},
    {OutputFormat::Json, "json", "JSON (*.json)"},
}};

} // namespace

QString resultFileFilters()
{
    QStringList filters;
    for (const FormatFile& f : formatFiles)
        filters.append(QString::fromLatin1(f.filter));
    return filters.join(QStringLiteral(";;"));
}

ResultFile resultFileFor(const QString& path, const QString& chosenFilter)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FormatFile& f : formatFiles)
        if (suffix == QLatin1String(f.extension))
            return {path, f.format};
    for (const FormatFile& f : formatFiles)
        if (chosenFilter == QLatin1String(f.filter))
            return {path + QLatin1Char('.') + QLatin1String(f.extension), f.format};
    return {path, OutputFormat::Text};
}

QString saveResults(const ResultFile& file, const ResultList& list, const SearchParams& params)
{
    OutputFile out(QFile::encodeName(file.path).toStdString());
    if (out.problem().empty()) {
        writeResults(file.format, list, params, out.stream());
        if (out.commit())
            return {};
    }
    return file.path + QStringLiteral(": ") + QString::fromStdString(out.problem());
}

} // namespace tarnel
