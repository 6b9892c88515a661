// SPDX-License-Identifier: GPL-3.0-or-later
// springcalc-cli on a million designs: `check` as a table, as JSON and with --report, each
// run once as a child process, beside the engine alone running the same designs in this
// process (the design runner with its view that shows nothing). Figures: the wall time from
// fork to exit, its ratio to the engine alone (which a busy machine changes far less than the
// times themselves), and the peak resident memory (ru_maxrss from wait4, the figure
// `/usr/bin/time -v` calls "Maximum resident set size"). The output goes to /dev/null, the
// report to a scratch file. Then `search` over every material and wire size for a few load
// requirements, one found quickly, some with many springs to judge, one where nothing fits
// (which searches a second time with the default proportions widened): the median wall time of
// three runs of each. Last, the slowest searches the option ranges allow that were found, each
// held to 2 s: with --long-searches-only, those alone.
//
//   cli_bench [--table] [--heading] [--rows N] [--long-searches-only]
//             [--torsion-searches-only] SPRINGCALC_CLI

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "budget_table.h"
#include "engine/design_runner.h"

using springcalc::bench::Unit;

namespace {

namespace fs = std::filesystem;

constexpr double kMiBBudget = 10e6 / (1 << 20);  // 10 MB
constexpr double kSearchSecondsBudget = 0.5;     // a full search, all materials and sizes
constexpr int kSearchRuns = 3;

// Full searches: every material and wire size, the default proportions and order.
const std::vector<std::vector<std::string>> kSearches = {
    {"search", "--kind", "compression", "--load", "1@20", "--load", "2@15"},
    {"search", "--kind", "compression", "--load", "1@60", "--load", "3@40"},
    {"search", "--kind", "compression", "--load", "50@100", "--load", "150@60", "--repeated"},
    {"search", "--kind", "compression", "--load", "0.5@30", "--load", "0.6@25", "--tolerance",
     "20"},
    {"search", "--kind", "extension", "--load", "2@50", "--load", "4@60"},
    {"search", "--kind", "compression", "--load", "5@40", "--load", "10@30", "--max-od", "1"},
};

// Torsion springs, held to the same 0.5 s: two moments with legs, one moment and a rate on a
// mandrel, and the widest request the ranges take (index to 30, half a turn, any stress up to
// the allowable, a tolerance of 99 %).
const std::vector<std::vector<std::string>> kTorsionSearches = {
    {"search", "--kind", "torsion", "--moment", "5@120", "--moment", "15@60", "--legs", "20"},
    {"search", "--kind", "torsion", "--moment", "50@90", "--moment-rate", "0.5", "--mandrel", "8"},
    {"search", "--kind", "torsion", "--moment", "1@300", "--moment", "2000@10", "--max-index", "30",
     "--min-turns", "0.5", "--tolerance", "99", "--max-stress-ratio", "1", "--all"},
};

// The slowest searches within the option ranges found by random and edge requests: long
// lengths, where turns run to thousands, and requests that meet millions of springs. Before
// the walk left out the turns no design could use and stopped at a bound of work, these took
// 10 to 130 s.
constexpr double kLongSearchSecondsBudget = 2.0;
const std::vector<std::vector<std::string>> kLongSearches = {
    {"search", "--kind", "compression", "--load", "3.307@9297.8", "--load", "3.661@2899.3",
     "--allow-buckling", "--repeated"},
    {"search", "--kind", "compression", "--load", "1@10000", "--load", "2@9000"},
    {"search", "--kind", "compression", "--load", "1@20", "--load", "2@15", "--max-index", "30",
     "--min-turns", "0.5", "--tolerance", "99", "--allow-buckling"},
    {"search", "--kind", "compression", "--load", "1@20", "--load", "2@15", "--max-index", "30",
     "--min-turns", "0.5", "--tolerance", "99", "--allow-buckling", "--max-stress-ratio", "1",
     "--max-pitch-ratio", "10", "--allow-close-coils"},
};

// Designs of both kinds, with and without warnings, one withheld (SWO-A is not made in 0.50);
// as rows of the file and as the inputs the engine alone runs.
constexpr const char* kRows[] = {
    ",compression,SWPA,1.20,8.8,7,23,20,18",      ",compression,SWPA,0.70,4.3,3,13,6,5",
    ",extension,SUS304-WPB,0.50,5.8,17.5,,25,35", ",compression,SWO-A,0.50,4.3,9.5,13,12,10",
    ",extension,SWPA,0.32,4.6,18.5,,20,30",       ",compression,SWB,2.00,16,8.5,50,45,35",
};
using springcalc::kCompression;
using springcalc::kExtension;
// clang-format off
constexpr springcalc::DesignInput kInputs[] = {
    //  kind       material wire  D      n      free  set   work  tension  wire
    {kCompression, 2,       23,   8.8f,  7.0f,  23,   20,   18,   {},      nullptr},
    {kCompression, 2,       19,   4.3f,  3.0f,  13,   6,    5,    {},      nullptr},
    {kExtension,   8,       15,   5.8f,  17.5f, 0,    25,   35,   {},      nullptr},
    {kCompression, 4,       15,   4.3f,  9.5f,  13,   12,   10,   {},      nullptr},
    {kExtension,   2,       11,   4.6f,  18.5f, 0,    20,   30,   {},      nullptr},
    {kCompression, 0,       27,   16.0f, 8.5f,  50,   45,   35,   {},      nullptr},
};
// clang-format on
static_assert(std::size(kInputs) == std::size(kRows));

// Each run's time over the engine's alone is held to these.
struct Mode {
    const char* what;
    std::vector<std::string> args;
    double ratioBudget;
};

struct Figures {
    double seconds = 0;
    double peakMiB = 0;
    int status = -1;
};

Figures RunOnce(const std::string& program, const std::vector<std::string>& args,
                const fs::path& input) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(open(input.c_str(), O_RDONLY), 0);
        dup2(open("/dev/null", O_WRONLY), 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Figures figures;
    figures.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.peakMiB = usage.ru_maxrss / 1024.0;
    figures.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return figures;
}

// Seconds the engine alone takes for `rows` designs: what `check` cannot do without.
double EngineAlone(long rows) {
    springcalc::DesignRunner runner;
    long analysed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < rows; ++i) {
        analysed += runner.Run(kInputs[i % std::size(kInputs)]).analysed ? 1 : 0;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Used, so that no compiler can leave the runs out.
    return analysed > 0 ? seconds : 0.0;
}

void WriteDesigns(const fs::path& file, long rows) {
    std::ofstream csv(file, std::ios::binary);
    csv << "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n";
    for (long i = 0; i < rows; ++i) {
        csv << 'd' << i << kRows[i % std::size(kRows)] << '\n';
    }
}

std::string Counted(long rows) {
    std::string count = std::to_string(rows);
    for (int at = static_cast<int>(count.size()) - 3; at > 0; at -= 3) {
        count.insert(static_cast<size_t>(at), ",");
    }
    return count + " designs";
}

// Each search run kSearchRuns times: its median time against `budget`, and its peak memory.
// `ran` turns false when one fails.
bool MeasureSearches(const std::string& program,
                     const std::vector<std::vector<std::string>>& searches, double budget,
                     bool& ran) {
    bool within = true;
    for (const std::vector<std::string>& search : searches) {
        std::vector<double> seconds;
        double peakMiB = 0;
        for (int run = 0; run < kSearchRuns; ++run) {
            const Figures figures = RunOnce(program, search, "/dev/null");
            ran = ran && figures.status <= 1;
            seconds.push_back(figures.seconds);
            peakMiB = std::max(peakMiB, figures.peakMiB);
        }
        // "CLI search compression 1@20 2@15": the kind and the values, the option names left
        // out, to fit the table.
        std::string what = "CLI search";
        for (size_t i = 2; i < search.size(); ++i) {
            const bool value =
                search[i].front() != '-' || search[i] == "--repeated" || search[i] == "--all";
            what += value ? " " + (search[i].starts_with("--") ? search[i].substr(2) : search[i])
                    : search[i] == "--load" || search[i] == "--moment" ? ""
                                                                       : " " + search[i].substr(2);
        }
        within = springcalc::bench::PrintLines(
                     {{what, springcalc::bench::Median(seconds), Unit::Seconds, budget},
                      {"  peak memory", peakMiB, Unit::MiB, kMiBBudget}}) &&
                 within;
    }
    return within;
}

}  // namespace

int main(int argc, char** argv) {
    bool heading = false;
    bool longSearchesOnly = false;
    bool torsionSearchesOnly = false;
    long rows = 1'000'000;
    std::string program;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--heading") {
            heading = true;
        } else if (arg == "--long-searches-only") {
            longSearchesOnly = true;
        } else if (arg == "--torsion-searches-only") {
            torsionSearchesOnly = true;
        } else if (arg == "--rows" && i + 1 < argc) {
            rows = std::atol(argv[++i]);
        } else if (arg != "--table") {
            program = arg;
        }
    }
    if (program.empty() || rows < 1) {
        std::fprintf(stderr,
                     "usage: cli_bench [--table] [--heading] [--rows N] [--long-searches-only] "
                     "[--torsion-searches-only] SPRINGCALC_CLI\n");
        return 2;
    }
    if (longSearchesOnly || torsionSearchesOnly) {
        if (heading) {
            springcalc::bench::PrintHeading();
        }
        bool ran = true;
        const bool within =
            longSearchesOnly
                ? MeasureSearches(program, kLongSearches, kLongSearchSecondsBudget, ran)
                : MeasureSearches(program, kTorsionSearches, kSearchSecondsBudget, ran);
        return !ran ? 2 : within ? 0 : 1;
    }
    const fs::path dir =
        fs::temp_directory_path() / ("springcalc_cli_bench_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path input = dir / "designs.csv";
    WriteDesigns(input, rows);
    const std::string report = (dir / "report.txt").string();
    const Mode modes[] = {
        {"check (table)", {"check"}, 1.5},
        {"check --json", {"check", "--json"}, 2.0},
        {"check --report FILE", {"check", "--report", report}, 3.0},
    };
    if (heading) {
        springcalc::bench::PrintHeading();
    }
    const std::string count = Counted(rows);
    const double engine = EngineAlone(rows);
    bool within = springcalc::bench::PrintLine(
        {"engine alone (design runner, no view), " + count, engine, Unit::Seconds, 0});
    bool ran = true;
    for (const Mode& mode : modes) {
        const Figures figures = RunOnce(program, mode.args, input);
        ran = ran && figures.status <= 1;
        within = springcalc::bench::PrintLines(
                     {{"CLI " + std::string(mode.what) + ", " + count, figures.seconds,
                       Unit::Seconds, 0},
                      {"  over the engine alone", figures.seconds / engine, Unit::Ratio,
                       mode.ratioBudget},
                      {"  peak memory", figures.peakMiB, Unit::MiB, kMiBBudget}}) &&
                 within;
    }
    within = MeasureSearches(program, kSearches, kSearchSecondsBudget, ran) && within;
    within = MeasureSearches(program, kTorsionSearches, kSearchSecondsBudget, ran) && within;
    within = MeasureSearches(program, kLongSearches, kLongSearchSecondsBudget, ran) && within;
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    if (!ran) {
        std::fprintf(stderr, "cli_bench: springcalc-cli failed: a benchmark did not run.\n");
        return 2;
    }
    return within ? 0 : 1;
}
