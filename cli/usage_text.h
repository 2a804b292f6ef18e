#pragma once

#include <string>

namespace tarnel::cli {

// Every option with its default, the accepted values and the exit statuses.
[[nodiscard]] std::string helpText();

[[nodiscard]] std::string versionText();

// The one line that follows errors of usage (an unknown option, one special value too many).
[[nodiscard]] std::string usageHint();

} // namespace tarnel::cli
