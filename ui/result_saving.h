#pragma once

#include "output/result_writers.h"

#include <QString>

namespace tarnel {

// The filters of the save dialog, one a format, in the order of OutputFormat.
[[nodiscard]] QString resultFileFilters();

// The format a file's extension asks for (.txt, .csv, .json); a file with
// none of them takes the format of the filter chosen, and its extension.
struct ResultFile {
    QString path;
    OutputFormat format;
};
[[nodiscard]] ResultFile resultFileFor(const QString& path, const QString& chosenFilter);

// Writes the run's list in the command line's format to the file at once or
// not at all: a failure leaves any earlier file as it was. Returns why it
// failed, or nothing.
[[nodiscard]] QString saveResults(const ResultFile& file, const ResultList& list, const SearchParams& params);

} // namespace tarnel
