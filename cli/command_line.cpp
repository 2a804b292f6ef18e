#include "command_line.h"

#include "command_line_options.h"
#include "result_writers.h"

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

// The run stopped with no field rejected. Its only other way to stop is a
// special-value box in none of its three states, which adds the list line
// "specValsInit: bad chk->State"; the command line's boxes always have a
// state, so this is a fault of the program, not of the input, and the list's
// lines are passed on as they are.
int reportUnexplainedStop(const ResultList& list, std::ostream& err)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        err << programName << ": " << list.line(i) << '\n';
    if (list.size() == 0)
        err << programName << ": the search did not start, and no value was rejected\n";
    return exitFailure;
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

    PlainWindow window{NumberText(decimalSeparator, NumberText::Period::AlsoAccepted)};
    applyOptions(options, window);
    // With errors found already, the run only judges the values: it searches nothing.
    if (!parsed.errors.empty())
        for (const ArmBox& box : armBoxes)
            window.check(box.name).set(false);
    const std::optional<SearchRun> run = window.start();

    std::vector<ArgumentError> errors = std::move(parsed.errors);
    const std::vector<ArgumentError> rejected = rejectedValues(options, window);
    if (!run && rejected.empty() && errors.empty())
        return reportUnexplainedStop(window.list(), err);
    errors.insert(errors.end(), rejected.begin(), rejected.end());
    if (!errors.empty()) {
        std::stable_sort(errors.begin(), errors.end(),
                         [](const ArgumentError& a, const ArgumentError& b) { return a.position < b.position; });
        return writeErrors(errors, err);
    }
    writeResults(options.format, window.list(), run->params, out);
    const int status = finish(out, err);
    // The output is all dividers from all values, unless the summary, after it, says otherwise.
    if (status == exitSuccess && (run->summary.found == 0 || run->summary.limitCut() || run->summary.hasNotes()))
        err << programName << ": " << run->summary.text(window.list().numbers()) << '\n';
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
