// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Collects the median of each benchmark's repetitions for the budget table, and shows Google
// Benchmark's own report as well unless only the table is wanted.
//
// The figure is CPU time per iteration: the build machine is shared, and wall-clock time there
// also counts the moments another process had the core, which is no cost of the operation.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace springcalc::bench {

class MedianCollector : public benchmark::BenchmarkReporter {
public:
    // `echo` receives every report as well; null for none.
    explicit MedianCollector(benchmark::BenchmarkReporter* echo) : echo_(echo) {}

    bool ReportContext(const Context& context) override {
        return echo_ ? echo_->ReportContext(context) : true;
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        if (echo_) {
            echo_->ReportRuns(runs);
        }
        for (const Run& run : runs) {
            const std::string name = Name(run);
            if (run.error_occurred) {
                std::fprintf(stderr, "%s failed: %s\n", name.c_str(), run.error_message.c_str());
                failed_ = true;
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medianSeconds_[name] = Seconds(run);
            } else if (run.run_type == Run::RT_Iteration) {
                // A single repetition has no median of its own.
                singleSeconds_[name] = Seconds(run);
            }
        }
    }

    void Finalize() override {
        if (echo_) {
            echo_->Finalize();
        }
    }

    // The median CPU time of one iteration in seconds; negative when the benchmark did not
    // report one (it failed, or was filtered out).
    double MedianSeconds(const std::string& name) const {
        if (const auto median = medianSeconds_.find(name); median != medianSeconds_.end()) {
            return median->second;
        }
        const auto single = singleSeconds_.find(name);
        return single == singleSeconds_.end() ? -1 : single->second;
    }
    bool failed() const { return failed_; }

private:
    // The benchmark's name with its arguments, without the repetition and timing decorations.
    static std::string Name(const Run& run) {
        return run.run_name.args.empty() ? run.run_name.function_name
                                         : run.run_name.function_name + "/" + run.run_name.args;
    }

    static double Seconds(const Run& run) {
        return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }

    benchmark::BenchmarkReporter* echo_;
    std::map<std::string, double> medianSeconds_;
    std::map<std::string, double> singleSeconds_;
    bool failed_ = false;
};

// What bench/run-bench asks of a benchmark program: only the budget lines ("--table"), and
// the column heads before them ("--heading").
struct TableFlags {
    bool tableOnly = false;
    bool heading = false;
};

// Takes those two flags out of the arguments, leaving the rest to Google Benchmark.
inline TableFlags TakeTableFlags(int& argc, char** argv) {
    TableFlags flags;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--table") {
            flags.tableOnly = true;
        } else if (argument == "--heading") {
            flags.heading = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (!flags.tableOnly) {
        flags.heading = true;
    }
    return flags;
}

// True when an argument starts with `option`, so a default can give way to the command line.
inline bool HasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind(option, 0) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace springcalc::bench
