#include "request/option_words.h"

#include "search/divider.h"
#include "text/quoted_text.h"

#include <algorithm>
#include <array>

namespace tarnel {

namespace {

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string withoutBlanksLowered(std::string_view text)
{
    std::string out;
    for (const char c : text)
        if (c != ' ' && c != '\t')
            out.push_back(lowered(c));
    return out;
}

std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

WordReading<std::size_t> readWord(std::string_view text, std::span<const std::string_view> words)
{
    const std::string typed = withoutBlanksLowered(plainTyped(text));
    const auto known = std::find_if(words.begin(), words.end(),
                                    [&](std::string_view w) { return withoutBlanksLowered(w) == typed; });
    if (known != words.end())
        return {static_cast<std::size_t>(known - words.begin()), {}};
    std::string list;
    for (const std::string_view w : words)
        list.append(list.empty() ? "" : ", ").append(w);
    return {std::nullopt, quoted(text) + " is not one of " + list};
}

WordReading<ArmShapes> readShapes(std::string_view text)
{
    std::array<bool, armWords.size()> ticked{};
    std::optional<std::string_view> unknown;
    const std::string typed = plainTyped(text);
    for (std::string_view rest = typed; !trimmedBlanks(typed).empty();) {
        const std::size_t comma = rest.find(',');
        const std::string_view word = trimmedBlanks(rest.substr(0, comma));
        // In any case, as the other words are read.
        const auto known = std::find_if(armWords.begin(), armWords.end(), [&](std::string_view w) {
            return std::equal(word.begin(), word.end(), w.begin(), w.end(),
                              [](char a, char b) { return lowered(a) == b; });
        });
        if (known != armWords.end())
            ticked[static_cast<std::size_t>(known - armWords.begin())] = true;
        else if (!unknown)
            unknown = word;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    // One message however many words are wrong: the first names the fault.
    if (unknown)
        return {std::nullopt, quoted(text) + ": " + quoted(*unknown) +
                                  " is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none"};
    ArmShapes shapes;
    for (const ArmKind kind : armKinds)
        shapes.allow(kind, ticked[static_cast<std::size_t>(kind)]);
    return {shapes, {}};
}

WordReading<bool> readRatio(std::string_view text)
{
    // The window's caption writes the modes in capitals; either is meant.
    static constexpr std::array<std::string_view, 2> modes{"1+h/l", "h/l"};
    const WordReading<std::size_t> mode = readWord(text, modes);
    if (!mode.value)
        return {std::nullopt, mode.problem};
    return {*mode.value == 1, {}};
}

} // namespace tarnel
