#include "input_settings.h"

#include <QSettings>
#include <QStringList>

namespace tarnel {

void saveInputs(QSettings& settings, const SearchInput& input)
{
    // Keys of inputs no longer chosen, such as a stock file, go with the rest.
    for (const QString& key : settings.childKeys())
        settings.remove(key);
    for (const auto& [key, value] : inputEntries(input))
        settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
}

EntriesReading loadInputs(const QSettings& settings)
{
    return readInputEntries([&](std::string_view key) -> std::optional<std::string> {
        const QString name = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
        if (!settings.contains(name))
            return std::nullopt;
        const QVariant value = settings.value(name);
        // A list written by hand without quotes reads as one, as "1,ser" does.
        if (value.typeId() == QMetaType::QStringList)
            return value.toStringList().join(QLatin1Char(',')).toStdString();
        return value.toString().toStdString();
    });
}

} // namespace tarnel
