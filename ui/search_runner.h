#pragma once

#include "search/run_summary.h"
#include "search/search_params.h"
#include "search/arm_table.h"
#include "search/result_list.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <exception>
#include <optional>
#include <thread>

namespace tarnel {

// How a search on the runner's thread ended: its summary, or the failure to
// be shown on the window's thread.
struct SearchOutcome {
    SearchParams params;
    std::optional<RunSummary> summary; // none when the search failed
    std::exception_ptr failure;
};

// Runs one search at a time on a thread of its own, so that the window
// answers while millions of dividers are searched. The list and the cache
// belong to the search until finished is delivered; the window reads
// neither meanwhile.
class SearchRunner final : public QObject {
    Q_OBJECT

public:
    explicit SearchRunner(QObject* parent = nullptr);
    // Stops a running search and waits for its end.
    ~SearchRunner() override;
    SearchRunner(const SearchRunner&) = delete;
    SearchRunner& operator=(const SearchRunner&) = delete;

    // Call only when no search runs, that is, before start or after finished.
    void start(const SearchParams& params, ResultList& list, ArmTableCache& cache);
    // Asks the running search to end soon; finished follows with a stopped summary.
    void stop();
    // How many dividers the running search has found so far.
    [[nodiscard]] std::uint64_t found() const { return found_.load(std::memory_order_relaxed); }

signals:
    // Emitted on the search's thread; receivers connect with a queued connection.
    void finished(const tarnel::SearchOutcome& outcome);

private:
    std::atomic<std::uint64_t> found_{0};
    std::jthread thread_; // last: it ends before the rest of the runner goes
};

} // namespace tarnel

Q_DECLARE_METATYPE(tarnel::SearchOutcome)
