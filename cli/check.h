#pragma once
// `springcalc-cli check [FILE] [--json] [--report FILE] [--units si]`: designs from CSV, run
// through the window's engine one at a time, written out as a table or JSON as they come.

#include <memory>
#include <string>
#include <vector>

#include "cli_io.h"
#include "design_runner.h"

namespace springcalc::cli {

// `args` are those after the word "check". Returns the exit status.
int RunCheckCommand(const std::vector<std::string>& args, CliIo& io);

enum class Units { Kgf, KgfAndSi };

// Standard gravity: 1 kgf = 9.80665 N.
inline constexpr double kNewtonsPerKgf = 9.80665;

struct CheckCounts {
    long designs = 0;
    long withWarnings = 0;
    long withheld = 0;  // Run not offered
};

// One output format of `check`. Each call appends to `out`, which the caller writes out in
// bounded pieces, so nothing grows with the number of designs.
class CheckWriter {
public:
    virtual ~CheckWriter() = default;
    virtual void Begin(std::string& out) = 0;
    virtual void Design(std::string& out, const DesignInput& input, const Outcome& outcome) = 0;
    virtual void End(std::string& out, const CheckCounts& counts) = 0;
};

std::unique_ptr<CheckWriter> MakeTableWriter(bool withNames, Units units);
std::unique_ptr<CheckWriter> MakeJsonWriter(bool withNames, Units units);

}  // namespace springcalc::cli
