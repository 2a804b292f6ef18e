#include "command_line.h"

#include "command_line_options.h"

#include "output/result_writers.h"
#include "request/search_input.h"
#include "search/divider_search.h"
#include "text/quoted_text.h"

#include <algorithm>
#include <exception>

namespace tarnel::cli {

namespace {

constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitBadInput = 2;

int writeErrors(const std::vector<ArgumentError>& errors, std::ostream& err)
{
    for (const ArgumentError& error : errors)
        err << programName << ": " << error.message << '\n';
    if (std::any_of(errors.begin(), errors.end(), [](const ArgumentError& e) { return e.wantsUsageHint; }))
        err << usageHint();
    return exitBadInput;
}

// The inputs could not be searched, yet no option was to blame. Only a
// special-value slot in none of its three states does that, which the
// command line never makes: a fault of the program, not of the input.
int reportUnexplainedStop(const InputReading& reading, std::ostream& err)
{
    for (const std::string& message : reading.listMessages)
        err << programName << ": " << message << '\n';
    if (reading.listMessages.empty())
        err << programName << ": the search did not start, and no value was rejected\n";
    return exitFailure;
}

// One error for every field and slot the reader rejected, and for a stock
// file it could not use.
void addRejectedValues(const Options& options, const InputReading& reading, std::vector<ArgumentError>& errors)
{
    for (const NumberField& field : numberFields) {
        const FieldVerdict& verdict = reading.verdict(field.field);
        if (failed(verdict.status))
            errors.push_back({options.numberPositions[static_cast<std::size_t>(field.field)],
                              "--" + std::string(field.option) + " " + verdict.problem});
    }
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot) {
        const FieldVerdict& verdict = reading.specialSlots[slot];
        const bool listed = options.input.specialSlots[slot].state == CheckState::Checked;
        if (failed(verdict.status))
            errors.push_back({options.slotPositions[slot], (listed ? "--only " : "--exclude ") + verdict.problem});
    }
    if (options.input.valuesFile && !reading.valuesFileProblem.empty())
        errors.push_back({options.valuesFilePosition,
                          "--values " + tarnel::quoted(*options.input.valuesFile) + ": " + reading.valuesFileProblem});
}

int finish(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (out)
        return exitSuccess;
    err << programName << ": cannot write the output\n";
    return exitFailure;
}

int runChecked(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::string& decimalSeparator)
{
    ParsedArguments parsed = parseArguments(args);
    const Options& options = parsed.options;
    // As in GNU tools, asking for help or the version wins over any error.
    if (options.help || options.version) {
        out << (options.help ? helpText() : versionText());
        return finish(out, err);
    }

    const NumberText numbers(decimalSeparator, NumberText::Period::AlsoAccepted);
    const InputReading reading = readSearchParams(options.input, numbers);
    std::vector<ArgumentError> errors = std::move(parsed.errors);
    addRejectedValues(options, reading, errors);
    if (!errors.empty()) {
        std::stable_sort(errors.begin(), errors.end(),
                         [](const ArgumentError& a, const ArgumentError& b) { return a.position < b.position; });
        return writeErrors(errors, err);
    }
    if (!reading.valid)
        return reportUnexplainedStop(reading, err);
    ResultList list(numbers);
    const RunSummary summary = searchDividers(reading.params, list);
    writeResults(options.format, list, reading.params, out);
    const int status = finish(out, err);
    // The output is all dividers from all values, unless the summary, after it, says otherwise.
    if (status == exitSuccess && (summary.found == 0 || summary.limitCut() || summary.hasNotes()))
        err << programName << ": " << summary.text(numbers) << '\n';
    return status;
}

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const std::string& decimalSeparator)
{
    try {
        return runChecked(args, out, err, decimalSeparator);
    } catch (const std::exception& e) {
        // Nothing is printed before the search has ended, so out holds no part of a result.
        err << programName << ": " << e.what() << '\n';
        return exitFailure;
    }
}

} // namespace tarnel::cli
