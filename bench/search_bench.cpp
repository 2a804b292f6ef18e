// The search against the literal nested-cursor reference, on three cases:
// (a) nothing qualifies over the full range, (b) the window's defaults,
// (c) everything qualifies and the list fills to 9,100,000 lines.
#include "bench_support.h"
#include "divider_search.h"
#include "fake_window.h"
#include "reference_search.h"

#include <cstdio>

using namespace tarnel;

namespace {

struct Case {
    const char* name;
    void (*setUp)(test::FakeWindow&);
};

void fullRange(test::FakeWindow& w)
{
    for (test::FakeCheck* c : {&w.chkHi1R, &w.chkHi2Rser, &w.chkHi2Rpar, &w.chkLo1R, &w.chkLo2Rser, &w.chkLo2Rpar})
        c->set(true);
    w.editRmin.setText("1");
    w.editRmax.setText("9100000");
    w.editRsumMin.setText("1");
    w.editRsumMax.setText("9100000");
}

const Case cases[] = {
    {"a_no_exact_divider_full_range",
     [](test::FakeWindow& w) {
         fullRange(w);
         w.editTol.setText("0");
         w.editUin.setText("3.14159");
     }},
    {"b_window_defaults", [](test::FakeWindow&) {}},
    {"c_tol100_limit_9100000",
     [](test::FakeWindow& w) {
         fullRange(w);
         w.editTol.setText("100");
         w.editMaxResults.setText("9100000");
     }},
};

SearchParams paramsOf(const Case& c)
{
    test::FakeWindow window;
    c.setUp(window);
    return readSearchParams(window.fields(), window.list.numbers());
}

template <void (*Search)(const SearchParams&, ResultList&)>
void runSearch(benchmark::State& state, const Case& c)
{
    const SearchParams params = paramsOf(c);
    std::size_t lines = 0;
    for (auto _ : state) {
        ResultList list;
        Search(params, list);
        lines = list.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

} // namespace

int main(int argc, char** argv)
{
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark((std::string("literal/") + c.name).c_str(), runSearch<test::referenceSearch>, c)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        benchmark::RegisterBenchmark((std::string("fast/") + c.name).c_str(), runSearch<searchDividers>, c)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    }
    benchmark::Initialize(&argc, argv);
    bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-32s %12s %12s %10s\n", "case", "literal ms", "fast ms", "speed-up");
    for (const Case& c : cases) {
        const double literal = reporter.seconds(std::string("literal/") + c.name);
        const double fast = reporter.seconds(std::string("fast/") + c.name);
        if (literal > 0.0 && fast > 0.0)
            std::printf("%-32s %12.2f %12.2f %9.1fx\n", c.name, literal * 1e3, fast * 1e3, literal / fast);
    }
    benchmark::Shutdown();
}
