#pragma once

#include <string>
#include <string_view>

namespace tarnel {

// What the user typed, as a message shows it: in quotes, control characters
// and bytes of no UTF-8 character written out as \xFF, characters that show
// as nothing or as a blank (U+00A0, U+200B and the like) as \u00A0, and cut short with an
// ellipsis beyond 40 bytes, so that no value, however long, makes a long
// message, and every message is valid UTF-8.
[[nodiscard]] std::string quoted(std::string_view text);

// The same whole and without quotes, for a name that messages repeat.
[[nodiscard]] std::string escaped(std::string_view text);

// Text as typed, with the spaces datasheets print (no-break, thin, narrow
// no-break) as plain spaces and the ohm sign U+2126 as the Greek capital
// omega Unicode makes it equal to, so that a value copied as "10 kΩ" reads.
[[nodiscard]] std::string plainTyped(std::string_view text);

} // namespace tarnel
