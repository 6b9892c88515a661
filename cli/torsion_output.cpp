// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/torsion_output.h"

#include <charconv>

#include "cli/input_values.h"
#include "cli/text_table.h"
#include "engine/catalogue.h"
#include "engine/service_figures.h"
#include "engine/spring_tables.h"
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

const char* TorsionWarningText(int number) {
    switch (number) {
        case kTorsionStressWarning:
            return Words("warning21");
        case kTorsionMandrelWarning:
            return Words("warning22");
        case kTorsionIndexWarning:
            return Words("warning23");
        default:
            return WarningTextOf(number);
    }
}

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
               std::to_string(result.warnings[w]) + " " + TorsionWarningText(result.warnings[w]);
    }
    if (!result.warnings.empty()) {
        out += "\n";
    }
}

void AppendTorsionJson(std::string& out, const DesignRow& input, const TorsionResult& result,
                       bool withNames, bool si) {
    const TorsionInput& t = *input.torsion;
    out += "\"row\":" + std::to_string(input.row);
    out += ",\"name\":" + (withNames ? JsonString(input.name) : std::string("null"));
    out += ",\"kind\":\"torsion\",\"material\":" + JsonString(MaterialDesignation(t.materialNo));
    out += ",\"analysed\":" + std::string(result.ran ? "true" : "false");
    out += ",\"wire\":" + ShortestText(result.d) + ",\"mean_dia\":" + ShortestText(t.meanDia) +
           ",\"body_turns\":" + ShortestText(t.bodyTurns) + ",\"leg1\":" + ShortestText(t.leg1) +
           ",\"leg2\":" + ShortestText(t.leg2) + ",\"free_angle\":" + ShortestText(t.freeAngle) +
           ",\"mandrel\":" + (t.mandrel > 0.0 ? ShortestText(t.mandrel) : std::string("null"));
    out += ",\"torsion\":";
    if (!result.ran) {
        out += "null";
    } else {
        out += "{";
        for (const Figure& figure : FiguresOf(result)) {
            out += "\"" + std::string(figure.json) + "\":" + ShortestText(figure.value) + ",";
            if (si && figure.moment) {
                out += "\"" + std::string(figure.json) +
                       "_N\":" + ShortestText(figure.value * kNewtonsPerKgf) + ",";
            }
        }
        out += "\"allowable_share\":" + ShortestText(result.allowableShare) +
               ",\"tensile_strength\":" + ShortestText(result.tensileStrength) +
               ",\"mandrel_clearance\":" +
               (t.mandrel > 0.0 ? ShortestText(result.mandrelClearance) : std::string("null")) +
               "}";
    }
    out += ",\"warnings\":[";
    for (size_t w = 0; w < result.warnings.size(); ++w) {
        out += (w == 0 ? "{\"number\":" : ",{\"number\":") + std::to_string(result.warnings[w]) +
               ",\"text\":" + JsonString(TorsionWarningText(result.warnings[w])) + "}";
    }
    out += "]";
}

}  // namespace springcalc::cli
