#include "text/quoted_text.h"

#include <array>
#include <cstdio>

namespace tarnel {

std::string quoted(std::string_view text)
{
    constexpr std::size_t shownLength = 40;
    std::string shown = "\"";
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        // Never cut inside a UTF-8 sequence: a continuation byte goes with its lead.
        if (shown.size() > shownLength && (c & 0xC0) != 0x80) {
            shown += "\u2026";
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            std::array<char, 5> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\x%02X", c);
            shown += escaped.data();
        } else {
            shown.push_back(byte);
        }
    }
    return shown + "\"";
}

} // namespace tarnel
