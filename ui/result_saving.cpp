#include "result_saving.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <array>
#include <ostream>
#include <streambuf>

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

// The writers write to a std::ostream; this one hands their blocks to the
// file as they come, so a list of millions never becomes one string.
class DeviceBuffer final : public std::streambuf {
public:
    explicit DeviceBuffer(QIODevice& device) : device_(device) {}

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        return device_.write(text, count) == count ? count : 0;
    }
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return device_.write(&ch, 1) == 1 ? c : traits_type::eof();
    }

private:
    QIODevice& device_;
};

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
    QSaveFile out(file.path);
    if (!out.open(QIODevice::WriteOnly))
        return file.path + QStringLiteral(": ") + out.errorString();
    DeviceBuffer buffer(out);
    std::ostream stream(&buffer);
    writeResults(file.format, list, params, stream);
    if (!stream) {
        const QString error = out.errorString();
        out.cancelWriting();
        return file.path + QStringLiteral(": ") + error;
    }
    if (!out.commit())
        return file.path + QStringLiteral(": ") + out.errorString();
    return {};
}

} // namespace tarnel
