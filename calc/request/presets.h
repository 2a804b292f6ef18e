#pragma once

// Named sets of inputs, kept in one file the window and the command line
// share: "[name]" starts a preset, then a line "key=value" an input entry,
// the keys being the command line's options. Until the window saves one,
// the file does not exist and the shipped examples stand in for it.

#include "request/input_entries.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarnel {

struct Preset {
    std::string name;
    std::vector<InputEntry> entries; // an input not given keeps its initial value
};

struct PresetsReading {
    std::vector<Preset> presets;
    std::vector<std::string> problems; // "line 7: \"uin 3\" is neither [name] nor key=value"
};

// Reads presets; a line that does not read is skipped and named, the rest kept.
[[nodiscard]] PresetsReading readPresets(std::istream& in);
void writePresets(std::ostream& out, const std::vector<Preset>& presets);

// Feedback dividers for the common regulator references and an ADC input.
[[nodiscard]] std::vector<Preset> examplePresets();

// $XDG_CONFIG_HOME/tarnel/presets.ini, or ~/.config/tarnel/presets.ini;
// none without either variable.
[[nodiscard]] std::optional<std::string> presetsFilePath();

// The presets in the file at path, or the examples while there is no file.
[[nodiscard]] PresetsReading loadPresets(const std::optional<std::string>& path);

// The preset of that name, if any.
[[nodiscard]] const Preset* findPreset(const std::vector<Preset>& presets, std::string_view name);

// The inputs a preset gives.
[[nodiscard]] EntriesReading presetInput(const Preset& preset);

} // namespace tarnel
