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
#include "engine/input_text.h"
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
         {candidate.wire ? candidate.wire->material->name : MaterialDesignation(in.materialNo),
          candidate.wire ? FixedText(candidate.wire->diameter, 2) : WireDesignation(in.wireNo),
          FixedText(in.meanDia, 1), FixedText(in.turns, 1), FixedText(record.FreeLen, 1),
          FixedText(in.setLen, 1), FixedText(in.workLen, 1), FixedText(record.OuterDia, 2),
          FixedText(record.InnerDia, 2), FixedText(record.SpringRate, 3),
          FixedText(candidate.stressRatio * 100.0, 1), FixedText(candidate.massGrams, 2),
          warnings}) {
        cells.Raw(JsonString(cell));
    }
    // The window keeps its nine materials: a standard's wire or one's own is for the panel.
    return JsonObject()
        .Raw("cells", cells.Close())
        .Raw("warnings", said.Close())
        .Text("wire", candidate.wire ? candidate.wire->material->name : "")
        .Close();
}

DiagramTexts TorsionDiagramTexts() {
    DiagramTexts texts = PageDiagramTexts(kCompression);
    texts.free = Words("torsionDiagramFree");
    texts.installed = Words("torsionDiagramInstalled");
    texts.operating = Words("torsionDiagramOperating");
    texts.angleAxis = Words("torsionAngleAxis");
    texts.momentAxis = Words("torsionMomentAxis");
    texts.torsionSpring = Words("torsionDiagramKind");
    texts.allowableMoment = Words("torsionDiagramAllowable");
    texts.mandrelClearance = Words("torsionDiagramMandrel");
    texts.kgMm = Words("torsionMomentUnit");
    texts.kgMmPerDegree = Words("torsionRateUnit");
    return texts;
}

// The figures of a torsion spring, each pair or triple on one row as the coil springs' are.
std::string TorsionFiguresJson(const TorsionInput& in, const TorsionResult& r) {
    const TorsionPoint& p1 = r.points[0];
    const TorsionPoint& p2 = r.points[1];
    const std::string pair = Words("pairSeparator");
    const std::string moment = std::string(" ") + Words("torsionMomentUnit");
    const std::string mm = " mm";
    JsonArray rows;
    rows.Raw(Row(Words("torsion.f.index"), FixedText(r.index, 2)));
    rows.Raw(Row(Words("torsion.f.activeTurns"), FixedText(r.activeTurns, 3)));
    rows.Raw(Row(Words("torsion.f.rate"),
                 FixedText(r.ratePerRadian, 4, pair) +
                     FixedText(r.ratePerDegree, 5, std::string(" ") + Words("torsionRateUnit"))));
    rows.Raw(Row(Words("torsion.f.shigleyRate"), FixedText(r.shigleyRatePerTurn, 3)));
    rows.Raw(Row(Words("torsion.f.first"),
                 FixedText(p1.angle, 2, "°" + pair) + FixedText(p1.moment, 3, moment)));
    rows.Raw(Row(Words("torsion.f.second"),
                 FixedText(p2.angle, 2, "°" + pair) + FixedText(p2.moment, 3, moment)));
    rows.Raw(Row(Words("torsion.f.factors"), FixedText(r.q, 4, pair) + FixedText(r.ki, 4)));
    rows.Raw(Row(Words("torsion.f.stresses"),
                 FixedText(p1.stress, 2, pair) + FixedText(p2.stress, 2, Words("stressUnit"))));
    rows.Raw(Row(Words("torsion.f.stressKi"), FixedText(p2.stressKi, 2, Words("stressUnit"))));
    rows.Raw(Row(Words("torsion.f.allowable"), FixedText(r.allowableStress, 2, pair) +
                                                   FixedText(r.tensileStrength, 2, pair) +
                                                   FixedText(r.allowableShare * 100.0, 0, " %")));
    rows.Raw(
        Row(Words("torsion.f.allowableMoment"),
            FixedText(r.allowableMoment, 3, moment + pair) + FixedText(r.allowableAngle, 2, "°")));
    // The engine's bending fatigue figure, unpeened as the coil springs' panel line is.
    rows.Raw(Row(Words("torsion.f.fatigue"), r.fatigueSafety ? FixedText(*r.fatigueSafety, 2)
                                             : !r.enduranceHolds
                                                 ? std::string(Words("noFatigueData"))
                                                 : std::string(Words("torsion.f.noCycle"))));
    rows.Raw(Row(Words("torsion.f.diameters"),
                 FixedText(r.outerDiameterFree, 3, pair) + FixedText(r.innerDiameterFree, 3, mm)));
    rows.Raw(Row(Words("torsion.f.inner"),
                 FixedText(p1.innerDiameter, 3, pair) + FixedText(p2.innerDiameter, 3, mm)));
    rows.Raw(Row(Words("torsion.f.mandrel"),
                 in.mandrel > 0.0 ? FixedText(in.mandrel, 3, mm + pair) +
                                        FixedText(r.mandrelClearance * 100.0, 1, " %")
                                  : std::string(Words("none"))));
    rows.Raw(Row(Words("torsion.f.bodyLength"),
                 FixedText(p1.bodyLength, 3, pair) + FixedText(p2.bodyLength, 3, mm)));
    rows.Raw(Row(Words("torsion.f.legAngles"),
                 FixedText(p1.legAngle, 1, "°" + pair) + FixedText(p2.legAngle, 1, "°")));
    rows.Raw(Row(Words("torsion.f.energy"), FixedText(r.energy, 3, Words("energyUnit"))));
    rows.Raw(Row(Words("torsion.f.mass"), FixedText(r.wireMass, 3, " g")));
    return rows.Close();
}

// One torsion spring a search found: the command line's columns, and its row of a check file
// for the panel's form.
std::string TorsionCandidateRow(const TorsionCandidate& c) {
    const TorsionResult& r = c.result;
    const TorsionInput& in = c.input;
    JsonArray cells;
    for (const std::string& cell :
         {MaterialDesignation(in.materialNo), WireDesignation(in.wireNo), FixedText(in.meanDia, 1),
          FixedText(r.index, 1), FixedText(in.bodyTurns, 2), FixedText(in.freeAngle, 1),
          FixedText(r.points[0].angle, 1), FixedText(r.points[1].angle, 1),
          FixedText(r.outerDiameterFree, 2), FixedText(r.points[1].innerDiameter, 2),
          FixedText(r.points[1].bodyLength, 2), FixedText(r.ratePerDegree, 4),
          FixedText(r.points[0].moment, 2), FixedText(r.points[1].moment, 2),
          FixedText(std::max(r.points[0].stress, r.points[1].stress), 2),
          FixedText(r.allowableStress, 2), FixedText(c.stressRatio * 100.0, 0),
          FixedText(c.massGrams, 2)}) {
        cells.Raw(JsonString(cell));
    }
    std::string warnings;
    JsonArray said;
    for (const int warning : r.warnings) {
        warnings += (warnings.empty() ? "" : " ") + std::to_string(warning);
        said.Raw(
            JsonObject().Number("number", warning).Text("text", WarningWords(warning)).Close());
    }
    cells.Raw(JsonString(warnings));
    // The form's boxes as the row sets them: both positions by angle, as check's row has them.
    const std::string form = JsonObject()
                                 .Number("material", in.materialNo)
                                 .Number("wire", in.wireNo)
                                 .Text("mean-dia", ShortNumber(in.meanDia))
                                 .Text("body-turns", ShortNumber(in.bodyTurns))
                                 .Text("leg1", ShortNumber(in.leg1))
                                 .Text("leg2", ShortNumber(in.leg2))
                                 .Text("free-angle", ShortNumber(in.freeAngle))
                                 .Text("position1", ShortNumber(r.points[0].angle))
                                 .Text("position2", ShortNumber(r.points[1].angle))
                                 .Text("mandrel", in.mandrel > 0.0 ? ShortNumber(in.mandrel) : "")
                                 .Close();
    return JsonObject()
        .Raw("cells", cells.Close())
        .Raw("warnings", said.Close())
        .Raw("torsion", form)
        .Close();
}

}  // namespace

std::string PanelDiagramSvg(const TSpringDesign& design) {
    const StrengthFigures strength = ComputeStrengthFigures(design);
    return LoadDiagramSvg(design, "", PageDiagramTexts(design.SpringKind), &strength);
}

std::string FiguresJson(const TSpringDesign& design) {
    const ServiceFigures figures = ComputeServiceFigures(design);
    JsonArray rows;
    if (design.Wire) {
        // The window does not show this wire's design: its own figures come first.
        const WireSelection& wire = *design.Wire;
        const std::string_view pair = Words("pairSeparator");
        rows.Raw(Row(Words("panelWire.wire"),
                     wire.material->name + " " + FixedText(wire.diameter, 2, " mm")));
        rows.Raw(Row(Words("panelWire.source"), wire.material->source));
        rows.Raw(
            Row(Words("caption.Label12"), FixedText(design.ShearModulus, 0, Words("stressUnit"))));
        rows.Raw(Row(Words("caption.Label13"), FixedText(design.SpringRate, 3, " kg/mm")));
        rows.Raw(Row(Words("panelWire.loads"),
                     FixedText(design.Pset, 2, pair) + FixedText(design.Pact, 2, " kg")));
        rows.Raw(
            Row(Words("panelWire.stresses"),
                FixedText(design.Tset, 2, pair) + FixedText(design.Tact, 2, Words("stressUnit"))));
        rows.Raw(Row(Words("caption.Label10"),
                     FixedText(StaticAllowable(design), 2, Words("stressUnit"))));
    }
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
    const char* const labels[] = {Words("tolerance.setLoad"), Words("tolerance.workLoad"),
                                  Words("tolerance.outerDiameter"),
                                  Words("tolerance.innerDiameter"), Words("tolerance.freeLength")};
    for (const ToleratedFigure& f : ToleratedFigures(design, t)) {
        rows.Raw(Row(labels[static_cast<int>(f.which)],
                     f.tolerance ? ToleratedFigureText(f) : std::string(Words("toleranceAgreed"))));
    }
    // Not ± but how far the coils or the ends may lean: an extension spring has neither.
    if (t.squareness) {
        rows.Raw(Row(Words("tolerance.squareness"), FixedText(*t.squareness, 2, " mm")));
    }
    if (t.parallelism) {
        rows.Raw(Row(Words("tolerance.parallelism"), FixedText(*t.parallelism, 2, " mm")));
    }
    return rows.Close();
}

namespace {

// An extension spring's initial tension as typed in the panel, in `design`; false for a text
// that is none (an empty field, or any text for a compression spring, leaves the formula's).
bool TakeInitialTension(DesignInput& design, std::string_view text) {
    if (text.find_first_not_of(" \t") == std::string_view::npos ||
        design.springKind != kExtension) {
        return true;
    }
    const InitialTensionReading reading = ReadInitialTension(text);
    if (!reading.given) {
        return false;
    }
    design.initialTension = InitialTensionFor(*reading.given, design);
    return true;
}

}  // namespace

std::optional<TSpringDesign> WithGivenInitialTension(const DesignInput& design,
                                                     std::string_view text, std::string& error) {
    error.clear();
    DesignInput given = design;
    if (!TakeInitialTension(given, text)) {
        error = "badInitialTension";
        return std::nullopt;
    }
    if (!given.initialTension) {
        return std::nullopt;
    }
    DesignRunner runner;
    const Outcome& outcome = runner.Run(given);
    return outcome.analysed ? std::optional<TSpringDesign>(outcome.record) : std::nullopt;
}

std::string PanelWiresJson(std::span<const std::shared_ptr<const WireMaterial>> own) {
    JsonArray wires;
    wires.Raw(
        JsonObject().Text("name", kWindowWire).Text("label", Words("panelWire.window")).Close());
    for (const WireMaterial& material : WireStandards()) {
        wires.Raw(JsonObject().Text("name", material.name).Text("label", material.name).Close());
    }
    for (const std::shared_ptr<const WireMaterial>& material : own) {
        wires.Raw(JsonObject()
                      .Text("name", material->name)
                      .Text("label", material->name + Words("panelWire.own"))
                      .Close());
    }
    return wires.Close();
}

namespace {

std::string OwnFaultText(const MaterialsFileFault& fault) {
    using What = MaterialsFileFault::What;
    std::string text;
    if (fault.line > 0) {
        text += Words("ownFault.lineStart") + std::to_string(fault.line) + Words("ownFault.line");
    }
    const auto quoted = [](std::string_view words) {
        return Words("quoteOpen") + std::string(words) + Words("quoteClose");
    };
    if (!fault.field.empty()) {
        text += Words("ownFault.field") + quoted(fault.field) + Words("ownFault.fieldEnd");
    }
    const std::string found = quoted(fault.found);
    const std::string range =
        ShortNumber(fault.least) + Words("rangeDash") + ShortNumber(fault.most);
    switch (fault.what) {
        case What::OutsideSection:
            return text + Words("ownFault.outsideSection");
        case What::BadLine:
            return text + found + Words("ownFault.badLine");
        case What::UnknownField:
            return text + Words("ownFault.unknownField");
        case What::Repeated:
            return text + Words("ownFault.repeated");
        case What::BadNumber:
            return text + found + Words("ownFault.badNumber") + range + Words("ownFault.numberEnd");
        case What::BadPoints:
            return text + found + Words("ownFault.badPoints") + range + Words("ownFault.pointsEnd");
        case What::Missing:
            return text + Words("ownFault.missing") + found + Words("ownFault.missingEnd");
        case What::BothStrengths:
            return text + Words("ownFault.material") + found + Words("ownFault.bothStrengths");
        case What::SameName:
            return text + found + Words("ownFault.sameName");
        case What::BadName:
            return text + Words("ownFault.badName");
        case What::BadClass:
            return text + found + Words("ownFault.badClass");
        case What::NoMaterial:
            return text + Words("ownFault.noMaterial");
    }
    return text;
}

}  // namespace

OwnMaterialsReading ReadOwnMaterials(std::string_view text) {
    OwnMaterialsReading reading;
    if (text.size() > kOwnMaterialsMostBytes) {
        reading.faults.push_back(Words("ownFault.tooLong") +
                                 std::to_string(kOwnMaterialsMostBytes) +
                                 Words("ownFault.tooLongEnd"));
        return reading;
    }
    MaterialsFileReading file = ReadMaterialsFile(text, Words("ownMaterialSource"));
    for (const MaterialsFileFault& fault : file.faults) {
        reading.faults.push_back(OwnFaultText(fault));
    }
    if (reading.faults.empty()) {
        reading.materials = std::move(file.materials);
    }
    return reading;
}

std::shared_ptr<const WireSelection> PanelWireFor(const DesignInput& design,
                                                  std::shared_ptr<const WireMaterial> material,
                                                  std::string& error) {
    error.clear();
    const double windowDiameter =
        kWires[static_cast<size_t>(design.wireNo) % kWires.size()].diameter;
    if (!material->MinTensileStrength(windowDiameter)) {
        error = material->name + Words("panelWire.range") + ShortNumber(material->least) +
                Words("rangeDash") + ShortNumber(material->most) +
                Words("panelWire.windowDiameter") +
                FixedText(windowDiameter, 2, Words("panelWire.outside"));
        return nullptr;
    }
    return SelectPreferredWire(std::move(material), windowDiameter);
}

std::optional<TSpringDesign> WithPanelWire(const DesignInput& design, std::string_view tension,
                                           const WireSelection& wire, std::string& error) {
    error.clear();
    DesignInput given = design;
    given.wire = &wire;
    TakeInitialTension(given, tension);  // a text that is none was refused where it was typed
    DesignRunner runner;
    const Outcome& outcome = runner.Run(given);
    if (!outcome.analysed) {
        error = wire.material->name + " " + FixedText(wire.diameter, 2, Words("panelWire.notRun"));
        std::string_view separator;
        for (const int number : DistinctWarnings(outcome.warnings)) {
            error += separator;
            error += WarningWords(number);
            separator = Words("listSeparator");
        }
        error += Words("panelWire.warningEnd");
        error += Words("panelWire.shown");
        return std::nullopt;
    }
    return outcome.record;
}

std::optional<TorsionInput> ReadTorsionForm(const std::vector<SearchFormEntry>& form,
                                            std::string& field) {
    const auto text = [&](std::string_view name) -> std::string_view {
        for (const SearchFormEntry& entry : form) {
            if (entry.name == name) {
                return Trim(entry.text);
            }
        }
        return {};
    };
    bool good = true;
    // A number in its range, as check reads its columns: an optional box left empty is 0.
    const auto number = [&](std::string_view name, const Range& range, bool optional) {
        const std::string_view typed = text(name);
        if (optional && typed.empty()) {
            return 0.0;
        }
        const std::optional<float> value = ParseFloat(typed);
        if (!value || !range.Holds(*value)) {
            if (good) {
                field = name;
            }
            good = false;
            return 0.0;
        }
        return double(*value);
    };
    const auto choice = [&](std::string_view name, int count) {
        const std::optional<float> value = ParseFloat(text(name));
        if (!value || *value < 0 || *value >= count || *value != std::floor(*value)) {
            if (good) {
                field = name;
            }
            good = false;
            return 0;
        }
        return int(*value);
    };
    const auto position = [&](std::string_view by, std::string_view value) {
        const bool moment = text(by) == "moment";
        return TorsionPosition{
            moment ? TorsionPosition::By::Moment : TorsionPosition::By::Angle,
            number(value, moment ? kTorsionMomentRange : kTorsionAngleRange, false)};
    };
    field.clear();
    TorsionInput in;
    in.materialNo = choice("material", kMaterialCount);
    in.wireNo = choice("wire", kWireCount);
    in.meanDia = number("mean-dia", kLengthRange, false);
    in.bodyTurns = number("body-turns", kTurnsRange, false);
    in.leg1 = number("leg1", kLengthRange, true);
    in.leg2 = number("leg2", kLengthRange, true);
    in.freeAngle = number("free-angle", kTorsionFreeAngleRange, true);
    in.first = position("by1", "position1");
    in.second = position("by2", "position2");
    in.mandrel = number("mandrel", kLengthRange, true);
    return good ? std::optional(in) : std::nullopt;
}

std::string TorsionFormJson() {
    JsonArray materials;
    for (int m = 0; m < kMaterialCount; ++m) {
        materials.Raw(JsonString(Trim(MaterialDesignation(m))));
    }
    JsonArray wires;
    for (int w = 0; w < kWireCount; ++w) {
        wires.Raw(JsonString(Trim(WireDesignation(w))));
    }
    return JsonObject().Raw("materials", materials.Close()).Raw("wires", wires.Close()).Close();
}

std::string TorsionPanelJson(const std::vector<SearchFormEntry>& form) {
    std::string field;
    const std::optional<TorsionInput> input = ReadTorsionForm(form, field);
    if (!input) {
        return JsonObject()
            .Text("error", Words("badNumber") + std::string(Words("quoteOpen")) +
                               WordOf("torsion." + field) + Words("quoteClose"))
            .Text("field", field)
            .Close();
    }
    const TorsionResult result = ComputeTorsion(*input);
    JsonArray warnings;
    for (const int warning : result.warnings) {
        warnings.Raw(
            JsonObject().Number("number", warning).Text("text", WarningWords(warning)).Close());
    }
    if (!result.ran) {
        return JsonObject()
            .Raw("figures", "[]")
            .Raw("warnings", warnings.Close())
            .Text("svg", "")
            .Close();
    }
    return JsonObject()
        .Raw("figures", TorsionFiguresJson(*input, result))
        .Raw("warnings", warnings.Close())
        .Text("svg", TorsionDiagramSvg(*input, result, "", TorsionDiagramTexts()))
        .Close();
}

std::string SearchFormJson() {
    // The page offers the torsion kind and its fields only while the panel calculates torsion
    // springs, and the window's two kinds otherwise.
    const auto kindsName = [](FieldKinds kinds) {
        switch (kinds) {
            case FieldKinds::Compression:
                return "compression";
            case FieldKinds::Extension:
                return "extension";
            case FieldKinds::Coil:
                return "coil";
            case FieldKinds::Torsion:
                return "torsion";
            case FieldKinds::Any:
                break;
        }
        return "any";
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
        if (row.restatesDefault) {
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
    JsonArray standards;
    for (const WireMaterial& standard : WireStandards()) {
        standards.Raw(JsonString(standard.name));
    }
    return JsonObject()
        .Raw("fields", fields.Close())
        .Raw("materials", materials.Close())
        .Raw("standards", standards.Close())
        .Close();
}

SearchReading ReadSearchForm(const std::vector<SearchFormEntry>& form,
                             std::span<const std::shared_ptr<const WireMaterial>> own) {
    std::vector<SearchEntry> entries;
    entries.reserve(form.size());
    for (const SearchFormEntry& entry : form) {
        entries.push_back({entry.name, entry.text});
    }
    return ReadSearchRequest(entries, own);
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
    const bool torsion = fault.springKind == kTorsionSpring;
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
            switch (SearchFieldOf(fault.field).kinds) {
                case FieldKinds::Torsion:
                    return label(fault.field) + Words("forTorsion");
                case FieldKinds::Coil:
                    return label(fault.field) + Words("forCoil");
                default:
                    return label(fault.field) +
                           WordOf(compression ? "forExtension" : "forCompression");
            }
        case What::LoadCount:
        case What::RateMissing:
            return torsion ? Words("needMomentOrRate") : Words("needLoadOrRate");
        case What::RateWithTwoLoads:
            return torsion ? Words("momentRateWithTwoMoments") : Words("rateWithTwoLoads");
        case What::LoadsEqual:
            return torsion ? Words("momentsEqual") : Words("loadsEqual");
        case What::WrongWay:
            return torsion ? Words("wrongWayTorsion")
                           : WordOf(compression ? "wrongWayCompression" : "wrongWayExtension");
        case What::NoMaterial:
            return Words("noMaterial");
        case What::UnknownMaterial:
            return Words("quoteOpen") + fault.text + Words("quoteClose") +
                   (fault.springKind == kTorsionSpring ? Words("notTorsionMaterial")
                                                       : Words("unknownMaterial"));
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
                       const SearchProgressFn& progress,
                       std::span<const std::shared_ptr<const WireMaterial>> own) {
    found.clear();
    const SearchReading reading = ReadSearchForm(form, own);
    if (!reading.request) {
        return JsonObject().Text("error", SearchFaultText(reading.fault, form)).Close();
    }
    DesignRunner runner;
    const SearchResult result = SearchDesigns(*reading.request, runner, progress);
    JsonArray rows;
    if (reading.request->springKind == kTorsionSpring) {
        // Only springs that meet everything: the torsion search keeps no nearest misses.
        for (const TorsionCandidate& candidate : result.torsionBest) {
            rows.Raw(TorsionCandidateRow(candidate));
        }
        return JsonObject()
            .Number("met", static_cast<long long>(result.metCount))
            .Flag("torsion", true)
            .Raw("rows", rows.Close())
            .Close();
    }
    const std::vector<Candidate>& shown = result.metCount > 0 ? result.best : result.closest;
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
