#include "result_saving.h"

#include "output/output_file.h"

#include <QFile>
#include <QStringList>

#include <array>

namespace tarnel {

namespace {

struct FormatFile {
    OutputFormat format;
    const char* filter;
};

constexpr std::array<FormatFile, 3> formatFiles{{
    {OutputFormat::Text, "Text (*.txt)"},
    {OutputFormat::Csv, "CSV (*.csv)"},
    {OutputFormat::Json, "JSON (*.json)"},
}};

QString extensionOf(OutputFormat format)
{
    const std::string_view extension = formatExtensions[static_cast<std::size_t>(format)];
    return QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
}

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
    if (const std::optional<OutputFormat> format = formatOfPath(path.toStdString()))
        return {path, *format};
    for (const FormatFile& f : formatFiles)
        if (chosenFilter == QLatin1String(f.filter))
            return {path + QLatin1Char('.') + extensionOf(f.format), f.format};
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
