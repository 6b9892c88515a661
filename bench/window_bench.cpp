// SPDX-License-Identifier: GPL-3.0-or-later
// Window benchmarks on the real window, offscreen: a click on the fine mean-diameter arrow from
// the press to the repainted labels, and one Run.
//
// A click is QTest::mouseClick on UpDown3's up button. The press runs the button's handling,
// SpinButton, the editor, the engine and every view update; the button repaints itself at once
// on press and on release (QAbstractButton does), and that repaint on release paints everything
// dirty in the window, the changed labels included. One QCoreApplication::processEvents() then
// delivers whatever the event loop would do next. The clock runs from before the press to after
// that call. Each timed click must have repainted the two labels it changes (Label27 and
// Label45), or the benchmark fails. A down click after each timed one, untimed, keeps the
// design where it was.
//
//   window_bench [--table] [--heading] [Google Benchmark options]

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "budget_table.h"
#include "median_collector.h"
#include "ui/field_label.h"
#include "ui/main_window.h"
#include "ui/spin_button.h"

using springcalc::bench::Unit;
using Clock = std::chrono::steady_clock;

namespace {

// Every timed operation, one sample each, by benchmark: the table shows their median.
std::map<std::string, std::vector<double>> g_samples;

class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

// The calculator's window as the program shows it: system clock, its own dialogs.
struct Window {
    TForm1 form;
    QAbstractButton* fineUp;
    QAbstractButton* fineDown;
    QAction* run;
    PaintCounter meanDiameterPaints;
    PaintCounter diametersPaints;
    PaintCounter springRatePaints;

    Window() {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) {
            std::fprintf(stderr, "the window was never exposed\n");
            std::exit(2);
        }
        auto* spinner = form.findChild<SpinButton*>(QStringLiteral("UpDown3"));
        fineUp = spinner->upButton();
        fineDown = spinner->downButton();
        run = form.findChild<QAction*>(QStringLiteral("N1"));
        form.findChild<FieldLabel*>(QStringLiteral("Label27"))
            ->installEventFilter(&meanDiameterPaints);
        form.findChild<FieldLabel*>(QStringLiteral("Label45"))
            ->installEventFilter(&diametersPaints);
        form.findChild<FieldLabel*>(QStringLiteral("Label36"))
            ->installEventFilter(&springRatePaints);
        // The first clicks load fonts and fill glyph caches: a cost of start-up, not of a click.
        for (int i = 0; i < 20; ++i) {
            ClickAndRepaint(fineUp);
            ClickAndRepaint(fineDown);
        }
    }

    static void Repaint() { QCoreApplication::processEvents(); }

    static void ClickAndRepaint(QAbstractButton* arrow) {
        QTest::mouseClick(arrow, Qt::LeftButton);
        Repaint();
    }
};

std::unique_ptr<Window> g_window;

double Seconds(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

void BM_FineArrowClick(benchmark::State& state) {
    Window& w = *g_window;
    std::vector<double>& samples = g_samples[__func__];
    for (auto _ : state) {
        const int meanDiameter = w.meanDiameterPaints.count;
        const int diameters = w.diametersPaints.count;
        const Clock::time_point start = Clock::now();
        QTest::mouseClick(w.fineUp, Qt::LeftButton);
        Window::Repaint();
        const double seconds = Seconds(start, Clock::now());
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        if (w.meanDiameterPaints.count == meanDiameter || w.diametersPaints.count == diameters) {
            state.SkipWithError("the click did not repaint Label27 and Label45");
            break;
        }
        Window::ClickAndRepaint(w.fineDown);
    }
}

// The same click followed by a repaint of the whole window rather than of what changed: what
// a click would cost if every label were drawn again.
void BM_FineArrowClickFullRepaint(benchmark::State& state) {
    Window& w = *g_window;
    std::vector<double>& samples = g_samples[__func__];
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        QTest::mouseClick(w.fineUp, Qt::LeftButton);
        w.form.repaint();
        const double seconds = Seconds(start, Clock::now());
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        Window::ClickAndRepaint(w.fineDown);
    }
}

// Run from the pop-up menu's entry, after a click has changed the design so that the results
// shown change too; timed from the trigger to the repainted results.
void BM_Run(benchmark::State& state) {
    Window& w = *g_window;
    std::vector<double>& samples = g_samples[__func__];
    bool up = true;
    for (auto _ : state) {
        Window::ClickAndRepaint(up ? w.fineUp : w.fineDown);
        up = !up;
        const int springRate = w.springRatePaints.count;
        const Clock::time_point start = Clock::now();
        w.run->trigger();
        Window::Repaint();
        const double seconds = Seconds(start, Clock::now());
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        if (w.springRatePaints.count == springRate) {
            state.SkipWithError("Run did not repaint Label36");
            break;
        }
    }
}

// 300 operations in each of five repetitions, unless the command line asks for other
// repetitions; the table takes the median of every single operation.
void Register(bool ownRepetitions) {
    auto settings = [&](benchmark::internal::Benchmark* benchmark) {
        benchmark->Unit(benchmark::kMicrosecond)
            ->UseManualTime()
            ->Iterations(300)
            ->ReportAggregatesOnly(true);
        if (!ownRepetitions) {
            benchmark->Repetitions(5);
        }
    };
    settings(benchmark::RegisterBenchmark("BM_FineArrowClick", BM_FineArrowClick));
    settings(
        benchmark::RegisterBenchmark("BM_FineArrowClickFullRepaint", BM_FineArrowClickFullRepaint));
    settings(benchmark::RegisterBenchmark("BM_Run", BM_Run));
}

constexpr double kClickBudgetMilliseconds = 1.0;

struct Row {
    const char* benchmark;
    const char* what;
    double limit;
};
constexpr Row kRows[] = {
    {"BM_FineArrowClick", "Fine-arrow click to repaint (UpDown3 up)", kClickBudgetMilliseconds},
    {"BM_FineArrowClickFullRepaint", "  the same, whole window repainted", 0},
    {"BM_Run", "Run (N1) to repainted results", 0},
};

}  // namespace

int main(int argc, char** argv) {
    const springcalc::bench::TableFlags flags = springcalc::bench::TakeTableFlags(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Start from an empty config folder: the user's settings neither colour the figures nor
    // receive anything from them.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // Qt wants a private runtime folder and warns without one.
    const QByteArray runtime = config.filePath(QStringLiteral("runtime")).toLocal8Bit();
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && mkdir(runtime.constData(), 0700) == 0) {
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
    QApplication application(argc, argv);
    Register(springcalc::bench::HasOption(argc, argv, "--benchmark_repetitions"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    g_window = std::make_unique<Window>();
    benchmark::ConsoleReporter console;
    springcalc::bench::MedianCollector collector(flags.tableOnly ? nullptr : &console);
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    g_window.reset();

    if (!flags.tableOnly) {
        std::printf("\nmedian of every single click (%s platform)\n",
                    qPrintable(QGuiApplication::platformName()));
    }
    if (flags.heading) {
        springcalc::bench::PrintHeading();
    }
    bool within = !collector.failed();
    for (const Row& row : kRows) {
        const auto found = g_samples.find(row.benchmark);
        if (found != g_samples.end() && !found->second.empty()) {
            const double median = springcalc::bench::Median(found->second);
            within = springcalc::bench::PrintLine(
                         {row.what, median * 1e3, Unit::Milliseconds, row.limit}) &&
                     within;
        }
    }
    return within ? 0 : 1;
}
