#include "search/ordered_pipeline.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace tarnel {

std::size_t workerCount()
{
    static const std::size_t count = [] {
        std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
        if (const char* cap = std::getenv("TARNEL_THREADS")) {
            const std::string_view text(cap);
            std::size_t wanted = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wanted);
            if (error == std::errc() && end == text.data() + text.size() && wanted > 0)
                cores = wanted;
        }
        return cores;
    }();
    return count;
}

} // namespace tarnel
