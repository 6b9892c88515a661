// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tolerance_option.h"

#include <vector>

#include "engine/text_format.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

std::string ToleranceGradeList() {
    std::string list;
    for (const std::string_view name : kToleranceGradeNames) {
        list += (list.empty() ? "" : ", ") + std::string(name);
    }
    return list;
}

std::string ToleranceGradeProblem(std::string_view text) {
    if (ToleranceGradeNamed(text)) {
        return {};
    }
    return "--tolerance-grade takes one of " + ToleranceGradeList() + ", not \"" +
           Escaped(std::string(text)) + "\"";
}

std::string ToleranceLine(ToleranceGrade grade, const TSpringDesign& design,
                          const SpringTolerances& t) {
    std::string line = ToleranceGradeName(grade) + ":";
    std::vector<std::string> agreed;  // figures the grade leaves to the buyer and the maker
    using Which = ToleratedFigure::Which;
    for (const ToleratedFigure& f : ToleratedFigures(design, t)) {
        const char* what = f.which == Which::SetLoad         ? "Pset"
                           : f.which == Which::WorkLoad      ? "Pact"
                           : f.which == Which::OuterDiameter ? "OD"
                           : f.which == Which::InnerDiameter ? "ID"
                                                             : "free";
        if (!f.tolerance) {
            agreed.push_back(what);
            continue;
        }
        line +=
            (line.back() == ':' ? " " : ", ") + std::string(what) + " " + ToleratedFigureText(f);
    }
    if (t.squareness) {
        line += ", squareness " + FixedText(*t.squareness, 2, " mm");
    }
    if (t.parallelism) {
        line += ", parallelism " + FixedText(*t.parallelism, 2, " mm");
    }
    if (!agreed.empty()) {
        std::string names;
        for (const std::string& name : agreed) {
            names += (names.empty() ? "" : ", ") + name;
        }
        line += std::string(line.back() == ':' ? " " : "; ") + names +
                ": by agreement (outside the grade's tables)";
    }
    return line;
}

}  // namespace springcalc::cli
