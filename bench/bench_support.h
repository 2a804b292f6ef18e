#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <string>

namespace tarnel::bench {

// Resident and peak resident memory of this process, in bytes.
std::size_t residentBytes();
std::size_t peakResidentBytes();

// Prints Google Benchmark's usual table and remembers each run's mean real
// time in seconds, so a bench can print its own comparison afterwards.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    [[nodiscard]] double seconds(const std::string& name) const;

private:
    std::map<std::string, double> seconds_;
};

} // namespace tarnel::bench
