#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "check.h"
#include "option_scanner.h"
#include "report_writer.h"

namespace springcalc::cli {

const char* const kCheckHelp =
    R"(Usage: springcalc-cli check [FILE] [--json] [--report FILE] [--units si]

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
                 included. Numbers are the shortest decimals that read back as the same
                 single-precision value; null where the design has none (the results of a
                 design that did not run, the solid length and tau max of an extension
                 spring, the initial tension of a compression spring).
  --report FILE  append the report block of the window's Save for every design that ran:
                 code page 932, CR LF, the date stamp of the start of the run. Blocks are
                 appended as the designs run; after bad input or any failure the file is cut
                 back to what it was, and a file the run created is removed.
  --units si     give loads also in N and stresses also in N/mm² (k also in N/mm), beside
                 the kgf values, with 1 kgf = 9.80665 N
  -h, --help     show this text

The table shows each warning once per design, in the order the window first lists it. Its
columns have fixed widths: numbers with up to five digits before the point fit, and a wider
one is written with an exponent (1.5e+07).

Exit status: 0 when no design has a warning, 1 when any has one, 2 for bad input (every bad
row is told; the output stops before the first, though a long file may have had earlier rows
written out already), for input that cannot be read, and for output or a report that cannot
be written. Whenever the status is 2, nothing is appended to --report.
)";

namespace {

// Output and report text are written out whenever this much has gathered.
constexpr size_t kPieceBytes = 1 << 16;

int Usage(CliIo& io, const std::string& problem) {
    io.err << kProgramName << " check: " << problem << "\nTry \"" << kProgramName
           << " check --help\".\n";
    return kExitBadInput;
}

// The designs' report blocks, encoded and appended to the file in bounded pieces; taken back
// unless the run ends well.
class ReportPieces {
public:
    explicit ReportPieces(std::optional<std::string> path) : path_(std::move(path)) {}
    bool wanted() const { return path_.has_value(); }
    const std::string& path() const { return *path_; }

    std::optional<std::string> Open() {
        const AppendResult opened = appender_.Open(*path_);
        return Failure(opened);
    }

    // Adds the block of the design that just ran; on failure the reason, for a message.
    std::optional<std::string> Add(const TSpringDesign& design) {
        text_ += FormatReportBlock(design);
        return text_.size() >= kPieceBytes ? Flush() : std::nullopt;
    }

    std::optional<std::string> Finish() {
        if (const std::optional<std::string> failure = Flush()) {
            return failure;
        }
        if (!appended_) {
            appender_.Abandon();  // nothing ran: a file made for the run goes again
            return std::nullopt;
        }
        const AppendResult committed = appender_.Commit();
        return Failure(committed);
    }

private:
    std::optional<std::string> Flush() {
        if (text_.empty()) {
            return std::nullopt;
        }
        const std::optional<std::string> bytes = EncodeReport(text_);
        text_.clear();
        if (!bytes) {
            appender_.Abandon();
            return "the report could not be converted to code page 932";
        }
        const AppendResult result = appender_.Append(*bytes);
        appended_ = true;
        return Failure(result);
    }

    std::optional<std::string> Failure(const AppendResult& result) const {
        if (result.ok) {
            return std::nullopt;
        }
        return "could not append the report to " + *path_ + ": " + std::strerror(result.error);
    }

    std::optional<std::string> path_;
    ReportAppender appender_;
    std::string text_;
    bool appended_ = false;
};

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
    ReportPieces report(options.Value("report"));
    if (report.wanted() && report.path().empty()) {
        return Usage(io, "--report needs a file name");
    }
    const std::string notAppended =
        report.wanted() ? "; nothing was appended to " + report.path() : "";

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
    struct CloseInput {
        int fd;
        ~CloseInput() {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    } closeInput{fd};

    if (report.wanted()) {
        if (const std::optional<std::string> failure = report.Open()) {
            io.err << kProgramName << ": " << *failure << "; nothing was checked.\n";
            return kExitBadInput;
        }
    }
    // One reading of the clock for the whole run: every block of one report gets the same
    // date stamp, even when the minute turns over during a long file.
    const LocalDateTime now = io.clock();
    DesignRunner runner([now] { return now; });
    // Made at the first design, or at the end, when the header has told whether there are names.
    std::unique_ptr<CheckWriter> writer;
    const auto begin = [&](std::string& text) {
        writer = options.Has("json") ? MakeJsonWriter(reader.hasNames(), units)
                                     : MakeTableWriter(reader.hasNames(), units);
        writer->Begin(text);
    };
    CheckCounts counts;
    std::string text;
    DesignInput design;
    while (reader.Next(design)) {
        if (reader.errorCount() > 0) {
            continue;  // after a bad row only the faults are told
        }
        if (!writer) {
            begin(text);
        }
        const Outcome& outcome = runner.Run(design);
        writer->Design(text, design, outcome);
        ++counts.designs;
        counts.withWarnings += outcome.warnings.empty() ? 0 : 1;
        counts.withheld += outcome.analysed ? 0 : 1;
        std::optional<std::string> failure;
        if (report.wanted() && outcome.analysed) {
            failure = report.Add(outcome.record);
        }
        if (failure) {
            io.err << kProgramName << ": " << *failure << "; the file is as it was.\n";
            return kExitBadInput;
        }
        if (text.size() >= kPieceBytes) {
            if (!(io.out << text)) {
                return TellOutputFailure(io, notAppended);
            }
            text.clear();
        }
    }
    // From here on a failure drops what is not yet written out; the report is taken back
    // when `report` goes.

    if (reader.readError() != 0) {
        io.err << kProgramName << ": cannot read " << source << ": "
               << std::strerror(reader.readError()) << notAppended << "\n";
        return kExitBadInput;
    }
    if (reader.errorCount() > 0) {
        for (const InputError& error : reader.errors()) {
            io.err << kProgramName << ": " << DescribeInputError(error, source) << "\n";
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
    if (report.wanted()) {
        if (const std::optional<std::string> failure = report.Finish()) {
            io.err << kProgramName << ": " << *failure << "; the file is as it was.\n";
            return kExitBadInput;
        }
        if (counts.designs == counts.withheld) {
            io.err << kProgramName << ": no design ran, so nothing was appended to "
                   << report.path() << ".\n";
        }
    }
    return counts.withWarnings > 0 ? kExitFlagged : kExitClean;
}

}  // namespace springcalc::cli
