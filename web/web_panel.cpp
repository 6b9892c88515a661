// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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
    texts.free = PageWords("diagramFree");
    texts.installed = PageWords("diagramInstalled");
    texts.operating = PageWords("diagramOperating");
    texts.limit = springKind == kCompression ? PageWords("diagramCompressionLimit")
                                             : PageWords("diagramExtensionLimit");
    texts.solidLength = PageWords("diagramSolid");
    texts.shortestClear = PageWords("diagramShortestClear");
    texts.initialTension = PageWords("diagramInitialTension");
    texts.allowableLoad = PageWords("diagramAllowableLoad");
    texts.hookLimit = PageWords("diagramHookLimit");
    texts.setLimit = PageWords("diagramSetLimit");
    texts.figureSeparator = PageWords("listSeparator");
    texts.lengthAxis = PageWords("diagramLengthAxis");
    texts.loadAxis = PageWords("diagramLoadAxis");
    texts.nameSeparator = PageWords("diagramNameSeparator");
    texts.compressionSpring = PageWords("diagramCompression");
    texts.extensionSpring = PageWords("diagramExtension");
    return texts;
}

std::string Row(std::string_view label, std::string_view value) {
    return JsonObject().Text("label", label).Text("value", value).Close();
}

// A range's end as the form shows it: the shortest decimal, never an exponent at these sizes.
std::string ShortNumber(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string CandidateRow(const Candidate& candidate) {
    const DesignInput& in = candidate.input;
    const TSpringDesign& record = candidate.outcome.record;
    std::string warnings;
    std::vector<int> numbers = DistinctWarnings(candidate.outcome.warnings);
    numbers.insert(numbers.end(), candidate.serviceWarnings.begin(),
                   candidate.serviceWarnings.end());
    // The numbers as the window's warning list counts them, each with its words for a tooltip
    // and a screen reader: a bare number means nothing to a newcomer.
    JsonArray said;
    for (const int warning : numbers) {
        warnings += (warnings.empty() ? "" : " ") + std::to_string(warning);
        said.Raw(
            JsonObject().Number("number", warning).Text("text", WarningTextOf(warning)).Close());
    }
    JsonArray cells;
    for (const std::string& cell :
         {MaterialDesignation(in.materialNo), WireDesignation(in.wireNo), FixedText(in.meanDia, 1),
          FixedText(in.turns, 1), FixedText(record.FreeLen, 1), FixedText(in.setLen, 1),
          FixedText(in.workLen, 1), FixedText(record.OuterDia, 2), FixedText(record.InnerDia, 2),
          FixedText(record.SpringRate, 3), FixedText(candidate.stressRatio * 100.0, 1),
          FixedText(candidate.massGrams, 2), warnings}) {
        cells.Raw(JsonString(cell));
    }
    return JsonObject().Raw("cells", cells.Close()).Raw("warnings", said.Close()).Close();
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
        rows.Raw(Row(PageWords("slenderness"), FixedText(c.slenderness, 2)));
        rows.Raw(Row(PageWords("criticalDeflection"),
                     c.criticalDeflection ? FixedText(*c.criticalDeflection, 1, " mm")
                                          : std::string(PageWords("noBuckling"))));
        rows.Raw(Row(PageWords("workDeflection"), FixedText(c.workDeflection, 1, " mm")));
        rows.Raw(
            Row(PageWords("buckling"), c.bucklingRisk ? kBucklingWarningText : PageWords("none")));
        rows.Raw(Row(PageWords("surgeFrequency"), FixedText(c.surgeFrequency, 0, " Hz")));
    }
    rows.Raw(Row(PageWords("energy"), FixedText(figures.energy, 2, PageWords("energyUnit"))));
    rows.Raw(Row(PageWords("activeMass"), FixedText(figures.activeMass, 2, " g")));
    const StrengthFigures& s = figures.strength;
    rows.Raw(Row(PageWords("wahl"), FixedText(s.wahl, 3)));
    rows.Raw(Row(PageWords("correctedStresses"),
                 FixedText(s.correctedSetStress, 2, " ／ ") +
                     FixedText(s.correctedWorkStress, 2, PageWords("stressUnit"))));
    if (s.solid) {
        rows.Raw(Row(PageWords("solidStress"),
                     FixedText(s.solid->stress, 2, " (") +
                         FixedText(s.solid->correctedStress, 2, PageWords("stressUnitClosed"))));
        rows.Raw(Row(PageWords("solidSet"),
                     s.solid->takesSet ? kServiceWarningTexts[kSolidSetWarning - kBucklingWarning]
                                       : PageWords("none")));
    }
    if (s.hook) {
        const HookFigures& h = *s.hook;
        rows.Raw(Row(PageWords("hookBending"),
                     FixedText(h.bendingStress, 2, " ／ ") +
                         FixedText(h.bendingAllowable, 2, PageWords("stressUnit"))));
        rows.Raw(Row(PageWords("hookTorsion"),
                     FixedText(h.torsionStress, 2, " ／ ") +
                         FixedText(h.torsionAllowable, 2, PageWords("stressUnit"))));
        rows.Raw(Row(PageWords("hook"), h.overAllowable
                                            ? kServiceWarningTexts[kHookWarning - kBucklingWarning]
                                            : PageWords("withinAllowable")));
    }
    rows.Raw(Row(PageWords("fatigueSafety"), s.fatigue.safety
                                                 ? FixedText(*s.fatigue.safety, 2)
                                                 : std::string(PageWords("noFatigueData"))));
    const MakerFigures& m = figures.maker;
    if (m.coils) {
        const CoilFigures& c = *m.coils;
        rows.Raw(Row(PageWords("pitchRatio"),
                     FixedText(c.pitch, 2, " mm ／ ") + FixedText(c.pitchRatio, 2)));
        rows.Raw(Row(PageWords("pitch"),
                     c.pitchOver ? WarningTextOf(kPitchWarning) : PageWords("pitchWithin")));
        rows.Raw(Row(PageWords("gapSums"),
                     FixedText(c.gapSum, 2, " ／ ") + FixedText(c.minGapSum, 2, " mm")));
        rows.Raw(Row(PageWords("strokeShare"), FixedText(c.strokeShare * 100.0, 0, " %")));
        rows.Raw(Row(PageWords("coilClearance"), c.clearanceShort
                                                     ? WarningTextOf(kCoilClearanceWarning)
                                                     : PageWords("clearanceEnough")));
    }
    if (m.initialTension) {
        const InitialTensionFigures& t = *m.initialTension;
        rows.Raw(Row(PageWords("initialStress"),
                     FixedText(t.stress, 2, " ／ ") + FixedText(t.low, 2, "〜") +
                         FixedText(t.high, 2, PageWords("stressUnit"))));
        rows.Raw(Row(PageWords("initialTension"), t.outside ? WarningTextOf(kInitialTensionWarning)
                                                            : PageWords("initialWithin")));
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

std::string SearchFormJson() {
    const auto kindsName = [](FieldKinds kinds) {
        return kinds == FieldKinds::Compression ? "compression"
               : kinds == FieldKinds::Extension ? "extension"
                                                : "both";
    };
    static constexpr const char* kForms[] = {"flag",   "number",    "load",  "number",
                                             "choice", "materials", "number"};
    JsonArray fields;
    for (const SearchFieldRow& row : kSearchFields) {
        if (row.restatesDefault) {
            continue;  // the form offers the default as it stands
        }
        JsonArray labels;
        for (int box = 1; box <= row.most; ++box) {
            const std::string key =
                row.most > 1 ? std::string(row.name) + std::to_string(box) : std::string(row.name);
            labels.Raw(JsonString(PageText(key)));
        }
        JsonArray choices;
        for (const std::string_view name : SearchChoices(row.field)) {
            const std::string label =
                row.field == SearchField::Ends
                    ? std::string(EndConditionOf(*EndConditionNamed(name)).japanese)
                    : std::string(PageText(name));
            choices.Raw(JsonObject().Text("name", name).Text("label", label).Close());
        }
        fields.Raw(JsonObject()
                       .Text("name", row.name)
                       .Text("form", kForms[static_cast<size_t>(row.form)])
                       .Text("kinds", kindsName(row.kinds))
                       .Raw("labels", labels.Close())
                       .Raw("choices", choices.Close())
                       // A choice left at its default is not sent, as the command line leaves
                       // the option out: --ends and --allow-buckling may not both be given.
                       .Flag("firstIsDefault",
                             row.form == FieldForm::Choice && row.field != SearchField::Kind)
                       .Close());
    }
    JsonArray materials;
    for (int m = 0; m < kMaterialCount; ++m) {
        materials.Raw(JsonString(MaterialDesignation(m)));
    }
    return JsonObject().Raw("fields", fields.Close()).Raw("materials", materials.Close()).Close();
}

SearchReading ReadSearchForm(const std::vector<SearchFormEntry>& form) {
    std::vector<SearchEntry> entries;
    entries.reserve(form.size());
    for (const SearchFormEntry& entry : form) {
        entries.push_back({entry.name, entry.text});
    }
    return ReadSearchRequest(entries);
}

std::string SearchFaultJa(const SearchFault& fault, const std::vector<SearchFormEntry>& form) {
    using What = SearchFault::What;
    const auto label = [&](SearchField field) {
        std::string key(SearchFieldOf(field).name);
        if (SearchFieldOf(field).most > 1) {
            // The box the faulty entry came from: the index-th of the field's entries sent.
            int slot = fault.index, seen = 0;
            for (const SearchFormEntry& entry : form) {
                if (entry.name == key && seen++ == fault.index) {
                    slot = entry.slot;
                }
            }
            key += std::to_string(slot + 1);
        }
        return std::string("「") + PageText(key) + "」";
    };
    const bool compression = fault.springKind == kCompression;
    switch (fault.what) {
        case What::None:
            return {};
        case What::BadValue: {
            const SearchFieldRow& row = SearchFieldOf(fault.field);
            if (row.form == FieldForm::Choice) {
                return PageWords("badChoice") + label(fault.field);
            }
            return PageWords("badNumber") + label(fault.field) + "（" + ShortNumber(row.range.min) +
                   "〜" + ShortNumber(row.range.max) + "）";
        }
        case What::WrongKind:
            return label(fault.field) + PageText(compression ? "forExtension" : "forCompression");
        case What::LoadCount:
        case What::RateMissing:
            return PageWords("needLoadOrRate");
        case What::RateWithTwoLoads:
            return PageWords("rateWithTwoLoads");
        case What::LoadsEqual:
            return PageWords("loadsEqual");
        case What::WrongWay:
            return PageText(compression ? "wrongWayCompression" : "wrongWayExtension");
        case What::NoMaterial:
            return PageWords("noMaterial");
        case What::UnknownMaterial:
            return "「" + fault.text + "」" + PageWords("unknownMaterial");
        case What::Contradicts:
            return label(fault.field) + PageWords("and") + label(fault.other) +
                   PageWords("together");
        case What::NeedsRepeated:
            return label(fault.field) + PageWords("needsRepeated");
        case What::UnknownField:
        case What::Repeated:
        case What::KindMissing:
            break;
    }
    // The page sends only its own fields, once each: a fault of the page itself.
    return PageWords("formFault") + std::string(SearchFieldOf(fault.field).name) + " " + fault.text;
}

std::string SearchJson(const std::vector<SearchFormEntry>& form, std::vector<DesignInput>& found,
                       const SearchProgressFn& progress) {
    found.clear();
    const SearchReading reading = ReadSearchForm(form);
    if (!reading.request) {
        return JsonObject().Text("error", SearchFaultJa(reading.fault, form)).Close();
    }
    DesignRunner runner;
    const SearchResult result = SearchDesigns(*reading.request, runner, progress);
    const std::vector<Candidate>& shown = result.metCount > 0 ? result.best : result.closest;
    JsonArray rows;
    for (const Candidate& candidate : shown) {
        rows.Raw(CandidateRow(candidate));
        found.push_back(candidate.input);
    }
    return JsonObject()
        .Number("met", static_cast<long long>(result.metCount))
        .Raw("rows", rows.Close())
        .Close();
}

}  // namespace springcalc::web
