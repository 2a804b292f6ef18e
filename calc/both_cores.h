#pragma once

#include <exception>
#include <thread>

namespace tarnel {

// Runs first on a second thread while second runs on this one, and returns
// once both are done. An exception of either is rethrown here, first's
// before second's; neither ends the program.
template <class First, class Second>
void onBothCores(First&& first, Second&& second)
{
    std::exception_ptr firstFailed;
    std::exception_ptr secondFailed;
    {
        const std::jthread helper([&] {
            try {
                first();
            } catch (...) {
                firstFailed = std::current_exception();
            }
        });
        try {
            second();
        } catch (...) {
            secondFailed = std::current_exception();
        }
    }
    if (firstFailed)
        std::rethrow_exception(firstFailed);
    if (secondFailed)
        std::rethrow_exception(secondFailed);
}

} // namespace tarnel
