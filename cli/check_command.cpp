// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <span>

#include "cli/check.h"
#include "cli/input_values.h"
#include "cli/materials_option.h"
#include "cli/option_scanner.h"
#include "cli/tolerance_option.h"
#include "diagram/load_diagram.h"
#include "engine/strength_checks.h"
#include "engine/text_format.h"
#include "files/appending_file.h"
#include "files/interrupt_undo.h"
#include "files/output_folder.h"
#include "report/report_writer.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

constexpr const char* kCheckHelp =
    R"(Usage: springcalc-cli check [FILE] [--json] [--report FILE] [--units si] [--ends NAME]
                            [--plot DIR] [--peened] [--repeated] [--hook-radius R]
                            [--initial-tension P] [--materials NAME]
                            [--materials-file FILE] [--tolerance-grade GRADE]
                            [--temperature C]

Checks spring designs with the calculator's own engine. Each row is entered as the window
enters a design (diameters, strength lookup, geometry checks) and then Run is chosen, so the
numbers are the window's to the last digit. Designs are read, run and written one at a time:
any number of them fits in the same memory.

FILE is CSV text (UTF-8): a header line, then one design per row, each row at most 65536
bytes. Without FILE, or with "-", the designs are read from standard input. The columns, in
any order:
  name       optional; carried to the output (in the table, control characters as \xNN and
             names beyond 20 columns shortened with "…")
  kind       compression, extension or torsion (its own columns below)
  material   SWB, SWC, SWPA, SWPB, SWO-A, SWOSC-V, SUS304-WPA, SUS316-WPA or SUS304-WPB
             (blanks and case ignored), or the material number 0 to 8
  wire       wire diameter in mm, one of the 46 standard sizes 0.08 to 13.00
  mean_dia   mean coil diameter D in mm, from 0.1 to 10000
  turns      active turns n, from 0.5 to 10000
  free_len   free length in mm, from 0.1 to 10000; empty for an extension spring, whose
             free length follows from D, n and d as in the window
  set_len    installed length in mm, from 0.1 to 10000
  work_len   operating length in mm, from 0.1 to 10000
  initial_tension
             optional; an extension spring's initial tension P0 as it is to be coiled: a load
             from 0 to 10000 kg ("2.5", "2.5kg", "2.5kgf", or "25N" in newtons), or the
             initial stress τ0 from 0 to 500 kg/mm² ("175MPa", "175N/mm2", "17.8kg/mm2"),
             which gives P0 = τ0·π·d³/(8·D) for the row's d and D. Empty: --initial-tension,
             or else the window's G·d⁴/(255·D²). A compression row must leave it empty.
A torsion row (kind torsion) leaves free_len, set_len, work_len and initial_tension empty
and fills in, where a compression or extension row leaves them empty (a file with a leg1
column may leave out the three length columns):
  leg1, leg2 each leg's length in mm from the body's axis to where the load acts; empty: 0
  free_angle the angle between the legs at rest, 0 to 360 degrees; empty: 0
  angle1, angle2
             the installed and the working position: degrees (0 to 3600) the legs are turned
             from free, winding the body up; or else
  moment1, moment2
             the moment wanted there, kg·mm (0 to 10000000); each position by one of the two
  mandrel    the diameter in mm of the arbor the body winds on; empty: none
Its figures (see docs/formulas.md: EN 13906-3, with Shigley's beside them) go on the row's own
line as name=value pairs, and in JSON under "torsion"; its warnings are 21 (bending stress
over 0.78, 0.87 or 0.61 of the tensile strength), 22 (less than 10 % clearance on the mandrel
when wound up) and 23 (D/d outside 4 to 20). Its fatigue= (fatigue_safety) is the safety
factor of the bending stress cycle between the two positions on a Goodman line from
Zimmerli's endurance point over 0.577 to the tensile strength, this program's own method
(--peened for shot-peened wire; "-" and null for wire of 10 mm and more or a cycle with no
load); with --repeated, below 1 is warning 24. --plot draws its moment-angle diagram and
--report appends a torsion block in the report's style (with --repeated, its fatigue line).
Numbers are decimals with a point. Units throughout: mm and kgf (loads in kg, stresses in
kg/mm², spring rate k in kg/mm). A given initial tension takes the formula's place in the
loads, the stresses, the limit length and every check and figure after them; the table's
init-from and JSON's initial_tension_given say which it was.

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
                 spring, the initial tension of a compression spring), and
                 "initial_tension_given": true where InitTension was given, false where it is
                 the formula's, null where InitTension is null.
  --report FILE  append the report block of the window's Save for every design that ran
                 (a torsion spring's own block, which the window has not): code page 932,
                 CR LF, the date stamp of the start of the run. Blocks are appended as the
                 designs run; after bad input, any failure or a signal (SIGINT, SIGHUP,
                 SIGTERM) the file is cut back to what it was, and a file the run created is
                 removed. The file is locked while the run appends: another run, or the
                 window's Save, waits or is told it is busy, so no failure cuts away
                 another's blocks. FILE must be a regular file (no FIFO or device), and
                 not standard output or the input.
  --units si     give loads also in N and stresses also in N/mm² (k also in N/mm), beside
                 the kgf values, with 1 kgf = 9.80665 N; the energy also in N·mm
  --ends NAME    how the ends of a compression spring are held, for its buckling check:
                 fixed-fixed (the default: both ends on parallel plates, guided),
                 fixed-guided, pinned-pinned, fixed-pinned or fixed-free
  --plot DIR     write the load-length diagram of every design that ran (a torsion
                 spring's moment-angle diagram), as an SVG
                 picture DIR/NNN-NAME.svg, each as its design runs (NNN the row; in NAME,
                 anything but ASCII letters, digits, "-", "_" and "." becomes "_", and
                 NAME is cut at 200 bytes; a file of the same name is replaced). DIR must
                 be a folder that exists and can be written. Each picture replaces the old
                 one whole, by rename. Pictures already written stay when the check fails
                 later; a picture that cannot be written whole is removed.
  --peened       the fatigue safety factor with the endurance data of shot-peened wire
                 (default: unpeened)
  --repeated     the springs work under repeated load: a fatigue safety factor below 1 is
                 warning 11, a torsion row's warning 24 (without it the factor is shown but
                 not judged)
  --hook-radius R
                 the bend radius r2 of an extension spring's hooks, in mm to the wire's
                 centre, from 0.1 to 10000 (default: twice the wire diameter); a radius of
                 half a design's wire or less describes no bend and is refused
  --initial-tension P
                 the initial tension of every extension row whose initial_tension field is
                 empty (or that has no such column), written as that column's is
  --materials NAME
                 the material of every row whose material field is empty: a wire standard
                 (listed below) or a material of --materials-file. The material column takes
                 these names too; such a row's wire is any diameter within the range the
                 material's tensile strength is given for. The table names the source of each
                 such material under the rows, JSON gives material_source and
                 min_tensile_strength_MPa (MaterialNo and WireNo null); --report leaves them
                 out, as the window's report knows only its nine materials. The standards:
{standards}
  --materials-file FILE
                 your own materials (docs/cli.md gives the format); every fault of the file
                 is told, one line each, and nothing is checked
  --temperature C
                 the working temperature, -40 to 250 °C (default: 20, room temperature):
                 G and E of the wire standards and of --materials-file are lowered by
                 EN 13906-1's relation, 0.25 ‰ per kelvin (0.40 ‰ for stainless wire), and
                 each material's source says so; the window's nine materials keep theirs
  --tolerance-grade GRADE
                 each figure with the tolerance a maker promises at GRADE, one of
{grades}
                 (JIS B 2704-2 grades 1 to 3 for both kinds, EN 15800 grades 1 to 3 for
                 compression springs). The table gains the columns ±Pset, ±Pact, ±OD, ±free
                 and square, and under each design a line "JIS-2: Pset 0.97 ± 0.10 kg, Pact
                 2.06 ± 0.21 kg, OD 4.70 ± 0.20 mm, ..."; JSON gains "tolerance". A figure
                 the grade's tables do not reach (under 3 turns, D/d outside 3 to 22, EN 15800
                 outside its scope or for an extension spring) is "-" and null: by agreement
  -h, --help     show this text

Figures the window does not show, for every design that ran, computed from its own values
(table column, JSON name in "service"):
  λ, slenderness       free length / D
  buckle, buckling_deflection
                       the deflection from the free length at which the spring buckles
                       (EN 13906-1, with the ends of --ends); "none" in the table, null in
                       JSON, where it cannot buckle however far it is compressed
  buckling_risk        true when the deflection at the operating length is greater: then
                       warning 8 {8} (risk of buckling)
  surge, surge_frequency
                       natural (surge) frequency in Hz, both ends fixed
  energy               stored from the installed to the operating length, kg·mm
                       (kgf·mm; with --units si also energy_N_mm in "si")
  active-mass, active_mass
                       grams of wire in the active turns
  ends                 the end condition, as --ends names it
All but the energy and the mass are for compression springs only: "-" in the table and null
in JSON for an extension spring.

Strength checks (see docs/formulas.md for the formulas and their source):
  Tk-set, Tk-work, corrected_set_stress, corrected_work_stress
                       the stress at the installed and operating length corrected with
                       Wahl's factor K (wahl_factor), the one Run uses, kg/mm²
  Tk-solid, corrected_solid_stress
                       compression, when it can be pressed solid: the corrected stress at the
                       solid load k·(free − solid) (solid_load, kg; solid_stress uncorrected);
                       over the static allowable stress it takes a set when closed:
                       solid_takes_set, warning 10 {10}
  hook-bend, allow-bend, hook-tors, allow-tors
                       extension, a full-loop hook at the higher of Pset and Pact (hook_load):
                       the bending stress where the hook leaves the body and the torsion
                       stress at its bend of radius r2 (hook_bend_radius), with their
                       allowable stresses, {steel hooks} of the tensile strength ({stainless hooks}
                       for the stainless grades); either over: hook_over_allowable,
                       warning 9 {9}
  fatigue, fatigue_safety
                       the safety factor against fatigue on a modified Goodman line from
                       Zimmerli's endurance data (fatigue_data: unpeened, or peened with
                       --peened), for the cycle between the installed and the operating
                       length with the corrected stresses (fatigue_stress_amplitude,
                       fatigue_mean_stress); "-" and null for wire of 10 mm and more, where
                       the data do not hold, and for a cycle with no load. With --repeated,
                       below 1 is warning 11 {11}

A maker's checks (see docs/formulas.md):
  pitch, p/D, pitch, pitch_ratio
                       compression: the active coils' pitch at the free length, (free −
                       solid)/n + d in mm, and against D; over 0.5: warning 13
                       {13}
  gaps, Sa, stroke, gap_sum, min_gap_sum, stroke_share
                       compression, at the shorter of the installed and operating length L:
                       the gaps left between the coils, L − solid (mm), the least they must
                       keep, Sa = (0.0015·D²/d + 0.1·d)·n (mm), and the deflection there
                       against that to solid (% in the table); gaps below Sa (a spring solid
                       at or before L included) or a stroke over 80 %: warning 12
                       {12}
  T0, T0-low, T0-high, initial_stress, initial_stress_low, initial_stress_high
                       extension: the initial stress 8·P0·D/(π·d³) of the initial tension,
                       and the range a coiler winds at this spring index, kg/mm²; outside
                       it: warning 14 {14}
With --units si the JSON gives each of these loads and stresses once more in newtons, under
its name with _N or _N_per_mm2, in "service".

Warnings 8 to 14 are the command line's own: they count for the exit status like the
window's warnings, and --report saves the window's block without them.

The table shows each warning once per design, in the order the window first lists it. Its
columns have fixed widths: numbers with up to five digits before the point fit, and a wider
one is written with an exponent (1.5e+07).

Exit status: 0 when no design has a warning, 1 when any has one, 2 for bad input (every bad
row is told; the output stops before the first, though a long file may have had earlier rows
written out already), for input that cannot be read, and for output, a report or a diagram
that cannot be written. Whenever the status is 2, nothing is appended to --report. A signal
ends the run with the signal's own status (130 for SIGINT) and nothing appended either.
)";

// A list of names as lines of the help, indented as its option's text and broken after a comma.
std::string HelpLines(const std::string& list) {
    constexpr std::string_view kIndent = "                 ";
    constexpr size_t kWidth = 96;
    std::string lines(kIndent);
    size_t lineStart = 0;
    for (size_t at = 0; at < list.size();) {
        const size_t end = std::min(list.find(", ", at), list.size());
        const std::string_view name(list.data() + at, end - at + (end < list.size() ? 1 : 0));
        if (lines.size() - lineStart + name.size() + 1 > kWidth &&
            lines.size() > lineStart + kIndent.size()) {
            lines.back() = '\n';
            lineStart = lines.size();
            lines += kIndent;
        }
        lines += name;
        lines += ' ';
        at = end + 2;
    }
    lines.pop_back();
    return lines;
}

// The help with each "{N}" as warning N's own text, from the table every output uses, and the
// hooks' allowable stresses as the engine has them.
std::string CheckHelp() {
    std::string help = kCheckHelp;
    const auto fill = [&help](const std::string& mark, const std::string& text) {
        for (size_t at = help.find(mark); at != std::string::npos; at = help.find(mark, at)) {
            help.replace(at, mark.size(), text);
        }
    };
    for (int number = kBucklingWarning; number <= kLastServiceWarning; ++number) {
        fill("{" + std::to_string(number) + "}", WarningTextOf(number));
    }
    fill("{standards}", HelpLines(WireStandardList()));
    fill("{grades}", HelpLines(ToleranceGradeList()));
    fill("{steel hooks}", HookAllowablesText(WireClass::Steel));
    fill("{stainless hooks}", HookAllowablesText(WireClass::Stainless));
    return help;
}

namespace {

// Output is written out whenever this much has gathered.
constexpr size_t kPieceBytes = 1 << 16;

int Usage(CliIo& io, const std::string& problem) {
    io.err << kProgramName << " check: " << problem << "\nTry \"" << kProgramName
           << " check --help\".\n";
    return kExitBadInput;
}

// What the options ask for.
struct CheckOptions {
    CheckSettings settings;
    bool json = false;
    std::optional<std::string> reportPath;
    std::optional<std::string> plotPath;
    std::optional<std::string> file;  // none: standard input
    // --initial-tension: for the extension rows that give none of their own.
    std::optional<GivenInitialTension> initialTension;
    // --materials: for the rows whose material field is empty.
    std::shared_ptr<const WireMaterial> material;
    // --materials-file: the user's own, which rows and --materials may name.
    std::vector<std::shared_ptr<const WireMaterial>> ownMaterials;
};

// The hook's bend radius in mm, within the range of lengths.
std::optional<double> HookRadiusOf(std::string_view text) {
    const std::optional<double> radius = ParseDouble(text);
    return radius && kLengthRange.Holds(*radius) ? radius : std::nullopt;
}

// What is wrong with the options, or nothing. With --help, only a fault of the options
// themselves counts.
std::string OptionsProblem(const ScannedOptions& options) {
    const std::optional<std::string> units = options.Value("units");
    const std::optional<std::string> ends = options.Value("ends");
    std::string problem;
    if (!options.error().empty() || options.Has("help")) {
        return options.error();
    }
    if (options.operands().size() > 1) {
        return "one FILE at most, got " + std::to_string(options.operands().size());
    }
    if (units && *units != "si" && *units != "kgf") {
        return "--units takes \"si\" (or \"kgf\", the default), not \"" + *units + "\"";
    }
    if (ends && !EndsNamed(*ends, problem)) {
        return problem;
    }
    if (options.Value("plot") == "") {
        return "--plot needs a folder";
    }
    if (const std::optional<std::string> radius = options.Value("hook-radius");
        radius && !HookRadiusOf(*radius)) {
        return "--hook-radius takes a radius in mm " + RangeText(kLengthRange) + ", not \"" +
               *radius + "\"";
    }
    if (const std::optional<std::string> tension = options.Value("initial-tension");
        tension && !ReadInitialTension(*tension).given) {
        return "--initial-tension takes " + InitialTensionRangeText() + ", not \"" + *tension +
               "\"";
    }
    if (const std::optional<std::string> grade = options.Value("tolerance-grade")) {
        if (std::string fault = ToleranceGradeProblem(*grade); !fault.empty()) {
            return fault;
        }
    }
    if (const std::optional<std::string> celsius = options.Value("temperature");
        celsius && !TemperatureOf(*celsius)) {
        return TemperatureProblem(*celsius);
    }
    if (options.Value("report") == "") {
        return "--report needs a file name";
    }
    if (options.Value("report") == "-") {
        return "--report takes a file: standard output shows the table, so \"-\" names no "
               "report (write ./- for a file of that name)";
    }
    return {};
}

// The options, or none with the exit status in `status` (the help asked for, or a problem
// told).
std::optional<CheckOptions> ReadCheckOptions(const std::vector<std::string>& args, CliIo& io,
                                             int& status) {
    const ScannedOptions options = ScanOptions(args, {{"json"},
                                                      {"report", true},
                                                      {"units", true},
                                                      {"ends", true},
                                                      {"plot", true},
                                                      {"peened"},
                                                      {"repeated"},
                                                      {"hook-radius", true},
                                                      {"initial-tension", true},
                                                      {"materials", true},
                                                      {"materials-file", true},
                                                      {"tolerance-grade", true},
                                                      {"temperature", true},
                                                      {"help"}});
    if (std::string problem = OptionsProblem(options); !problem.empty()) {
        status = Usage(io, problem);
        return std::nullopt;
    }
    if (options.Has("help")) {
        io.out << CheckHelp();
        status = kExitClean;
        return std::nullopt;
    }
    CheckOptions check;
    check.json = options.Has("json");
    check.reportPath = options.Value("report");
    check.plotPath = options.Value("plot");
    check.settings.units = options.Value("units") == "si" ? Units::KgfAndSi : Units::Kgf;
    std::string unused;
    const std::optional<std::string> ends = options.Value("ends");
    check.settings.ends = ends ? *EndsNamed(*ends, unused) : kDefaultEnds;
    check.settings.strength.peened = options.Has("peened");
    if (const std::optional<std::string> radius = options.Value("hook-radius")) {
        check.settings.strength.hookRadius = HookRadiusOf(*radius);
    }
    check.settings.repeated = options.Has("repeated");
    if (const std::optional<std::string> grade = options.Value("tolerance-grade")) {
        check.settings.toleranceGrade = ToleranceGradeNamed(*grade);
    }
    if (const std::optional<std::string> tension = options.Value("initial-tension")) {
        check.initialTension = ReadInitialTension(*tension).given;
    }
    if (const std::optional<std::string> path = options.Value("materials-file")) {
        auto own = ReadMaterialsOption(*path, io);
        if (!own) {
            status = kExitBadInput;
            return std::nullopt;
        }
        check.ownMaterials = std::move(*own);
    }
    // The file's names first, then every standard's, each at the temperature: found before the
    // built-in rows by the look-ups.
    const size_t ownCount = check.ownMaterials.size();
    if (const std::optional<std::string> celsius = options.Value("temperature")) {
        const double temperature = *TemperatureOf(*celsius);
        check.ownMaterials = MaterialsAtTemperature(check.ownMaterials, temperature);
        if (temperature != kRoomTemperature) {
            check.settings.temperature = temperature;
        }
    }
    if (options.Has("materials") || options.Has("materials-file")) {
        for (const WireMaterial& standard : WireStandards()) {
            check.settings.materialWidth =
                std::max(check.settings.materialWidth, static_cast<int>(standard.name.size()));
        }
        for (const auto& own : std::span(check.ownMaterials).first(ownCount)) {
            check.settings.materialWidth =
                std::max(check.settings.materialWidth, DisplayWidth(own->name));
        }
    }
    if (const std::optional<std::string> name = options.Value("materials")) {
        check.material = WireMaterialNamed(*name, check.ownMaterials);
        if (!check.material) {
            std::string names = WireStandardList();
            for (const auto& own : std::span(check.ownMaterials).first(ownCount)) {
                names += ", " + own->name;
            }
            status = Usage(io, "--materials takes one of " + names + ", not \"" + Escaped(*name) +
                                   "\" (the window's materials are named in the material column)");
            return std::nullopt;
        }
    }
    if (!options.operands().empty() && options.operands()[0] != "-") {
        check.file = options.operands()[0];
    }
    return check;
}

// Why a file could not be used, in words.
std::string ReasonText(int error) {
    switch (error) {
        case kNoCp932Converter:
            return "the code page 932 converter could not be loaded (glibc's gconv modules are "
                   "missing, or memory is short)";
        case kNotARegularFile:
            return "not a regular file (reports and diagrams go to plain files, never to a FIFO "
                   "or a device)";
        default:
            return std::strerror(error);
    }
}

// One run of `check`: the designs read, run and written out one at a time, the report and the
// diagrams made as they go. Any failure ends it with status 2 and the report taken back.
class CheckRun {
public:
    CheckRun(CheckOptions options, CliIo& io) : options_(std::move(options)), io_(io) {}
    ~CheckRun() {
        interrupt::SetNotes(nullptr);
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    int Run() {
        try {
            return RunDesigns();
        } catch (const std::bad_alloc&) {
            text_ = std::string();  // room to tell it
            io_.err << kProgramName << ": out of memory" << TakeBack() << ".\n";
            return kExitBadInput;
        }
    }

private:
    int RunDesigns() {
        if (int status = 0; !OpenTargets(status)) {
            return status;
        }
        // One reading of the clock for the whole run: every block of one report gets the same
        // date stamp, even when the minute turns over during a long file.
        const LocalDateTime now = io_.clock();
        DesignRunner runner([now] { return now; });
        dateText_ = FormatDateStamp(now);
        DesignReader reader(Input());
        reader.SetInitialTension(options_.initialTension);
        reader.SetMaterials(options_.ownMaterials, options_.material);
        DesignRow row;
        while (reader.Next(row)) {
            // After a bad row only the faults are told.
            if (reader.errorCount() == 0 && !Check(reader, runner, row)) {
                return kExitBadInput;
            }
        }
        // From here on a failure drops what is not yet written out, and the report is taken
        // back.
        return reader.readError() != 0 || reader.errorCount() > 0 ? TellInputFaults(reader)
                                                                  : Finish(reader);
    }

    // The diagram folder, the input file and the report, in that order, each told when it
    // cannot be used.
    bool OpenTargets(int& status) {
        status = kExitBadInput;
        if (options_.plotPath && !diagrams_.Open(*options_.plotPath)) {
            io_.err << kProgramName << ": cannot write diagrams to " << Escaped(*options_.plotPath)
                    << ": " << std::strerror(errno) << "; nothing was checked.\n";
            return false;
        }
        if (options_.file && (fd_ = ::open(options_.file->c_str(), O_RDONLY | O_CLOEXEC)) < 0) {
            io_.err << kProgramName << ": cannot read " << Source() << ": " << std::strerror(errno)
                    << "\n";
            return false;
        }
        return !options_.reportPath || OpenReport();
    }

    // The report, shared with the window and other runs: when one of them is writing to it,
    // this run waits its turn, so that neither cuts away the other's blocks.
    bool OpenReport() {
        shownReport_ = Escaped(*options_.reportPath);
        // A signal handler cannot count, so its notes say what was left without the bytes. Set
        // before the wait, which a signal may end too.
        for (int end = 0; end < kTakeBackEnds; ++end) {
            signalNotes_[end] = TakeBackNote({end == 0, -1, 0, static_cast<TakeBackEnd>(end)});
            signalNoteTexts_[end] = signalNotes_[end].c_str();
        }
        interrupt::SetNotes(signalNoteTexts_);
        bool opened = report_.Open(*options_.reportPath, AppendingFile::Wait::No);
        if (!opened && report_.error() == kFileBusy) {
            io_.err << kProgramName << ": " << shownReport_
                    << " is being written by another program; waiting for it to finish.\n";
            opened = report_.Open(*options_.reportPath, AppendingFile::Wait::Yes);
        }
        // Written into the table's file or the designs' own, it would be overwritten or read.
        const char* same = !opened                               ? nullptr
                           : report_.IsSameFileAs(STDOUT_FILENO) ? "it is standard output"
                           : report_.IsSameFileAs(STDERR_FILENO) ? "it is standard error"
                           : report_.IsSameFileAs(options_.file ? fd_ : STDIN_FILENO)
                               ? "it is the file the designs are read from"
                               : nullptr;
        if (!opened || same) {
            (void)report_.Abandon();
            io_.err << kProgramName << ": cannot append the report to " << shownReport_ << ": "
                    << (same ? same : ReasonText(report_.error())) << "; nothing was checked.\n";
            return false;
        }
        return true;
    }

    // What taking the report back did, as the end of a message.
    std::string TakeBackNote(const springcalc::TakeBack& back) const {
        const std::string bytes =
            back.bytesLeft < 0 ? "blocks of this run's"
                               : std::to_string(back.bytesLeft) + " bytes of this run's blocks";
        switch (back.end) {
            case TakeBackEnd::Clean:
                break;
            case TakeBackEnd::OtherWriter:
                return "; " + shownReport_ + " keeps " + bytes +
                       ", which could not be removed: another program wrote to the file after "
                       "them without waiting";
            case TakeBackEnd::Failed:
                return "; " + shownReport_ + " keeps " + bytes + ", which could not be removed" +
                       (back.error == 0 ? "" : std::string(": ") + std::strerror(back.error));
            case TakeBackEnd::Shortened:
                return "; another program cut " + shownReport_ +
                       " short during the run, so it was left as that program left it" +
                       (back.bytesLeft > 0 ? ", with " + bytes + " in it" : "");
            case TakeBackEnd::Replaced:
                return "; " + shownReport_ +
                       " was moved or replaced by another program during the run: the file now "
                       "under that name was not touched, and the file this run made was emptied, "
                       "wherever it is now";
        }
        return "; nothing was appended to " + shownReport_;
    }

    // Takes the report back and says how that went, as the end of a message: `clean` when it is
    // as it was (by default, that nothing was appended), or what was left and why.
    std::string TakeBack(const std::string& clean = {}) {
        if (!options_.reportPath) {
            return {};
        }
        const springcalc::TakeBack back = report_.Abandon();
        return back.clean && !clean.empty() ? clean : TakeBackNote(back);
    }

    // One line about a report that could not be written, then the report taken back.
    int TellReportFailure() {
        const int error = report_.error();
        io_.err << kProgramName << ": "
                << (error == 0 ? "the report could not be converted to code page 932"
                               : "could not append the report to " + shownReport_ + ": " +
                                     ReasonText(error))
                << TakeBack("; the file is as it was") << ".\n";
        return kExitBadInput;
    }

    ReadInput Input() const {
        if (!options_.file) {
            return io_.in;
        }
        return [fd = fd_](char* buffer, size_t size) { return ::read(fd, buffer, size); };
    }

    std::string Source() const {
        return options_.file ? Escaped(*options_.file) : std::string("standard input");
    }

    // Made at the first design, or at the end, when the header has told whether there are
    // names.
    void Begin(const DesignReader& reader) {
        if (!writer_) {
            options_.settings.withNames = reader.hasNames();
            writer_ = options_.json ? MakeJsonWriter(options_.settings)
                                    : MakeTableWriter(options_.settings);
            writer_->Begin(text_);
        }
    }

    // Runs one design and writes out what it gives. False when that could not be done.
    bool Check(const DesignReader& reader, DesignRunner& runner, const DesignRow& row) {
        Begin(reader);
        if (row.torsion) {
            return CheckTorsion(row);
        }
        const Outcome& outcome = runner.Run(row.design);
        // Only for a design that ran: the figures need Run's spring rate.
        std::optional<ServiceFigures> figures;
        if (outcome.analysed) {
            figures = ComputeServiceFigures(outcome.record, options_.settings.ends,
                                            options_.settings.strength);
        }
        const ServiceFigures* ran = figures ? &*figures : nullptr;
        if (ran && ran->strength.hookWithoutBend) {
            // Refused rather than shown without its hooks: warning 9 would be silently off.
            io_.err << kProgramName << ": row " << row.row << " (line " << row.line
                    << "): --hook-radius " << ShortestText(*options_.settings.strength.hookRadius)
                    << " mm describes no bend for its "
                    << FixedText(WireDiameterOf(outcome.record), 2, " mm wire")
                    << ": give a radius, to the wire's centre, of more than "
                    << FixedText(WireDiameterOf(outcome.record) / 2.0, 2, " mm")
                    << " (half the wire)" << TakeBack() << ".\n";
            return false;
        }
        writer_->Design(text_, row, outcome, ran);
        ++counts_.designs;
        counts_.withWarnings +=
            outcome.warnings.empty() && OwnWarnings(ran, options_.settings).empty() ? 0 : 1;
        counts_.withheld += outcome.analysed ? 0 : 1;
        if (ran && !SaveReportAndDiagram(row, outcome.record, *ran)) {
            return false;
        }
        return WriteFullPiece();
    }

    // The output so far goes out once it makes a piece: a long file's lines are never all held.
    bool WriteFullPiece() {
        if (text_.size() >= kPieceBytes) {
            if (!(io_.out << text_)) {
                TellOutputFailure(io_, TakeBack());
                return false;
            }
            text_.clear();
        }
        return true;
    }

    // A torsion spring: its own figures, diagram and report block; the window's engine and
    // report know only compression and extension springs.
    bool CheckTorsion(const DesignRow& row) {
        const TorsionResult result = ComputeTorsion(
            *row.torsion, {options_.settings.strength.peened, options_.settings.repeated});
        writer_->Torsion(text_, row, result);
        ++counts_.designs;
        counts_.withWarnings += result.warnings.empty() ? 0 : 1;
        counts_.withheld += result.ran ? 0 : 1;
        if (result.ran && !SaveTorsionExtras(row, result)) {
            return false;
        }
        return WriteFullPiece();
    }

    bool SaveTorsionExtras(const DesignRow& row, const TorsionResult& result) {
        if (options_.reportPath &&
            !report_.Add(*row.torsion, result, dateText_, options_.settings.repeated)) {
            TellReportFailure();
            return false;
        }
        return SaveDiagram(row, [&] { return TorsionDiagramSvg(*row.torsion, result, row.name); });
    }

    bool SaveReportAndDiagram(const DesignRow& row, const TSpringDesign& record,
                              const ServiceFigures& figures) {
        // The report is the window's block, which knows only the window's materials.
        if (options_.reportPath && !record.Wire && !report_.Add(record)) {
            TellReportFailure();
            return false;
        }
        return SaveDiagram(row,
                           [&] { return LoadDiagramSvg(record, row.name, {}, &figures.strength); });
    }

    // The row's picture in --plot's folder, drawn only when there is one.
    template <typename Draw>
    bool SaveDiagram(const DesignRow& row, const Draw& draw) {
        if (!options_.plotPath) {
            return true;
        }
        const std::string name = DiagramFileName(row.row, row.name);
        if (const int error = diagrams_.Write(name, draw()); error != 0) {
            io_.err << kProgramName << ": cannot write " << Escaped(diagrams_.PathOf(name)) << ": "
                    << ReasonText(error) << TakeBack() << ".\n";
            return false;
        }
        return true;
    }

    int TellInputFaults(const DesignReader& reader) {
        if (reader.readError() != 0) {
            io_.err << kProgramName << ": cannot read " << Source() << ": "
                    << std::strerror(reader.readError()) << TakeBack() << "\n";
            return kExitBadInput;
        }
        for (const std::string& error : reader.errors()) {
            io_.err << kProgramName << ": " << Source() << ": " << error << "\n";
        }
        if (reader.errorCount() > reader.errors().size()) {
            io_.err << kProgramName << ": ... and " << reader.errorCount() - reader.errors().size()
                    << " more\n";
        }
        io_.err << kProgramName << ": "
                << (counts_.designs == 0 ? "nothing was checked"
                                         : "the check stopped at the first bad row")
                << TakeBack() << ".\n";
        return kExitBadInput;
    }

    int Finish(const DesignReader& reader) {
        Begin(reader);
        writer_->End(text_, counts_);
        if (!(io_.out << text_).flush()) {
            return TellOutputFailure(io_, TakeBack());
        }
        if (options_.reportPath && !report_.Finish()) {
            return TellReportFailure();
        }
        if (options_.reportPath && counts_.designs == counts_.withheld) {
            io_.err << kProgramName << ": no design ran, so nothing was appended to "
                    << shownReport_ << ".\n";
        }
        return counts_.withWarnings > 0 ? kExitFlagged : kExitClean;
    }

    CheckOptions options_;
    CliIo& io_;
    int fd_ = -1;  // the input file
    OutputFolder diagrams_;
    ReportStream report_;      // taken back unless the run ends well
    std::string shownReport_;  // the report's name as messages show it
    std::string dateText_;     // the run's date stamp, for the torsion springs' blocks
    // For a signal that ends the run, one note for each way taking the report back can end.
    std::string signalNotes_[kTakeBackEnds];
    const char* signalNoteTexts_[kTakeBackEnds] = {};
    std::unique_ptr<CheckWriter> writer_;
    CheckCounts counts_;
    std::string text_;  // output not yet written out
};

}  // namespace

int RunCheckCommand(const std::vector<std::string>& args, CliIo& io) {
    int status = kExitClean;
    std::optional<CheckOptions> options = ReadCheckOptions(args, io, status);
    return options ? CheckRun(std::move(*options), io).Run() : status;
}

}  // namespace springcalc::cli
