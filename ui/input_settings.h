#pragma once

#include "request/input_entries.h"

class QSettings;

namespace tarnel {

// A search's inputs kept in the settings' current group, each under its
// entry's key, so that a file of settings reads as the command line's words.
void saveInputs(QSettings& settings, const SearchInput& input);
[[nodiscard]] EntriesReading loadInputs(const QSettings& settings);

} // namespace tarnel
