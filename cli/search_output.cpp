// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "cli/input_values.h"
#include "cli/search.h"
#include "cli/text_table.h"
#include "cli/torsion_output.h"
#include "engine/catalogue.h"
#include "engine/text_format.h"
#include "engine/tolerance_grades.h"
#include "engine/window_texts.h"

namespace springcalc::cli {

namespace {

// The low end of each range shows as what was asked for, not as zero: 0.003 kg, 0.0001 kg/mm,
// 0.04 %.
std::string Load(double kg) {
    return ReadableFixed(kg, 2, " kg");
}
std::string Length(double mm) {
    return ReadableFixed(mm, 1, " mm");
}
std::string Percent(double fraction) {
    return ReadableFixed(fraction * 100.0, 1, " %");
}
std::string Rate(double kgPerMm, std::string_view tail) {
    return ReadableFixed(kgPerMm, 3, tail);
}

std::string Requirement(const SearchRequest& r) {
    std::string text = std::string(r.springKind == kCompression ? "Compression" : "Extension") +
                       " spring: " + Load(r.installed.load) + " at " + Length(r.installed.length);
    if (r.operating) {
        text += " and " + Load(r.operating->load) + " at " + Length(r.operating->length) +
                " (rate " + Rate(r.rate, " kg/mm)");
    } else {
        text += ", rate " + Rate(r.rate, " kg/mm");
    }
    if (r.repeated) {
        text += ", under repeated load";
    }
    if (r.initialTension) {
        text += r.initialTension->kind == GivenInitialTension::Kind::Load
                    ? ", initial tension " + Load(r.initialTension->value)
                    : ", initial stress " + ReadableFixed(r.initialTension->value, 2, " kg/mm²");
    }
    text += ", each within " + Percent(r.tolerance) + ".\nLimits: D/d from 4 to " +
            ShortestText(r.maxSpringIndex) + ", at least " + ShortestText(r.minTurns) +
            " active turns";
    if (r.springKind == kCompression) {
        text += r.allowBuckling
                    ? ", buckling allowed"
                    : ", no buckling with the ends " + std::string(EndConditionOf(r.ends).name);
    }
    if (r.repeated) {
        text += ", no warning 4, a fatigue safety factor of at least " +
                FixedText(r.minFatigue, 2, " (") +
                std::string((r.strength.peened ? kPeened : kUnpeened).name) +
                " data, for wire under 10 mm)";
    }
    if (r.maxOuterDia) {
        text += ", outer diameter at most " + Length(*r.maxOuterDia);
    }
    if (r.minInnerDia) {
        text += ", inner diameter at least " + Length(*r.minInnerDia);
    }
    if (r.maxFreeLen) {
        text += ", free length at most " + Length(*r.maxFreeLen);
    }
    if (r.maxSlenderness) {
        text += ", slenderness at most " + ShortestText(*r.maxSlenderness);
    }
    if (r.minFrequency) {
        text += ", surge frequency at least " + ShortestText(*r.minFrequency) + " Hz";
    }
    if (r.toleranceGrade) {
        text += ", the heavier load as made at tolerance grade " +
                ToleranceGradeName(*r.toleranceGrade) + " (" +
                std::string(ToleranceSource(r.toleranceGrade->standard)) + ") at most " +
                Percent(r.maxStressRatio) + " of the static allowable stress";
    }
    text += ".\nMaterials: ";
    for (size_t i = 0; i < r.materials.size(); ++i) {
        text += (i == 0 ? "" : ", ") + MaterialDesignation(r.materials[i]);
    }
    for (size_t i = 0; i < r.standards.size(); ++i) {
        text += (i == 0 && r.materials.empty() ? "" : ", ") + r.standards[i]->name;
    }
    return text + ".\n";
}

// The material and wire cells of a design: the window's designations, or a standard's name and
// the diameter as check's rows give it.
std::string MaterialCell(const TSpringDesign& v) {
    return v.Wire ? v.Wire->material->name : MaterialDesignation(v.MaterialNo);
}
std::string WireCell(const TSpringDesign& v) {
    return v.Wire ? FixedText(v.Wire->diameter, 2) : WireDesignation(v.WireNo);
}

std::string Searched(const SearchResult& result) {
    std::string text = "Searched " + std::string(result.gridCountEstimated ? "about " : "") +
                       std::to_string(result.gridCount) + " designs on the grid; " +
                       std::to_string(result.engineRuns) + " ran through the engine; " +
                       std::to_string(result.metCount) +
                       " springs (material, wire, D and n) met the requirements";
    if (result.metCount > 0) {
        text += ", in " + std::to_string(result.choiceCount) + " materials and wire sizes";
    }
    text += ".\n";
    if (result.stop != SearchStop::None) {
        text += std::string(result.stop == SearchStop::Asked
                                ? "The search stopped at its time limit (2 s)"
                                : "The search stopped at the most work it does (about 2 s)") +
                " in " +
                (result.stoppedStandard ? result.stoppedStandard->material->name + " " +
                                              FixedText(result.stoppedStandard->diameter, 2)
                                        : MaterialDesignation(result.stoppedMaterial) + " " +
                                              WireDesignation(result.stoppedWire)) +
                " mm: what follows is from the materials and wire sizes up to there. Narrow "
                "it (--materials, --max-index, --min-turns, --tolerance) to search them all.\n";
    }
    return text;
}

std::string Direction(double actual, double wanted) {
    return actual > wanted ? "above" : "below";
}

std::string Explain(const Shortfall& s, const Candidate& c, const SearchRequest& r) {
    const double miss = std::fabs(s.actual - s.wanted) / s.wanted;
    switch (s.what) {
        case Shortfall::What::Load:
            return "load at " + Length(s.length) + " is " + Load(s.actual) + ", " + Percent(miss) +
                   " " + Direction(s.actual, s.wanted) + " the " + Load(s.wanted) +
                   " asked for (tolerance " + Percent(r.tolerance) + ")";
        case Shortfall::What::Rate:
            return "rate is " + Rate(s.actual, " kg/mm, ") + Percent(miss) + " " +
                   Direction(s.actual, s.wanted) + " the " + Rate(s.wanted, " kg/mm asked for") +
                   " (tolerance " + Percent(r.tolerance) + ")";
        case Shortfall::What::OuterDia:
            return "outer diameter " + FixedText(s.actual, 2, " mm") + " is above --max-od " +
                   ShortestText(s.wanted) + " mm";
        case Shortfall::What::InnerDia:
            return "inner diameter " + FixedText(s.actual, 2, " mm") + " is below --min-id " +
                   ShortestText(s.wanted) + " mm";
        case Shortfall::What::FreeLen:
            return "free length " + Length(s.actual) + " is above --max-free-len " +
                   ShortestText(s.wanted) + " mm";
        case Shortfall::What::Slenderness:
            return "slenderness " + FixedText(s.actual, 2, " > ") + ShortestText(s.wanted) +
                   " (--max-slenderness)";
        case Shortfall::What::Frequency:
            return "surge " + FixedText(s.actual, 0, " Hz < ") + ShortestText(s.wanted) +
                   " Hz (--min-frequency)";
        case Shortfall::What::SpringIndex:
            return "D/d " + FixedText(s.actual, 2, " is above --max-index ") +
                   ShortestText(s.wanted);
        case Shortfall::What::Turns:
            return FixedText(s.actual, 1, " active turns, fewer than --min-turns ") +
                   ShortestText(s.wanted);
        case Shortfall::What::Buckling:
            return "buckles: the deflection at the operating length, " +
                   FixedText(s.actual, 2, " mm, is beyond the critical ") +
                   FixedText(s.wanted, 2, " mm (--ends ") +
                   std::string(EndConditionOf(r.ends).name) + ")";
        case Shortfall::What::Hook:
            return "warning 9: " +
                   std::string(kServiceWarningTexts[kHookWarning - kBucklingWarning]) +
                   " (hook stress " + FixedText(s.actual, 2, " kg/mm², its allowable ") +
                   FixedText(s.wanted, 2, " kg/mm²; --hook-radius)");
        case Shortfall::What::HookBend:
            return "no hook: --hook-radius " + ShortestText(s.actual) +
                   " mm is not more than half the wire, " + FixedText(s.wanted, 2, " mm");
        case Shortfall::What::Fatigue:
            return "fatigue safety factor " + FixedText(s.actual, 2, " is below ") +
                   FixedText(s.wanted, 2, " (--min-fatigue, --peened)");
        case Shortfall::What::StressMargin:
            if (r.toleranceGrade) {
                // The grade is what raised the stress: say by how much.
                return "stress at " + FixedText(s.actual * 100.0, 0, " % of the static ") +
                       "allowable with the heavier load " +
                       FixedText((s.actual / c.stressRatio - 1.0) * 100.0, 1, " % ") +
                       "heavier, as tolerance grade " + ToleranceGradeName(*r.toleranceGrade) +
                       " lets it be made, over --max-stress-ratio " + ShortestText(s.wanted);
            }
            return "stress at " +
                   FixedText(s.actual * 100.0, 0,
                             " % of the static allowable, over "
                             "--max-stress-ratio ") +
                   ShortestText(s.wanted);
        case Shortfall::What::Pitch:
            return "warning 13: " + std::string(WarningTextOf(kPitchWarning)) + " (pitch " +
                   FixedText(s.actual, 2, " D, --max-pitch-ratio ") + ShortestText(s.wanted) + ")";
        case Shortfall::What::GapSum:
            return "warning 12: " + std::string(WarningTextOf(kCoilClearanceWarning)) +
                   " (gaps at the shortest length " + FixedText(s.actual, 2, " mm, at least ") +
                   FixedText(s.wanted, 2, " mm wanted; --allow-close-coils)");
        case Shortfall::What::StrokeShare:
            return "warning 12: " + std::string(WarningTextOf(kCoilClearanceWarning)) +
                   " (the shortest length takes " + FixedText(s.actual * 100.0, 1, " %") +
                   " of the deflection to solid, over 80 %; --allow-close-coils)";
        case Shortfall::What::BodyLength:
            return "body length wound up " + Length(s.actual) + " is above --max-body-len " +
                   ShortestText(s.wanted) + " mm";
        case Shortfall::What::InitialTension:
            return "warning 14: " + std::string(WarningTextOf(kInitialTensionWarning)) +
                   " (initial stress " + FixedText(s.actual, 2, " kg/mm², ") +
                   (s.actual > s.wanted ? "above " : "below ") + FixedText(s.wanted, 2, "") +
                   "; --any-initial-tension)";
        case Shortfall::What::Warning: {
            std::string text =
                "warning " + std::to_string(s.warning) + ": " + WarningTextOf(s.warning);
            if (s.warning == kStaticStressWarning) {
                text += " (stress " + FixedText(s.actual, 2, " kg/mm², static allowable ") +
                        FixedText(s.wanted, 2, ")");
            } else if (s.warning == kRepeatedLoadWarning) {
                text += " (stress " + FixedText(s.actual, 2, " kg/mm², repeated-load allowable ") +
                        FixedText(s.wanted, 2, "; --repeated)");
            } else if (s.warning == kBelowSolidWarning) {
                text += " (solid length " + Length(s.actual) + ", shortest length " +
                        Length(s.wanted) + ")";
            } else if (s.warning == kSolidSetWarning) {
                text += " (stress pressed solid " +
                        FixedText(s.actual, 2, " kg/mm², static allowable ") +
                        FixedText(s.wanted, 2, "; --solid-safe)");
            } else if (s.warning == kBelowFreeLengthWarning) {
                text += " (free length " + Length(s.actual) + ", shortest length " +
                        Length(s.wanted) + ")";
            }
            return text;
        }
    }
    return {};
}

// The window's warnings, then the command line's (8 to 11) as `check` lists them.
std::string Warnings(const Candidate& c) {
    std::string text;
    std::vector<int> numbers = DistinctWarnings(c.outcome.warnings);
    numbers.insert(numbers.end(), c.serviceWarnings.begin(), c.serviceWarnings.end());
    for (int number : numbers) {
        text += (text.empty() ? "" : ",") + std::to_string(number);
    }
    return text;
}

std::string Identify(const Candidate& c) {
    const TSpringDesign& v = c.outcome.record;
    return MaterialCell(v) + " " + WireCell(v) + " mm, D " + FixedText(v.MeanDia, 1, ", n ") +
           FixedText(v.Turns, 1, ", free length ") + FixedText(v.FreeLen, 1, " mm");
}

void WriteBest(std::string& text, const SearchRequest& request, const SearchResult& result) {
    text += std::string(request.listing == SearchListing::Every
                            ? "Best " + std::to_string(result.best.size()) + " designs by "
                            : "Best " + std::to_string(result.best.size()) +
                                  " materials and wire sizes, each with its best design, by ") +
            (request.order == SearchOrder::Stress
                 ? "working stress against the static allowable stress (lowest first):\n\n"
                 : "mass of wire (lightest first):\n\n");
    // clang-format off
    std::vector<TableColumn> columns{{"#", ""}, {"material", "", Align::Left}, {"wire", "mm"}, {"D", "mm"}, {"D/d", ""}, {"n", ""},
                     {"free", "mm"}, {"set", "mm"}, {"work", "mm"}, {"OD", "mm"}, {"ID", "mm"},
                     {"k", "kg/mm"}, {"Pset", "kg"}, {"Pact", "kg"}, {"stress", "kg/mm²"},
                     {"allow-static", "kg/mm²"}, {"used", "%"}, {"mass", "g"},
                     {"warnings", "", Align::Left}};
    // clang-format on
    // Under repeated load, the fatigue safety factor before the mass.
    const auto fatigueColumn = columns.end() - 2;
    if (request.repeated) {
        columns.insert(fatigueColumn, {"fatigue", "nf"});
    }
    TextTable table(std::move(columns));
    std::vector<std::vector<std::string>> rows;
    bool anyWarning = false;
    for (size_t i = 0; i < result.best.size(); ++i) {
        const Candidate& c = result.best[i];
        const TSpringDesign& v = c.outcome.record;
        const float allowable = StaticAllowable(v);
        rows.push_back(
            {std::to_string(i + 1), MaterialCell(v), WireCell(v), FixedText(v.MeanDia, 1),
             FixedText(double(v.MeanDia) / WireDiameterOf(v), 1), FixedText(v.Turns, 1),
             FixedText(v.FreeLen, 1), FixedText(v.SetLen, 1), FixedText(v.WorkLen, 1),
             FixedText(v.OuterDia, 2), FixedText(v.InnerDia, 2), FixedText(v.SpringRate, 3),
             FixedText(v.Pset, 2), FixedText(v.Pact, 2), FixedText(std::max(v.Tset, v.Tact), 2),
             FixedText(allowable, 2), FixedText(c.stressRatio * 100.0, 0),
             FixedText(c.massGrams, 2), Warnings(c)});
        if (request.repeated) {
            rows.back().insert(rows.back().end() - 2,
                               c.fatigueSafety ? FixedText(*c.fatigueSafety, 2) : "-");
        }
        anyWarning = anyWarning || !c.outcome.warnings.empty();
        table.Measure(rows.back());
    }
    table.AppendHeader(text);
    for (const std::vector<std::string>& row : rows) {
        table.AppendRow(text, row);
    }
    text += "\nstress: the higher of Tset and Tact; used: stress over allow-static.\n";
    if (anyWarning) {
        text += std::string("warnings (shown, not held against a design): 3 ") + kWarningTexts[2] +
                " (the stroke asked for is within the allowable stress; going to solid is not); "
                "10 " +
                kServiceWarningTexts[kSolidSetWarning - kBucklingWarning] + " (comes with 3)" +
                (request.repeated ? ""
                                  : std::string("; 4 ") + kWarningTexts[3] +
                                        " (--repeated holds it against a design)") +
                ".\n";
    }
    text +=
        "Check one, or save its report, with `springcalc-cli check`: a row "
        "kind,material,wire,mean_dia,turns,free_len,set_len,work_len";
    text += request.springKind == kExtension ? " (free_len empty).\n" : ".\n";
}

// The next `step` up from a value: the limit that lets it through.
double UpTo(double value, double step) {
    return std::ceil(value / step - 1e-6) * step;
}

// The next 0.1 up from a D/d: the --max-index that lets it through.
double IndexLettingIn(double index) {
    return UpTo(index, 0.1);
}

// What a candidate's shortfall of one kind measured, as the judge found it.
double ActualOf(const Candidate& c, Shortfall::What what) {
    for (const Shortfall& s : c.shortfalls) {
        if (s.what == what) {
            return s.actual;
        }
    }
    return 0.0;
}

// What lets in a design its stress margin keeps out at the grade asked for: the nearest
// closer grade of the same standard whose heavier load stays within the margin, else the
// grade left out, with the stress ratio that then lets it in where the default does not.
std::string GradeLettingIn(const Candidate& c, const SearchRequest& r) {
    for (int grade = r.toleranceGrade->grade - 1; grade >= 1; --grade) {
        const ToleranceGrade closer{r.toleranceGrade->standard, grade};
        if (c.stressRatio * HeavierLoadScale(closer, c.outcome.record) <= r.maxStressRatio) {
            return "--tolerance-grade " + ToleranceGradeName(closer);
        }
    }
    return c.stressRatio <= kDefaultMaxStressRatio
               ? "no --tolerance-grade"
               : "no --tolerance-grade, with --max-stress-ratio " +
                     ShortestText(UpTo(c.stressRatio, 0.01));
}

// The option that lets designs in: the value that lets in the design shown with it.
std::string OptionToWiden(Shortfall::What what, const Widening& w, const SearchRequest& r) {
    switch (what) {
        case Shortfall::What::SpringIndex:
            return "--max-index " +
                   ShortestText(IndexLettingIn(double(w.best.input.meanDia) /
                                               WireDiameterOf(w.best.outcome.record))) +
                   " or more";
        case Shortfall::What::Turns:
            return "--min-turns " + ShortestText(w.best.input.turns) + " or fewer";
        case Shortfall::What::Buckling:
            return "--allow-buckling, for a spring guided on a rod or in a bore, or other --ends "
                   "than " +
                   std::string(EndConditionOf(r.ends).name);
        case Shortfall::What::StressMargin:
            if (r.toleranceGrade) {
                // Over the allowable itself no ratio lets it in, only a closer grade or none.
                const double actual = ActualOf(w.best, what);
                const std::string grade = GradeLettingIn(w.best, r);
                const std::string ratio =
                    actual <= 1.0
                        ? "--max-stress-ratio " + ShortestText(UpTo(actual, 0.01)) + " or more"
                        : "";
                return ratio.empty() ? grade : ratio + ", or " + grade;
            }
            [[fallthrough]];
        case Shortfall::What::Pitch:
            return "--max-" + std::string(what == Shortfall::What::Pitch ? "pitch" : "stress") +
                   "-ratio " + ShortestText(UpTo(ActualOf(w.best, what), 0.01)) + " or more";
        case Shortfall::What::GapSum:
        case Shortfall::What::StrokeShare:
            return "--allow-close-coils";
        case Shortfall::What::InitialTension:
            return "--any-initial-tension";
        default:
            return {};
    }
}

// For a limit widened alone, the least widening that lets any of them in, where it is less
// than the one the design shown needs.
std::string LeastWidening(const Widening& w) {
    if (w.widen.size() != 1) {
        return {};
    }
    if (w.widen[0] == Shortfall::What::SpringIndex) {
        const double least = IndexLettingIn(w.leastIndex);
        return least < IndexLettingIn(double(w.best.input.meanDia) /
                                      WireDiameterOf(w.best.outcome.record))
                   ? ", some from --max-index " + ShortestText(least)
                   : "";
    }
    if (w.widen[0] == Shortfall::What::Turns && w.mostTurns > w.best.input.turns) {
        return ", some from --min-turns " + ShortestText(w.mostTurns);
    }
    return {};
}

void WriteWidenings(std::string& text, const SearchRequest& request, const SearchResult& result) {
    if (result.widenings.empty()) {
        return;
    }
    text +=
        "The default limits kept out designs that meet the loads and every other "
        "requirement. To let them in, widen:\n";
    const bool stopped = result.wideningStop != SearchStop::None;
    if (stopped) {
        text += std::string("  (the search for them stopped ") +
                (result.wideningStop == SearchStop::Asked ? "at its time limit (2 s)"
                                                          : "at the most work it does") +
                ": there are at least as many as counted, and the first is the first of those "
                "found)\n";
    }
    for (const Widening& w : result.widenings) {
        std::string options;
        for (size_t i = 0; i < w.widen.size(); ++i) {
            options += (i == 0 ? "" : " together with ") + OptionToWiden(w.widen[i], w, request);
        }
        text += "  " + options + " (" + (stopped ? "at least " : "") + std::to_string(w.count) +
                " design" + (w.count == 1 ? " needs " : "s need ") +
                (w.widen.size() == 1 ? "only that" : "all of these") + LeastWidening(w) + "; the " +
                (request.order == SearchOrder::Mass ? "lightest" : "least stressed") + ": " +
                Identify(w.best) + ", " + FixedText(w.best.massGrams, 2, " g, ") +
                FixedText(w.best.stressRatio * 100.0, 0, " % of the allowable stress)\n");
        for (const Shortfall& s : w.best.shortfalls) {
            text += "    - " + Explain(s, w.best, request) + "\n";
        }
    }
}

void WriteClosest(std::string& text, const SearchRequest& request, const SearchResult& result) {
    text += result.stop == SearchStop::None
                ? "No design meets the requirements.\n"
                : "No design of those searched meets the requirements.\n";
    WriteWidenings(text, request, result);
    if (result.closest.empty()) {
        text += "No offered wire size of these materials gives " +
                Rate(request.rate, " kg/mm with D/d from 4 to ") +
                ShortestText(request.maxSpringIndex) + " and at least " +
                ShortestText(request.minTurns) + " active turns.\n";
        return;
    }
    text +=
        "The closest, and what keeps each out (closest: the least shortfall in all, each "
        "counted as a fraction of what was asked):\n";
    for (const Candidate& c : result.closest) {
        text += "  " + Identify(c) + "\n";
        for (const Shortfall& s : c.shortfalls) {
            text += "    - " + Explain(s, c, request) + "\n";
        }
    }
}

// Where the figures of each standard's (or own) material among the designs shown come from,
// once each.
void WriteSources(std::string& text, const SearchResult& result) {
    std::map<std::string, std::string> sources;
    const auto add = [&](const Candidate& c) {
        if (const WireSelection* wire = c.outcome.record.Wire) {
            sources.try_emplace(wire->material->name, wire->material->source);
        }
    };
    std::for_each(result.best.begin(), result.best.end(), add);
    std::for_each(result.closest.begin(), result.closest.end(), add);
    for (const Widening& w : result.widenings) {
        add(w.best);
    }
    for (const auto& [name, source] : sources) {
        text += name + ": " + source + ".\n";
    }
}

}  // namespace

void WriteSearchResult(std::ostream& out, const SearchRequest& request,
                       const SearchResult& result) {
    if (request.springKind == kTorsionSpring) {
        std::string text;
        WriteTorsionSearch(text, request, result);
        out << text;
        return;
    }
    std::string text = Requirement(request) + Searched(result);
    if (result.best.empty()) {
        WriteClosest(text, request, result);
    } else {
        WriteBest(text, request, result);
    }
    WriteSources(text, result);
    out << text;
}

}  // namespace springcalc::cli
