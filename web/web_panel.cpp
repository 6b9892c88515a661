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
#include "engine/tolerance_grades.h"
#include "web/json_text.h"
#include "web/page_words.h"
#include "web/spoken_fields.h"

namespace springcalc::web {

namespace {

DiagramTexts PageDiagramTexts(std::int32_t springKind) {
    DiagramTexts texts;
    texts.free = Words("diagramFree");
    texts.installed = Words("diagramInstalled");
    texts.operating = Words("diagramOperating");
    texts.limit = springKind == kCompression ? Words("diagramCompressionLimit")
                                             : Words("diagramExtensionLimit");
    texts.solidLength = Words("diagramSolid");
    texts.shortestClear = Words("diagramShortestClear");
    texts.initialTension = Words("diagramInitialTension");
    texts.allowableLoad = Words("diagramAllowableLoad");
    texts.hookLimit = Words("diagramHookLimit");
    texts.setLimit = Words("diagramSetLimit");
    texts.figureSeparator = Words("listSeparator");
    texts.lengthAxis = Words("diagramLengthAxis");
    texts.loadAxis = Words("diagramLoadAxis");
    texts.nameSeparator = Words("diagramNameSeparator");
    texts.compressionSpring = Words("diagramCompression");
    texts.extensionSpring = Words("diagramExtension");
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
            JsonObject().Number("number", warning).Text("text", WarningWords(warning)).Close());
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

std::string PanelDiagramSvg(const TSpringDesign& design) {
    const StrengthFigures strength = ComputeStrengthFigures(design);
    return LoadDiagramSvg(design, "", PageDiagramTexts(design.SpringKind), &strength);
}

std::string FiguresJson(const TSpringDesign& design) {
    const ServiceFigures figures = ComputeServiceFigures(design);
    JsonArray rows;
    if (figures.compression) {
        const CompressionFigures& c = *figures.compression;
        rows.Raw(Row(Words("slenderness"), FixedText(c.slenderness, 2)));
        rows.Raw(Row(Words("criticalDeflection"), c.criticalDeflection
                                                      ? FixedText(*c.criticalDeflection, 1, " mm")
                                                      : std::string(Words("noBuckling"))));
        rows.Raw(Row(Words("workDeflection"), FixedText(c.workDeflection, 1, " mm")));
        rows.Raw(Row(Words("buckling"), c.bucklingRisk ? Words("warning8") : Words("none")));
        rows.Raw(Row(Words("surgeFrequency"), FixedText(c.surgeFrequency, 0, " Hz")));
    }
    rows.Raw(Row(Words("energy"), FixedText(figures.energy, 2, Words("energyUnit"))));
    rows.Raw(Row(Words("activeMass"), FixedText(figures.activeMass, 2, " g")));
    const StrengthFigures& s = figures.strength;
    rows.Raw(Row(Words("wahl"), FixedText(s.wahl, 3)));
    rows.Raw(Row(Words("correctedStresses"),
                 FixedText(s.correctedSetStress, 2, Words("pairSeparator")) +
                     FixedText(s.correctedWorkStress, 2, Words("stressUnit"))));
    if (s.solid) {
        rows.Raw(Row(Words("solidStress"),
                     FixedText(s.solid->stress, 2, " (") +
                         FixedText(s.solid->correctedStress, 2, Words("stressUnitClosed"))));
        rows.Raw(Row(Words("solidSet"),
                     s.solid->takesSet ? kServiceWarningTexts[kSolidSetWarning - kBucklingWarning]
                                       : Words("none")));
    }
    if (s.hook) {
        const HookFigures& h = *s.hook;
        rows.Raw(
            Row(Words("hookBending"), FixedText(h.bendingStress, 2, Words("pairSeparator")) +
                                          FixedText(h.bendingAllowable, 2, Words("stressUnit"))));
        rows.Raw(
            Row(Words("hookTorsion"), FixedText(h.torsionStress, 2, Words("pairSeparator")) +
                                          FixedText(h.torsionAllowable, 2, Words("stressUnit"))));
        rows.Raw(Row(Words("hook"), h.overAllowable
                                        ? kServiceWarningTexts[kHookWarning - kBucklingWarning]
                                        : Words("withinAllowable")));
    }
    rows.Raw(Row(Words("fatigueSafety"), s.fatigue.safety ? FixedText(*s.fatigue.safety, 2)
                                                          : std::string(Words("noFatigueData"))));
    const MakerFigures& m = figures.maker;
    if (m.coils) {
        const CoilFigures& c = *m.coils;
        rows.Raw(Row(Words("pitchRatio"),
                     FixedText(c.pitch, 2, std::string(" mm") + Words("pairSeparator")) +
                         FixedText(c.pitchRatio, 2)));
        rows.Raw(
            Row(Words("pitch"), c.pitchOver ? WarningWords(kPitchWarning) : Words("pitchWithin")));
        rows.Raw(Row(Words("gapSums"), FixedText(c.gapSum, 2, Words("pairSeparator")) +
                                           FixedText(c.minGapSum, 2, " mm")));
        rows.Raw(Row(Words("strokeShare"), FixedText(c.strokeShare * 100.0, 0, " %")));
        rows.Raw(Row(Words("coilClearance"), c.clearanceShort ? WarningWords(kCoilClearanceWarning)
                                                              : Words("clearanceEnough")));
    }
    if (m.initialTension) {
        const InitialTensionFigures& t = *m.initialTension;
        rows.Raw(Row(Words("initialStress"), FixedText(t.stress, 2, Words("pairSeparator")) +
                                                 FixedText(t.low, 2, Words("rangeDash")) +
                                                 FixedText(t.high, 2, Words("stressUnit"))));
        rows.Raw(Row(Words("initialTension"),
                     t.outside ? WarningWords(kInitialTensionWarning) : Words("initialWithin")));
    }
    return rows.Close();
}

std::string ToleranceGradesJson() {
    JsonArray grades;
    grades.Raw(JsonObject().Text("name", "none").Text("label", Words("grade.none")).Close());
    for (const std::string_view name : kToleranceGradeNames) {
        grades.Raw(JsonObject()
                       .Text("name", name)
                       .Text("label", WordOf("grade." + std::string(name)))
                       .Close());
    }
    return grades.Close();
}

std::string TolerancesJson(const TSpringDesign& design, std::string_view gradeName) {
    const std::optional<ToleranceGrade> grade = ToleranceGradeNamed(gradeName);
    JsonArray rows;
    if (!grade) {
        return rows.Close();
    }
    const SpringTolerances t = TolerancesOf(*grade, design);
    const double wire = WireDiameterOf(design);
    // The figure as the command line's tolerance line gives it, so that the page and a drawing
    // made from check's output agree to the last digit.
    const auto plusMinus = [&](WordKey key, double value, int digits,
                               const std::optional<double>& tolerance, const char* unit) {
        rows.Raw(Row(WordOf(key.key),
                     tolerance ? FixedText(value, digits) + " ± " + FixedText(*tolerance, 2) + unit
                               : std::string(Words("toleranceAgreed"))));
    };
    plusMinus("tolerance.setLoad", design.Pset, 2, t.setLoad, " kg");
    plusMinus("tolerance.workLoad", design.Pact, 2, t.workLoad, " kg");
    plusMinus("tolerance.outerDiameter", design.MeanDia + wire, 2, t.outerDiameter, " mm");
    plusMinus("tolerance.innerDiameter", design.MeanDia - wire, 2, t.innerDiameter, " mm");
    plusMinus("tolerance.freeLength", design.FreeLen, 1, t.freeLength, " mm");
    // Not ± but how far the coils or the ends may lean: an extension spring has neither.
    if (t.squareness) {
        rows.Raw(Row(Words("tolerance.squareness"), FixedText(*t.squareness, 2, " mm")));
    }
    if (t.parallelism) {
        rows.Raw(Row(Words("tolerance.parallelism"), FixedText(*t.parallelism, 2, " mm")));
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
    // The form asks for springs of the window's two kinds: a torsion spring's fields are its
    // own calculator's.
    const auto kindsName = [](FieldKinds kinds) {
        return kinds == FieldKinds::Compression ? "compression"
               : kinds == FieldKinds::Extension ? "extension"
                                                : "both";
    };
    // What the page draws for a field: a box to tick, a text box, a load point's two boxes, a
    // list to choose from, or the materials' boxes.
    const auto formName = [](FieldForm form) {
        switch (form) {
            case FieldForm::Flag:
                return "flag";
            case FieldForm::LoadPoint:
                return "load";
            case FieldForm::Choice:
                return "choice";
            case FieldForm::Materials:
                return "materials";
            case FieldForm::Number:
            case FieldForm::Rate:
            case FieldForm::InitialTension:
                break;
        }
        return "number";
    };
    JsonArray fields;
    for (const SearchFieldRow& row : kSearchFields) {
        if (row.restatesDefault || row.kinds == FieldKinds::Torsion) {
            continue;  // the form offers the default as it stands
        }
        JsonArray labels;
        for (int box = 1; box <= row.most; ++box) {
            const std::string key =
                row.most > 1 ? std::string(row.name) + std::to_string(box) : std::string(row.name);
            labels.Raw(JsonString(WordOf(key)));
        }
        JsonArray choices;
        for (const std::string_view name : SearchChoices(row.field)) {
            if (name == kTorsionName) {
                continue;
            }
            const std::string label =
                row.field == SearchField::Ends             ? WordOf("ends." + std::string(name))
                : row.field == SearchField::ToleranceGrade ? WordOf("grade." + std::string(name))
                                                           : std::string(WordOf(name));
            choices.Raw(JsonObject().Text("name", name).Text("label", label).Close());
        }
        fields.Raw(JsonObject()
                       .Text("name", row.name)
                       .Text("form", formName(row.form))
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

std::string SearchFaultText(const SearchFault& fault, const std::vector<SearchFormEntry>& form) {
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
        return std::string(Words("quoteOpen")) + WordOf(key) + Words("quoteClose");
    };
    const bool compression = fault.springKind == kCompression;
    switch (fault.what) {
        case What::None:
            return {};
        case What::BadValue: {
            const SearchFieldRow& row = SearchFieldOf(fault.field);
            if (row.form == FieldForm::Choice) {
                return Words("badChoice") + label(fault.field);
            }
            return Words("badNumber") + label(fault.field) + Words("noteOpen") +
                   ShortNumber(row.range.min) + Words("rangeDash") + ShortNumber(row.range.max) +
                   Words("noteClose");
        }
        case What::WrongKind:
            return label(fault.field) + WordOf(compression ? "forExtension" : "forCompression");
        case What::LoadCount:
        case What::RateMissing:
            return Words("needLoadOrRate");
        case What::RateWithTwoLoads:
            return Words("rateWithTwoLoads");
        case What::LoadsEqual:
            return Words("loadsEqual");
        case What::WrongWay:
            return WordOf(compression ? "wrongWayCompression" : "wrongWayExtension");
        case What::NoMaterial:
            return Words("noMaterial");
        case What::UnknownMaterial:
            return Words("quoteOpen") + fault.text + Words("quoteClose") + Words("unknownMaterial");
        case What::Contradicts:
            return label(fault.field) + Words("and") + label(fault.other) + Words("together");
        case What::NeedsRepeated:
            return label(fault.field) + Words("needsRepeated");
        case What::UnknownField:
        case What::Repeated:
        case What::KindMissing:
            break;
    }
    // The page sends only its own fields, once each: a fault of the page itself.
    return Words("formFault") + std::string(SearchFieldOf(fault.field).name) + " " + fault.text;
}

std::string SearchJson(const std::vector<SearchFormEntry>& form, std::vector<DesignInput>& found,
                       const SearchProgressFn& progress) {
    found.clear();
    const SearchReading reading = ReadSearchForm(form);
    if (!reading.request) {
        return JsonObject().Text("error", SearchFaultText(reading.fault, form)).Close();
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
