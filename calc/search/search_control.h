#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

namespace tarnel {

// How a caller follows and ends a search that runs on another thread.
struct SearchControl {
    std::stop_token stop; // a stop asked for ends the search soon, with what it has
    // Told how many dividers were found so far, now and then, on the thread that searches.
    std::function<void(std::uint64_t found)> progress;

    void report(std::uint64_t found) const
    {
        if (progress)
            progress(found);
    }
};

} // namespace tarnel
