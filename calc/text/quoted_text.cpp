#include "text/quoted_text.h"

#include <array>
#include <cstdio>

namespace tarnel {

namespace {

// The length of the well-formed UTF-8 sequence text starts with, or 0 when
// its first byte starts none: a stray continuation byte, an overlong form, a
// surrogate, a code point past U+10FFFF or a sequence cut short.
std::size_t sequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    // The bounds of the second byte, which alone rule out the overlong and
    // out-of-range forms; the bytes after it are plain continuation bytes.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

// Appends the character text starts with to out, written out as \xFF where
// it is a control character or a byte of no character; gives the bytes it took.
std::size_t appendCharacter(std::string_view text, std::string& out)
{
    const std::size_t length = sequenceLength(text);
    const auto c = static_cast<unsigned char>(text[0]);
    if (length == 0 || c < 0x20 || c == 0x7F) {
        std::array<char, 5> escaped{};
        std::snprintf(escaped.data(), escaped.size(), "\\x%02X", c);
        out += escaped.data();
        return 1;
    }
    out.append(text.substr(0, length));
    return length;
}

} // namespace

std::string escaped(std::string_view text)
{
    std::string shown;
    while (!text.empty())
        text.remove_prefix(appendCharacter(text, shown));
    return shown;
}

std::string quoted(std::string_view text)
{
    constexpr std::size_t shownLength = 40;
    std::string shown = "\"";
    while (!text.empty()) {
        if (shown.size() > shownLength) {
            shown += "\u2026";
            break;
        }
        text.remove_prefix(appendCharacter(text, shown));
    }
    return shown + "\"";
}

} // namespace tarnel
