// Click-to-idle time and peak memory of a press of Start in the real window:
// the click, the search on its thread, the list model's reset once its
// result arrives, the events that follow and one full repaint of the window; then Ctrl+End to the last line. Runs: the
// window's defaults, and one that fills the list to its limit of 9,100,000
// lines, as found and best first.
#include "application.h"
#include "bench_support.h"
#include "divider_plot.h"
#include "main_window.h"
#include "result_list_model.h"
#include "result_list_view.h"
#include "search/ordered_pipeline.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <map>
#include <numeric>
#include <string>
#include <vector>

using namespace tarnel;

namespace {

struct Figures {
    std::vector<double> seconds; // one a click, the first in a fresh window first
    double peakMiB = 0.0;
    std::size_t lines = 0;
    double toLastSeconds = 0.0; // from the run's end to its last line chosen and shown
};
std::map<std::string, Figures> figures;

// Starts a new peak for VmHWM, so each run's peak is its own.
void resetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void fullRangeEverythingQualifies(TForm1& w)
{
    control<QLineEdit>(w, "editTol")->setText("100");
    control<QLineEdit>(w, "editRmin")->setText("1");
    control<QLineEdit>(w, "editRmax")->setText("9100000");
    control<QLineEdit>(w, "editRsumMin")->setText("1");
    control<QLineEdit>(w, "editRsumMax")->setText("9100000");
    control<QLineEdit>(w, "editMaxResults")->setText("9100000");
    for (const char* arm : {"chkHi1R", "chkHi2Rser", "chkHi2Rpar", "chkLo1R", "chkLo2Rser", "chkLo2Rpar"})
        control<QCheckBox>(w, arm)->setChecked(true);
}

// Presses Start and lets the window's events run until the search's result is in.
void clickStartAndWait(TForm1& window)
{
    QTest::mouseClick(control<QPushButton>(window, "btnStart"), Qt::LeftButton);
    while (window.searching())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void clickStart(benchmark::State& state, const std::string& name, void (*setUp)(TForm1&))
{
    TForm1 window;
    setUp(window);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("the window was not shown");
        return;
    }
    Figures result;
    for (auto _ : state) {
        state.PauseTiming();
        {
            // The previous run's lines are not this run's memory.
            const ResultListModel::Reset reset(window.resultModel());
            window.resultList().clear();
        }
        resetPeakMemory();
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        clickStartAndWait(window);
        QCoreApplication::processEvents();
        window.repaint();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

        result.seconds.push_back(elapsed.count());
        result.peakMiB = std::max(result.peakMiB, static_cast<double>(bench::peakResidentBytes()) / (1024.0 * 1024.0));
        result.lines = window.resultList().size();

        // Then to the end of the list, and its last line chosen, as a user would.
        const auto scrollStart = std::chrono::steady_clock::now();
        QTest::keyClick(control<ResultListView>(window, "ListBox1"), Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::processEvents();
        window.repaint();
        result.toLastSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - scrollStart).count();
    }
    state.counters["lines"] = static_cast<double>(result.lines);
    state.counters["peak_MiB"] = result.peakMiB;
    figures[name] = result;
}

void BM_ClickToIdle_Defaults(benchmark::State& state)
{
    clickStart(state, "defaults", [](TForm1&) {});
}
BENCHMARK(BM_ClickToIdle_Defaults)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ClickToIdle_FullList9100000(benchmark::State& state)
{
    clickStart(state, "full list", fullRangeEverythingQualifies);
}
BENCHMARK(BM_ClickToIdle_FullList9100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ClickToIdle_BestFirst9100000(benchmark::State& state)
{
    clickStart(state, "best first", [](TForm1& w) {
        fullRangeEverythingQualifies(w);
        control<QComboBox>(w, "cmbOrder")->setCurrentIndex(1);
    });
}
BENCHMARK(BM_ClickToIdle_BestFirst9100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

struct CopyFigures {
    double seconds = 0.0;
    double textMiB = 0.0;
    double beforeMiB = 0.0; // resident before the copy, the lines already listed
    double peakMiB = 0.0;
    double afterMiB = 0.0; // resident once the copy is done, the text on the clipboard
    double clearedMiB = 0.0; // resident once the clipboard has let the text go
};
CopyFigures copyFigures;

// "Copy all" of the full list: its time, and what it takes of memory at its
// peak and keeps once done.
void BM_CopyAll_FullList9100000(benchmark::State& state)
{
    TForm1 window;
    fullRangeEverythingQualifies(window);
    clickStartAndWait(window);
    const auto mib = [](std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); };
    for (auto _ : state) {
        QGuiApplication::clipboard()->clear();
        copyFigures.beforeMiB = mib(bench::residentBytes());
        resetPeakMemory();
        const auto start = std::chrono::steady_clock::now();
        control<ResultListView>(window, "ListBox1")->copyAllAction()->trigger();
        QCoreApplication::processEvents();
        copyFigures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        copyFigures.peakMiB = mib(bench::peakResidentBytes());
        copyFigures.afterMiB = mib(bench::residentBytes());
        copyFigures.textMiB = mib(static_cast<std::size_t>(QGuiApplication::clipboard()->text().toUtf8().size()));
        QGuiApplication::clipboard()->clear();
        copyFigures.clearedMiB = mib(bench::residentBytes());
    }
}
BENCHMARK(BM_CopyAll_FullList9100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

struct PlotFigures {
    std::size_t lines = 0;
    std::size_t onFront = 0;
    double readySeconds = 0.0; // from the list filled to the plot ready
    double frontSeconds = 0.0; // the front alone, with the plot idle
    double aboveListMiB = 0.0;  // the peak while the plot is made, above the memory once the list is filled
};
PlotFigures plotFigures;

// The plot of the full list, ready after the run, and the front of its lines alone.
void BM_Plot_FullList9100000(benchmark::State& state)
{
    TForm1 window;
    fullRangeEverythingQualifies(window);
    window.show();
    auto* plot = control<DividerPlot>(window, "dividerPlot");
    for (auto _ : state) {
        clickStartAndWait(window); // returns once the list is filled and the plot's thread started
        const auto start = std::chrono::steady_clock::now();
        const std::size_t filled = bench::residentBytes();
        resetPeakMemory();
        while (!plot->ready())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        plotFigures.readySeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        plotFigures.aboveListMiB =
            static_cast<double>(bench::peakResidentBytes() - std::min(filled, bench::peakResidentBytes())) /
            (1024.0 * 1024.0);
        const auto frontStart = std::chrono::steady_clock::now();
        const std::vector<FrontPoint> front = paretoFront(window.resultList(), *window.resultModel().runParams());
        plotFigures.frontSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - frontStart).count();
        plotFigures.onFront = front.size();
        plotFigures.lines = window.resultList().size();
    }
}
BENCHMARK(BM_Plot_FullList9100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nClick on Start to idle window, and peak resident memory of the process during a run:\n");
    std::printf("  %-10s %9s  %12s  %12s  %10s  %12s\n", "run", "lines", "first click", "mean click", "peak",
                "to the last");
    for (const auto& [name, f] : figures) {
        if (f.seconds.empty())
            continue;
        const double total = std::accumulate(f.seconds.begin(), f.seconds.end(), 0.0);
        const double mean = total / static_cast<double>(f.seconds.size());
        std::printf("  %-10s %9zu  %10.3f s  %10.3f s  %6.1f MiB  %10.3f s\n", name.c_str(), f.lines, f.seconds.front(),
                    mean, f.peakMiB, f.toLastSeconds);
    }
    std::printf("  targets for the full list: at most 1 s and 150 MB\n");
    if (copyFigures.seconds > 0.0) {
        std::printf("\nCopy all of the full list: %.2f s; text %.0f MiB; resident %.0f MiB before, peak %.0f MiB, "
                    "%.0f MiB after, %.0f MiB once the clipboard is cleared\n",
                    copyFigures.seconds, copyFigures.textMiB, copyFigures.beforeMiB, copyFigures.peakMiB,
                    copyFigures.afterMiB, copyFigures.clearedMiB);
        std::printf("  target: a peak of at most the text plus 200 MB above the resident memory before\n");
    }
    if (plotFigures.lines > 0) {
        std::printf("\nPlot of the full list (%zu lines, %zu on the front, %zu threads): ready %.3f s after the list "
                    "is filled; the front alone %.3f s\n",
                    plotFigures.lines, plotFigures.onFront, workerCount(), plotFigures.readySeconds,
                    plotFigures.frontSeconds);
        std::printf("  targets: the plot at most 0.3 s, the front at most 0.2 s\n");
        std::printf("  peak while the plot is made: %.1f MiB above the memory once the list is filled\n",
                    plotFigures.aboveListMiB);
    }
    return 0;
}
