// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>

#include "cli/input_values.h"
#include "cli/option_scanner.h"
#include "cli/search.h"
#include "engine/catalogue.h"
#include "engine/spring_tables.h"

namespace springcalc::cli {

constexpr const char* kSearchHelp =
    R"(Usage: springcalc-cli search --kind compression|extension --load P@L
                             (--load P@L | --rate K) [options]

Finds designs with standard wire sizes that give the loads asked for, and prints the best.

Requirement:
  --kind KIND          compression or extension
  --load P@L           a load of P kg (0.001 to 10000) at a length of L mm (0.1 to 10000),
                       such as 5@40; give two load points, or one and --rate. The lighter
                       load becomes the installed length (set), the heavier the operating
                       length (work).
  --rate K             spring rate in kg/mm, 0.0001 to 1000, with a single --load
Limits:
  --max-od MM          outer diameter at most MM (0.1 to 10000)
  --min-id MM          inner diameter at least MM (0.1 to 10000)
  --max-free-len MM    free length at most MM (0.1 to 10000; for an extension spring, the
                       derived one)
  --materials LIST     comma-separated designations or numbers, such as SWPA,SUS304-WPB
                       (default: all nine)
  --max-index C        the largest spring index D/d to try, 4 to 30 (default 22, the usual
                       upper end for wound springs)
  --max-slenderness X  slenderness, free length / D, at most X (0.5 to 100)
  --min-frequency F    natural (surge) frequency, both ends fixed, at least F Hz (1 to
                       100000)
  --no-buckling        no risk of buckling at the operating length (no warning 8 of
                       check), with the ends of --ends
  --ends NAME          with --no-buckling, how the ends are held: fixed-fixed (the default),
                       fixed-guided, pinned-pinned, fixed-pinned or fixed-free
                       These four are for compression springs: with --kind extension they
                       are refused.
Output:
  --tolerance PCT      how far each load may miss its target, in percent of the target,
                       0.01 to 99 (default 5)
  --top N              how many designs to print, 1 to 1000 (default 10)
  --by stress|mass     the order (default stress)
  -h, --help           show this text

How candidates are made. For every chosen material and every wire size d made in it, the
mean diameter D runs over a 0.1 mm grid from D/d = 4 up to --max-index. The active turns
follow from the rate, n = G d^4 / (8 k D^3), rounded to the nearest 0.5 (at least 0.5).
The free length of a compression spring is chosen to 0.1 mm so that the two loads miss
their targets by the same fraction, one above and one below (with --rate: so that the one
load is met); an extension spring's free length and initial tension follow from D, n and d,
as in the window. Each design of the grid goes through the window's engine (lookup, checks,
Run) unless a quick estimate shows that it fails a requirement by far more than rounding
could explain; what is kept, every number shown and the order come from the engine.

Which are kept. No warning 1, 2, 5, 6 or 7 (warnings 3 and 4 are shown but allowed); every
load within the tolerance, |P - target| <= tolerance x target, at its length (with --rate:
the load and the rate); inside every limit given. Slenderness, surge frequency and buckling
are judged on the figures check shows for the design, after the engine has run it; the
quick estimate leaves them out, so they never keep a design from the engine.

Order. --by stress (default): the least stressed first, by the higher of the stresses at the
installed and operating lengths over the static allowable stress. --by mass: the lightest
wire first, the whole wire with its end turns (the mass column; check's active-mass counts
the active turns only): density x (pi d^2 / 4) x pi D x coils, with n + 2 coils for a
compression spring (a closed turn at each end) and n + 3 for an extension spring (one more
body turn and two hooks of about one turn each), 7.85 g/cm^3 for the steels and 7.93 g/cm^3
for the stainless grades. Ties go by the other measure, then by material, wire size and D.

When nothing is kept, it says so and shows the closest candidates with what keeps each out.
Closest means the least shortfall in all, each shortfall counted as a fraction of what was
asked: a load beyond the tolerance, a limit overstepped, the stress over the allowable, the
solid or free length over the lengths given, the deflection over the one that buckles it.

Exit status: 0 when designs were found, 1 when none meets the requirements, 2 for bad input
or output that cannot be written.
)";

namespace {

constexpr Range kLoadRange{0.001, 10000};

// A numeric option: its range, and what it takes, for the message that refuses a value.
struct NumberOption {
    const char* name;
    Range range;
    const char* what;
    bool whole = false;    // whole numbers only
    bool percent = false;  // a "%" after the number is allowed
};

// clang-format off
constexpr NumberOption kRate         {"rate",         {0.0001, 1000}, "a spring rate in kg/mm"};
constexpr NumberOption kMaxOuterDia  {"max-od",       kLengthRange,   "a length in mm"};
constexpr NumberOption kMinInnerDia  {"min-id",       kLengthRange,   "a length in mm"};
constexpr NumberOption kMaxFreeLen   {"max-free-len", kLengthRange,   "a length in mm"};
constexpr NumberOption kMaxIndex     {"max-index",    {4, 30},        "a spring index D/d (Run needs 4 or more)"};
constexpr NumberOption kTolerance    {"tolerance",    {0.01, 99},     "a percentage of the target load", false, true};
constexpr NumberOption kTop          {"top",          {1, 1000},      "a whole number of designs", true};
constexpr NumberOption kMaxSlenderness{"max-slenderness", {0.5, 100}, "a slenderness free length / D"};
constexpr NumberOption kMinFrequency {"min-frequency", {1, 100000},   "a frequency in Hz"};
// clang-format on

std::optional<double> NumberIn(std::string_view text, Range range, bool whole = false) {
    const std::optional<double> value = ParseDouble(text);
    if (!value || !range.Holds(*value) || (whole && *value != std::floor(*value))) {
        return std::nullopt;
    }
    return value;
}

// The option's value, left as it is when the option is not given; false, with the problem,
// for a value that is not a number in its range.
bool ReadNumber(const ScannedOptions& options, const NumberOption& option, auto& value,
                std::string& problem) {
    const std::optional<std::string> text = options.Value(option.name);
    if (!text) {
        return true;
    }
    const std::string_view number = option.percent && text->ends_with('%')
                                        ? std::string_view(*text).substr(0, text->size() - 1)
                                        : std::string_view(*text);
    const std::optional<double> read = NumberIn(number, option.range, option.whole);
    if (!read) {
        problem = std::string("--") + option.name + " takes " + option.what + " " +
                  RangeText(option.range) + ", not \"" + *text + "\"";
        return false;
    }
    value = *read;
    return true;
}

// Fills request.installed, operating and rate from the load points and the rate.
bool ReadLoads(const ScannedOptions& options, SearchRequest& request, std::string& problem) {
    std::vector<LoadPoint> points;
    for (const std::string& text : options.Values("load")) {
        const size_t at = std::min(text.find('@'), text.size());
        const auto load = NumberIn(std::string_view(text).substr(0, at), kLoadRange);
        const auto length = at < text.size()
                                ? NumberIn(std::string_view(text).substr(at + 1), kLengthRange)
                                : std::nullopt;
        if (!load || !length) {
            problem = "--load takes LOAD@LENGTH such as 5@40 (5 kg at 40 mm), a load " +
                      RangeText(kLoadRange) + " kg at a length " + RangeText(kLengthRange) +
                      " mm, not \"" + text + "\"";
            return false;
        }
        points.push_back({*load, *length});
    }
    const std::optional<std::string> rateText = options.Value("rate");
    if (points.empty() || points.size() > 2) {
        problem = "give one --load with --rate, or two --load";
        return false;
    }
    if (points.size() == 1) {
        if (!rateText) {
            problem = "with a single --load, give the spring rate with --rate";
            return false;
        }
        request.installed = points[0];
        return ReadNumber(options, kRate, request.rate, problem);
    }
    if (rateText) {
        problem = "two --load points fix the rate already; give --rate with a single --load";
        return false;
    }
    std::sort(points.begin(), points.end(),
              [](const LoadPoint& a, const LoadPoint& b) { return a.load < b.load; });
    const LoadPoint& lighter = points[0];
    const LoadPoint& heavier = points[1];
    if (lighter.load == heavier.load || lighter.length == heavier.length) {
        problem = "the two --load points need different loads at different lengths";
        return false;
    }
    const bool compression = request.springKind == kCompression;
    const double travel =
        compression ? lighter.length - heavier.length : heavier.length - lighter.length;
    if (travel <= 0.0) {
        problem = compression
                      ? "a compression spring carries the heavier load at the shorter length"
                      : "an extension spring carries the heavier load at the longer length";
        return false;
    }
    request.installed = lighter;
    request.operating = heavier;
    request.rate = (heavier.load - lighter.load) / travel;
    return true;
}

bool ReadMaterials(const ScannedOptions& options, SearchRequest& request, std::string& problem) {
    const std::optional<std::string> list = options.Value("materials");
    if (!list) {
        for (int m = 0; m < kMaterialCount; ++m) {
            request.materials.push_back(m);
        }
        return true;
    }
    size_t start = 0;
    while (start <= list->size()) {
        const size_t comma = std::min(list->find(',', start), list->size());
        const std::string item = list->substr(start, comma - start);
        const std::optional<int> material = MaterialNamed(item);
        if (!material) {
            problem = "--materials: \"" + item + "\" is not a material; the materials are " +
                      MaterialList() + ", or their numbers 0 to 8";
            return false;
        }
        if (std::find(request.materials.begin(), request.materials.end(), *material) ==
            request.materials.end()) {
            request.materials.push_back(*material);
        }
        start = comma + 1;
    }
    return true;
}

// The limits on the figures in service: compression springs only.
bool ReadServiceLimits(const ScannedOptions& options, SearchRequest& request,
                       std::string& problem) {
    if (request.springKind == kExtension) {
        for (const char* name : {"max-slenderness", "min-frequency", "no-buckling", "ends"}) {
            if (options.Has(name)) {
                problem = std::string("--") + name +
                          " is for compression springs; an extension spring neither buckles "
                          "nor has its surge frequency checked here";
                return false;
            }
        }
    }
    request.noBuckling = options.Has("no-buckling");
    if (const auto text = options.Value("ends")) {
        const std::optional<EndCondition> ends = EndsNamed(*text, problem);
        if (!ends) {
            return false;
        }
        if (!request.noBuckling) {
            problem = "--ends says how the ends are held for --no-buckling; give both";
            return false;
        }
        request.ends = *ends;
    }
    return ReadNumber(options, kMaxSlenderness, request.maxSlenderness, problem) &&
           ReadNumber(options, kMinFrequency, request.minFrequency, problem);
}

bool ReadOrder(const ScannedOptions& options, SearchRequest& request, std::string& problem) {
    if (auto text = options.Value("by")) {
        if (*text == "stress") {
            request.order = SearchOrder::Stress;
        } else if (*text == "mass") {
            request.order = SearchOrder::Mass;
        } else {
            problem = "--by takes \"stress\" or \"mass\", not \"" + *text + "\"";
            return false;
        }
    }
    return true;
}

const std::vector<OptionSpec> kSearchOptions = {
    {"kind", true},          {"load", true, true},   {"rate", true},      {"max-od", true},
    {"min-id", true},        {"max-free-len", true}, {"max-index", true}, {"materials", true},
    {"tolerance", true},     {"top", true},          {"by", true},        {"max-slenderness", true},
    {"min-frequency", true}, {"no-buckling"},        {"ends", true},      {"help"},
};

}  // namespace

std::optional<SearchRequest> ReadSearchRequest(const std::vector<std::string>& args,
                                               std::string& problem) {
    const ScannedOptions options = ScanOptions(args, kSearchOptions);
    if (!options.error().empty()) {
        problem = options.error();
        return std::nullopt;
    }
    if (options.Has("help")) {
        problem.clear();  // no requirement, and nothing wrong: the help is asked for
        return std::nullopt;
    }
    if (!options.operands().empty()) {
        problem = "search takes options only, not \"" + options.operands()[0] + "\"";
        return std::nullopt;
    }
    SearchRequest request;
    const std::optional<std::string> kindText = options.Value("kind");
    const std::optional<std::int32_t> kind = kindText ? KindNamed(*kindText) : std::nullopt;
    if (!kind) {
        problem = "--kind takes \"compression\" or \"extension\"" +
                  (kindText ? ", not \"" + *kindText + "\"" : std::string(" and is required"));
        return std::nullopt;
    }
    request.springKind = *kind;
    std::optional<double> tolerancePercent;
    std::optional<double> top;
    if (!ReadLoads(options, request, problem) ||
        !ReadNumber(options, kMaxOuterDia, request.maxOuterDia, problem) ||
        !ReadNumber(options, kMinInnerDia, request.minInnerDia, problem) ||
        !ReadNumber(options, kMaxFreeLen, request.maxFreeLen, problem) ||
        !ReadNumber(options, kMaxIndex, request.maxSpringIndex, problem) ||
        !ReadNumber(options, kTolerance, tolerancePercent, problem) ||
        !ReadNumber(options, kTop, top, problem) || !ReadMaterials(options, request, problem) ||
        !ReadServiceLimits(options, request, problem) || !ReadOrder(options, request, problem)) {
        return std::nullopt;
    }
    request.tolerance = tolerancePercent ? *tolerancePercent / 100.0 : request.tolerance;
    request.top = top ? static_cast<int>(*top) : request.top;
    return request;
}

int RunSearchCommand(const std::vector<std::string>& args, CliIo& io) {
    std::string problem;
    const std::optional<SearchRequest> request = ReadSearchRequest(args, problem);
    if (!request && problem.empty()) {
        io.out << kSearchHelp;
        return kExitClean;
    }
    if (!request) {
        io.err << kProgramName << " search: " << problem << "\nTry \"" << kProgramName
               << " search --help\".\n";
        return kExitBadInput;
    }
    DesignRunner runner(io.clock);
    const SearchResult result = SearchDesigns(*request, runner);
    WriteSearchResult(io.out, *request, result);
    return result.metCount > 0 ? kExitClean : kExitFlagged;
}

}  // namespace springcalc::cli
