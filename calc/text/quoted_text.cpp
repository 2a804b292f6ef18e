#include "text/quoted_text.h"

#include <algorithm>
#include <array>
#include <utility>
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

// The code point of a well-formed sequence of length bytes.
char32_t codePoint(std::string_view text, std::size_t length)
{
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[i])); };
    if (length == 1)
        return byte(0);
    char32_t point = byte(0) & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i)
        point = point << 6 | (byte(i) & 0x3F);
    return point;
}

// Characters a message would show as a blank or as nothing, so that a text
// holding one would look like one that reads: the C1 controls, the spaces
// other than U+0020, the zero-width and direction marks, the byte order mark.
bool invisible(char32_t c)
{
    return (c >= 0x80 && c <= 0xA0) || c == 0xAD || c == 0x034F || c == 0x061C || c == 0x115F || c == 0x1160 ||
           c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) ||
           (c >= 0x205F && c <= 0x206F) || c == 0x3000 || c == 0x3164 || c == 0xFEFF || c == 0xFFA0 ||
           (c >= 0xFFF0 && c <= 0xFFFB);
}

// Appends the character text starts with to out, written out as \xFF where
// it is a control character or a byte of no character, as \u200B where it
// shows as nothing or a blank; gives the bytes it took.
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
    if (const char32_t point = codePoint(text, length); length > 1 && invisible(point)) {
        std::array<char, 12> escaped{};
        std::snprintf(escaped.data(), escaped.size(), "\\u%04X", static_cast<unsigned>(point));
        out += escaped.data();
        return length;
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

std::string plainTyped(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> replaced{{
        {"\u00A0", " "}, {"\u2009", " "}, {"\u202F", " "}, {"\u2126", "\u03A9"}}};
    std::string plain;
    plain.reserve(text.size());
    while (!text.empty()) {
        const auto match = std::find_if(replaced.begin(), replaced.end(),
                                        [&](const auto& r) { return text.starts_with(r.first); });
        if (match != replaced.end()) {
            plain.append(match->second);
            text.remove_prefix(match->first.size());
        } else {
            plain.push_back(text.front());
            text.remove_prefix(1);
        }
    }
    return plain;
}

} // namespace tarnel
