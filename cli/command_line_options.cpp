#include "command_line_options.h"

#include "tarnel_version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace tarnel::cli {

namespace {

// What the user typed, as a message shows it: in quotes, control characters
// written out, and cut short with an ellipsis beyond shownLength bytes, so
// that no value, however long, makes a long message.
std::string inQuotes(std::string_view text)
{
    constexpr std::size_t shownLength = 40;
    std::string shown = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
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
            shown.push_back(static_cast<char>(c));
        }
    }
    return shown + "\"";
}

std::string withoutBlanksLowered(std::string_view text)
{
    std::string out;
    for (const char c : text)
        if (c != ' ' && c != '\t')
            out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return out;
}

std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Where an option was given among the arguments, and whether as --name=value.
struct Occurrence {
    std::size_t position;
    bool inlineValue;
};

std::vector<Occurrence> occurrencesOf(const std::vector<std::string>& args, std::string_view name)
{
    std::vector<Occurrence> found;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--")
            break;
        if (arg.starts_with(name) && (arg.size() == name.size() || arg[name.size()] == '='))
            found.push_back({i, arg.size() != name.size()});
    }
    return found;
}

std::string shapesText(std::size_t firstBox)
{
    std::string out;
    for (std::size_t i = firstBox; i < firstBox + 3; ++i)
        if (armBoxes[i].initiallyChecked)
            out.append(out.empty() ? "" : ",").append(armWord(armBoxes[i].kind));
    return out.empty() ? "none" : out;
}

// The options as CLI11 knows them. Every value stays text here, so that
// values are judged after parsing and all bad ones are reported together.
class OptionParser {
public:
    OptionParser() : app_("Finds voltage dividers built from standard resistor values, E3 to E192, or your own.", std::string(programName))
    {
        app_.set_help_flag();
        app_.allow_extras();
        for (std::size_t i = 0; i < numberFields.size(); ++i) {
            const NumberField& f = numberFields[i];
            numbers_[i] = valueOption(f.option, f.valueName,
                                      std::string(f.help) + ", " + rangeText(f.range, NumberText()) + " (default " +
                                          std::string(f.initialText) + ")");
        }
        for (std::size_t i = 0; i < choiceFields.size(); ++i) {
            const ChoiceField& f = choiceFields[i];
            std::string words;
            for (const Choice& choice : f.choices)
                words.append(words.empty() ? "" : "|").append(choice.word);
            choices_[i] = valueOption(f.option, words,
                                      std::string(f.help) + " (default " +
                                          std::string(f.choices[f.initialChoice].word) + ")");
        }
        valuesFile_ = valueOption("values", "FILE", "the resistor values in FILE instead of a series");
        ratio_ = valueOption("ratio", "1+h/l|h/l", "the ratio counted: 1 + H/L, or H/L alone (default 1+h/l)");
        high_ = valueOption("hi", "SHAPES", "shapes of the high arm (default " + shapesText(0) + ")");
        low_ = valueOption("lo", "SHAPES", "shapes of the low arm (default " + shapesText(3) + ")");
        exclude_ = valueOption("exclude", "K", "never use the resistor value K")
                       ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        only_ = valueOption("only", "K", "use listed values only, and list K")
                    ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        format_ = valueOption("format", "text|csv|json", "how the results are printed (default text)");
        help_ = app_.add_flag("--help")->description("print this help and exit");
        version_ = app_.add_flag("--version")->description("print the version and exit");
        app_.footer("Numbers are read with the decimal separator of the system locale or a period.\n"
                    "Resistances (K) are in kilo-ohms; N is truncated to a whole number. SHAPES is a\n"
                    "comma list of 1 (one resistor), ser (two in series) and par (two in parallel);\n"
                    "an empty list allows none. --exclude and --only fill the four special value\n"
                    "slots in the order given, at most four together. An option given twice takes\n"
                    "its last value.\n"
                    "\n"
                    "FILE holds one resistor value a line, in kilo-ohms or with a unit or an RKM code\n"
                    "(4k7, 100R, 1M, 2.2k, 470 ohm); '#' starts a comment. Values outside 1 to\n"
                    "9100000 kilo-ohms are not tried.\n"
                    "\n"
                    "text prints the window's result lines; csv a header row and one row per line;\n"
                    "json one array of objects. csv and json write numbers with a period and at most\n"
                    "twelve significant digits, and give what each divider delivers at the input\n"
                    "voltage: the output and its error, the current, the power in each resistor, and\n"
                    "the output's band with every resistor off by the part tolerance. When the limit\n"
                    "cut the list, nothing was found, or some values could not be used, a summary\n"
                    "line goes to stderr.\n"
                    "\n"
                    "Example: dividers from 12 V to 3.3 V within 1 %, the high arm one resistor or\n"
                    "two in series:\n"
                    "  tarnel-cli --uin 12 --uout 3.3 --tol 1 --hi 1,ser\n"
                    "\n"
                    "Exit status: 0 when the search ran, whether or not it found dividers; 2 on bad\n"
                    "input; 1 on any other error.");
    }

    [[nodiscard]] std::string help() const { return app_.help(); }

    ParsedArguments parse(const std::vector<std::string>& args)
    {
        ParsedArguments parsed;
        try {
            // CLI11 takes the arguments last first.
            app_.parse(std::vector<std::string>(args.rbegin(), args.rend()));
        } catch (const CLI::ParseError& e) {
            parsed.errors.push_back({0, e.what(), true});
            return parsed;
        }
        Reader reader{args, parsed};
        Options& o = parsed.options;
        for (std::size_t i = 0; i < numberFields.size(); ++i)
            if (const auto value = reader.last(numbers_[i]))
                o.numbers[i] = *value;
        if (const auto value = reader.last(ratio_))
            reader.ratio(*value);
        if (const auto value = reader.last(high_))
            reader.shapes(high_->get_name(), *value, 0);
        if (const auto value = reader.last(low_))
            reader.shapes(low_->get_name(), *value, 3);
        reader.specialValues(app_.parse_order(), only_, exclude_);
        std::array<std::optional<OptionText>, choiceFields.size()> chosen;
        for (std::size_t i = 0; i < choiceFields.size(); ++i)
            chosen[i] = reader.last(choices_[i]);
        if (const auto value = reader.last(valuesFile_)) {
            o.valuesFile = *value;
            if (const auto& series = chosen[seriesChoice])
                reader.fail(std::max(series->position, value->position), "--series and --values exclude each other");
        }
        for (std::size_t i = 0; i < choiceFields.size(); ++i) {
            std::vector<std::string_view> words;
            for (const Choice& choice : choiceFields[i].choices)
                words.push_back(choice.word);
            if (chosen[i])
                o.choices[i] = reader.word(choices_[i]->get_name(), *chosen[i], words).value_or(o.choices[i]);
        }
        if (const auto value = reader.last(format_))
            o.format = static_cast<OutputFormat>(
                reader.word("--format", *value, {"text", "csv", "json"}).value_or(static_cast<std::size_t>(o.format)));
        o.help = reader.flag(help_);
        o.version = reader.flag(version_);
        reader.extras(app_.remaining());
        return parsed;
    }

private:
    CLI::Option* valueOption(std::string_view name, std::string_view valueName, const std::string& description)
    {
        // A value is optional to CLI11, so that a missing one is reported
        // here like any other bad value instead of ending the parse.
        return app_.add_option("--" + std::string(name))
            ->expected(0, 1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
            ->type_name(std::string(valueName))
            ->description(description);
    }

    // Turns what CLI11 collected into options and errors.
    struct Reader {
        const std::vector<std::string>& args;
        ParsedArguments& parsed;

        void fail(std::size_t position, std::string message, bool wantsUsageHint = false)
        {
            parsed.errors.push_back({position, std::move(message), wantsUsageHint});
        }

        // The value of an option's last occurrence, with its position.
        std::optional<OptionText> last(const CLI::Option* option)
        {
            const std::vector<Occurrence> found = occurrencesOf(args, option->get_name());
            if (option->count() == 0 || found.empty())
                return std::nullopt;
            return occurrence(option, found.back(), option->results().back());
        }

        std::optional<OptionText> occurrence(const CLI::Option* option, Occurrence at, const std::string& value)
        {
            // An empty value is one only when typed, as --name= or as an empty argument.
            const bool typedEmpty = at.inlineValue || (at.position + 1 < args.size() && args[at.position + 1].empty());
            if (value.empty() && !typedEmpty) {
                fail(at.position, option->get_name() + " needs a value");
                return std::nullopt;
            }
            return OptionText{value, at.position};
        }

        void ratio(const OptionText& value)
        {
            // The window's caption writes the modes in capitals; either is meant.
            const std::string mode = withoutBlanksLowered(value.text);
            if (mode == "1+h/l" || mode == "h/l")
                parsed.options.highOverLowOnly = mode == "h/l";
            else
                fail(value.position, "--ratio " + inQuotes(value.text) + " is not one of 1+h/l, h/l");
        }

        void shapes(const std::string& name, const OptionText& value, std::size_t firstBox)
        {
            std::array<bool, 3> ticked{};
            std::optional<std::string_view> unknown;
            for (std::string_view rest = value.text; !trimmedBlanks(value.text).empty();) {
                const std::size_t comma = rest.find(',');
                const std::string_view word = trimmedBlanks(rest.substr(0, comma));
                const auto known = std::find(armWords.begin(), armWords.end(), word);
                if (known != armWords.end())
                    ticked[static_cast<std::size_t>(known - armWords.begin())] = true;
                else if (!unknown)
                    unknown = word;
                if (comma == std::string_view::npos)
                    break;
                rest.remove_prefix(comma + 1);
            }
            // One message however many words are wrong: the first names the fault.
            if (unknown) {
                fail(value.position, name + " " + inQuotes(value.text) + ": " + inQuotes(*unknown) +
                                         " is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none");
                return;
            }
            for (std::size_t i = 0; i < 3; ++i)
                parsed.options.arms[firstBox + i] = ticked[static_cast<std::size_t>(armBoxes[firstBox + i].kind)];
        }

        // --only and --exclude in the order given, each occurrence one slot.
        void specialValues(const std::vector<CLI::Option*>& order, const CLI::Option* only, const CLI::Option* exclude)
        {
            std::size_t taken[2] = {0, 0};
            const std::vector<Occurrence> found[2] = {occurrencesOf(args, only->get_name()),
                                                      occurrencesOf(args, exclude->get_name())};
            for (const CLI::Option* option : order) {
                if (option != only && option != exclude)
                    continue;
                const std::size_t which = option == only ? 0 : 1;
                const std::size_t index = taken[which]++;
                if (index >= found[which].size() || index >= option->results().size())
                    continue;
                const auto value = occurrence(option, found[which][index], option->results()[index]);
                if (!value)
                    continue;
                if (parsed.options.specialValues.size() == specialSlotCount) {
                    static_assert(specialSlotCount == 4, "the message counts the slots in words");
                    fail(value->position,
                         option->get_name() + " " + inQuotes(value->text) +
                             ": at most four --exclude and --only values together",
                         true);
                    continue;
                }
                parsed.options.specialValues.push_back({option == only, *value});
            }
        }

        // Which of words the value is, if any.
        std::optional<std::size_t> word(const std::string& name, const OptionText& value,
                                        const std::vector<std::string_view>& words)
        {
            // Case does not matter: e96 is E96.
            const std::string typed = withoutBlanksLowered(value.text);
            const auto known = std::find_if(words.begin(), words.end(),
                                            [&](std::string_view w) { return withoutBlanksLowered(w) == typed; });
            if (known != words.end())
                return static_cast<std::size_t>(known - words.begin());
            std::string list;
            for (const std::string_view w : words)
                list.append(list.empty() ? "" : ", ").append(w);
            fail(value.position, name + " " + inQuotes(value.text) + " is not one of " + list);
            return std::nullopt;
        }

        // A flag given with a value is refused rather than guessed at.
        bool flag(const CLI::Option* option)
        {
            bool given = false;
            for (const Occurrence at : occurrencesOf(args, option->get_name())) {
                if (at.inlineValue)
                    fail(at.position, option->get_name() + " takes no value", true);
                else
                    given = true;
            }
            return given;
        }

        void extras(const std::vector<std::string>& remaining)
        {
            std::size_t from = 0;
            for (const std::string& extra : remaining) {
                const auto at = std::find(args.begin() + static_cast<std::ptrdiff_t>(from), args.end(), extra);
                const auto position = static_cast<std::size_t>(at - args.begin());
                from = std::min(position + 1, args.size());
                if (extra.starts_with("-") && extra.size() > 1)
                    fail(position, "unknown option " + inQuotes(extra.substr(0, extra.find('='))), true);
                else
                    fail(position, "unexpected argument " + inQuotes(extra), true);
            }
        }
    };

    CLI::App app_;
    std::array<CLI::Option*, numberFields.size()> numbers_{};
    CLI::Option* ratio_ = nullptr;
    CLI::Option* high_ = nullptr;
    CLI::Option* low_ = nullptr;
    CLI::Option* exclude_ = nullptr;
    CLI::Option* only_ = nullptr;
    CLI::Option* valuesFile_ = nullptr;
    std::array<CLI::Option*, choiceFields.size()> choices_{};
    CLI::Option* format_ = nullptr;
    CLI::Option* help_ = nullptr;
    CLI::Option* version_ = nullptr;
};

std::string rejectedValueMessage(std::string_view option, std::string_view text, FieldStatus status, FieldRange range)
{
    return std::string(option) + " " + inQuotes(text) +
           (status == FieldStatus::OutOfRange ? " is out of range " : " is not a number in the range ") +
           rangeText(range, NumberText());
}

} // namespace

Options::Options()
{
    for (std::size_t i = 0; i < numberFields.size(); ++i)
        numbers[i].text = numberFields[i].initialText;
    for (std::size_t i = 0; i < armBoxes.size(); ++i)
        arms[i] = armBoxes[i].initiallyChecked;
    for (std::size_t i = 0; i < choiceFields.size(); ++i)
        choices[i] = choiceFields[i].initialChoice;
}

ParsedArguments parseArguments(const std::vector<std::string>& args)
{
    return OptionParser().parse(args);
}

void applyOptions(const Options& options, PlainWindow& window)
{
    for (std::size_t i = 0; i < numberFields.size(); ++i)
        window.edit(numberFields[i].name).setText(options.numbers[i].text);
    window.check(ratioBoxName).set(options.highOverLowOnly);
    for (std::size_t i = 0; i < armBoxes.size(); ++i)
        window.check(armBoxes[i].name).set(options.arms[i]);
    for (std::size_t i = 0; i < choiceFields.size(); ++i)
        window.choice(choiceFields[i].name).set(options.choices[i]);
    for (std::size_t slot = 0; slot < options.specialValues.size(); ++slot) {
        const SpecialValueOption& special = options.specialValues[slot];
        window.check(specialSlotFields[slot].boxName).set(special.listed ? CheckState::Checked : CheckState::Unchecked);
        window.edit(specialSlotFields[slot].editName).setText(special.value.text);
    }
    if (options.valuesFile)
        window.valuesFile().setPath(options.valuesFile->text);
}

std::vector<ArgumentError> rejectedValues(const Options& options, PlainWindow& window)
{
    std::vector<ArgumentError> errors;
    const auto check = [&](const PlainEdit& edit, std::string_view option, std::size_t position, FieldRange range) {
        if (edit.status() && failed(*edit.status()))
            errors.push_back({position, rejectedValueMessage(option, edit.text(), *edit.status(), range)});
    };
    for (std::size_t i = 0; i < numberFields.size(); ++i)
        check(window.edit(numberFields[i].name), "--" + std::string(numberFields[i].option),
              options.numbers[i].position, numberFields[i].range);
    for (std::size_t slot = 0; slot < options.specialValues.size(); ++slot) {
        const SpecialValueOption& special = options.specialValues[slot];
        check(window.edit(specialSlotFields[slot].editName), special.listed ? "--only" : "--exclude",
              special.value.position, valueRange);
    }
    if (options.valuesFile && !window.valuesFile().problem().empty())
        errors.push_back({options.valuesFile->position,
                          "--values " + inQuotes(options.valuesFile->text) + ": " + window.valuesFile().problem()});
    return errors;
}

std::string helpText()
{
    return OptionParser().help();
}

std::string versionText()
{
    return std::string(programName) + " " + tarnelVersion + "\n";
}

std::string usageHint()
{
    return "Usage: " + std::string(programName) + " [OPTION]...; see " + std::string(programName) +
           " --help for the options.\n";
}

} // namespace tarnel::cli
