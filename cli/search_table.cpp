#include "search_table.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "input_values.h"
#include "text_format.h"
#include "text_table.h"

namespace springcalc::cli {

namespace {

std::string Load(double kg) {
    return Format("%.2f kg", kg);
}
std::string Length(double mm) {
    return Format("%.1f mm", mm);
}
std::string Percent(double fraction) {
    return Format("%.1f %%", fraction * 100.0);
}

std::string Requirement(const SearchRequest& r) {
    std::string text = std::string(r.springKind == kCompression ? "Compression" : "Extension") +
                       " spring: " + Load(r.installed.load) + " at " + Length(r.installed.length);
    if (r.operating) {
        text += " and " + Load(r.operating->load) + " at " + Length(r.operating->length) +
                Format(" (rate %.3f kg/mm)", r.rate);
    } else {
        text += Format(", rate %.3f kg/mm", r.rate);
    }
    text += ", each within " + Percent(r.tolerance) + ".\nLimits: D/d from 4 to " +
            Format("%g", r.maxSpringIndex);
    if (r.maxOuterDia) {
        text += ", outer diameter at most " + Length(*r.maxOuterDia);
    }
    if (r.minInnerDia) {
        text += ", inner diameter at least " + Length(*r.minInnerDia);
    }
    if (r.maxFreeLen) {
        text += ", free length at most " + Length(*r.maxFreeLen);
    }
    text += ".\nMaterials: ";
    for (size_t i = 0; i < r.materials.size(); ++i) {
        text += (i == 0 ? "" : ", ") + MaterialDesignation(r.materials[i]);
    }
    return text + ".\n";
}

std::string Searched(const SearchResult& result) {
    return Format(
        "Searched %zu designs on the grid; %zu ran through the engine; %zu met the "
        "requirements.\n",
        result.gridCount, result.engineRuns, result.metCount);
}

std::string Direction(double actual, double wanted) {
    return actual > wanted ? "above" : "below";
}

std::string Explain(const Shortfall& s, const SearchRequest& r) {
    const double miss = std::fabs(s.actual - s.wanted) / s.wanted;
    switch (s.what) {
        case Shortfall::What::Load:
            return "load at " + Length(s.length) + " is " + Load(s.actual) + ", " + Percent(miss) +
                   " " + Direction(s.actual, s.wanted) + " the " + Load(s.wanted) +
                   " asked for (tolerance " + Percent(r.tolerance) + ")";
        case Shortfall::What::Rate:
            return Format("rate is %.3f kg/mm, ", s.actual) + Percent(miss) + " " +
                   Direction(s.actual, s.wanted) + Format(" the %.3f kg/mm asked for", s.wanted) +
                   " (tolerance " + Percent(r.tolerance) + ")";
        case Shortfall::What::OuterDia:
            return "outer diameter " + Format("%.2f mm", s.actual) + " is above --max-od " +
                   Format("%g mm", s.wanted);
        case Shortfall::What::InnerDia:
            return "inner diameter " + Format("%.2f mm", s.actual) + " is below --min-id " +
                   Format("%g mm", s.wanted);
        case Shortfall::What::FreeLen:
            return "free length " + Length(s.actual) + " is above --max-free-len " +
                   Format("%g mm", s.wanted);
        case Shortfall::What::Warning: {
            std::string text =
                "warning " + std::to_string(s.warning) + ": " + kWarningTexts[s.warning - 1];
            if (s.warning == 2) {
                text += Format(" (stress %.2f kg/mm², static allowable %.2f)", s.actual, s.wanted);
            } else if (s.warning == 6) {
                text += " (solid length " + Length(s.actual) + ", shortest length " +
                        Length(s.wanted) + ")";
            } else if (s.warning == 7) {
                text += " (free length " + Length(s.actual) + ", shortest length " +
                        Length(s.wanted) + ")";
            }
            return text;
        }
    }
    return {};
}

std::string Warnings(const Candidate& c) {
    std::vector<int> distinct;
    for (int number : c.outcome.warnings) {
        if (std::find(distinct.begin(), distinct.end(), number) == distinct.end()) {
            distinct.push_back(number);
        }
    }
    std::string text;
    for (int number : distinct) {
        text += (text.empty() ? "" : ",") + std::to_string(number);
    }
    return text;
}

std::string Identify(const Candidate& c) {
    const DesignValues& v = c.outcome.values;
    return MaterialDesignation(v.MaterialNo) + " " + WireDesignation(v.WireNo) +
           Format(" mm, D %.1f, n %.1f, free length %.1f mm", double(v.MeanDia), double(v.Turns),
                  double(v.FreeLen));
}

void WriteBest(std::string& text, const SearchRequest& request, const SearchResult& result) {
    text += Format("Best %zu by ", result.best.size()) +
            (request.order == SearchOrder::Stress
                 ? "working stress against the static allowable stress (lowest first):\n\n"
                 : "mass of wire (lightest first):\n\n");
    TextTable table({{"#", ""},
                     {"material", "", Align::Left},
                     {"wire", "mm"},
                     {"D", "mm"},
                     {"n", ""},
                     {"free", "mm"},
                     {"set", "mm"},
                     {"work", "mm"},
                     {"OD", "mm"},
                     {"ID", "mm"},
                     {"k", "kg/mm"},
                     {"Pset", "kg"},
                     {"Pact", "kg"},
                     {"stress", "kg/mm²"},
                     {"allow-static", "kg/mm²"},
                     {"used", "%"},
                     {"mass", "g"},
                     {"warnings", "", Align::Left}});
    std::vector<std::vector<std::string>> rows;
    bool anyWarning = false;
    for (size_t i = 0; i < result.best.size(); ++i) {
        const Candidate& c = result.best[i];
        const DesignValues& v = c.outcome.values;
        const float allowable = v.SpringKind == kCompression ? v.AllowStatic : v.AllowStaticExt;
        rows.push_back(
            {std::to_string(i + 1), MaterialDesignation(v.MaterialNo), WireDesignation(v.WireNo),
             Format("%.1f", double(v.MeanDia)), Format("%.1f", double(v.Turns)),
             Format("%.1f", double(v.FreeLen)), Format("%.1f", double(v.SetLen)),
             Format("%.1f", double(v.WorkLen)), Format("%.2f", double(v.OuterDia)),
             Format("%.2f", double(v.InnerDia)), Format("%.3f", double(v.SpringRate)),
             Format("%.2f", double(v.Pset)), Format("%.2f", double(v.Pact)),
             Format("%.2f", double(std::max(v.Tset, v.Tact))), Format("%.2f", double(allowable)),
             Format("%.0f", c.stressRatio * 100.0), Format("%.2f", c.massGrams), Warnings(c)});
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
                "; 4 " + kWarningTexts[3] + ".\n";
    }
    text +=
        "Check one, or save its report, with `springcalc-cli check`: a row "
        "kind,material,wire,mean_dia,turns,free_len,set_len,work_len";
    text += request.springKind == kExtension ? " (free_len empty).\n" : ".\n";
}

void WriteClosest(std::string& text, const SearchRequest& request, const SearchResult& result) {
    text += "No design meets the requirements.\n";
    if (result.closest.empty()) {
        text += Format(
            "No offered wire size of these materials gives %.3f kg/mm with D/d of at "
            "least 4 and at least %.1f active turns.\n",
            request.rate, kSmallestTurns);
        return;
    }
    text +=
        "The closest, and what keeps each out (closest: the least shortfall in all, each "
        "counted as a fraction of what was asked):\n";
    for (const Candidate& c : result.closest) {
        text += "  " + Identify(c) + "\n";
        for (const Shortfall& s : c.shortfalls) {
            text += "    - " + Explain(s, request) + "\n";
        }
    }
}

}  // namespace

void WriteSearchResult(std::ostream& out, const SearchRequest& request,
                       const SearchResult& result) {
    std::string text = Requirement(request) + Searched(result);
    if (result.best.empty()) {
        WriteClosest(text, request, result);
    } else {
        WriteBest(text, request, result);
    }
    out << text;
}

}  // namespace springcalc::cli
