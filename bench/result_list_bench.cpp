// Appending the largest possible result list and reading every line back,
// with the memory the list holds per line.
#include "bench_support.h"
#include "search/result_list.h"

#include <cstdio>
#include <memory>

using namespace tarnel;

namespace {

constexpr std::size_t lineCount = 9'100'000;

// A list is kept between the two benchmarks so reading measures only reading.
std::unique_ptr<ResultList> filled;
double bytesPerLine = 0.0;

void fill(ResultList& list)
{
    SearchParams run; // 1 + H/L against 10, within 50 %
    run.uin = 10.0;
    run.uout = 1.0;
    run.tolerance = 0.5;
    list.setRun(run);
    for (std::size_t i = 0; i < lineCount; ++i) {
        // Series-series lines over the first decades, as a wide search yields them.
        const std::size_t h1 = i % 60;
        const std::size_t h2 = h1 + (i / 60) % 40;
        const std::size_t l1 = (i / 2400) % 50;
        const std::size_t l2 = l1 + (i / 120000) % 30;
        const Divider divider{5, {static_cast<ValueIndex>(h1), static_cast<ValueIndex>(h2), static_cast<ValueIndex>(l1),
                                  static_cast<ValueIndex>(l2)}};
        list.addResult(divider);
    }
}

void BM_append(benchmark::State& state)
{
    for (auto _ : state) {
        filled.reset();
        const std::size_t before = bench::residentBytes();
        filled = std::make_unique<ResultList>();
        fill(*filled);
        bytesPerLine = static_cast<double>(bench::residentBytes() - before) / static_cast<double>(lineCount);
    }
    state.counters["bytes_per_line"] = bytesPerLine;
}

void BM_readEveryLine(benchmark::State& state)
{
    std::size_t characters = 0;
    for (auto _ : state) {
        std::string buffer;
        characters = 0;
        for (std::size_t i = 0; i < filled->size(); ++i) {
            buffer.clear();
            filled->appendLine(i, buffer);
            characters += buffer.size();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.counters["chars"] = static_cast<double>(characters);
}

} // namespace

BENCHMARK(BM_append)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_readEveryLine)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%zu lines (format 5): append %.0f ms, read back %.0f ms, %.1f bytes per line (%.0f MB)\n",
                lineCount, reporter.seconds("BM_append") * 1e3, reporter.seconds("BM_readEveryLine") * 1e3,
                bytesPerLine, bytesPerLine * static_cast<double>(lineCount) / 1e6);
    benchmark::Shutdown();
}
