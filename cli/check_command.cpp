// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "cli/check.h"
#include "cli/option_scanner.h"
#include "diagram/load_diagram.h"
#include "files/write_all.h"
#include "report/report_writer.h"

namespace springcalc::cli {

constexpr const char* kCheckHelp =
    R"(Usage: springcalc-cli check [FILE] [--json] [--report FILE] [--units si] [--ends NAME]
                            [--plot DIR]

Checks spring designs with the calculator's own engine. Each row is entered as the window
enters a design (diameters, strength lookup, geometry checks) and then Run is chosen, so the
numbers are the window's to the last digit. Designs are read, run and written one at a time:
any number of them fits in the same memory.

FILE is CSV text (UTF-8): a header line, then one design per row, each row at most 65536
bytes. Without FILE, or with "-", the designs are read from standard input. The columns, in
any order:
  name       optional; carried to the output (in the table, control characters as \xNN and
             names beyond 20 columns shortened with "…")
  kind       compression or extension
  material   SWB, SWC, SWPA, SWPB, SWO-A, SWOSC-V, SUS304-WPA, SUS316-WPA or SUS304-WPB
             (blanks and case ignored), or the material number 0 to 8
  wire       wire diameter in mm, one of the 46 standard sizes 0.08 to 13.00
  mean_dia   mean coil diameter D in mm, from 0.1 to 10000
  turns      active turns n, from 0.5 to 10000
  free_len   free length in mm, from 0.1 to 10000; empty for an extension spring, whose
             free length follows from D, n and d as in the window
  set_len    installed length in mm, from 0.1 to 10000
  work_len   operating length in mm, from 0.1 to 10000
Numbers are decimals with a point. Units throughout: mm and kgf (loads in kg, stresses in
kg/mm², spring rate k in kg/mm).

Where the window withholds Run (warning 5: the wire size is not made in the material;
warning 1: D/d below 4) the design is checked but not run: its warnings are listed and its
results are left out ("-" in the table, null in JSON); it adds no block to --report.

Options:
  --json         an array with one object per design, one per line: the row, the name,
                 the kind, the material, whether it ran, every number of the design record
                 under its record name (MaterialNo, MeanDia, Pset, AllowFatigue, ...; the
                 constant tables and the window's press-and-hold state left out), the date
                 stamp of the run, and the warning list as the window shows it, repeats
                 included (warning 8 after the window's), and "service": the figures
                 below. Numbers are the shortest decimals that read back as the same
                 single-precision value; null where the design has none (the results of a
                 design that did not run, the solid length and tau max of an extension
                 spring, the initial tension of a compression spring).
  --report FILE  append the report block of the window's Save for every design that ran:
                 code page 932, CR LF, the date stamp of the start of the run. Blocks are
                 appended as the designs run; after bad input or any failure the file is cut
                 back to what it was, and a file the run created is removed.
  --units si     give loads also in N and stresses also in N/mm² (k also in N/mm), beside
                 the kgf values, with 1 kgf = 9.80665 N; the energy also in N·mm
  --ends NAME    how the ends of a compression spring are held, for its buckling check:
                 fixed-fixed (the default: both ends on parallel plates, guided),
                 fixed-guided, pinned-pinned, fixed-pinned or fixed-free
  --plot DIR     write the load-length diagram of every design that ran, as an SVG
                 picture DIR/NNN-NAME.svg, each as its design runs (NNN the row; in NAME,
                 anything but ASCII letters, digits, "-", "_" and "." becomes "_", and
                 NAME is cut at 200 bytes; a file of the same name is replaced). DIR must
                 be a folder that exists and can be written. Pictures already written stay
                 when the check fails later; a picture that cannot be written whole is
                 removed.
  -h, --help     show this text

Figures the window does not show, for every design that ran, computed from its own values
(table column, JSON name in "service"):
  λ, slenderness       free length / D
  buckle, buckling_deflection
                       the deflection from the free length at which the spring buckles
                       (EN 13906-1, with the ends of --ends); "none" in the table, null in
                       JSON, where it cannot buckle however far it is compressed
  buckling_risk        true when the deflection at the operating length is greater: then
                       warning 8 座屈の恐れがあります (risk of buckling)
  surge, surge_frequency
                       natural (surge) frequency in Hz, both ends fixed
  energy               stored from the installed to the operating length, kg·mm
                       (kgf·mm; with --units si also energy_N_mm in "si")
  active-mass, active_mass
                       grams of wire in the active turns
  ends                 the end condition, as --ends names it
All but the energy and the mass are for compression springs only: "-" in the table and null
in JSON for an extension spring. Warning 8 is the command line's own: it counts for the exit
status like the window's warnings, and --report saves the window's block without it.

The table shows each warning once per design, in the order the window first lists it. Its
columns have fixed widths: numbers with up to five digits before the point fit, and a wider
one is written with an exponent (1.5e+07).

Exit status: 0 when no design has a warning, 1 when any has one, 2 for bad input (every bad
row is told; the output stops before the first, though a long file may have had earlier rows
written out already), for input that cannot be read, and for output, a report or a diagram
that cannot be written. Whenever the status is 2, nothing is appended to --report.
)";

namespace {

// Output is written out whenever this much has gathered.
constexpr size_t kPieceBytes = 1 << 16;

int Usage(CliIo& io, const std::string& problem) {
    io.err << kProgramName << " check: " << problem << "\nTry \"" << kProgramName
           << " check --help\".\n";
    return kExitBadInput;
}

// The folder of --plot, open for the run: each picture is made in it by name, so a folder
// renamed or replaced during a long run cannot redirect them.
class DiagramFolder {
public:
    ~DiagramFolder() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    // False with errno set when `path` is not a folder this run can write in.
    bool Open(const std::string& path) {
        path_ = path;
        fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        return fd_ >= 0 && ::faccessat(fd_, ".", W_OK | X_OK, AT_EACCESS) == 0;
    }
    // Writes the picture of a design that ran. False with errno set, the file's path in `file`
    // and the file removed, when it could not be written whole.
    bool Write(const DesignRow& input, const TSpringDesign& design, std::string& file) const {
        const std::string name = DiagramFileName(input.row, input.name);
        file = path_ + (path_.ends_with('/') ? "" : "/") + name;
        const std::string svg = LoadDiagramSvg(design, input.name);
        // Never through a link planted in the folder.
        const int fd = ::openat(fd_, name.c_str(),
                                O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            return false;
        }
        if (const int error = WriteAll(fd, svg); error != 0) {
            return Fail(fd, name, error);
        }
        return ::close(fd) == 0 || Fail(-1, name, errno);
    }

private:
    // No half-written picture is left for a report to pick up.
    bool Fail(int fd, const std::string& name, int error) const {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlinkat(fd_, name.c_str(), 0);
        errno = error;
        return false;
    }

    std::string path_;
    int fd_ = -1;
};

// One line about a report that could not be written.
int ReportFailure(CliIo& io, const std::string& path, int error, const char* consequence) {
    io.err << kProgramName << ": "
           << (error == 0 ? "the report could not be converted to code page 932"
                          : "could not append the report to " + path + ": " + std::strerror(error))
           << consequence << ".\n";
    return kExitBadInput;
}

}  // namespace

int RunCheckCommand(const std::vector<std::string>& args, CliIo& io) {
    const ScannedOptions options = ScanOptions(
        args,
        {{"json"}, {"report", true}, {"units", true}, {"ends", true}, {"plot", true}, {"help"}});
    if (!options.error().empty()) {
        return Usage(io, options.error());
    }
    if (options.Has("help")) {
        io.out << kCheckHelp;
        return kExitClean;
    }
    if (options.operands().size() > 1) {
        return Usage(io, "one FILE at most, got " + std::to_string(options.operands().size()));
    }
    CheckSettings settings;
    if (const auto value = options.Value("units")) {
        if (*value == "si") {
            settings.units = Units::KgfAndSi;
        } else if (*value != "kgf") {
            return Usage(io,
                         "--units takes \"si\" (or \"kgf\", the default), not \"" + *value + "\"");
        }
    }
    if (const auto value = options.Value("ends")) {
        const std::optional<EndCondition> ends = EndConditionNamed(*value);
        if (!ends) {
            return Usage(io, "--ends takes " + EndConditionNames() + ", not \"" + *value + "\"");
        }
        settings.ends = *ends;
    }
    const std::optional<std::string> plotPath = options.Value("plot");
    if (plotPath && plotPath->empty()) {
        return Usage(io, "--plot needs a folder");
    }
    DiagramFolder diagrams;
    if (plotPath && !diagrams.Open(*plotPath)) {
        io.err << kProgramName << ": cannot write diagrams to " << *plotPath << ": "
               << std::strerror(errno) << "; nothing was checked.\n";
        return kExitBadInput;
    }
    const std::optional<std::string> reportPath = options.Value("report");
    if (reportPath && reportPath->empty()) {
        return Usage(io, "--report needs a file name");
    }
    const std::string notAppended = reportPath ? "; nothing was appended to " + *reportPath : "";

    const bool fromStdin = options.operands().empty() || options.operands()[0] == "-";
    const std::string source = fromStdin ? "standard input" : options.operands()[0];
    int fd = -1;
    if (!fromStdin && (fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC)) < 0) {
        io.err << kProgramName << ": cannot read " << source << ": " << std::strerror(errno)
               << "\n";
        return kExitBadInput;
    }
    DesignReader reader(
        fromStdin ? io.in : [fd](char* buffer, size_t size) { return ::read(fd, buffer, size); });
    const std::unique_ptr<const int, void (*)(const int*)> closeInput(
        &fd, [](const int* file) { *file >= 0 && ::close(*file); });

    ReportStream report;  // taken back unless the run ends well
    if (reportPath && !report.Open(*reportPath)) {
        return ReportFailure(io, *reportPath, report.error(), "; nothing was checked");
    }
    // One reading of the clock for the whole run: every block of one report gets the same
    // date stamp, even when the minute turns over during a long file.
    const LocalDateTime now = io.clock();
    DesignRunner runner([now] { return now; });
    // Made at the first design, or at the end, when the header has told whether there are names.
    std::unique_ptr<CheckWriter> writer;
    const auto begin = [&](std::string& text) {
        settings.withNames = reader.hasNames();
        writer = options.Has("json") ? MakeJsonWriter(settings) : MakeTableWriter(settings);
        writer->Begin(text);
    };
    CheckCounts counts;
    std::string text;
    DesignRow design;
    while (reader.Next(design)) {
        if (reader.errorCount() > 0) {
            continue;  // after a bad row only the faults are told
        }
        if (!writer) {
            begin(text);
        }
        const Outcome& outcome = runner.Run(design.design);
        // Only for a design that ran: the figures need Run's spring rate.
        std::optional<ServiceFigures> figures;
        if (outcome.analysed) {
            figures = ComputeServiceFigures(outcome.record, settings.ends);
        }
        const ServiceFigures* ran = figures ? &*figures : nullptr;
        writer->Design(text, design, outcome, ran);
        ++counts.designs;
        counts.withWarnings += outcome.warnings.empty() && !Buckles(ran) ? 0 : 1;
        counts.withheld += outcome.analysed ? 0 : 1;
        if (reportPath && outcome.analysed && !report.Add(outcome.record)) {
            return ReportFailure(io, *reportPath, report.error(), "; the file is as it was");
        }
        std::string diagram;
        if (plotPath && outcome.analysed && !diagrams.Write(design, outcome.record, diagram)) {
            io.err << kProgramName << ": cannot write " << diagram << ": " << std::strerror(errno)
                   << notAppended << ".\n";
            return kExitBadInput;
        }
        if (text.size() >= kPieceBytes) {
            if (!(io.out << text)) {
                return TellOutputFailure(io, notAppended);
            }
            text.clear();
        }
    }
    // From here on a failure drops what is not yet written out, and the report is taken back.

    if (reader.readError() != 0) {
        io.err << kProgramName << ": cannot read " << source << ": "
               << std::strerror(reader.readError()) << notAppended << "\n";
        return kExitBadInput;
    }
    if (reader.errorCount() > 0) {
        for (const std::string& error : reader.errors()) {
            io.err << kProgramName << ": " << source << ": " << error << "\n";
        }
        if (reader.errorCount() > reader.errors().size()) {
            io.err << kProgramName << ": ... and " << reader.errorCount() - reader.errors().size()
                   << " more\n";
        }
        io.err << kProgramName << ": "
               << (counts.designs == 0 ? "nothing was checked"
                                       : "the check stopped at the first bad row")
               << notAppended << ".\n";
        return kExitBadInput;
    }
    if (!writer) {
        begin(text);
    }
    writer->End(text, counts);
    if (!(io.out << text).flush()) {
        return TellOutputFailure(io, notAppended);
    }
    if (reportPath && !report.Finish()) {
        return ReportFailure(io, *reportPath, report.error(), "; the file is as it was");
    }
    if (reportPath && counts.designs == counts.withheld) {
        io.err << kProgramName << ": no design ran, so nothing was appended to " << *reportPath
               << ".\n";
    }
    return counts.withWarnings > 0 ? kExitFlagged : kExitClean;
}

}  // namespace springcalc::cli
