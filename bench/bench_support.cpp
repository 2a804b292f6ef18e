#include "bench_support.h"

#include <fstream>
#include <string>

namespace tarnel::bench {

namespace {

std::size_t statusField(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            std::size_t kib = 0;
            status >> kib;
            return kib * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

} // namespace

std::size_t residentBytes() { return statusField("VmRSS:"); }
std::size_t peakResidentBytes() { return statusField("VmHWM:"); }

void RecordingReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Iteration && run.iterations > 0)
            seconds_[run.run_name.function_name] = run.real_accumulated_time / static_cast<double>(run.iterations);
}

double RecordingReporter::seconds(const std::string& name) const
{
    const auto it = seconds_.find(name);
    return it == seconds_.end() ? 0.0 : it->second;
}

} // namespace tarnel::bench
