// SPDX-License-Identifier: GPL-3.0-or-later
// Engine benchmarks: the operations behind every click, timed without a window. The view does
// nothing, so what is measured is the engine's own work: the arithmetic, the formatting of
// every text it shows, and the calls through the view interface.
//
//   engine_bench [--table] [--heading] [Google Benchmark options]

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "budget_table.h"
#include "engine/design_editor.h"
#include "engine/samples.h"
#include "engine/spring_design.h"
#include "median_collector.h"
#include "report/report_writer.h"

using namespace springcalc;
using springcalc::bench::Unit;

namespace {

// Throws the texts away but, unlike the engine's NullView, lets every number be formatted, as
// the window has it done: the figures are the engine's share of a click.
class DiscardingView final : public NullView {
public:
    void SetText(Field, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
    void SetNumber(Field field, double value, int precision, std::string_view tail) override {
        SpringView::SetNumber(field, value, precision, tail);
    }
    void SetNumberPair(Field field, std::string_view head, double first, std::string_view middle,
                       double second, int precision) override {
        SpringView::SetNumberPair(field, head, first, middle, second, precision);
    }
};

// The calculator as it stands after start-up, with the system clock it ships with.
struct Calculator {
    TSpringDesign design;
    DiscardingView view;
    SpringEngine engine{design, view};
    DesignEditor editor{engine, view};

    explicit Calculator(int kind = kCompression) {
        engine.StartUp();
        if (kind == kExtension) {
            editor.UpDown8Click(kExtension, 1);
        }
    }
};

// Every material in turn, the way the material spinner steps through them; some of them are
// not made in the current wire size, so the warning path is taken too.
void BM_LookupStrength(benchmark::State& state) {
    Calculator calculator;
    int material = 0;
    for (auto _ : state) {
        calculator.engine.LookupStrength(material);
        material = (material + 1) % kMaterialCount;
        benchmark::DoNotOptimize(calculator.design);
    }
}

void BM_CheckGeometry(benchmark::State& state) {
    Calculator calculator(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        calculator.engine.CheckGeometry();
        benchmark::DoNotOptimize(calculator.design);
    }
}

void BM_AnalyseDesign(benchmark::State& state) {
    Calculator calculator(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        calculator.engine.AnalyseDesign();
        benchmark::DoNotOptimize(calculator.design);
    }
}

// The sample selector: every sample of the kind in turn.
void BM_SampleLoad(benchmark::State& state) {
    Calculator calculator(static_cast<int>(state.range(0)));
    int sample = 1;
    for (auto _ : state) {
        calculator.engine.LoadSampleAndRefresh(sample);
        sample = sample % kSampleCount + 1;
        benchmark::DoNotOptimize(calculator.design);
    }
}

// What the window's fine mean-diameter arrow asks of the engine per click: one step up, the
// release, one step down, the release; timed per step.
void BM_FineStep(benchmark::State& state) {
    Calculator calculator;
    bool up = true;
    for (auto _ : state) {
        calculator.editor.UpDown3Click(up ? Arrow::Up : Arrow::Down);
        calculator.editor.EndPress();
        up = !up;
        benchmark::DoNotOptimize(calculator.design);
    }
}

void BM_ReportBlock(benchmark::State& state) {
    Calculator calculator(static_cast<int>(state.range(0)));
    calculator.engine.AnalyseDesign();
    for (auto _ : state) {
        std::optional<std::string> bytes = EncodeReport(FormatReportBlock(calculator.design));
        if (!bytes) {
            state.SkipWithError("the report block could not be encoded");
            break;
        }
        benchmark::DoNotOptimize(bytes);
    }
}

// Nine repetitions of a tenth of a second each, unless the command line says otherwise; the
// table takes their median.
void Register(bool ownTiming, bool ownRepetitions) {
    auto settings = [&](benchmark::internal::Benchmark* benchmark) {
        benchmark->Unit(benchmark::kMicrosecond)->ReportAggregatesOnly(true);
        if (!ownTiming) {
            benchmark->MinTime(0.1);
        }
        if (!ownRepetitions) {
            benchmark->Repetitions(9);
        }
    };
    settings(benchmark::RegisterBenchmark("BM_LookupStrength", BM_LookupStrength));
    settings(benchmark::RegisterBenchmark("BM_CheckGeometry", BM_CheckGeometry)
                 ->Arg(kCompression)
                 ->Arg(kExtension));
    settings(benchmark::RegisterBenchmark("BM_AnalyseDesign", BM_AnalyseDesign)
                 ->Arg(kCompression)
                 ->Arg(kExtension));
    settings(benchmark::RegisterBenchmark("BM_SampleLoad", BM_SampleLoad)
                 ->Arg(kCompression)
                 ->Arg(kExtension));
    settings(benchmark::RegisterBenchmark("BM_FineStep", BM_FineStep));
    settings(benchmark::RegisterBenchmark("BM_ReportBlock", BM_ReportBlock)
                 ->Arg(kCompression)
                 ->Arg(kExtension));
}

constexpr double kEngineBudgetMicroseconds = 2.0;
// A report block runs once per Save, next to a file dialog and an fsync; about half of it is
// glibc's code page 932 conversion, which the report must use. It has a budget of its own.
constexpr double kReportBudgetMicroseconds = 10.0;

struct Row {
    const char* benchmark;
    const char* what;
    double budgetMicroseconds = kEngineBudgetMicroseconds;
};
constexpr Row kRows[] = {
    {"BM_LookupStrength", "LookupStrength with its checks"},
    {"BM_CheckGeometry/0", "CheckGeometry, compression"},
    {"BM_CheckGeometry/1", "CheckGeometry, extension"},
    {"BM_AnalyseDesign/0", "AnalyseDesign, compression"},
    {"BM_AnalyseDesign/1", "AnalyseDesign, extension"},
    {"BM_SampleLoad/0", "Sample load and refresh, compression"},
    {"BM_SampleLoad/1", "Sample load and refresh, extension"},
    {"BM_FineStep", "Fine mean-diameter step (UpDown3Click)"},
    {"BM_ReportBlock/0", "Report block formatted + encoded, compr.", kReportBudgetMicroseconds},
    {"BM_ReportBlock/1", "Report block formatted + encoded, ext.", kReportBudgetMicroseconds},
};

}  // namespace

int main(int argc, char** argv) {
    const bench::TableFlags flags = bench::TakeTableFlags(argc, argv);
    Register(bench::HasOption(argc, argv, "--benchmark_min_time"),
             bench::HasOption(argc, argv, "--benchmark_repetitions"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    benchmark::ConsoleReporter console;
    bench::MedianCollector collector(flags.tableOnly ? nullptr : &console);
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    if (!flags.tableOnly) {
        std::printf("\n");
    }
    if (flags.heading) {
        bench::PrintHeading();
    }
    bool within = !collector.failed();
    for (const Row& row : kRows) {
        const double seconds = collector.MedianSeconds(row.benchmark);
        if (seconds >= 0) {
            within = bench::PrintLine(
                         {row.what, seconds * 1e6, Unit::Microseconds, row.budgetMicroseconds}) &&
                     within;
        }
    }
    return within ? 0 : 1;
}
