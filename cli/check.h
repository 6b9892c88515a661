// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `springcalc-cli check [FILE] [--json] [--report FILE] [--units si] [--ends NAME] [--plot DIR]
// [--peened] [--repeated] [--hook-radius R]`:
// designs from CSV, run through the window's engine one at a time, written out as a table or
// JSON as they come, with the figures in service the window does not show.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_io.h"
#include "cli/design_file.h"
#include "engine/design_runner.h"
#include "engine/service_figures.h"
#include "engine/tolerance_grades.h"
#include "engine/torsion_spring.h"

namespace springcalc::cli {

// `args` are those after the word "check". Returns the exit status.
int RunCheckCommand(const std::vector<std::string>& args, CliIo& io);

enum class Units { Kgf, KgfAndSi };

struct CheckCounts {
    long designs = 0;
    long withWarnings = 0;
    long withheld = 0;  // Run not offered
};

struct CheckSettings {
    bool withNames = false;
    Units units = Units::Kgf;
    EndCondition ends = kDefaultEnds;
    StrengthOptions strength;  // --peened, --hook-radius
    bool repeated = false;     // --repeated: the fatigue safety factor is judged
    // --tolerance-grade: each figure with its tolerance; none, the output as it always was.
    std::optional<ToleranceGrade> toleranceGrade;
    // The widest material name of --materials and --materials-file, which the table's material
    // column makes room for; 0 leaves it as wide as the window's designations need.
    int materialWidth = 0;
    // --temperature, where it is not room temperature: the window's nine materials keep their
    // tables' figures, and the table says so under the rows of each.
    std::optional<double> temperature;
};

// The command line's own warnings (8 to 14) of a design; none for one whose Run the window
// withholds.
inline std::vector<int> OwnWarnings(const ServiceFigures* figures, const CheckSettings& settings) {
    if (!figures) {
        return {};
    }
    std::vector<int> warnings = ServiceWarnings(*figures, settings.repeated);
    for (const int number : MakerWarnings(figures->maker)) {
        warnings.push_back(number);
    }
    return warnings;
}

// One output format of `check`. Each call appends to `out`, which the caller writes out in
// bounded pieces, so nothing grows with the number of designs.
class CheckWriter {
public:
    virtual ~CheckWriter() = default;
    virtual void Begin(std::string& out) = 0;
    // `figures`: those of a design that ran; none for one whose Run the window withholds.
    virtual void Design(std::string& out, const DesignRow& input, const Outcome& outcome,
                        const ServiceFigures* figures) = 0;
    // A torsion spring's row, which the window's engine does not run.
    virtual void Torsion(std::string& out, const DesignRow& input, const TorsionResult& result) = 0;
    virtual void End(std::string& out, const CheckCounts& counts) = 0;
};

std::unique_ptr<CheckWriter> MakeTableWriter(const CheckSettings& settings);
std::unique_ptr<CheckWriter> MakeJsonWriter(const CheckSettings& settings);

}  // namespace springcalc::cli
