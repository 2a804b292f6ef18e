#include "command_line_options.h"

#include "request/option_words.h"
#include "request/presets.h"
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

std::string shapesText(const ArmShapes& shapes)
{
    std::string out;
    for (const ArmKind kind : armKinds)
        if (shapes.allows(kind))
            out.append(out.empty() ? "" : ",").append(armWord(kind));
    return out.empty() ? "none" : out;
}

// An argument that reads as an option is never the value of the one before
// it: "--" or "-" and a character that may start a name, but no digit after
// one dash. So "-5", "-" and "---x" are values, as CLI11 reads them too.
bool looksLikeOption(std::string_view arg)
{
    const auto nameStart = [](char c) { return c != '-' && c != '!' && c != ' ' && c != '\n'; };
    if (arg.size() > 2 && arg.starts_with("--"))
        return nameStart(arg[2]);
    return arg.size() > 1 && arg[0] == '-' && nameStart(arg[1]) && !(arg[1] >= '0' && arg[1] <= '9');
}

// The options, read in one scan of the arguments in order: each option's
// taker gets where its name stood and its value, the argument after it or
// the text after "=". Every value stays text here, so that values are
// judged after parsing and all bad ones are reported together; for the same
// reason the words of --series, --order, --format and --ratio are matched
// here. CLI11 only writes the help.
class OptionParser {
public:
    OptionParser()
        : app_("Finds voltage dividers built from standard resistor values, E3 to E192, or your own.",
               std::string(programName))
    {
        app_.set_help_flag();
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
        valueOption("hi", "SHAPES", "shapes of the high arm (default " + shapesText(initialHighShapes) + ")", high_);
        valueOption("lo", "SHAPES", "shapes of the low arm (default " + shapesText(initialLowShapes) + ")", low_);
        specialOption("exclude", "never use the resistor value K", false);
        specialOption("only", "use listed values only, and list K", true);
        valueOption("format", "text|csv|json",
                    "how the results are printed (default text, or csv or json as --output's extension asks)",
                    format_);
        valueOption("output", "FILE", "write the results to FILE whole or not at all, keeping its mode (- or none:\n"
                    "standard output); a link is followed, a pipe or device written straight into",
                    output_);
        valueOption("preset", "NAME", "start from the inputs of preset NAME, as the window keeps them; the other\n"
                    "options given override them", preset_);
        flagOption("pareto", "print only the dividers on the Pareto front of the size of the deviation\n"
                   "(worst-case: the worst deviation) against current, least current first",
                   parsed_.options.pareto);
        flagOption("help", "print this help and exit; -h too", parsed_.options.help);
        flagOption("version", "print the version and exit", parsed_.options.version);
        const std::string resistances = rangeText(resistanceRange, NumberText());
        app_.footer("Numbers are read with the decimal separator of the system locale or a period.\n"
                    "Resistances (K) are in kilo-ohms, " + resistances + ", or as a part is marked:\n" +
                    std::string(resistanceNotations) + ". N is truncated to a whole number.\n"
                    "SHAPES is a comma list of 1 (one resistor), ser (two in series) and par (two\n"
                    "in parallel); an empty list allows none. --exclude and --only fill the four\n"
                    "special value slots in the order given, at most four together. An option\n"
                    "given twice takes its last value.\n"
                    "\n"
                    "FILE holds one resistor value a line, in kilo-ohms or with a unit or an RKM code\n"
                    "(4k7, 100R, 1M, 2.2k, 470 ohm); '#' starts a comment. Values outside\n" +
                    resistances + " kilo-ohms are not tried.\n"
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

    // Once for each parser: the takers fill its members.
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
        std::vector<std::size_t> unknown;
        for (std::size_t position = 0; position < optionCount; ++position) {
            const std::string& arg = args[position];
            const std::size_t equals = arg.find('=');
            // -h is --help, as most programs take it.
            const std::string_view name = arg == "-h" ? "--help" : std::string_view(arg).substr(0, equals);
            const auto option = std::find_if(options_.begin(), options_.end(),
                                             [&](const ParsedOption& o) { return name == "--" + o.name; });
            if (!name.starts_with("--") || option == options_.end()) {
                unknown.push_back(position);
                continue;
            }
            Occurrence at{position, std::nullopt};
            if (equals != std::string::npos)
                at.value = arg.substr(equals + 1);
            else if (option->takesValue && position + 1 < optionCount && !looksLikeOption(args[position + 1]))
                at.value = args[++position];
            option->take(std::move(at));
        }
        readSingleValues();
        for (const std::size_t position : unknown) {
            const std::string& arg = args[position];
            if (arg.starts_with("-") && arg.size() > 1)
                fail(position, "unknown option " + tarnel::quoted(arg.substr(0, arg.find('='))), true);
            else
                fail(position, "unexpected argument " + tarnel::quoted(arg), true);
        }
        return std::move(parsed_);
    }

private:
    // One occurrence of an option: where its name stood, and its value, none
    // when it was given without one.
    struct Occurrence {
        std::size_t position = noPosition;
        std::optional<std::string> value;
    };

    struct ParsedOption {
        std::string name; // without its "--"
        bool takesValue;
        std::function<void(Occurrence)> take;
    };

    // An option with a value; its last occurrence counts. A missing value is
    // reported once all are parsed, like any other bad value.
    void valueOption(std::string_view name, std::string_view valueName, const std::string& description,
                     std::optional<Occurrence>& last)
    {
        addOption(name, true, [&last](Occurrence occurrence) { last = std::move(occurrence); }, description)
            ->type_name(std::string(valueName));
    }

    // --only and --exclude in the order given, each occurrence one slot.
    void specialOption(std::string_view name, const std::string& description, bool listed)
    {
        addOption(name, true, [this, name, listed](Occurrence at) { specials_.push_back({name, std::move(at), listed}); },
                  description)
            ->type_name("K");
    }

    // A flag given with a value is refused rather than guessed at.
    void flagOption(std::string_view name, const std::string& description, bool& given)
    {
        addOption(
            name, false,
            [this, name, &given](const Occurrence& at) {
                if (at.value)
                    fail(at.position, "--" + std::string(name) + " takes no value", true);
                else
                    given = true;
            },
            description);
    }

    CLI::Option* addOption(std::string_view name, bool takesValue, std::function<void(Occurrence)> take,
                           const std::string& description)
    {
        options_.push_back({std::string(name), takesValue, std::move(take)});
        return app_.add_option("--" + std::string(name), description)->expected(0, takesValue ? 1 : 0);
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
        if (const auto name = valueOf("preset", preset_))
            preset(*name, preset_->position);
        for (const auto& [name, at, listed] : specials_)
            specialValue(name, at, listed);
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
        } else if (chosen[series]) {
            o.input.valuesFile.reset(); // a preset's stock file gives way to the series asked for
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
        else if (o.outputFile)
            o.format = formatOfPath(*o.outputFile).value_or(o.format); // as Save results picks it
    }

    // The preset's inputs, on which the other options are then set.
    void preset(const std::string& name, std::size_t position)
    {
        const PresetsReading file = loadPresets(presetsFilePath());
        const Preset* found = findPreset(file.presets, name);
        if (found == nullptr) {
            std::string names;
            for (const Preset& p : file.presets)
                names.append(names.empty() ? "" : ", ").append(tarnel::quoted(p.name));
            fail(position, "--preset " + tarnel::quoted(name) + " is not one of " + names);
            return;
        }
        EntriesReading reading = presetInput(*found);
        for (const std::string& key : reading.problems)
            fail(position, "--preset " + tarnel::quoted(name) + ": its " + key + " does not read");
        parsed_.options.input = std::move(reading.input);
    }

    void ratio(const std::string& value, std::size_t position)
    {
        const WordReading<bool> mode = readRatio(value);
        if (mode.value)
            parsed_.options.input.highOverLowOnly = *mode.value;
        else
            fail(position, "--ratio " + mode.problem);
    }

    void shapes(const std::string& name, const std::string& value, std::size_t position, bool highArm)
    {
        const WordReading<ArmShapes> shapes = readShapes(value);
        if (shapes.value)
            parsed_.options.input.shapes(highArm) = *shapes.value;
        else
            fail(position, name + " " + shapes.problem);
    }

    // Which of words the value is, if any.
    std::optional<std::size_t> word(const std::string& name, const std::string& value, std::size_t position,
                                    const std::vector<std::string_view>& words)
    {
        const WordReading<std::size_t> reading = readWord(value, words);
        if (!reading.value)
            fail(position, name + " " + reading.problem);
        return reading.value;
    }

    CLI::App app_;
    ParsedArguments parsed_;
    std::vector<ParsedOption> options_; // as the help lists them
    std::array<std::optional<Occurrence>, numberFields.size()> numbers_;
    std::array<std::optional<Occurrence>, choiceFields.size()> choices_;
    std::optional<Occurrence> valuesFile_;
    std::optional<Occurrence> ratio_;
    std::optional<Occurrence> high_;
    std::optional<Occurrence> low_;
    std::optional<Occurrence> format_;
    std::optional<Occurrence> output_;
    std::optional<Occurrence> preset_;
    struct Special {
        std::string_view name;
        Occurrence at;
        bool listed;
    };
    std::vector<Special> specials_; // in the order given, applied after the preset
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
