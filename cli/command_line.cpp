#include "command_line.h"

#include "command_line_options.h"
#include "command_line_window.h"
#include "result_writers.h"
#include "usage_text.h"

#include "start_run.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace tarnel::cli {

namespace {

constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitBadInput = 2;

void writeErrors(std::vector<ArgumentError> errors, std::ostream& err)
{
    std::stable_sort(errors.begin(), errors.end(),
                     [](const ArgumentError& a, const ArgumentError& b) { return a.position < b.position; });
    bool wantsUsageHint = false;
    for (const ArgumentError& error : errors) {
        err << programName << ": " << error.message << '\n';
        wantsUsageHint = wantsUsageHint || error.wantsUsageHint;
    }
    if (wantsUsageHint)
        err << usageHint();
}

// The run stopped with no field painted red. Its only other way to stop is a
// special-value box in none of its three states, which adds the list line
// "specValsInit: bad chk->State"; the command line's boxes always have a
// state, so this is a fault of the program, not of the input, and the list's
// lines are passed on as they are.
int reportUnexplainedStop(const ResultList& list, std::ostream& err)
{
    std::string line;
    for (std::size_t i = 0; i < list.size(); ++i) {
        line.clear();
        list.appendLine(i, line);
        err << programName << ": " << line << '\n';
    }
    if (list.size() == 0)
        err << programName << ": the search did not start, and no value was rejected\n";
    return exitFailure;
}

int runChecked(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::string& decimalSeparator)
{
    ParsedArguments parsed = parseArguments(args);
    const Options& options = parsed.options;
    CommandLineWindow window(options, decimalSeparator);
    // Every value is judged by the window's own run, also when the answer
    // will be errors, the help or the version; only then is nothing searched.
    if (!parsed.errors.empty() || options.help || options.version)
        window.allowNoArms();
    StartWindow start = window.startWindow();
    const std::optional<SearchParams> params = runStart(start);

    std::vector<ArgumentError> errors = std::move(parsed.errors);
    if (!params) {
        const std::vector<ArgumentError> fieldErrors = window.fieldErrors();
        if (fieldErrors.empty() && errors.empty())
            return reportUnexplainedStop(window.list(), err);
        errors.insert(errors.end(), fieldErrors.begin(), fieldErrors.end());
    }
    if (!errors.empty()) {
        writeErrors(std::move(errors), err);
        return exitBadInput;
    }
    if (options.help)
        out << helpText();
    else if (options.version)
        out << versionText();
    else
        writeResults(options.format, window.list(), params->ratioOffset, out);

    out.flush();
    if (!out) {
        err << programName << ": cannot write the output\n";
        return exitFailure;
    }
    return exitSuccess;
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
