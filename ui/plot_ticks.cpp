#include "plot_ticks.h"

#include <array>
#include <cmath>

namespace tarnel {

namespace {

// A round step, 1, 2 or 5 times a power of ten, at least at least.
double roundStep(double atLeast)
{
    const double decade = std::pow(10.0, std::floor(std::log10(atLeast)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * decade >= atLeast)
            return m * decade;
    return 10 * decade;
}

} // namespace

std::vector<double> logTicks(double low, double high)
{
    std::vector<double> ticks;
    if (!(low < high) || !std::isfinite(low) || !std::isfinite(high))
        return ticks;
    const auto first = static_cast<int>(std::floor(low));
    const auto last = static_cast<int>(std::ceil(high));
    const auto within = [&](double value) { return std::log10(value) >= low && std::log10(value) <= high; };
    if (high - low >= 2) {
        for (int k = first; k <= last; ++k)
            if (within(std::pow(10.0, k)))
                ticks.push_back(std::pow(10.0, k));
        return ticks;
    }
    if (high - low >= 0.5) {
        for (int k = first; k <= last; ++k)
            for (const double m : {1.0, 2.0, 5.0})
                // Written from the decade's own digits, so that 0.2 is 0.2, not 0.2 in binary times ten.
                if (const double value = k >= 0 ? m * std::pow(10.0, k) : m / std::pow(10.0, -k); within(value))
                    ticks.push_back(value);
        return ticks;
    }
    // About four steps across; each value counted from zero in whole steps.
    const double from = std::pow(10.0, low);
    const double to = std::pow(10.0, high);
    const double step = roundStep((to - from) / 4);
    for (double n = std::ceil(from / step); n * step <= to; ++n)
        ticks.push_back(n * step);
    return ticks;
}

} // namespace tarnel
