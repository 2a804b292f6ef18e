#include "command_line_options.h"

#include "tarnel_version.h"
#include "text/quoted_text.h"
#include "text/resistance_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace tarnel::cli {

namespace {

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

std::string shapesText(std::size_t firstBox)
{
    std::string out;
    for (std::size_t i = firstBox; i < firstBox + 3; ++i)
        if (armBoxes[i].initiallyChecked)
            out.append(out.empty() ? "" : ",").append(armWord(armBoxes[i].kind));
    return out.empty() ? "none" : out;
}

// One occurrence of an option: where its name stood, and its value, none
// when it was given without one.
struct Occurrence {
    std::size_t position = noPosition;
    std::optional<std::string> value;
};

// The options as CLI11 knows them, read in one pass: each option's callback
// fires as CLI11 consumes it, in argument order, and works out from how many
// arguments are left which ones it took. Every value stays text here, so
// that values are judged after parsing and all bad ones are reported
// together; for the same reason the words of --series, --order, --format and
// --ratio are matched here rather than by CLI::IsMember, whose
// ValidationError would end the parse at the first bad one.
class OptionParser {
public:
    OptionParser()
        : app_("Finds voltage dividers built from standard resistor values, E3 to E192, or your own.",
               std::string(programName))
    {
        app_.set_help_flag();
        app_.allow_extras();
        for (std::size_t i = 0; i < numberFields.size(); ++i) {
            const NumberField& f = numberFields[i];
            valueOption(f.option, f.valueName,
                        std::string(f.help) + ", " + rangeText(f.range, NumberText()) +
                            (f.mayBeEmpty ? " (default none)" : " (default " + std::string(f.initialText) + ")"),
                        numbers_[i]);
        }
        for (std::size_t i = 0; i < choiceFields.size(); ++i) {
            const ChoiceField& f = choiceFields[i];
            std::string words;
            for (const Choice& choice : f.choices)
                words.append(words.empty() ? "" : "|").append(choice.word);
            valueOption(f.option, words,
                        std::string(f.help) + " (default " + std::string(f.choices[f.initialChoice].word) + ")",
                        choices_[i]);
        }
        valueOption("values", "FILE", "the resistor values in FILE instead of a series", valuesFile_);
        valueOption("ratio", "1+h/l|h/l", "the ratio counted: 1 + H/L, or H/L alone (default 1+h/l)", ratio_);
        valueOption("hi", "SHAPES", "shapes of the high arm (default " + shapesText(0) + ")", high_);
        valueOption("lo", "SHAPES", "shapes of the low arm (default " + shapesText(3) + ")", low_);
        specialOption("exclude", "never use the resistor value K", false);
        specialOption("only", "use listed values only, and list K", true);
        valueOption("format", "text|csv|json", "how the results are printed (default text)", format_);
        valueOption("output", "FILE", "write the results to FILE whole or not at all, keeping its mode (- or none:\n"
                    "standard output); a link is followed, a pipe or device written straight into",
                    output_);
        flagOption("help", "print this help and exit", parsed_.options.help);
        flagOption("version", "print the version and exit", parsed_.options.version);
        app_.footer("Numbers are read with the decimal separator of the system locale or a period.\n"
                    "Resistances (K) are in kilo-ohms, 0.001 (1 ohm) to 9100000, or as a part is\n"
                    "marked: " + std::string(resistanceNotations) + ". N is truncated to a whole number.\n"
                    "SHAPES is a comma list of 1 (one resistor), ser (two in series) and par (two\n"
                    "in parallel); an empty list allows none. --exclude and --only fill the four\n"
                    "special value slots in the order given, at most four together. An option\n"
                    "given twice takes its last value.\n"
                    "\n"
                    "FILE holds one resistor value a line, in kilo-ohms or with a unit or an RKM code\n"
                    "(4k7, 100R, 1M, 2.2k, 470 ohm); '#' starts a comment. Values outside 0.001 to\n"
                    "9100000 kilo-ohms are not tried.\n"
                    "\n"
                    "Worst case keeps a divider only when, with every resistor off by the part\n"
                    "tolerance and Uin (in feedback use the reference) off by the source tolerance,\n"
                    "the ratio its output implies stays within Tol; best first then ranks by that\n"
                    "worst deviation. In feedback use Uin is the regulated output to reach and Uout\n"
                    "the reference: Uin = Uout * (1 + H/L). The arm bounds take the whole resistance\n"
                    "of an arm; empty bounds bound nothing.\n"
                    "\n"
                    "text prints the window's result lines; csv a header row and one row per line;\n"
                    "json one array of objects. csv and json write numbers with a period and at most\n"
                    "twelve significant digits, and give what each divider delivers: the output (the\n"
                    "tap, or in feedback use the regulated output) and its error, the current, the\n"
                    "power in and voltage across each resistor, the output impedance H || L, and the\n"
                    "output's band with the parts and the source off by their tolerances. When the\n"
                    "limit cut the list, nothing was found, or some values could not be used, a\n"
                    "summary line goes to stderr.\n"
                    "\n"
                    "Example: dividers from 12 V to 3.3 V within 1 %, the high arm one resistor or\n"
                    "two in series:\n"
                    "  tarnel-cli --uin 12 --uout 3.3 --tol 1 --hi 1,ser\n"
                    "A regulator's feedback divider, 0.8 V reference within 1 %, 1.8 V out within 3 %\n"
                    "whatever 1 % parts do:\n"
                    "  tarnel-cli --use feedback --uin 1.8 --uout 0.8 --tol 3 --criterion worst-case \\\n"
                    "    --source-tolerance 1 --series E96 --order best\n"
                    "\n"
                    "Exit status: 0 when the search ran, whether or not it found dividers; 2 on bad\n"
                    "input; 1 on any other error.");
    }

    OptionParser(const OptionParser&) = delete;
    OptionParser& operator=(const OptionParser&) = delete;

    [[nodiscard]] std::string help() const { return app_.help(); }

    // Once for each parser: the callbacks fill its members.
    ParsedArguments parse(const std::vector<std::string>& args)
    {
        // Arguments after "--" are no options; as the program takes no
        // arguments, each of them is an error.
        const auto optionsEnd = std::find(args.begin(), args.end(), "--");
        const auto optionCount = static_cast<std::size_t>(optionsEnd - args.begin());
        for (std::size_t position = optionCount + 1; position < args.size(); ++position)
            fail(position,
                 "unexpected argument " + tarnel::quoted(args[position]) + ": " + std::string(programName) +
                     " takes no arguments",
                 true);

        args_ = &args;
        consumed_.assign(optionCount, false);
        // CLI11 takes the arguments last first, and consumes them from the back.
        std::vector<std::string> unparsed(std::make_reverse_iterator(optionsEnd), args.rend());
        unparsed_ = &unparsed;
        try {
            app_.parse(unparsed);
        } catch (const CLI::ParseError& e) {
            parsed_.errors.push_back({0, e.what(), true});
            return std::move(parsed_);
        }
        unparsed_ = nullptr;
        readSingleValues();
        extras(app_.remaining());
        return std::move(parsed_);
    }

private:
    // An option with a value; its last occurrence counts. The value is
    // optional to CLI11, so that a missing one is reported here like any
    // other bad value instead of ending the parse.
    void valueOption(std::string_view name, std::string_view valueName, const std::string& description,
                     std::optional<Occurrence>& last)
    {
        addOption(name, [&last](Occurrence occurrence) { last = std::move(occurrence); })
            ->expected(0, 1)
            ->type_name(std::string(valueName))
            ->description(description);
    }

    // --only and --exclude in the order given, each occurrence one slot.
    void specialOption(std::string_view name, const std::string& description, bool listed)
    {
        addOption(name, [this, name, listed](const Occurrence& at) { specialValue(name, at, listed); })
            ->expected(0, 1)
            ->type_name("K")
            ->description(description);
    }

    // A flag given with a value is refused rather than guessed at.
    void flagOption(std::string_view name, const std::string& description, bool& given)
    {
        addOption(name, [this, name, &given](const Occurrence& at) {
            if (at.value)
                fail(at.position, "--" + std::string(name) + " takes no value", true);
            else
                given = true;
        })
            ->expected(0)
            ->description(description);
    }

    CLI::Option* addOption(std::string_view name, std::function<void(Occurrence)> take)
    {
        const std::string option = "--" + std::string(name);
        return app_
            .add_option(option,
                        [this, option, take = std::move(take)](const CLI::results_t&) {
                            take(occurrenceOf(option));
                            return true;
                        })
            ->trigger_on_parse();
    }

    // The occurrence of option that CLI11 has just consumed: the last
    // argument it took is the option itself, or its value after it.
    Occurrence occurrenceOf(const std::string& option)
    {
        const std::vector<std::string>& args = *args_;
        const std::size_t last = consumed_.size() - unparsed_->size() - 1;
        const std::string& token = args[last];
        // A value is never taken from an argument CLI11 reads as an option, so
        // an argument of the option's name is the option itself.
        if (token == option || token.starts_with(option + "=")) {
            consumed_[last] = true;
            if (token.size() == option.size())
                return {last, std::nullopt};
            return {last, token.substr(option.size() + 1)};
        }
        consumed_[last - 1] = true;
        if (args[last - 1] != option) {
            // CLI11 takes the argument after an empty "--name=" as its value,
            // but the "=" ended the value: the argument goes back to be parsed on its own.
            unparsed_->push_back(token);
            return {last - 1, std::string()};
        }
        consumed_[last] = true;
        return {last - 1, token};
    }

    void fail(std::size_t position, std::string message, bool wantsUsageHint = false)
    {
        parsed_.errors.push_back({position, std::move(message), wantsUsageHint});
    }

    // The value of an occurrence, or an error if it has none.
    std::optional<std::string> valueOf(std::string_view name, const std::optional<Occurrence>& at)
    {
        if (!at)
            return std::nullopt;
        if (!at->value)
            fail(at->position, "--" + std::string(name) + " needs a value");
        return at->value;
    }

    void specialValue(std::string_view name, const Occurrence& at, bool listed)
    {
        const std::optional<std::string> value = valueOf(name, at);
        if (!value)
            return;
        Options& o = parsed_.options;
        if (specialsTaken_ == specialSlotCount) {
            static_assert(specialSlotCount == 4, "the message counts the slots in words");
            fail(at.position,
                 "--" + std::string(name) + " " + tarnel::quoted(*value) +
                     ": at most four --exclude and --only values together",
                 true);
            return;
        }
        o.input.specialSlots[specialsTaken_] = {listed ? CheckState::Checked : CheckState::Unchecked, *value};
        o.slotPositions[specialsTaken_] = at.position;
        ++specialsTaken_;
    }

    // The options whose last occurrence counts, once all are parsed.
    void readSingleValues()
    {
        Options& o = parsed_.options;
        for (std::size_t i = 0; i < numberFields.size(); ++i) {
            if (const auto value = valueOf(numberFields[i].option, numbers_[i])) {
                o.input.numbers[i] = *value;
                o.numberPositions[i] = numbers_[i]->position;
            }
        }
        if (const auto value = valueOf("ratio", ratio_))
            ratio(*value, ratio_->position);
        if (const auto value = valueOf("hi", high_))
            shapes("--hi", *value, high_->position, true);
        if (const auto value = valueOf("lo", low_))
            shapes("--lo", *value, low_->position, false);
        const std::size_t series = static_cast<std::size_t>(ChoiceId::Series);
        std::array<std::optional<std::string>, choiceFields.size()> chosen;
        for (std::size_t i = 0; i < choiceFields.size(); ++i)
            chosen[i] = valueOf(choiceFields[i].option, choices_[i]);
        if (const auto path = valueOf("values", valuesFile_)) {
            o.input.valuesFile = *path;
            o.valuesFilePosition = valuesFile_->position;
            if (chosen[series])
                fail(std::max(choices_[series]->position, valuesFile_->position),
                     "--series and --values exclude each other");
        }
        for (std::size_t i = 0; i < choiceFields.size(); ++i) {
            std::vector<std::string_view> words;
            for (const Choice& choice : choiceFields[i].choices)
                words.push_back(choice.word);
            if (chosen[i])
                o.input.choices[i] = word("--" + std::string(choiceFields[i].option), *chosen[i],
                                          choices_[i]->position, words)
                                         .value_or(o.input.choices[i]);
        }
        if (const auto path = valueOf("output", output_)) {
            if (path->empty()) {
                fail(output_->position, "--output needs a value");
            } else if (*path != "-") {
                o.outputFile = *path;
                o.outputFilePosition = output_->position;
            }
        }
        if (const auto value = valueOf("format", format_))
            o.format = static_cast<OutputFormat>(word("--format", *value, format_->position, {"text", "csv", "json"})
                                                     .value_or(static_cast<std::size_t>(o.format)));
    }

    void ratio(const std::string& value, std::size_t position)
    {
        // The window's caption writes the modes in capitals; either is meant.
        const std::string mode = withoutBlanksLowered(value);
        if (mode == "1+h/l" || mode == "h/l")
            parsed_.options.input.highOverLowOnly = mode == "h/l";
        else
            fail(position, "--ratio " + tarnel::quoted(value) + " is not one of 1+h/l, h/l");
    }

    void shapes(const std::string& name, const std::string& value, std::size_t position, bool highArm)
    {
        std::array<bool, armWords.size()> ticked{};
        std::optional<std::string_view> unknown;
        for (std::string_view rest = value; !trimmedBlanks(value).empty();) {
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
            fail(position, name + " " + tarnel::quoted(value) + ": " + tarnel::quoted(*unknown) +
                               " is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none");
            return;
        }
        for (std::size_t kind = 0; kind < ticked.size(); ++kind)
            parsed_.options.input.arm(highArm, static_cast<ArmKind>(kind)) = ticked[kind];
    }

    // Which of words the value is, if any.
    std::optional<std::size_t> word(const std::string& name, const std::string& value, std::size_t position,
                                    const std::vector<std::string_view>& words)
    {
        // Case does not matter: e96 is E96.
        const std::string typed = withoutBlanksLowered(value);
        const auto known = std::find_if(words.begin(), words.end(),
                                        [&](std::string_view w) { return withoutBlanksLowered(w) == typed; });
        if (known != words.end())
            return static_cast<std::size_t>(known - words.begin());
        std::string list;
        for (const std::string_view w : words)
            list.append(list.empty() ? "" : ", ").append(w);
        fail(position, name + " " + tarnel::quoted(value) + " is not one of " + list);
        return std::nullopt;
    }

    // The arguments no option consumed, which CLI11 kept in order.
    void extras(const std::vector<std::string>& remaining)
    {
        auto extra = remaining.begin();
        for (std::size_t position = 0; position < consumed_.size() && extra != remaining.end(); ++position) {
            if (consumed_[position])
                continue;
            if (extra->starts_with("-") && extra->size() > 1)
                fail(position, "unknown option " + tarnel::quoted(extra->substr(0, extra->find('='))), true);
            else
                fail(position, "unexpected argument " + tarnel::quoted(*extra), true);
            ++extra;
        }
    }

    CLI::App app_;
    ParsedArguments parsed_;
    // While parsing: the arguments, the reversed ones CLI11 has yet to
    // consume, and which of those before any "--" an option took.
    const std::vector<std::string>* args_ = nullptr;
    std::vector<std::string>* unparsed_ = nullptr;
    std::vector<bool> consumed_;
    std::array<std::optional<Occurrence>, numberFields.size()> numbers_;
    std::array<std::optional<Occurrence>, choiceFields.size()> choices_;
    std::optional<Occurrence> valuesFile_;
    std::optional<Occurrence> ratio_;
    std::optional<Occurrence> high_;
    std::optional<Occurrence> low_;
    std::optional<Occurrence> format_;
    std::optional<Occurrence> output_;
    std::size_t specialsTaken_ = 0;
};

} // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args)
{
    return OptionParser().parse(args);
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
