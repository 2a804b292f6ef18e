#include "command_line.h"

#include "command_line_options.h"
#include "output/output_file.h"
#include "request/search_input.h"
#include "request/summary_text.h"
#include "tarnel/tarnel.h"
#include "text/quoted_text.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <system_error>

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

// The exception being handled, in words.
std::string failureReason()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return outOfMemoryText(true);
    } catch (const std::system_error& e) {
        return "the system refused: " + e.code().message();
    } catch (const std::exception& e) {
        return std::string("internal error: ") + e.what();
    } catch (...) {
        return "internal error of no known kind";
    }
}

// The results to the output file, or out; every failure said, and for
// standard output that what went out before it is not the whole.
int writeOutput(const Options& options, const SearchResult& result, const std::optional<ResultList>& front,
                std::ostream& out, std::optional<OutputFile>& file, std::ostream& err)
{
    try {
        std::ostream& to = file ? file->stream() : out;
        if (front)
            writeResults(options.format, *front, result.request, to);
        else
            result.write(options.format, to);
    } catch (...) {
        err << programName << ": " << failureReason()
            << (file ? "; " + tarnel::quoted(*options.outputFile) + " is left as it was"
                     : std::string("; the output above is incomplete"))
            << '\n';
        return exitFailure;
    }
    if (!file)
        return finish(out, err);
    if (file->commit())
        return exitSuccess;
    err << programName << ": --output " << tarnel::quoted(*options.outputFile) << ": " << file->problem() << '\n';
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
    // Made before the search, so that a file that cannot be written is told
    // at once, as bad input.
    std::optional<OutputFile> file;
    if (options.outputFile) {
        file.emplace(*options.outputFile);
        if (!file->problem().empty())
            errors.push_back({options.outputFilePosition,
                              "--output " + tarnel::quoted(*options.outputFile) + ": " + file->problem()});
        else if (options.input.valuesFile && file->isFileAt(*options.input.valuesFile))
            errors.push_back({options.outputFilePosition, "--output is the stock file being read: " +
                                                              tarnel::quoted(*options.outputFile)});
    }
    if (!errors.empty()) {
        std::stable_sort(errors.begin(), errors.end(),
                         [](const ArgumentError& a, const ArgumentError& b) { return a.position < b.position; });
        return writeErrors(errors, err);
    }
    if (!reading.valid)
        return reportUnexplainedStop(reading, err);
    const SearchResult result = search(reading.params, {}, numbers);
    std::optional<ResultList> front;
    if (options.pareto)
        front = frontLines(result.list, result.request, paretoFront(result.list, result.request));
    const int status = writeOutput(options, result, front, out, file, err);
    // The output is all dividers from all values, unless the summary, after it, says otherwise.
    if (status == exitSuccess && result.summary.tellsMore())
        err << programName << ": " << result.summaryText(true) << '\n';
    if (status == exitSuccess && front)
        err << programName << ": " << frontSummaryText(front->size(), static_cast<std::size_t>(result.list.resultCount()), numbers) << '\n';
    return status;
}

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const std::string& decimalSeparator)
{
    try {
        return runChecked(args, out, err, decimalSeparator);
    } catch (...) {
        // Nothing is printed before the search has ended, so out holds no part of a result.
        err << programName << ": " << failureReason() << '\n';
        return exitFailure;
    }
}

} // namespace tarnel::cli
