#include "usage_text.h"

#include "command_line_options.h"
#include "round_trip_number.h"

namespace tarnel::cli {

namespace {

void appendOptionLine(std::string& out, std::string_view option, std::string_view summary, std::string_view dflt)
{
    constexpr std::size_t summaryColumn = 26;
    out.append("  ").append(option);
    const std::size_t used = 2 + option.size();
    out.append(used < summaryColumn ? summaryColumn - used : 1, ' ');
    out.append(summary);
    if (!dflt.empty())
        out.append(" (default ").append(dflt).append(")");
    out.push_back('\n');
}

std::string shapesText(const ArmShapes& shapes)
{
    std::string out;
    const std::array<bool, 3> ticked{shapes.single, shapes.series, shapes.parallel};
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        if (!ticked[i])
            continue;
        if (!out.empty())
            out.push_back(',');
        out.append(shapeWords[i]);
    }
    return out.empty() ? std::string("none") : out;
}

} // namespace

std::string helpText()
{
    // The defaults are read from Options, so that the help cannot drift from them.
    const Options defaults;
    std::string out;
    out.append("Usage: ").append(programName).append(" [OPTION]...\n");
    out.append("Finds voltage dividers built from standard E24 resistor values and prints one line\n"
               "per divider: the high arm, the low arm and the deviation from the wanted ratio in percent.\n"
               "\n");
    for (const NumericOption& option : numericOptions) {
        appendOptionLine(out, std::string(option.name) + " " + std::string(option.valueName), option.summary,
                         (defaults.*option.text).text);
    }
    appendOptionLine(out, "--ratio 1+h/l|h/l", "the ratio counted: 1 + H/L, or H/L alone",
                     defaults.highOverLowOnly ? "h/l" : "1+h/l");
    appendOptionLine(out, "--hi SHAPES", "shapes of the high arm", shapesText(defaults.high));
    appendOptionLine(out, "--lo SHAPES", "shapes of the low arm", shapesText(defaults.low));
    appendOptionLine(out, "--exclude V", "never use the resistor value V", "none");
    appendOptionLine(out, "--only V", "use listed values only, and list V", "none");
    appendOptionLine(out, "--format text|csv|json", "how the results are printed", "text");
    appendOptionLine(out, "--help", "print this help and exit", {});
    appendOptionLine(out, "--version", "print the version and exit", {});
    out.append("\n"
               "V, K and N accept ")
        .append(roundTrip(minFieldValue))
        .append(" to ")
        .append(roundTrip(maxStandardValue))
        .append(", PCT ")
        .append(roundTrip(minTolerancePercent))
        .append(" to ")
        .append(roundTrip(maxTolerancePercent))
        .append(", written with the decimal separator of the\n"
                "system locale. Resistances are in kilo-ohms. N is truncated to a whole number.\n"
                "SHAPES is a comma list of 1 (one resistor), ser (two in series) and par (two in\n"
                "parallel); an empty list allows none. --exclude and --only fill the four special\n"
                "value slots in the order given, at most four together. An option given twice takes\n"
                "its last value; --option=value works as well.\n"
                "\n"
                "text prints the result lines; csv a header row and one row per line; json one array\n"
                "of objects. csv and json write numbers with a period and full precision.\n"
                "\n"
                "Exit status: 0 when the search ran, whether or not it found dividers; 2 on bad\n"
                "input; 1 on any other error.\n");
    return out;
}

std::string versionText()
{
    return std::string(programName) + " " TARNEL_VERSION "\n";
}

std::string usageHint()
{
    return "Usage: " + std::string(programName) + " [OPTION]...; see " + std::string(programName) +
           " --help for the options.\n";
}

} // namespace tarnel::cli
