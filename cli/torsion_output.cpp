// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/torsion_output.h"

#include <charconv>
#include <cmath>

#include "cli/input_values.h"
#include "cli/text_table.h"
#include "engine/catalogue.h"
#include "engine/service_figures.h"
#include "engine/spring_tables.h"
#include "engine/text_format.h"
#include "engine/words.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

namespace {

constexpr int kNameWidth = 20;  // as the table's other rows

struct Figure {
    const char* table;  // the name on the table's line
    const char* json;
    double value;
    int precision;
    bool moment;  // kgf·mm: also in N·mm with --units si
};

std::vector<Figure> FiguresOf(const TorsionResult& r) {
    const TorsionPoint& p1 = r.points[0];
    const TorsionPoint& p2 = r.points[1];
    return {
        {"D/d", "index", r.index, 2, false},
        {"n", "active_turns", r.activeTurns, 3, false},
        {"k/rad", "rate_per_radian", r.ratePerRadian, 4, true},
        {"k/deg", "rate_per_degree", r.ratePerDegree, 5, true},
        {"k'/turn(Shigley)", "shigley_rate_per_turn", r.shigleyRatePerTurn, 3, true},
        {"a1", "angle1", p1.angle, 2, false},
        {"M1", "moment1", p1.moment, 3, true},
        {"a2", "angle2", p2.angle, 2, false},
        {"M2", "moment2", p2.moment, 3, true},
        {"q", "q", r.q, 4, false},
        {"Ki", "ki", r.ki, 4, false},
        {"s1", "stress1", p1.stress, 2, false},
        {"s2", "stress2", p2.stress, 2, false},
        {"s2(Ki)", "stress2_ki", p2.stressKi, 2, false},
        {"sa", "allowable_stress", r.allowableStress, 2, false},
        {"Ma", "allowable_moment", r.allowableMoment, 3, true},
        {"Di", "inner_diameter", r.innerDiameterFree, 3, false},
        {"Di1", "inner_diameter1", p1.innerDiameter, 3, false},
        {"Di2", "inner_diameter2", p2.innerDiameter, 3, false},
        {"Lk1", "body_length1", p1.bodyLength, 3, false},
        {"Lk2", "body_length2", p2.bodyLength, 3, false},
        {"legs1", "leg_angle1", p1.legAngle, 1, false},
        {"legs2", "leg_angle2", p2.legAngle, 1, false},
        {"energy", "energy", r.energy, 3, true},
        {"mass", "wire_mass", r.wireMass, 3, false},
    };
}

}  // namespace

void AppendTorsionTableRow(std::string& out, const DesignRow& input, const TorsionResult& result,
                           bool withNames, bool si) {
    const TorsionInput& t = *input.torsion;
    std::string line = std::to_string(input.row);
    if (withNames) {
        line += "  " + Shortened(Escaped(input.name), kNameWidth);
    }
    line += "  torsion  " + std::string(Trim(MaterialDesignation(t.materialNo))) + "  " +
            std::string(Trim(WireDesignation(t.wireNo))) + "  D=" + ShortestText(t.meanDia) +
            "  nb=" + ShortestText(t.bodyTurns);
    if (t.mandrel > 0.0) {
        line += "  mandrel=" + ShortestText(t.mandrel);
    }
    if (result.ran) {
        for (const Figure& figure : FiguresOf(result)) {
            line += "  " + std::string(figure.table) + "=" +
                    ReadableFixed(figure.value, figure.precision);
            if (si && figure.moment) {
                line += "(" + ReadableFixed(figure.value * kNewtonsPerKgf, figure.precision) + "N)";
            }
        }
        // Always shown, as the coil springs' fatigue column is; judged only under --repeated.
        line += "  fatigue=" +
                (result.fatigueSafety ? ReadableFixed(*result.fatigueSafety, 2) : std::string("-"));
        if (t.mandrel > 0.0) {
            line += "  clearance=" + ReadableFixed(result.mandrelClearance * 100.0, 1) + "%";
        }
    } else {
        line += "  -";
    }
    out += line;
    if (result.warnings.empty()) {
        out += "\n";
    }
    for (size_t w = 0; w < result.warnings.size(); ++w) {
        out += (w == 0 ? std::string(TextTable::kGap, ' ') : "\n" + std::string(8, ' ')) +
               std::to_string(result.warnings[w]) + " " + WarningTextOf(result.warnings[w]);
    }
    if (!result.warnings.empty()) {
        out += "\n";
    }
}

namespace {

// A JSON number, or null where the figure is not one: an index of 1 gives Ki no value.
std::string JsonNumber(double value) {
    return std::isfinite(value) ? ShortestText(value) : std::string("null");
}

}  // namespace

void AppendTorsionJson(std::string& out, const DesignRow& input, const TorsionResult& result,
                       bool withNames, bool si) {
    const TorsionInput& t = *input.torsion;
    out += "\"row\":" + std::to_string(input.row);
    out += ",\"name\":" + (withNames ? JsonString(input.name) : std::string("null"));
    out += ",\"kind\":\"torsion\",\"material\":" + JsonString(MaterialDesignation(t.materialNo));
    out += ",\"analysed\":" + std::string(result.ran ? "true" : "false");
    out += ",\"wire\":" + JsonNumber(result.d) + ",\"mean_dia\":" + JsonNumber(t.meanDia) +
           ",\"body_turns\":" + JsonNumber(t.bodyTurns) + ",\"leg1\":" + JsonNumber(t.leg1) +
           ",\"leg2\":" + JsonNumber(t.leg2) + ",\"free_angle\":" + JsonNumber(t.freeAngle) +
           ",\"mandrel\":" + (t.mandrel > 0.0 ? JsonNumber(t.mandrel) : std::string("null"));
    out += ",\"torsion\":";
    if (!result.ran) {
        out += "null";
    } else {
        out += "{";
        for (const Figure& figure : FiguresOf(result)) {
            out += "\"" + std::string(figure.json) + "\":" + JsonNumber(figure.value) + ",";
            if (si && figure.moment) {
                out += "\"" + std::string(figure.json) +
                       "_N\":" + JsonNumber(figure.value * kNewtonsPerKgf) + ",";
            }
        }
        out +=
            "\"allowable_share\":" + JsonNumber(result.allowableShare) +
            ",\"tensile_strength\":" + JsonNumber(result.tensileStrength) +
            ",\"mandrel_clearance\":" +
            (t.mandrel > 0.0 ? JsonNumber(result.mandrelClearance) : std::string("null")) +
            ",\"fatigue_data\":" + JsonString(result.endurance->name) +
            ",\"fatigue_stress_amplitude\":" + JsonNumber(result.fatigueAmplitude) +
            ",\"fatigue_mean_stress\":" + JsonNumber(result.fatigueMean) + ",\"fatigue_safety\":" +
            (result.fatigueSafety ? JsonNumber(*result.fatigueSafety) : std::string("null")) + "}";
    }
    out += ",\"warnings\":[";
    for (size_t w = 0; w < result.warnings.size(); ++w) {
        out += (w == 0 ? "{\"number\":" : ",{\"number\":") + std::to_string(result.warnings[w]) +
               ",\"text\":" + JsonString(WarningTextOf(result.warnings[w])) + "}";
    }
    out += "]";
}

namespace {

std::string Moment(double kgMm) {
    return ReadableFixed(kgMm, 2, " kg·mm");
}
std::string Degrees(double angle) {
    return ReadableFixed(angle, 1, "°");
}

std::string TorsionRequirement(const SearchRequest& r) {
    std::string text = "Torsion spring: " + Moment(r.installed.load) + " at " +
                       Degrees(r.installed.length) + " between the legs";
    if (r.operating) {
        text += " and " + Moment(r.operating->load) + " at " + Degrees(r.operating->length) +
                " (rate " + ReadableFixed(r.rate, 4, " kg·mm/°)");
    } else {
        text += ", rate " + ReadableFixed(r.rate, 4, " kg·mm/°");
    }
    text += ", each within " + ReadableFixed(r.tolerance * 100.0, 1, " %") + "; legs " +
            ShortestText(r.legs) + " mm.\nLimits: D/d from 4 to " + ShortestText(r.maxSpringIndex) +
            ", at least " + ShortestText(r.minTurns) + " body turns, the stress at most " +
            ShortestText(r.maxStressRatio * 100.0) + " % of the allowable bending stress";
    if (r.repeated) {
        text += ", a bending fatigue safety factor of at least " +
                FixedText(r.minFatigue, 2, " (") +
                std::string((r.strength.peened ? kPeened : kUnpeened).name) +
                " data over 0.577, for wire under 10 mm)";
    }
    if (r.mandrel) {
        text += ", on a mandrel of " + ShortestText(*r.mandrel) + " mm with 10 % clearance";
    }
    if (r.maxOuterDia) {
        text += ", outer diameter at most " + ShortestText(*r.maxOuterDia) + " mm";
    }
    if (r.maxBodyLen) {
        text += ", body wound up at most " + ShortestText(*r.maxBodyLen) + " mm long";
    }
    text += ".\nMaterials: ";
    for (size_t i = 0; i < r.materials.size(); ++i) {
        text += (i == 0 ? "" : ", ") + MaterialDesignation(r.materials[i]);
    }
    return text + ".\n";
}

}  // namespace

void WriteTorsionSearch(std::string& text, const SearchRequest& request,
                        const SearchResult& result) {
    text += TorsionRequirement(request);
    text += "Searched " + std::to_string(result.gridCount) + " torsion springs; " +
            std::to_string(result.metCount) +
            " (material, wire, D and body turns) met the "
            "requirements";
    if (result.metCount > 0) {
        text += ", in " + std::to_string(result.choiceCount) + " materials and wire sizes";
    }
    text += ".\n";
    if (result.stop != SearchStop::None) {
        text += "The search stopped at its limit in " +
                MaterialDesignation(result.stoppedMaterial) + " " +
                WireDesignation(result.stoppedWire) +
                " mm: what follows is from the materials and wire sizes up to there.\n";
    }
    if (result.torsionBest.empty()) {
        text +=
            "\nNo torsion spring meets the requirements. Widen the tolerance, the spring "
            "index (--max-index), the stress margin (--max-stress-ratio)" +
            std::string(request.repeated ? ", the fatigue safety factor (--min-fatigue)" : "") +
            " or the space given, or choose other materials.\n";
        return;
    }
    text += "\nBest " + std::to_string(result.torsionBest.size()) +
            (request.listing == SearchListing::Every
                 ? " designs by "
                 : " materials and wire sizes, each with its best design, by ") +
            (request.order == SearchOrder::Stress
                 ? "bending stress against the allowable (lowest first):\n\n"
                 : "mass of wire (lightest first):\n\n");
    // clang-format off
    std::vector<TableColumn> columns{{"#", ""}, {"material", "", Align::Left}, {"wire", "mm"},
                                     {"D", "mm"}, {"D/d", ""}, {"nb", ""}, {"free-angle", "°"},
                                     {"angle1", "°"}, {"angle2", "°"}, {"OD", "mm"}, {"ID2", "mm"},
                                     {"Lk2", "mm"}, {"k", "kg·mm/°"}, {"M1", "kg·mm"},
                                     {"M2", "kg·mm"}, {"stress", "kg/mm²"}, {"allow", "kg/mm²"},
                                     {"used", "%"}, {"mass", "g"}};
    // clang-format on
    // Under repeated load, the bending fatigue safety factor before the mass, as the coil
    // springs' table has it.
    if (request.repeated) {
        columns.insert(columns.end() - 1, {"fatigue", "nf"});
    }
    TextTable table(std::move(columns));
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i < result.torsionBest.size(); ++i) {
        const TorsionCandidate& c = result.torsionBest[i];
        const TorsionResult& r = c.result;
        rows.push_back({std::to_string(i + 1), MaterialDesignation(c.input.materialNo),
                        WireDesignation(c.input.wireNo), FixedText(c.input.meanDia, 1),
                        FixedText(r.index, 1), FixedText(c.input.bodyTurns, 2),
                        FixedText(c.input.freeAngle, 1), FixedText(r.points[0].angle, 1),
                        FixedText(r.points[1].angle, 1), FixedText(r.outerDiameterFree, 2),
                        FixedText(r.points[1].innerDiameter, 2),
                        FixedText(r.points[1].bodyLength, 2), FixedText(r.ratePerDegree, 4),
                        FixedText(r.points[0].moment, 2), FixedText(r.points[1].moment, 2),
                        FixedText(std::max(r.points[0].stress, r.points[1].stress), 2),
                        FixedText(r.allowableStress, 2), FixedText(c.stressRatio * 100.0, 0),
                        FixedText(c.massGrams, 2)});
        if (request.repeated) {
            rows.back().insert(rows.back().end() - 1,
                               c.fatigueSafety ? FixedText(*c.fatigueSafety, 2) : "-");
        }
        table.Measure(rows.back());
    }
    table.AppendHeader(text);
    for (const std::vector<std::string>& row : rows) {
        table.AppendRow(text, row);
    }
    text += "\nangle1, angle2: from free, winding up";
    if (!request.operating) {
        text += " (one moment: angle1 is the free position, angle2 the moment's)";
    }
    text +=
        "; ID2, Lk2: the body's inner diameter and length at angle2; stress: with EN 13906-3's "
        "q.\n"
        "Check one, or save its report, with `springcalc-cli check`: a row kind,material,"
        "wire,mean_dia,turns,leg1,leg2,free_angle,angle1,angle2,mandrel with kind torsion "
        "and turns the body turns nb.\n";
}

}  // namespace springcalc::cli
