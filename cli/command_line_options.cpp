#include "command_line_options.h"

#include "special_values.h"

#include <algorithm>
#include <optional>

namespace tarnel::cli {

namespace {

std::string quoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return out;
}

std::string_view trimmedBlanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string withoutBlanksLowered(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == ' ' || c == '\t')
            continue;
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return out;
}

class ArgumentParser {
public:
    explicit ArgumentParser(const std::vector<std::string>& args) : args_(args) {}

    ParsedArguments parse()
    {
        for (next_ = 0; next_ < args_.size();) {
            const std::size_t position = next_++;
            parseOne(position, args_[position]);
        }
        return std::move(result_);
    }

private:
    void parseOne(std::size_t position, std::string_view arg)
    {
        if (!arg.starts_with("--") || arg == "--") {
            const bool looksLikeOption = arg.starts_with("-") && arg.size() > 1;
            fail(position, (looksLikeOption ? "unknown option " : "unexpected argument ") + quoted(arg), true);
            return;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        std::optional<std::string_view> inlineValue;
        if (equals != std::string_view::npos)
            inlineValue = arg.substr(equals + 1);

        if (name == "--help" || name == "--version") {
            if (inlineValue)
                fail(position, std::string(name) + " takes no value", true);
            else
                (name == "--help" ? options().help : options().version) = true;
            return;
        }
        if (!isValueOption(name)) {
            fail(position, "unknown option " + quoted(name), true);
            return;
        }
        const std::optional<std::string_view> value = inlineValue ? inlineValue : takeValue();
        if (!value) {
            fail(position, std::string(name) + " needs a value", false);
            return;
        }
        applyValue(position, name, *value);
    }

    static bool isValueOption(std::string_view name)
    {
        const bool numeric = std::any_of(numericOptions.begin(), numericOptions.end(),
                                         [name](const NumericOption& o) { return o.name == name; });
        return numeric || name == "--ratio" || name == "--hi" || name == "--lo" || name == excludeOption ||
               name == onlyOption || name == "--format";
    }

    // The next argument as the value, unless it is itself an option: no
    // value any option takes begins with "--", and a forgotten value then
    // reads as such rather than as a strange number.
    std::optional<std::string_view> takeValue()
    {
        if (next_ >= args_.size() || args_[next_].starts_with("--"))
            return std::nullopt;
        return args_[next_++];
    }

    void applyValue(std::size_t position, std::string_view name, std::string_view value)
    {
        for (const NumericOption& numeric : numericOptions) {
            if (numeric.name == name) {
                options().*numeric.text = OptionText{std::string(value), position};
                return;
            }
        }
        if (name == "--ratio")
            applyRatio(position, value);
        else if (name == "--hi")
            applyShapes(position, name, value, options().high);
        else if (name == "--lo")
            applyShapes(position, name, value, options().low);
        else if (name == excludeOption || name == onlyOption)
            applySpecialValue(position, name, value);
        else if (name == "--format")
            applyFormat(position, value);
    }

    void applyRatio(std::size_t position, std::string_view value)
    {
        // The window's caption writes the modes in capitals; either is meant.
        const std::string mode = withoutBlanksLowered(value);
        if (mode == "1+h/l")
            options().highOverLowOnly = false;
        else if (mode == "h/l")
            options().highOverLowOnly = true;
        else
            fail(position, "--ratio " + quoted(value) + " is not one of 1+h/l, h/l", false);
    }

    void applyShapes(std::size_t position, std::string_view name, std::string_view value, ArmShapes& shapes)
    {
        ArmShapes read;
        bool allKnown = true;
        if (!trimmedBlanks(value).empty()) {
            std::string_view rest = value;
            for (;;) {
                const std::size_t comma = rest.find(',');
                const std::string_view word = trimmedBlanks(rest.substr(0, comma));
                if (word == shapeWord(ArmKind::Single)) {
                    read.single = true;
                } else if (word == shapeWord(ArmKind::Series)) {
                    read.series = true;
                } else if (word == shapeWord(ArmKind::Parallel)) {
                    read.parallel = true;
                } else {
                    allKnown = false;
                    fail(position,
                         std::string(name) + " " + quoted(value) + ": " + quoted(word) +
                             " is not a shape; SHAPES is a comma list of 1, ser, par, or empty for none",
                         false);
                }
                if (comma == std::string_view::npos)
                    break;
                rest.remove_prefix(comma + 1);
            }
        }
        if (allKnown)
            shapes = read;
    }

    void applySpecialValue(std::size_t position, std::string_view name, std::string_view value)
    {
        static_assert(specialSlotCount == 4, "the message below counts the slots in words");
        if (options().specialValues.size() >= specialSlotCount) {
            fail(position,
                 std::string(name) + " " + quoted(value) + ": at most four " + std::string(excludeOption) + " and " +
                     std::string(onlyOption) + " values together",
                 true);
            return;
        }
        options().specialValues.push_back({name == onlyOption, OptionText{std::string(value), position}});
    }

    void applyFormat(std::size_t position, std::string_view value)
    {
        if (value == "text")
            options().format = OutputFormat::Text;
        else if (value == "csv")
            options().format = OutputFormat::Csv;
        else if (value == "json")
            options().format = OutputFormat::Json;
        else
            fail(position, "--format " + quoted(value) + " is not one of text, csv, json", false);
    }

    void fail(std::size_t position, std::string message, bool wantsUsageHint)
    {
        result_.errors.push_back({position, std::move(message), wantsUsageHint});
    }

    Options& options() { return result_.options; }

    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
    ParsedArguments result_;
};

} // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args)
{
    return ArgumentParser(args).parse();
}

} // namespace tarnel::cli
