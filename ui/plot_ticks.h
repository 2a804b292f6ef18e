#pragma once

#include <vector>

namespace tarnel {

// The values at which an axis on a log scale from 10^low to 10^high is
// ticked, ascending: whole decades over a wide view, 1, 2 and 5 times them
// over a narrower one, and round steps of the values themselves once the
// view spans less than half a decade, so that a view zoomed far in still
// has a scale to read.
[[nodiscard]] std::vector<double> logTicks(double low, double high);

} // namespace tarnel
