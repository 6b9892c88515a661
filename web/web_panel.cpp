// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "diagram/load_diagram.h"
#include "engine/catalogue.h"
#include "engine/initial_tension.h"
#include "engine/spring_tables.h"
#include "engine/text_format.h"
#include "web/json_text.h"
#include "web/page_texts.h"

namespace springcalc::web {

namespace {

DiagramTexts JapaneseTexts(std::int32_t springKind) {
    DiagramTexts texts;
    texts.free = "自由長";
    texts.installed = "取付長";
    texts.operating = "作動長";
    texts.limit = springKind == kCompression ? "許容圧縮長" : "許容引張長";
    texts.solidLength = "圧縮端長";
    texts.initialTension = "初張力";
    texts.allowableLoad = "静荷重許容応力での荷重";
    texts.hookLimit = "フック許容応力での荷重";
    texts.setLimit = "密着時の荷重 (へたりが生じる)";
    texts.figureSeparator = "、";
    texts.lengthAxis = "長さ (mm)";
    texts.loadAxis = "荷重 (kg)";
    texts.nameSeparator = " — ";
    texts.compressionSpring = "、圧縮コイルばね";
    texts.extensionSpring = "、引張コイルばね";
    return texts;
}

std::string Row(std::string_view label, std::string_view value) {
    return JsonObject().Text("label", label).Text("value", value).Close();
}

// The ranges the command line's search accepts, for the same options.
struct Range {
    double low, high;
};
constexpr Range kLoadRange{kLeastLoad, kMostLoad};
constexpr Range kLengthRange{0.1, 10000};
constexpr Range kRateRange{kLeastRate, kMostRate};
constexpr Range kIndexRange{4, kWidestSpringIndex};
constexpr Range kTolerancePercent{0.01, 99};
constexpr Range kTopRange{1, 1000};
constexpr Range kSlendernessRange{0.5, 100};
constexpr Range kFrequencyRange{1, 100000};
constexpr Range kTurnsRange{kSmallestTurns, 100};
constexpr Range kFatigueRange{0.1, 10};

// A number typed in the form: empty when nothing was typed, `bad` set when it is not a number in
// its range.
std::optional<double> Number(const std::string& text, Range range, bool& bad) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value) || value < range.low ||
        value > range.high) {
        bad = true;
        return std::nullopt;
    }
    return value;
}

std::string Error(std::string_view key, std::string_view detail = {}) {
    return JsonObject().Text("error", key).Text("detail", detail).Close();
}

std::string CandidateRow(const Candidate& candidate) {
    const DesignInput& in = candidate.input;
    const TSpringDesign& record = candidate.outcome.record;
    std::string warnings;
    std::vector<int> numbers = DistinctWarnings(candidate.outcome.warnings);
    numbers.insert(numbers.end(), candidate.serviceWarnings.begin(),
                   candidate.serviceWarnings.end());
    for (const int warning : numbers) {
        warnings += (warnings.empty() ? "" : " ") + std::to_string(warning);
    }
    JsonArray cells;
    for (const std::string& cell :
         {MaterialDesignation(in.materialNo), WireDesignation(in.wireNo), FixedText(in.meanDia, 1),
          FixedText(in.turns, 1), FixedText(record.FreeLen, 1), FixedText(in.setLen, 1),
          FixedText(in.workLen, 1), FixedText(record.OuterDia, 2), FixedText(record.InnerDia, 2),
          FixedText(record.SpringRate, 3), FixedText(candidate.stressRatio * 100.0, 1, " %"),
          FixedText(candidate.massGrams, 2), warnings}) {
        cells.Raw(JsonString(cell));
    }
    return JsonObject()
        .Raw("cells", cells.Close())
        .Flag("meets", candidate.shortfalls.empty())
        .Close();
}

}  // namespace

std::string DiagramSvgJa(const TSpringDesign& design) {
    const StrengthFigures strength = ComputeStrengthFigures(design);
    return LoadDiagramSvg(design, "", JapaneseTexts(design.SpringKind), &strength);
}

std::string FiguresJson(const TSpringDesign& design) {
    const ServiceFigures figures = ComputeServiceFigures(design);
    JsonArray rows;
    if (figures.compression) {
        const CompressionFigures& c = *figures.compression;
        rows.Raw(Row("縦横比 λ (自由長／D)", FixedText(c.slenderness, 2)));
        rows.Raw(Row("座屈が始まるたわみ (両端固定)",
                     c.criticalDeflection ? FixedText(*c.criticalDeflection, 1, " mm")
                                          : std::string("座屈しない")));
        rows.Raw(Row("作動長までのたわみ", FixedText(c.workDeflection, 1, " mm")));
        rows.Raw(Row("座屈", c.bucklingRisk ? kBucklingWarningText : "なし"));
        rows.Raw(Row("サージング振動数 (両端固定)", FixedText(c.surgeFrequency, 0, " Hz")));
    }
    rows.Raw(Row("取付長から作動長までのエネルギー", FixedText(figures.energy, 2, " kgf·mm")));
    rows.Raw(Row("有効巻部の質量", FixedText(figures.activeMass, 2, " g")));
    const StrengthFigures& s = figures.strength;
    rows.Raw(Row("応力修正係数 K (Wahl)", FixedText(s.wahl, 3)));
    rows.Raw(Row("修正応力 取付時／作動時", FixedText(s.correctedSetStress, 2, " ／ ") +
                                                FixedText(s.correctedWorkStress, 2, " kg/mm²")));
    if (s.solid) {
        rows.Raw(
            Row("密着時の応力 (修正)", FixedText(s.solid->stress, 2, " (") +
                                           FixedText(s.solid->correctedStress, 2, ") kg/mm²")));
        rows.Raw(Row("密着時のへたり",
                     s.solid->takesSet ? kServiceWarningTexts[kSolidSetWarning - kBucklingWarning]
                                       : "なし"));
    }
    if (s.hook) {
        const HookFigures& h = *s.hook;
        rows.Raw(Row("フック曲げ応力／許容", FixedText(h.bendingStress, 2, " ／ ") +
                                                 FixedText(h.bendingAllowable, 2, " kg/mm²")));
        rows.Raw(Row("フックねじり応力／許容", FixedText(h.torsionStress, 2, " ／ ") +
                                                   FixedText(h.torsionAllowable, 2, " kg/mm²")));
        rows.Raw(Row("フック", h.overAllowable
                                   ? kServiceWarningTexts[kHookWarning - kBucklingWarning]
                                   : "許容応力以内"));
    }
    rows.Raw(Row("疲労安全率 (Goodman、ショットピーニングなし)",
                 s.fatigue.safety ? FixedText(*s.fatigue.safety, 2)
                                  : std::string("線径10 mm以上はデータなし")));
    const MakerFigures& m = figures.maker;
    if (m.coils) {
        const CoilFigures& c = *m.coils;
        rows.Raw(Row(PageText("pitchRatio"),
                     FixedText(c.pitch, 2, " mm ／ ") + FixedText(c.pitchRatio, 2)));
        rows.Raw(Row(PageText("pitch"),
                     c.pitchOver ? WarningTextOf(kPitchWarning) : PageText("pitchWithin")));
        rows.Raw(Row(PageText("gapSums"),
                     FixedText(c.gapSum, 2, " ／ ") + FixedText(c.minGapSum, 2, " mm")));
        rows.Raw(Row(PageText("strokeShare"), FixedText(c.strokeShare * 100.0, 0, " %")));
        rows.Raw(Row(PageText("coilClearance"), c.clearanceShort
                                                    ? WarningTextOf(kCoilClearanceWarning)
                                                    : PageText("clearanceEnough")));
    }
    if (m.initialTension) {
        const InitialTensionFigures& t = *m.initialTension;
        rows.Raw(Row(PageText("initialStress"), FixedText(t.stress, 2, " ／ ") +
                                                    FixedText(t.low, 2, "〜") +
                                                    FixedText(t.high, 2, " kg/mm²")));
        rows.Raw(Row(PageText("initialTension"), t.outside ? WarningTextOf(kInitialTensionWarning)
                                                           : PageText("initialWithin")));
    }
    return rows.Close();
}

std::optional<TSpringDesign> WithGivenInitialTension(const DesignInput& design,
                                                     std::string_view text, std::string& error) {
    error.clear();
    if (text.find_first_not_of(" \t") == std::string_view::npos ||
        design.springKind != kExtension) {
        return std::nullopt;
    }
    const InitialTensionReading reading = ReadInitialTension(text);
    if (!reading.given) {
        error = "badInitialTension";
        return std::nullopt;
    }
    DesignInput given = design;
    given.initialTension = InitialTensionFor(*reading.given, design);
    DesignRunner runner;
    const Outcome& outcome = runner.Run(given);
    return outcome.analysed ? std::optional<TSpringDesign>(outcome.record) : std::nullopt;
}

std::string SearchChoicesJson() {
    JsonArray materials;
    for (int m = 0; m < kMaterialCount; ++m) {
        materials.Raw(JsonString(MaterialDesignation(m)));
    }
    JsonArray ends;
    for (const EndConditionRow& row : kEndConditions) {
        ends.Raw(JsonObject().Text("name", row.name).Text("label", row.japanese).Close());
    }
    return JsonObject()
        .Raw("materials", materials.Close())
        .Raw("ends", ends.Close())
        .Text("defaultEnds", EndConditionOf(kDefaultEnds).name)
        .Close();
}

std::string SearchJson(const SearchForm& form, std::vector<DesignInput>& found) {
    found.clear();
    SearchRequest request;
    request.springKind = form.kind == kExtension ? kExtension : kCompression;
    const char* badKey = nullptr;
    const auto number = [&badKey](const std::string& text, Range range, const char* key) {
        bool bad = false;
        std::optional<double> value = Number(text, range, bad);
        if (bad && !badKey) {
            badKey = key;
        }
        return value;
    };
    const auto installedLoad = number(form.installedLoad, kLoadRange, "installedPoint");
    const auto installedLength = number(form.installedLength, kLengthRange, "installedPoint");
    const auto operatingLoad = number(form.operatingLoad, kLoadRange, "operatingPoint");
    const auto operatingLength = number(form.operatingLength, kLengthRange, "operatingPoint");
    const auto rate = number(form.rate, kRateRange, "rate");
    request.maxOuterDia = number(form.maxOuterDia, kLengthRange, "maxOuterDia");
    request.minInnerDia = number(form.minInnerDia, kLengthRange, "minInnerDia");
    request.maxFreeLen = number(form.maxFreeLen, kLengthRange, "maxFreeLen");
    request.maxSpringIndex =
        number(form.maxSpringIndex, kIndexRange, "maxSpringIndex").value_or(kDefaultMaxSpringIndex);
    const auto tolerance = number(form.tolerance, kTolerancePercent, "tolerance");
    const auto top = number(form.top, kTopRange, "top");
    if (request.springKind == kCompression) {
        request.maxSlenderness = number(form.maxSlenderness, kSlendernessRange, "maxSlenderness");
        request.minFrequency = number(form.minFrequency, kFrequencyRange, "minFrequency");
        request.allowBuckling = form.allowBuckling;
    } else {
        request.strength.hookRadius = number(form.hookRadius, kLengthRange, "hookRadius");
    }
    request.minTurns = number(form.minTurns, kTurnsRange, "minTurns").value_or(kDefaultMinTurns);
    const auto minFatigue = number(form.minFatigue, kFatigueRange, "minFatigue");
    request.repeated = form.repeated || minFatigue;
    request.minFatigue = minFatigue.value_or(request.minFatigue);
    request.strength.peened = form.peened;
    if (badKey) {
        return Error("badNumber", badKey);
    }
    if (top && *top != std::floor(*top)) {
        return Error("badNumber", "top");
    }
    if (!installedLoad || !installedLength) {
        return Error("badNumber", "installedPoint");
    }
    request.installed = {*installedLoad, *installedLength};
    if (operatingLoad && operatingLength && !rate) {
        if (SetLoadPoints(request, request.installed, {*operatingLoad, *operatingLength}) !=
            LoadPointsFault::None) {
            return Error("badNumber", "operatingPoint");
        }
    } else if (rate && !operatingLoad && !operatingLength) {
        request.rate = *rate;
    } else {
        return Error("badNumber", "operatingPoint");
    }
    if (const auto ends = EndConditionNamed(form.ends)) {
        request.ends = *ends;
    }
    for (size_t start = 0; start < form.materials.size();) {
        const size_t comma = std::min(form.materials.find(',', start), form.materials.size());
        if (const auto material = MaterialNamed(form.materials.substr(start, comma - start))) {
            request.materials.push_back(*material);
        }
        start = comma + 1;
    }
    if (form.materials.empty()) {
        for (int m = 0; m < kMaterialCount; ++m) {
            request.materials.push_back(m);
        }
    } else if (request.materials.empty()) {
        return Error("noMaterial");
    }
    request.tolerance = tolerance ? *tolerance / 100.0 : request.tolerance;
    request.top = top ? static_cast<int>(*top) : request.top;
    request.order = form.byMass ? SearchOrder::Mass : SearchOrder::Stress;
    request.listing = form.every ? SearchListing::Every : SearchListing::BestPerWire;

    DesignRunner runner;
    const SearchResult result = SearchDesigns(request, runner);
    const std::vector<Candidate>& shown = result.metCount > 0 ? result.best : result.closest;
    JsonArray rows;
    for (const Candidate& candidate : shown) {
        rows.Raw(CandidateRow(candidate));
        found.push_back(candidate.input);
    }
    return JsonObject()
        .Number("met", static_cast<long long>(result.metCount))
        .Number("grid", static_cast<long long>(result.gridCount))
        .Raw("rows", rows.Close())
        .Close();
}

}  // namespace springcalc::web
