// The search against the literal nested-loop reference, on three cases:
// (a) nothing qualifies over the full range, (b) the window's defaults,
// (c) everything qualifies and the list fills to 9,100,000 lines; then the
// two orders of the list: (d) 12 V to 3.3 V within 1 %, every shape, listing
// all 15,975 as found or the best 200, and (c) again best first; last (a) in
// E96 and E192, whose literal loops over the full range would take hours:
// they run on the first 168 values and are scaled by the candidates tested;
// (e) the worst case over all ten decades from 1 Ω, in E24 and E192; and
// (f) a regulator's feedback divider, worst case against nominal; (g) each
// design bound against the same search without it; (h) runs that find no
// divider, whole and the trials for the nearest change alone.
#include "bench_support.h"
#include "reference_search.h"
#include "request/search_input.h"
#include "search/arm_table.h"
#include "search/combination_search.h"
#include "search/divider_search.h"
#include "search/nearest_change.h"

#include <cstdio>

using namespace tarnel;

namespace {

struct Case {
    const char* name;
    void (*setUp)(SearchInput&);
};

void checkEveryArmBox(SearchInput& w)
{
    w.highShapes = w.lowShapes = ArmShapes::every();
}

void fullRange(SearchInput& w)
{
    checkEveryArmBox(w);
    w.text(Field::Rmax) = std::string("9100000");
    w.text(Field::RsumMin) = std::string("1");
    w.text(Field::RsumMax) = std::string("9100000");
}

const Case cases[] = {
    {"a_no_exact_divider_full_range",
     [](SearchInput& w) {
         fullRange(w);
         w.text(Field::Tol) = std::string("0");
         w.text(Field::Uin) = std::string("3.14159");
     }},
    {"b_window_defaults", [](SearchInput&) {}},
    {"c_tol100_limit_9100000",
     [](SearchInput& w) {
         fullRange(w);
         w.text(Field::Tol) = std::string("100");
         w.text(Field::MaxResults) = std::string("9100000");
     }},
};

void allShapes12To3v3(SearchInput& w)
{
    checkEveryArmBox(w);
    w.text(Field::Uin) = std::string("12");
    w.text(Field::Uout) = std::string("3.3");
    w.text(Field::Tol) = std::string("1");
}

// A regulator's feedback divider from E192, every shape, the best 200 of
// those within 3 % with 1 % parts and a 1 % reference; as found in (f_found).
void regulatorFeedback(SearchInput& w)
{
    checkEveryArmBox(w);
    w.text(Field::Uin) = std::string("1.8");
    w.text(Field::Uout) = std::string("0.8");
    w.text(Field::Tol) = std::string("3");
    w.text(Field::SourceTol) = std::string("1");
    w.choice(ChoiceId::Series) = *seriesIndex("E192");
    w.choice(ChoiceId::Order) = 1;
    w.choice(ChoiceId::Use) = static_cast<std::size_t>(DividerUse::Feedback);
}

void worstCase(SearchInput& w)
{
    cases[0].setUp(w);
}

// The series' place in its choice box, and a case of it over the reduced range.
struct SeriesCase {
    const char* name;
    std::size_t series;
};

const SeriesCase seriesCases[] = {{"a_E96", 5}, {"a_E192", 6}};
constexpr std::size_t reducedValueCount = 168;

const SeriesCase tenDecadeCases[] = {{"e_E24", 3}, {"e_E192", 6}};

SearchParams tenDecadeParams(const SeriesCase& c)
{
    SearchInput input;
    worstCase(input);
    input.text(Field::Rmin) = std::string("0.001");
    input.text(Field::RsumMin) = std::string("0.001");
    input.choice(ChoiceId::Series) = c.series;
    return readSearchParams(input, NumberText()).params;
}

const Case orderCases[] = {
    {"d_found_all",
     [](SearchInput& w) {
         allShapes12To3v3(w);
         w.text(Field::MaxResults) = std::string("9100000");
     }},
    {"d_best_200",
     [](SearchInput& w) {
         allShapes12To3v3(w);
         w.choice(ChoiceId::Order) = 1;
     }},
    {"c_best_9100000",
     [](SearchInput& w) {
         cases[2].setUp(w);
         w.choice(ChoiceId::Order) = 1;
     }},
    {"f_best_nominal", regulatorFeedback},
    {"f_best_worst_case",
     [](SearchInput& w) {
         regulatorFeedback(w);
         w.choice(ChoiceId::Criterion) = static_cast<std::size_t>(Criterion::WorstCase);
     }},
    {"f_found_nominal",
     [](SearchInput& w) {
         regulatorFeedback(w);
         w.choice(ChoiceId::Order) = 0;
     }},
    {"f_found_worst_case",
     [](SearchInput& w) {
         regulatorFeedback(w);
         w.choice(ChoiceId::Order) = 0;
         w.choice(ChoiceId::Criterion) = static_cast<std::size_t>(Criterion::WorstCase);
     }},
};

// 12 V to 3.3 V within 1 %, every shape, from 1 Ω: all as found, or the best 200.
void fromOneOhm(SearchInput& w)
{
    allShapes12To3v3(w);
    w.text(Field::Rmin) = std::string("0.001");
    w.text(Field::RsumMin) = std::string("0.001");
    w.text(Field::MaxResults) = std::string("9100000");
}

void fromOneOhmBest(SearchInput& w)
{
    fromOneOhm(w);
    w.text(Field::MaxResults) = std::string("200");
    w.choice(ChoiceId::Order) = 1;
}

// Tol 2 %: 1 % parts leave room for a guarantee.
void fromOneOhmBestWorstCase(SearchInput& w)
{
    fromOneOhmBest(w);
    w.text(Field::Tol) = std::string("2");
    w.choice(ChoiceId::Criterion) = static_cast<std::size_t>(Criterion::WorstCase);
}

void regulatorFeedbackWorstCase(SearchInput& w)
{
    regulatorFeedback(w);
    w.choice(ChoiceId::Criterion) = static_cast<std::size_t>(Criterion::WorstCase);
}

void regulatorFeedbackFound(SearchInput& w)
{
    regulatorFeedbackWorstCase(w);
    w.choice(ChoiceId::Order) = 0;
}

// A search, and the same with one bound more.
struct BoundCase {
    const char* name;
    void (*setUp)(SearchInput&);
    Field bound;
    const char* text;
    Field secondBound = Field::Uin;
    const char* secondText = nullptr;
};

const BoundCase boundCases[] = {
    {"g_power_found", fromOneOhm, Field::PowerMax, "100"},
    {"g_power_best", fromOneOhmBest, Field::PowerMax, "100"},
    {"g_current_max_found", fromOneOhm, Field::CurrentMax, "100"},
    {"g_current_max_best", fromOneOhmBest, Field::CurrentMax, "100"},
    {"g_current_min_best", fromOneOhmBest, Field::CurrentMin, "0.2"},
    // The output's window as wide as Tol's 1 % about 3.3 V, and Out max alone.
    {"g_out_window_found", fromOneOhm, Field::OutMin, "3.267", Field::OutMax, "3.333"},
    {"g_out_window_best", fromOneOhmBest, Field::OutMin, "3.267", Field::OutMax, "3.333"},
    // An ADC's 100 k input on the tap; with it the current is bounded divider by divider.
    {"g_load_found", fromOneOhm, Field::Load, "100"},
    {"g_load_best", fromOneOhmBest, Field::Load, "100"},
    {"g_load_best_worst_case", fromOneOhmBestWorstCase, Field::Load, "100"},
    {"g_load_current_max_best", fromOneOhmBest, Field::Load, "100", Field::CurrentMax, "100"},
    // A feedback pin's 50 nA of bias current.
    {"g_pin_best_nominal", regulatorFeedback, Field::PinCurrent, "0.05"},
    {"g_pin_best_worst_case", regulatorFeedbackWorstCase, Field::PinCurrent, "0.05"},
    {"g_pin_found_worst_case", regulatorFeedbackFound, Field::PinCurrent, "-0.05"},
};

// Runs that find no divider for a bound left at its default, and over the full range at Tol 0.
const Case noneCases[] = {
    {"h_lm317_low_arm_240r",
     [](SearchInput& w) {
         w.choice(ChoiceId::Use) = static_cast<std::size_t>(DividerUse::Feedback);
         w.text(Field::Uin) = std::string("5");
         w.text(Field::Uout) = std::string("1.25");
         w.text(Field::LowArmMin) = w.text(Field::LowArmMax) = std::string("0.24");
     }},
    {"h_total_under_2k",
     [](SearchInput& w) {
         w.text(Field::Uin) = std::string("5");
         w.text(Field::Uout) = std::string("1.25");
         w.text(Field::RsumMax) = std::string("2");
     }},
    {"h_adc_rout_max",
     [](SearchInput& w) {
         w.text(Field::Uin) = std::string("24");
         w.text(Field::Uout) = std::string("3");
         w.text(Field::RsumMin) = std::string("100");
         w.text(Field::RsumMax) = w.text(Field::Rmax) = std::string("1000");
         w.text(Field::OutputImpedanceMax) = std::string("10");
     }},
    {"h_full_range_tol0", [](SearchInput& w) { cases[0].setUp(w); }},
    // Near the trials' budget: one trial over the run's tables fits, widened ranges do not.
    {"h_e96_full_range_low_arm_3000",
     [](SearchInput& w) {
         cases[0].setUp(w);
         w.choice(ChoiceId::Series) = 5;
         w.text(Field::LowArmMin) = w.text(Field::LowArmMax) = std::string("3000");
     }},
};

SearchParams paramsOf(const Case& c);

// The trials alone, over the tables and with the reason of the run.
void runTrials(benchmark::State& state, const SearchParams& params)
{
    ArmTableCache cache;
    ResultList list;
    const RunSummary summary = searchDividers(params, list, cache);
    const ValueRange range = searchedValues(params);
    ArmTables& tables = cache.tables(params.values, range, usableValues(params, range));
    std::uint64_t found = 0;
    for (auto _ : state) {
        const std::optional<BoundChange> change = nearestChange(params, summary.noneBecause, tables, {});
        found = change ? change->count : 0;
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
}

SearchParams paramsOf(const Case& c)
{
    SearchInput input;
    c.setUp(input);
    return readSearchParams(input, NumberText()).params;
}

SearchParams seriesParams(const SeriesCase& c, bool reduced)
{
    SearchParams params = paramsOf({c.name, worstCase});
    params.values = seriesValues(c.series);
    if (reduced)
        params.rMax = (*params.values)[reducedValueCount - 1];
    return params;
}

// The dividers the literal loops test with every shape ticked over n values:
// each arm is one of n single values or n (n + 1) / 2 pairs of each kind.
double candidates(std::size_t n)
{
    const auto arms = static_cast<double>(n) * static_cast<double>(n + 2);
    return arms * arms;
}

// The literal reference, its lines stored like the search's.
void literalSearch(const SearchParams& params, ResultList& list)
{
    list.setRun(params);
    for (const test::ReferenceLine& line : test::referenceSearch(params, static_cast<std::size_t>(params.maxResults))) {
        Divider divider{line.combination, {}};
        for (std::size_t i = 0; i < 4; ++i)
            divider.values[i] = static_cast<ValueIndex>(params.values->floorIndex(line.resistors[i]));
        list.addResult(divider);
    }
}

// Pressing Start again: the arm tables are kept from the run before.
void fastSearch(const SearchParams& params, ResultList& list)
{
    static ArmTableCache kept;
    searchDividers(params, list, kept);
}

// The first press of Start: the arm tables are made.
void coldSearch(const SearchParams& params, ResultList& list)
{
    searchDividers(params, list);
}

template <void (*Search)(const SearchParams&, ResultList&)>
void runSearch(benchmark::State& state, const SearchParams& params)
{
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
    const auto literal = [](const std::string& name, const SearchParams& params) {
        benchmark::RegisterBenchmark(("literal/" + name).c_str(), runSearch<literalSearch>, params)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    };
    const auto fast = [](const std::string& name, const SearchParams& params) {
        benchmark::RegisterBenchmark(("fast/" + name).c_str(), runSearch<fastSearch>, params)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
        benchmark::RegisterBenchmark(("cold/" + name).c_str(), runSearch<coldSearch>, params)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    };
    for (const Case& c : cases) {
        literal(c.name, paramsOf(c));
        fast(c.name, paramsOf(c));
    }
    for (const Case& c : orderCases)
        fast(c.name, paramsOf(c));
    for (const SeriesCase& c : seriesCases) {
        literal(std::string(c.name) + "_reduced", seriesParams(c, true));
        fast(c.name, seriesParams(c, false));
    }
    for (const SeriesCase& c : tenDecadeCases)
        fast(c.name, tenDecadeParams(c));
    for (const BoundCase& c : boundCases) {
        fast(std::string(c.name) + "_without", paramsOf({c.name, c.setUp}));
        SearchInput bounded;
        c.setUp(bounded);
        bounded.text(c.bound) = std::string(c.text);
        if (c.secondText)
            bounded.text(c.secondBound) = std::string(c.secondText);
        fast(std::string(c.name) + "_with", readSearchParams(bounded, NumberText()).params);
    }
    for (const Case& c : noneCases) {
        fast(c.name, paramsOf(c));
        benchmark::RegisterBenchmark((std::string("trials/") + c.name).c_str(), runTrials, paramsOf(c))
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
    const auto ms = [&](const char* name) { return reporter.seconds(std::string("fast/") + name) * 1e3; };
    std::printf("\nbest first against as found: (d) best 200 %.2f ms, all 15,975 as found %.2f ms (%.2fx);\n"
                "(c) best 9,100,000 %.0f ms, as found %.0f ms (%.2fx)\n",
                ms("d_best_200"), ms("d_found_all"), ms("d_best_200") / ms("d_found_all"), ms("c_best_9100000"),
                ms("c_tol100_limit_9100000"), ms("c_best_9100000") / ms("c_tol100_limit_9100000"));
    std::printf("\n");
    for (const char* order : {"best", "found"}) {
        const double worst = ms(("f_" + std::string(order) + "_worst_case").c_str());
        const double nominal = ms(("f_" + std::string(order) + "_nominal").c_str());
        std::printf("(f) E192 feedback, %s 200: worst case %.2f ms, nominal %.2f ms (%.2fx)\n", order, worst, nominal,
                    worst / nominal);
    }
    // fast keeps the arm tables from the run before, as pressing Start again
    // does; first makes them, as the first press does.
    const auto firstMs = [&](const char* name) { return reporter.seconds(std::string("cold/") + name) * 1e3; };
    std::printf("\n%-24s %10s %10s %12s %14s %10s\n", "worst case by series", "fast ms", "first ms", "literal s",
                "on values", "speed-up");
    std::printf("%-24s %10.2f %10.2f %12.2f %14s %9.0fx\n", "E24", ms("a_no_exact_divider_full_range"),
                firstMs("a_no_exact_divider_full_range"), reporter.seconds("literal/a_no_exact_divider_full_range"),
                "all 168",
                reporter.seconds("literal/a_no_exact_divider_full_range") * 1e3 / ms("a_no_exact_divider_full_range"));
    for (const SeriesCase& c : seriesCases) {
        // Scaled from the reduced range by the candidates the loops test.
        const std::size_t all = searchedValueCount(seriesParams(c, false));
        const double literal = reporter.seconds(std::string("literal/") + c.name + "_reduced") *
                               candidates(all) / candidates(reducedValueCount);
        std::printf("%-24s %10.2f %10.2f %12.0f %14s %9.0fx\n", c.name + 2, ms(c.name), firstMs(c.name), literal,
                    ("~ all " + std::to_string(all)).c_str(), literal * 1e3 / ms(c.name));
    }
    std::printf("\n%-32s %10s %12s %8s\n", "worst case over ten decades", "first ms", "later ms", "values");
    for (const SeriesCase& c : tenDecadeCases)
        std::printf("%-32s %10.2f %12.2f %8zu\n", c.name + 2, firstMs(c.name), ms(c.name),
                    searchedValueCount(tenDecadeParams(c)));
    std::printf("\n%-32s %12s %12s %8s\n", "design bound", "without ms", "with ms", "cost");
    for (const BoundCase& c : boundCases) {
        const double without = ms((std::string(c.name) + "_without").c_str());
        const double with = ms((std::string(c.name) + "_with").c_str());
        std::printf("%-32s %12.2f %12.2f %7.2fx\n", c.name, without, with, with / without);
    }
    std::printf("\n%-32s %12s %12s %12s\n", "no divider", "fast ms", "first ms", "trials ms");
    for (const Case& c : noneCases)
        std::printf("%-32s %12.2f %12.2f %12.2f\n", c.name, ms(c.name), firstMs(c.name),
                    reporter.seconds(std::string("trials/") + c.name) * 1e3);
    benchmark::Shutdown();
}
