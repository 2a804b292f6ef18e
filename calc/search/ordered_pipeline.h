#pragma once

// The one way the calculation runs work in parallel: items are worked on by
// every core, a bounded number ahead, and handed back in their order on the
// calling thread.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace tarnel {

// How many threads a parallel loop uses: every core, or as many as the
// environment variable TARNEL_THREADS says (at least 1), for benches.
[[nodiscard]] std::size_t workerCount();

// Items worked ahead of delivery unless a loop says otherwise: a fixed
// number, so that their memory is the same on any number of cores.
inline constexpr std::size_t defaultInFlight = 8;

struct PipelineLimits {
    std::size_t workers = workerCount(); // threads working, the calling one among them
    std::size_t inFlight = defaultInFlight; // items worked ahead of delivery
};

// Calls work(i) for every i below count, on up to limits.workers threads,
// and deliver(i, result) on the calling thread for i = 0, 1, ... in order.
// No item is worked more than limits.inFlight ahead of the one delivered
// next, so memory stays bounded however many items and cores there are; no
// more threads work than that, as more could only wait. The calling
// thread works items too while the next to deliver is not done.
// Ends early, without an error, when deliver returns false or stop is
// requested; gives whether every item was delivered. An exception of work
// or deliver stops the other threads from taking items and is rethrown here
// once they are done with theirs.
template <class Work, class Deliver>
bool forEachInOrder(std::size_t count, Work&& work, Deliver&& deliver, PipelineLimits limits = {},
                    std::stop_token stop = {})
{
    using Result = std::invoke_result_t<Work&, std::size_t>;
    const std::size_t inFlight = std::max<std::size_t>(1, limits.inFlight);
    const std::size_t workers = std::max<std::size_t>(1, std::min({limits.workers, count, inFlight}));
    if (workers == 1) {
        for (std::size_t i = 0; i < count; ++i)
            if (stop.stop_requested() || !deliver(i, work(i)))
                return false;
        return true;
    }

    // Each slot on cache lines of its own, so that a result written by one
    // thread does not pull another's from its cache.
    struct alignas(64) Slot {
        std::optional<Result> result;
    };
    // Not "slots": a Qt program that includes this has that word as a macro.
    std::vector<Slot> resultSlots(inFlight);
    std::mutex guard;
    std::condition_variable changed;
    std::size_t next = 0;      // the first item nobody has taken
    std::size_t delivered = 0; // items delivered
    bool ended = false;        // no more items are taken
    std::exception_ptr failure;

    const auto end = [&](std::exception_ptr error) {
        {
            const std::scoped_lock lock(guard);
            ended = true;
            if (error && !failure)
                failure = error;
        }
        changed.notify_all();
    };
    // Takes the next item and works on it; false when none may be taken now.
    const auto workOnNext = [&](bool waitForRoom) {
        std::size_t item = 0;
        {
            std::unique_lock lock(guard);
            const auto mayTake = [&] { return ended || next == count || next < delivered + inFlight; };
            if (waitForRoom)
                changed.wait(lock, mayTake);
            if (ended || next == count || next >= delivered + inFlight || stop.stop_requested())
                return false;
            item = next++;
        }
        Result result = work(item);
        {
            const std::scoped_lock lock(guard);
            resultSlots[item % inFlight].result.emplace(std::move(result));
        }
        changed.notify_all();
        return true;
    };

    bool complete = false;
    {
        std::vector<std::jthread> helpers;
        // However the calling thread leaves, the helpers take no more items.
        struct EndOnExit {
            decltype(end)& endNow;
            ~EndOnExit() { endNow(nullptr); }
        };
        const EndOnExit endOnExit{end};
        helpers.reserve(workers - 1);
        for (std::size_t w = 1; w < workers; ++w) {
            helpers.emplace_back([&] {
                try {
                    while (workOnNext(true)) {
                    }
                } catch (...) {
                    end(std::current_exception());
                }
            });
        }
        try {
            while (delivered < count) {
                Slot& slot = resultSlots[delivered % inFlight];
                // Works on items itself until the one to deliver is done.
                for (bool waiting = true; waiting;) {
                    {
                        const std::scoped_lock lock(guard);
                        waiting = !slot.result && !ended;
                    }
                    if (waiting && !workOnNext(false)) {
                        // Taken by a helper, which fills it or fails, unless a stop left it untaken.
                        if (stop.stop_requested())
                            break;
                        std::unique_lock lock(guard);
                        changed.wait(lock, [&] { return slot.result.has_value() || ended; });
                        waiting = false;
                    }
                }
                std::optional<Result> result;
                {
                    const std::scoped_lock lock(guard);
                    if (ended || !slot.result)
                        break;
                    result.swap(slot.result);
                }
                if (stop.stop_requested() || !deliver(delivered, std::move(*result)))
                    break;
                {
                    const std::scoped_lock lock(guard);
                    ++delivered;
                }
                changed.notify_all();
            }
            complete = delivered == count;
        } catch (...) {
            end(std::current_exception());
        }
        // The helpers are joined here, before a failure is passed on.
    }
    if (failure)
        std::rethrow_exception(failure);
    return complete;
}

} // namespace tarnel
