#include "request/input_entries.h"

#include "search/divider.h"

#include <algorithm>
#include <array>
#include <string>

namespace tarnel {

namespace {

constexpr std::array<std::string_view, 3> slotStateWords{"unchecked", "grayed", "checked"};

std::string slotKey(std::size_t slot, std::string_view part)
{
    std::string key = "special-";
    key += std::to_string(slot + 1);
    key += part;
    return key;
}

std::string shapesText(const ArmShapes& shapes)
{
    std::string text;
    for (const ArmKind kind : armKinds) {
        if (!shapes.allows(kind))
            continue;
        if (!text.empty())
            text += ',';
        text += armWord(kind);
    }
    return text;
}

std::optional<ArmShapes> readShapes(std::string_view text)
{
    ArmShapes shapes;
    while (!text.empty()) {
        const std::size_t comma = std::min(text.find(','), text.size());
        const auto known = std::find(armWords.begin(), armWords.end(), text.substr(0, comma));
        if (known == armWords.end())
            return std::nullopt;
        shapes.allow(armKinds[static_cast<std::size_t>(known - armWords.begin())]);
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return shapes;
}

template <class Words>
std::optional<std::size_t> indexOf(const Words& words, std::string_view word)
{
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i] == word)
            return i;
    return std::nullopt;
}

} // namespace

std::vector<InputEntry> inputEntries(const SearchInput& input)
{
    std::vector<InputEntry> entries;
    for (const NumberField& field : numberFields)
        entries.emplace_back(field.option, input.text(field.field));
    for (const ChoiceField& field : choiceFields)
        entries.emplace_back(field.option, field.choices[input.choices[static_cast<std::size_t>(field.id)]].word);
    entries.emplace_back("hi", shapesText(input.highShapes));
    entries.emplace_back("lo", shapesText(input.lowShapes));
    entries.emplace_back("ratio", input.highOverLowOnly ? "h/l" : "1+h/l");
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot) {
        const SpecialSlotInput& special = input.specialSlots[slot];
        // A state none of the three is kept as the grayed one, which ignores the slot.
        const auto state = special.state == CheckState::Unknown ? CheckState::Grayed : special.state;
        entries.emplace_back(slotKey(slot, "-state"), slotStateWords[static_cast<std::size_t>(state)]);
        entries.emplace_back(slotKey(slot, ""), special.text);
    }
    if (input.valuesFile)
        entries.emplace_back("values", *input.valuesFile);
    return entries;
}

EntriesReading readInputEntries(const EntryLookup& lookup)
{
    EntriesReading reading;
    SearchInput& input = reading.input;
    // Reads the key's value into its input when set reads it; else notes the key.
    const auto take = [&](const std::string& key, const auto& set) {
        if (const std::optional<std::string> value = lookup(key); value && !set(*value))
            reading.problems.push_back(key);
    };
    for (const NumberField& field : numberFields)
        take(std::string(field.option), [&](const std::string& value) {
            input.text(field.field) = value;
            return true;
        });
    for (const ChoiceField& field : choiceFields)
        take(std::string(field.option), [&](const std::string& value) {
            std::vector<std::string_view> words;
            for (const Choice& choice : field.choices)
                words.push_back(choice.word);
            const std::optional<std::size_t> chosen = indexOf(words, value);
            if (chosen)
                input.choice(field.id) = *chosen;
            return chosen.has_value();
        });
    for (const bool highArm : {true, false})
        take(highArm ? "hi" : "lo", [&](const std::string& value) {
            const std::optional<ArmShapes> shapes = readShapes(value);
            if (shapes)
                input.shapes(highArm) = *shapes;
            return shapes.has_value();
        });
    take("ratio", [&](const std::string& value) {
        input.highOverLowOnly = value == "h/l";
        return value == "h/l" || value == "1+h/l";
    });
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot) {
        SpecialSlotInput& special = input.specialSlots[slot];
        take(slotKey(slot, "-state"), [&](const std::string& value) {
            const std::optional<std::size_t> state = indexOf(slotStateWords, value);
            if (state)
                special.state = static_cast<CheckState>(*state);
            return state.has_value();
        });
        take(slotKey(slot, ""), [&](const std::string& value) {
            special.text = value;
            return true;
        });
    }
    take("values", [&](const std::string& value) {
        if (!value.empty())
            input.valuesFile = value;
        return true;
    });
    return reading;
}

} // namespace tarnel
