#pragma once

#include <string>
#include <string_view>

namespace tarnel {

// What the user typed, as a message shows it: in quotes, control characters
// and bytes of no UTF-8 character written out as \xFF, and cut short with an
// ellipsis beyond 40 bytes, so that no value, however long, makes a long
// message, and every message is valid UTF-8.
[[nodiscard]] std::string quoted(std::string_view text);

// The same whole and without quotes, for a name that messages repeat.
[[nodiscard]] std::string escaped(std::string_view text);

} // namespace tarnel
