// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>

#include "cli/input_values.h"
#include "cli/materials_option.h"
#include "cli/option_scanner.h"
#include "cli/search.h"
#include "engine/catalogue.h"
#include "engine/spring_tables.h"

namespace springcalc::cli {

constexpr const char* kSearchHelp =
    R"(Usage: springcalc-cli search --kind compression|extension --load P@L
                             (--load P@L | --rate K) [options]
       springcalc-cli search --kind torsion --moment M@A (--moment M@A | --moment-rate K)
                             [options]

Finds designs with standard wire sizes that give the loads asked for, keeps those that pass
every check `check` would make of them, and prints the best of each material and wire size,
the lightest first.

Requirement:
  --kind KIND          compression, extension or torsion (its own options below)
  --load P@L           a load of P kg (0.001 to 10000) at a length of L mm (0.1 to 10000),
                       such as 5@40; give two load points, or one and --rate. The lighter
                       load becomes the installed length (set), the heavier the operating
                       length (work). A load in newtons carries its unit: 49N@40 (divided
                       by 9.80665 N per kgf; "kg" or "kgf" may be written too).
  --rate K             spring rate in kg/mm, 0.0001 to 1000, with a single --load; in N/mm
                       with the unit, such as 2N/mm
  --repeated           the spring works under repeated load: its stresses must also stay
                       within the repeated-load allowable stress (no warning 4), and its
                       fatigue safety factor (check's fatigue column, between the installed
                       and the operating length) must be at least --min-fatigue where the
                       endurance data hold (wire under 10 mm; thicker wire is judged on
                       warning 4 alone)
  --min-fatigue X      the least fatigue safety factor, 0.1 to 10 (default 1); implies
                       --repeated
  --peened             the fatigue safety factor with the endurance data of shot-peened wire
  --hook-radius R      the bend radius r2 of an extension spring's hooks, in mm to the wire's
                       centre (default: twice the wire diameter), for the hook check
Proportions (the defaults are the ranges JIS B 2704's tolerances cover and spring makers
recommend, D/d 4 to 15 and 3 active turns or more; widen them when you must):
  --max-index C        the largest spring index D/d, 4 to 30 (default 15)
  --min-turns N        the fewest active turns, 0.5 to 100 (default 3)
  --ends NAME          how a compression spring's ends are held, for the buckling check:
                       fixed-fixed (the default: both ends on parallel plates),
                       fixed-guided, pinned-pinned, fixed-pinned or fixed-free
  --allow-buckling     let a compression spring buckle (warning 8): for one guided on a rod
                       or in a bore
  --no-buckling        no buckling (the default; kept for scripts that give it)
A maker's judgement (held by default; see docs/cli.md for the reasons):
  --max-stress-ratio X the stress at the installed and operating lengths at most X of the
                       static allowable stress, 0.5 to 1 (default 0.9: a spring as made may
                       give a tenth more load than drawn)
  --tolerance-grade GRADE
                       the heavier load as a maker may make it at GRADE (JIS-1 to JIS-3,
                       EN-1 to EN-3; see check) stays within --max-stress-ratio of the static
                       allowable stress, which is then 1 unless given: the grade's own
                       tolerance takes the place of the default margin
  --max-pitch-ratio X  a compression spring's pitch at most X times D, 0.1 to 10 (default
                       0.5; check's warning 13)
  --allow-close-coils  let a compression spring's coils come closer at its shortest length
                       than the gaps Sa, or that length take more than 80 % of the
                       deflection to solid (check's warning 12)
  --any-initial-tension
                       let an extension spring's initial tension lie outside the range a
                       coiler winds at its index (check's warning 14)
  --initial-tension P  an extension spring's initial tension as it is to be coiled, instead
                       of the window's G d^4 / (255 D^2): a load in kg (0 to 10000) or N
                       (25N), or the initial stress in MPa, N/mm2 or kg/mm2 (0 to 500 kg/mm2;
                       P0 = stress x pi d^3 / (8 D) for each wire and D)
  --solid-safe         only compression springs that can be pressed solid without a set (no
                       warning 3 or 10)
Limits:
  --max-od MM          outer diameter at most MM (0.1 to 10000)
  --min-id MM          inner diameter at least MM (0.1 to 10000)
  --max-free-len MM    free length at most MM (0.1 to 10000; for an extension spring, the
                       derived one)
  --materials LIST     comma-separated designations or numbers, such as SWPA,SUS304-WPB
                       (default: all nine); also wire standards such as EN10270-1-SM or
                       ASTM-A228 (a name it does not know lists them all) and materials of
                       --materials-file, each over its preferred sizes; the source of
                       each such material is named under the rows
  --materials-file FILE
                       your own materials (docs/cli.md gives the format), for --materials;
                       every fault of the file is told, one line each, and nothing is
                       searched
  --temperature C      the working temperature, -40 to 250 °C (default: 20): G and E of
                       the wire standards and of --materials-file lowered by EN 13906-1's
                       relation (0.25 ‰ per kelvin, 0.40 ‰ stainless), said under the rows;
                       the window's nine materials keep theirs
  --max-slenderness X  slenderness, free length / D, at most X (0.5 to 100)
  --min-frequency F    natural (surge) frequency, both ends fixed, at least F Hz (1 to
                       100000)
                       --ends, --allow-buckling, --no-buckling, --max-slenderness and
                       --min-frequency are for compression springs: with --kind extension
                       they are refused.
Output:
  --tolerance PCT      how far each load may miss its target, in percent of the target,
                       0.01 to 99 (default 5)
  --by mass|stress     the order (default mass): see Order below
  --all                a line for every design that passes (each mean diameter and number
                       of turns), not only the best of each material and wire size
  --top N              how many lines to print, 1 to 1000 (default 10)
  -h, --help           show this text
Torsion springs (--kind torsion):
  --moment M@A         a moment of M kg·mm (0.001 to 1000000; N·mm with the unit N) with
                       the legs A degrees apart (0 to 360); give two, or one and
                       --moment-rate. The larger moment comes with the narrower angle: the
                       spring winds up as the legs close.
  --moment-rate K      the rate in kg·mm per degree, 0.0001 to 1000, with a single --moment
  --legs MM            each leg's length from the body's axis to where the load acts, 0 to
                       10000 mm (default 0); the legs add to the turns that bend
  --mandrel MM         the diameter of the arbor the body winds on: the body, wound up to
                       the second angle, keeps 10 % of it clear (no warning 22 of check)
  --max-body-len MM    the body's length, wound up, at most MM: the space for it
  --max-od, --max-index (default 20 here), --min-turns (body turns), --max-stress-ratio
  (of the allowable bending stress), --materials, --tolerance, --by, --all and --top hold
  as for the other kinds, and --repeated, --min-fatigue and --peened hold the bending
  fatigue safety factor of check's torsion rows (warning 24) to at least --min-fatigue
  where the data hold; the other options are refused. The mean diameter runs over the
  0.1 mm grid from D/d 4, the body turns over the quarter turns either side of those that
  give the rate, the free angle to 0.1° where the two moments miss their targets equally;
  each spring is worked out as check works a torsion row and kept when it has none of
  warnings 21 to 23 and meets every moment, limit and margin.

How candidates are made. For every chosen material and every wire size d made in it, the
mean diameter D runs over a 0.1 mm grid from D/d = 4 up to --max-index. At each D the active
turns n run over every half turn from --min-turns up whose rate, k = G d^4 / (8 n D^3), can
meet both loads within the tolerance (with --rate: the rate within the tolerance) and whose
solid length, (n + 2) d, fits the shortest length. For a compression spring the free length
runs over every 0.1 mm at which both loads are within the tolerance; an extension spring's
free length and initial tension follow from D, n and d, as in the window. Each design goes
through the window's engine (lookup, checks, Run) unless a quick estimate shows that it
fails a requirement by far more than rounding could explain; what is kept, every number
shown and the order come from the engine. A search does a bounded amount of work, about 2 s:
one that meets millions of springs stops there and says where. Past a second, standard error
shows how far it has got when it is a terminal.

Which are kept. A design passes when:
  - it has no warning 1, 2, 5, 6 or 7, and with --repeated no warning 4;
  - an extension spring's hooks stay within their allowable stresses (no warning 9 of check);
  - with --repeated, its fatigue safety factor is at least --min-fatigue (no warning 11);
  - its stress is at most --max-stress-ratio of the static allowable stress; a compression
    spring's pitch is at most --max-pitch-ratio times D and its coils keep clear at the
    shortest length (no warning 12 or 13 of check) unless --allow-close-coils; an extension
    spring's initial tension is one a coiler winds (no warning 14) unless
    --any-initial-tension;
  - a compression spring does not buckle at the operating length with the ends of --ends
    (no warning 8 of check), unless --allow-buckling;
  - every load is within the tolerance, |P - target| <= tolerance x target, at its length
    (with --rate: the load and the rate);
  - D/d is at most --max-index, n at least --min-turns, and it is inside every limit given.
Warning 3 (the spring reaches its allowable stress before it is solid) is allowed and shown,
with check's warning 10 that comes with it (pressed solid, the spring takes a set): the
stroke asked for stays within the allowable stress, and a stroke need not go to solid;
--solid-safe rules them out.
Of the free lengths at which a spring of one material, wire, D and n passes, the one whose
loads come closest to their targets is kept.

Order. --by mass (default): the lightest wire first, the whole wire with its end turns (the
mass column; check's active-mass counts the active turns only): density x (pi d^2 / 4) x
pi D x coils, with n + 2 coils for a compression spring (a closed turn at each end) and
n + 3 for an extension spring (one more body turn and two hooks of about one turn each),
7.85 g/cm^3 for the steels and 7.93 g/cm^3 for the stainless grades: the least material for
the loads, within the allowable stress. --by stress: the least stressed first, by the higher
of the stresses at the installed and operating lengths over the static allowable stress.
Ties go by the other measure, then by material, wire size, D, n and free length.

When nothing is kept, it says so and shows the closest candidates with what keeps each out.
Closest means the least shortfall in all, each shortfall counted as a fraction of what was
asked: a load beyond the tolerance, a limit overstepped, the stress over the allowable, the
solid or free length over the lengths given, the deflection over the one that buckles it.
When the defaults (--max-index, --min-turns, the buckling check, --max-stress-ratio,
--max-pitch-ratio, the coils' clearance, the initial tension) kept out designs that meet
everything else, it names the option to widen and the first such design.

Exit status: 0 when designs were found, 1 when none meets the requirements, 2 for bad input
or output that cannot be written.
)";

namespace {

using What = SearchFault::What;

// The command line's words for each field: what its value is, for the message that refuses one,
// and why it is not for the other spring kind.
struct FieldWords {
    SearchField field;
    const char* value;
    const char* otherKind = nullptr;
};

constexpr const char* kNoBuckle =
    "an extension spring neither buckles nor has its surge frequency checked here";
constexpr const char* kClosedCoils = "an extension spring's coils lie closed";

// clang-format off
constexpr FieldWords kFieldWords[] = {
    {SearchField::Kind,              "\"compression\" or \"extension\""},
    {SearchField::Load,              "LOAD@LENGTH such as 5@40 (5 kg at 40 mm) or 49N@40 (49 N at 40 mm)"},
    {SearchField::Rate,              "a spring rate in kg/mm"},
    {SearchField::Repeated,          ""},
    {SearchField::MinFatigue,        "a fatigue safety factor"},
    {SearchField::Peened,            ""},
    {SearchField::HookRadius,        "a radius in mm", "a compression spring has no hooks"},
    {SearchField::MaxIndex,          "a spring index D/d (Run needs 4 or more)"},
    {SearchField::MinTurns,          "a number of active turns"},
    {SearchField::Ends,              "", kNoBuckle},
    {SearchField::AllowBuckling,     "", kNoBuckle},
    {SearchField::NoBuckling,        "", kNoBuckle},
    {SearchField::MaxStressRatio,    "a share of the static allowable stress"},
    {SearchField::ToleranceGrade,    "none, JIS-1, JIS-2, JIS-3, EN-1, EN-2 or EN-3"},
    {SearchField::MaxPitchRatio,     "a pitch as a share of the mean diameter D", kClosedCoils},
    {SearchField::AllowCloseCoils,   "", kClosedCoils},
    {SearchField::AnyInitialTension, "", "a compression spring has no initial tension"},
    {SearchField::InitialTension,    "", "a compression spring has no initial tension"},
    {SearchField::SolidSafe,         "", kClosedCoils},
    {SearchField::MaxOuterDia,       "a length in mm"},
    {SearchField::MinInnerDia,       "a length in mm"},
    {SearchField::MaxFreeLen,        "a length in mm"},
    {SearchField::MaxSlenderness,    "a slenderness free length / D", kNoBuckle},
    {SearchField::MinFrequency,      "a frequency in Hz", kNoBuckle},
    {SearchField::Materials,         ""},
    {SearchField::Tolerance,         "a percentage of the target load"},
    {SearchField::By,                "\"stress\" or \"mass\""},
    {SearchField::All,               ""},
    {SearchField::Top,               "a whole number of designs"},
    {SearchField::Moment,            "MOMENT@ANGLE such as 20@90 (20 kg·mm with the legs 90° apart)"},
    {SearchField::MomentRate,        "a rate in kg·mm per degree"},
    {SearchField::Legs,              "a leg's length in mm"},
    {SearchField::Mandrel,           "a diameter in mm"},
    {SearchField::MaxBodyLen,        "a length in mm"},
};
// clang-format on
// WordsOf finds a row by its field's number.
constexpr bool WordsInFieldOrder() {
    for (size_t i = 0; i < std::size(kFieldWords); ++i) {
        if (static_cast<size_t>(kFieldWords[i].field) != i) {
            return false;
        }
    }
    return std::size(kFieldWords) == std::size(kSearchFields);
}
static_assert(WordsInFieldOrder());

const FieldWords& WordsOf(SearchField field) {
    return kFieldWords[static_cast<size_t>(field)];
}

std::string Option(SearchField field) {
    return "--" + std::string(SearchFieldOf(field).name);
}

constexpr const char* kLoadCountText = "give one --load with --rate, or two --load";
constexpr const char* kMomentCountText = "give one --moment with --moment-rate, or two --moment";

std::string BadValueText(const SearchFault& fault) {
    const SearchFieldRow& row = SearchFieldOf(fault.field);
    const std::string typed = " \"" + fault.text + "\"";
    switch (fault.field) {
        case SearchField::Load:
            return Option(fault.field) + " takes " + WordsOf(fault.field).value + ", a load " +
                   RangeText(row.range) + " kg at a length " + RangeText(kLengthRange) +
                   " mm, not" + typed;
        case SearchField::Rate:
            return Option(fault.field) + " takes a spring rate in kg/mm " + RangeText(row.range) +
                   ", or in N/mm with the unit (such as 2N/mm), not" + typed;
        case SearchField::Moment:
            return Option(fault.field) + " takes " + WordsOf(fault.field).value + ", a moment " +
                   RangeText(row.range) + " kg·mm at an angle " + RangeText(kLegAngleRange) +
                   " degrees, not" + typed;
        case SearchField::Ends:
            return Option(fault.field) + " takes " + EndConditionNames() + ", not" + typed;
        case SearchField::InitialTension:
            return Option(fault.field) + " takes " + InitialTensionRangeText() + ", not" + typed;
        default:
            break;
    }
    if (row.form == FieldForm::Number) {
        return Option(fault.field) + " takes " + WordsOf(fault.field).value + " " +
               RangeText(row.range) + ", not" + typed;
    }
    return Option(fault.field) + " takes " + WordsOf(fault.field).value + ", not" + typed;
}

}  // namespace

// Which springs a field is for, for the message that refuses it for another kind.
std::string KindsText(FieldKinds kinds) {
    switch (kinds) {
        case FieldKinds::Compression:
            return "compression springs";
        case FieldKinds::Extension:
            return "extension springs";
        case FieldKinds::Coil:
            return "compression and extension springs";
        case FieldKinds::Torsion:
            return "torsion springs";
        case FieldKinds::Any:
            break;
    }
    return "every kind";
}

std::string SearchFaultText(const SearchFault& fault) {
    const bool compression = fault.springKind == kCompression;
    const bool torsion = fault.springKind == kTorsionSpring;
    switch (fault.what) {
        case What::None:
            return {};
        case What::UnknownField:
            return "unknown option --" + fault.text;
        case What::Repeated:
            return fault.field == SearchField::Moment ? kMomentCountText
                   : fault.field == SearchField::Load
                       ? kLoadCountText
                       : "option \"" + Option(fault.field) + "\" is given twice";
        case What::KindMissing:
            return "--kind takes \"compression\", \"extension\" or \"torsion\" and is required";
        case What::BadValue:
            return BadValueText(fault);
        case What::WrongKind: {
            const SearchFieldRow& row = SearchFieldOf(fault.field);
            // The two coil kinds keep their own reasons; a torsion spring's fields and the coil
            // springs' are simply of another kind.
            if (!torsion &&
                (row.kinds == FieldKinds::Compression || row.kinds == FieldKinds::Extension)) {
                return Option(fault.field) + " is for " +
                       (compression ? "extension" : "compression") + " springs; " +
                       WordsOf(fault.field).otherKind;
            }
            return Option(fault.field) + " is for " + KindsText(row.kinds) + ", not " +
                   (torsion ? std::string(kTorsionName) : KindName(fault.springKind)) + " springs";
        }
        case What::LoadCount:
            return torsion ? kMomentCountText : kLoadCountText;
        case What::RateMissing:
            return torsion ? "with a single --moment, give the rate with --moment-rate"
                           : "with a single --load, give the spring rate with --rate";
        case What::RateWithTwoLoads:
            return torsion ? "two --moment points fix the rate already; give --moment-rate "
                             "with a single --moment"
                           : "two --load points fix the rate already; give --rate with a "
                             "single --load";
        case What::LoadsEqual:
            return torsion ? "the two --moment points need different moments at different angles"
                           : "the two --load points need different loads at different lengths";
        case What::WrongWay:
            return torsion ? "a torsion spring carries the larger moment with its legs closer "
                             "together (wound further)"
                   : compression
                       ? "a compression spring carries the heavier load at the shorter length"
                       : "an extension spring carries the heavier load at the longer length";
        case What::NoMaterial:
            return "--materials names no material; the materials are " + MaterialList() +
                   ", or their numbers 0 to 8, and the wire standards " + WireStandardList();
        case What::UnknownMaterial:
            if (fault.springKind == kTorsionSpring) {
                return "--materials: \"" + fault.text +
                       "\" is not a material for torsion springs, " +
                       "which take the window's nine: " + MaterialList() + ", or their numbers 0 " +
                       "to 8";
            }
            return "--materials: \"" + fault.text + "\" is not a material; the materials are " +
                   MaterialList() + ", or their numbers 0 to 8, the wire standards " +
                   WireStandardList() + " and those of --materials-file";
        case What::Contradicts:
            return fault.field == SearchField::Ends
                       ? "--ends says how the ends are held for the buckling check, which "
                         "--allow-buckling turns off; give one"
                       : Option(fault.field) + " and " + Option(fault.other) +
                             " contradict each other; give one";
        case What::NeedsRepeated:
            return "--peened chooses the endurance data of the fatigue check, which --repeated "
                   "asks for; give --repeated too";
    }
    return {};
}

SearchArguments ReadSearchArguments(const std::vector<std::string>& args,
                                    const std::vector<std::shared_ptr<const WireMaterial>>& own) {
    static const std::vector<OptionSpec> specs = [] {
        // The file is the command line's own: the page takes its material in the form.
        std::vector<OptionSpec> list{{"help"}, {"materials-file", true}, {"temperature", true}};
        for (const SearchFieldRow& row : kSearchFields) {
            list.push_back({row.name, row.form != FieldForm::Flag, row.most > 1});
        }
        return list;
    }();
    SearchArguments read;
    const ScannedOptions options = ScanOptions(args, specs);
    if (!options.error().empty()) {
        read.optionProblem = options.error();
        return read;
    }
    if (options.Has("help")) {
        read.help = true;
        return read;
    }
    if (!options.operands().empty()) {
        read.optionProblem = "search takes options only, not \"" + options.operands()[0] + "\"";
        return read;
    }
    std::vector<SearchEntry> entries;
    for (const SearchFieldRow& row : kSearchFields) {
        if (row.form == FieldForm::Flag) {
            if (options.Has(row.name)) {
                entries.push_back({row.name, {}});
            }
        } else if (options.Has(row.name)) {
            for (const std::string& text : options.Values(row.name)) {
                entries.push_back({row.name, text});
            }
        }
    }
    read.materialsFile = options.Value("materials-file");
    if (const std::optional<std::string> celsius = options.Value("temperature")) {
        const std::optional<double> temperature = TemperatureOf(*celsius);
        if (!temperature) {
            read.optionProblem = TemperatureProblem(*celsius);
            return read;
        }
        read.temperature = temperature;
        // The file's materials first, then every standard's, at the temperature.
        read.reading =
            springcalc::ReadSearchRequest(entries, MaterialsAtTemperature(own, *temperature));
        return read;
    }
    read.reading = springcalc::ReadSearchRequest(entries, own);
    return read;
}

std::optional<SearchRequest> ReadSearchRequest(const std::vector<std::string>& args,
                                               std::string& problem) {
    SearchArguments read = ReadSearchArguments(args);
    problem = read.help                     ? std::string()
              : !read.optionProblem.empty() ? read.optionProblem
                                            : SearchFaultText(read.reading.fault);
    return std::move(read.reading.request);
}

ProgressLine::ProgressLine(CliIo& io) : io_(io), start_(io.seconds()) {}

bool ProgressLine::Show(const SearchProgress& p) {
    const double elapsed = io_.seconds() - start_;
    if (elapsed >= kSearchSeconds) {
        return false;
    }
    if (!io_.errIsTerminal || elapsed < kProgressAfter) {
        return true;
    }
    std::string line =
        std::string(p.widening ? "searching with wider proportions: " : "searching: ") +
        std::to_string(p.wiresDone) + " of " + std::to_string(p.wiresTotal) + " wire sizes, " +
        std::to_string(p.springsFound) + (p.springsFound == 1 ? " spring" : " springs") + " so far";
    if (line == text_) {
        return true;  // a terminal is slow: only what changed
    }
    text_ = line;
    // Blanks over what is left of a longer line before.
    const size_t width = line.size();
    line.append(shown_ > width ? shown_ - width : 0, ' ');
    io_.err << '\r' << line << std::flush;
    shown_ = width;
    return true;
}

void ProgressLine::Clear() {
    if (shown_ > 0) {
        io_.err << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
        shown_ = 0;
    }
}

int RunSearchCommand(const std::vector<std::string>& args, CliIo& io) {
    SearchArguments read = ReadSearchArguments(args);
    // The file's materials are names --materials takes: read it, then the options again.
    if (!read.help && read.optionProblem.empty() && read.materialsFile) {
        const auto own = ReadMaterialsOption(*read.materialsFile, io);
        if (!own) {
            return kExitBadInput;
        }
        read = ReadSearchArguments(args, *own);
    }
    if (read.help) {
        io.out << kSearchHelp;
        return kExitClean;
    }
    const std::optional<SearchRequest>& request = read.reading.request;
    if (!request) {
        const std::string problem =
            !read.optionProblem.empty() ? read.optionProblem : SearchFaultText(read.reading.fault);
        io.err << kProgramName << " search: " << problem << "\nTry \"" << kProgramName
               << " search --help\".\n";
        return kExitBadInput;
    }
    DesignRunner runner(io.clock);
    ProgressLine progress(io);
    const SearchResult result =
        SearchDesigns(*request, runner, [&](const SearchProgress& p) { return progress.Show(p); });
    progress.Clear();
    WriteSearchResult(io.out, *request, result);
    // The window's nine materials keep their tables' figures at any temperature: say so.
    if (read.temperature && *read.temperature != kRoomTemperature && !request->materials.empty()) {
        std::string names;
        for (const int material : request->materials) {
            names += (names.empty() ? "" : ", ") + MaterialDesignation(material);
        }
        io.out << names << ": the window's tables, G and E at 20 °C (--temperature changes those "
               << "of the wire standards and your own materials only).\n";
    }
    return result.metCount > 0 ? kExitClean : kExitFlagged;
}

}  // namespace springcalc::cli
