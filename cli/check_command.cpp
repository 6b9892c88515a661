#include "check_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <optional>

#include "check_json.h"
#include "check_table.h"
#include "design_input.h"
#include "design_runner.h"
#include "option_scanner.h"
#include "report_writer.h"

namespace springcalc::cli {

const char* const kCheckHelp =
    R"(Usage: springcalc-cli check [FILE] [--json] [--report FILE] [--units si]

Checks spring designs with the calculator's own engine. Each row is entered as the window
enters a design (diameters, strength lookup, geometry checks) and then Run is chosen, so the
numbers are the window's to the last digit.

FILE is CSV text (UTF-8): a header line, then one design per row. Without FILE, or with "-",
the designs are read from standard input. The columns, in any order:
  name       optional; carried to the output
  kind       compression or extension
  material   SWB, SWC, SWPA, SWPB, SWO-A, SWOSC-V, SUS304-WPA, SUS316-WPA or SUS304-WPB
             (blanks and case ignored), or the material number 0 to 8
  wire       wire diameter in mm, one of the 46 standard sizes 0.08 to 13.00
  mean_dia   mean coil diameter D in mm
  turns      active turns n
  free_len   free length in mm; empty for an extension spring, whose free length follows
             from D, n and d as in the window
  set_len    installed length in mm
  work_len   operating length in mm
Numbers are decimals with a point, above 0. Units throughout: mm and kgf (loads in kg,
stresses in kg/mm², spring rate k in kg/mm).

Where the window withholds Run (warning 5: the wire size is not made in the material;
warning 1: D/d below 4) the design is checked but not run: its warnings are listed and its
results are left out ("-" in the table, null in JSON); it adds no block to --report.

Options:
  --json         an array with one object per design, one per line: the row, the name,
                 the kind, the material, whether it ran, every number of the design record
                 under its record name (MaterialNo, MeanDia, Pset, AllowFatigue, ...; the
                 constant tables and the window's press-and-hold state left out), the date
                 stamp of the run, and the warning list as the window shows it, repeats
                 included. Numbers are the shortest decimals that read back as the same
                 single-precision value; null where the design has none (the results of a
                 design that did not run, the solid length and tau max of an extension
                 spring, the initial tension of a compression spring).
  --report FILE  append the report block of the window's Save for every design that ran:
                 code page 932, CR LF, today's date stamp. All blocks go out in one write;
                 after bad input or a failed write the file is as it was.
  --units si     give loads also in N and stresses also in N/mm² (k also in N/mm), beside
                 the kgf values, with 1 kgf = 9.80665 N
  -h, --help     show this text

The table shows each warning once per design, in the order the window first lists it.

Exit status: 0 when no design has a warning, 1 when any has one, 2 for bad input (then
nothing is printed or appended) or a report that could not be written.
)";

namespace {

constexpr size_t kErrorsShown = 20;

// The whole file, or the reason it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    std::string text;
    char buffer[1 << 16];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            reason = std::strerror(errno);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

int Usage(CliIo& io, const std::string& problem) {
    io.err << kProgramName << " check: " << problem << "\nTry \"" << kProgramName
           << " check --help\".\n";
    return kExitBadInput;
}

}  // namespace

int RunCheckCommand(const std::vector<std::string>& args, CliIo& io) {
    const ScannedOptions options =
        ScanOptions(args, {{"json"}, {"report", true}, {"units", true}, {"help"}});
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
    Units units = Units::Kgf;
    if (const auto value = options.Value("units")) {
        if (*value == "si") {
            units = Units::KgfAndSi;
        } else if (*value != "kgf") {
            return Usage(io,
                         "--units takes \"si\" (or \"kgf\", the default), not \"" + *value + "\"");
        }
    }
    const std::optional<std::string> reportPath = options.Value("report");
    if (reportPath && reportPath->empty()) {
        return Usage(io, "--report needs a file name");
    }

    const bool fromStdin = options.operands().empty() || options.operands()[0] == "-";
    const std::string source = fromStdin ? "standard input" : options.operands()[0];
    std::string text;
    if (fromStdin) {
        text.assign(std::istreambuf_iterator<char>(io.in), std::istreambuf_iterator<char>());
        if (io.in.bad()) {
            io.err << kProgramName << ": cannot read standard input\n";
            return kExitBadInput;
        }
    } else {
        std::string reason;
        std::optional<std::string> content = ReadWholeFile(source, reason);
        if (!content) {
            io.err << kProgramName << ": cannot read " << source << ": " << reason << "\n";
            return kExitBadInput;
        }
        text = std::move(*content);
    }

    const DesignFile file = ParseDesigns(text);
    if (!file.errors.empty()) {
        for (size_t i = 0; i < file.errors.size() && i < kErrorsShown; ++i) {
            io.err << kProgramName << ": " << DescribeInputError(file.errors[i], source) << "\n";
        }
        if (file.errors.size() > kErrorsShown) {
            io.err << kProgramName << ": ... and " << file.errors.size() - kErrorsShown
                   << " more\n";
        }
        io.err << kProgramName << ": nothing was checked"
               << (reportPath ? " and nothing was appended to " + *reportPath : "") << ".\n";
        return kExitBadInput;
    }

    // One reading of the clock for the whole run: every block of one report gets the same
    // date stamp, even when the minute turns over during a long file.
    const LocalDateTime now = io.clock();
    DesignRunner runner([now] { return now; });
    std::vector<CheckedDesign> checked;
    checked.reserve(file.designs.size());
    std::string reportText;
    bool anyWarning = false;
    for (const DesignInput& design : file.designs) {
        DesignOutcome outcome = runner.Run(design);
        if (reportPath && outcome.analysed) {
            reportText += FormatReportBlock(runner.design());
        }
        anyWarning = anyWarning || !outcome.warnings.empty();
        checked.push_back({design, std::move(outcome)});
    }

    if (options.Has("json")) {
        WriteCheckJson(io.out, checked, file.hasNames, units);
    } else {
        WriteCheckTable(io.out, checked, file.hasNames, units);
    }
    io.out.flush();

    if (reportPath) {
        if (reportText.empty()) {
            io.err << kProgramName << ": no design ran, so nothing was appended to " << *reportPath
                   << ".\n";
        } else {
            const std::optional<std::string> bytes = EncodeReport(reportText);
            if (!bytes) {
                io.err << kProgramName
                       << ": the report could not be converted to code page 932; nothing was "
                          "appended to "
                       << *reportPath << ".\n";
                return kExitBadInput;
            }
            const AppendResult result = AppendToFile(*reportPath, *bytes);
            if (!result.ok) {
                io.err << kProgramName << ": could not append the report to " << *reportPath << ": "
                       << std::strerror(result.error) << "; the file is as it was.\n";
                return kExitBadInput;
            }
        }
    }
    return anyWarning ? kExitFlagged : kExitClean;
}

}  // namespace springcalc::cli
