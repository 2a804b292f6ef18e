#include "request/presets.h"

#include "text/quoted_text.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarnel {

namespace {

// In the file's own format, so that the examples read as a saved file does.
constexpr std::string_view examplesText = R"([Feedback 0.6 V to 3.3 V]
use=feedback
uin=3.3
uout=0.6
[Feedback 0.6 V to 5 V]
use=feedback
uin=5
uout=0.6
[Feedback 0.8 V to 3.3 V]
use=feedback
uin=3.3
uout=0.8
[Feedback 0.8 V to 5 V]
use=feedback
uin=5
uout=0.8
[Feedback 1.0 V to 3.3 V]
use=feedback
uin=3.3
uout=1.0
[Feedback 1.0 V to 5 V]
use=feedback
uin=5
uout=1.0
[Feedback 1.2 V to 3.3 V]
use=feedback
uin=3.3
uout=1.2
[Feedback 1.2 V to 5 V]
use=feedback
uin=5
uout=1.2
[Feedback 1.25 V to 3.3 V]
use=feedback
uin=3.3
uout=1.25
[Feedback 1.25 V to 5 V]
use=feedback
uin=5
uout=1.25
[ADC input 24 V to 3.0 V, total at least 100 k]
uin=24
uout=3.0
rmax=1000
rsum-min=100
rsum-max=1000
)";

} // namespace

PresetsReading readPresets(std::istream& in)
{
    PresetsReading reading;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (line.front() == '[' && line.back() == ']' && line.size() > 2)
            reading.presets.push_back({line.substr(1, line.size() - 2), {}});
        else if (equals != std::string::npos && equals > 0 && !reading.presets.empty())
            reading.presets.back().entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        else
            reading.problems.push_back("line " + std::to_string(number) + ": " + quoted(line) +
                                       " is neither [name] nor key=value under a name");
    }
    return reading;
}

void writePresets(std::ostream& out, const std::vector<Preset>& presets)
{
    out << "# Tarnel's presets: [name], then key=value with the keys of tarnel-cli's options.\n";
    for (const Preset& preset : presets) {
        out << '[' << preset.name << "]\n";
        for (const auto& [key, value] : preset.entries)
            out << key << '=' << value << '\n';
    }
}

std::vector<Preset> examplePresets()
{
    std::istringstream in{std::string(examplesText)};
    return readPresets(in).presets;
}

std::optional<std::string> presetsFilePath()
{
    // The XDG base directory rules: a relative XDG_CONFIG_HOME is ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/')
        return std::string(config) + "/tarnel/presets.ini";
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::string(home) + "/.config/tarnel/presets.ini";
    return std::nullopt;
}

PresetsReading loadPresets(const std::optional<std::string>& path)
{
    std::ifstream in;
    if (path)
        in.open(*path);
    if (!in.is_open())
        return {examplePresets(), {}};
    return readPresets(in);
}

const Preset* findPreset(const std::vector<Preset>& presets, std::string_view name)
{
    const auto found = std::find_if(presets.begin(), presets.end(), [&](const Preset& p) { return p.name == name; });
    return found == presets.end() ? nullptr : &*found;
}

EntriesReading presetInput(const Preset& preset)
{
    return readInputEntries([&](std::string_view key) -> std::optional<std::string> {
        // The last of a key given twice counts, as on the command line.
        const auto found = std::find_if(preset.entries.rbegin(), preset.entries.rend(),
                                        [&](const InputEntry& entry) { return entry.first == key; });
        if (found == preset.entries.rend())
            return std::nullopt;
        return found->second;
    });
}

} // namespace tarnel
