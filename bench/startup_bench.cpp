// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up measurement: runs the calculator and the bare Qt window alternately, several times
// each, and compares the time from process start to the first painted window and the peak
// resident memory (ru_maxrss of the child, from wait4). Both programs carry the first-paint
// hook, which prints when the window was painted and ends the program.
//
// The start is taken here, on the same clock (CLOCK_BOOTTIME), just before the fork, so the
// figure covers exec, dynamic loading, the toolkit's start, the program's own start-up and
// the first paint. Each program runs once first, unmeasured, to warm the file cache.
//
//   startup_bench [--table] [--heading] [--runs N] CALCULATOR BARE_WINDOW
//
// The window shows on whatever platform the environment names (xvfb-run, or
// QT_QPA_PLATFORM=offscreen).

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "budget_table.h"

using springcalc::bench::Unit;

namespace {

// Start-up within a tenth of a bare Qt window's with as many widgets: the calculator's own work
// before its first paint is small beside the toolkit's. Memory has more room, for the tables.
constexpr double kTimeRatioBudget = 1.1;
constexpr double kMemoryRatioBudget = 1.3;
constexpr int kTimeoutMilliseconds = 30'000;

struct Sample {
    double startupMilliseconds = 0;
    double peakMiB = 0;
};

long long BootTimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Runs the program once; false (with the reason on stderr) when it did not report a paint.
bool RunOnce(const std::string& program, Sample& sample) {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        std::perror("pipe");
        return false;
    }
    const long long start = BootTimeNanoseconds();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return false;
    }
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(errno));
        _exit(127);
    }
    close(channel[1]);

    std::string output;
    pollfd waiting{channel[0], POLLIN, 0};
    bool timedOut = false;
    for (;;) {
        const int ready = poll(&waiting, 1, kTimeoutMilliseconds);
        if (ready == 0) {
            timedOut = true;
            kill(child, SIGKILL);
            break;
        }
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        char buffer[512];
        const ssize_t n = read(channel[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        output.append(buffer, static_cast<size_t>(n));
    }
    close(channel[0]);

    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const size_t found = output.find("boottime_ns=");
    if (timedOut || found == std::string::npos) {
        std::fprintf(stderr, "%s %s\n", program.c_str(),
                     timedOut ? "painted nothing within 30 s" : "ended without reporting a paint");
        return false;
    }
    const long long painted = std::atoll(output.c_str() + found + std::strlen("boottime_ns="));
    sample.startupMilliseconds = double(painted - start) / 1e6;
    sample.peakMiB = double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
    return true;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: startup_bench [--table] [--heading] [--runs N] CALCULATOR BARE_WINDOW\n");
}

// Both programs start from the same empty config folder, so no saved settings of the user
// colour the comparison. The folder, or none when it cannot be made.
const char* ScratchConfig(char* configTemplate) {
    const char* config = mkdtemp(configTemplate);
    if (!config) {
        std::perror("mkdtemp");
        return nullptr;
    }
    setenv("XDG_CONFIG_HOME", config, 1);
    // Qt wants a private runtime folder and warns on every start without one.
    const std::string runtime = std::string(config) + "/runtime";
    if (!std::getenv("XDG_RUNTIME_DIR") && mkdir(runtime.c_str(), 0700) == 0) {
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    return config;
}

// Runs both programs `runs` times, alternating which goes first, so neither always follows
// the other. False when a run failed.
bool RunAlternately(const std::vector<std::string>& programs, int runs, bool quiet,
                    std::vector<Sample>& calculator, std::vector<Sample>& bare) {
    Sample warmUp;
    bool ok = RunOnce(programs[0], warmUp) && RunOnce(programs[1], warmUp);
    for (int i = 0; ok && i < runs; ++i) {
        Sample first;
        Sample second;
        const bool calculatorFirst = i % 2 == 0;
        ok = RunOnce(programs[calculatorFirst ? 0 : 1], first) &&
             RunOnce(programs[calculatorFirst ? 1 : 0], second);
        calculator.push_back(calculatorFirst ? first : second);
        bare.push_back(calculatorFirst ? second : first);
        if (!quiet && ok) {
            std::printf("run %2d: springcalc %6.1f ms %6.1f MiB   bare window %6.1f ms %6.1f MiB\n",
                        i + 1, calculator.back().startupMilliseconds, calculator.back().peakMiB,
                        bare.back().startupMilliseconds, bare.back().peakMiB);
        }
    }
    return ok;
}

double MedianOf(const std::vector<Sample>& samples, double Sample::*figure) {
    std::vector<double> values;
    for (const Sample& sample : samples) {
        values.push_back(sample.*figure);
    }
    return springcalc::bench::Median(values);
}

}  // namespace

int main(int argc, char** argv) {
    bool tableOnly = false;
    bool heading = false;
    int runs = 15;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--table") {
            tableOnly = true;
        } else if (argument == "--heading") {
            heading = true;
        } else if (argument == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else {
            programs.push_back(argument);
        }
    }
    char configTemplate[] = "/tmp/startup_bench.XXXXXX";
    if (programs.size() != 2 || runs < 1) {
        Usage();
        return 2;
    }
    const char* config = ScratchConfig(configTemplate);
    std::vector<Sample> calculator;
    std::vector<Sample> bare;
    const bool ok = config && RunAlternately(programs, runs, tableOnly, calculator, bare);
    if (config) {
        std::filesystem::remove_all(config);
    }
    if (!ok) {
        return 2;
    }
    const double calculatorTime = MedianOf(calculator, &Sample::startupMilliseconds);
    const double bareTime = MedianOf(bare, &Sample::startupMilliseconds);
    const double calculatorPeak = MedianOf(calculator, &Sample::peakMiB);
    const double barePeak = MedianOf(bare, &Sample::peakMiB);
    if (!tableOnly) {
        std::printf("\nmedians of %d runs each\n", runs);
    }
    if (heading || !tableOnly) {
        springcalc::bench::PrintHeading();
    }
    const bool within = springcalc::bench::PrintLines({
        {"Start-up to first paint, springcalc", calculatorTime, Unit::Milliseconds, 0},
        {"Start-up to first paint, bare Qt window", bareTime, Unit::Milliseconds, 0},
        {"  ratio", calculatorTime / bareTime, Unit::Ratio, kTimeRatioBudget},
        {"Peak memory (ru_maxrss), springcalc", calculatorPeak, Unit::MiB, 0},
        {"Peak memory (ru_maxrss), bare Qt window", barePeak, Unit::MiB, 0},
        {"  ratio", calculatorPeak / barePeak, Unit::Ratio, kMemoryRatioBudget},
    });
    return within ? 0 : 1;
}
