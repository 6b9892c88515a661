// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tolerance a spring maker promises on each figure of a drawing, by the grade the drawing
// names: JIS B 2704-2 grades 1 to 3 (compression and extension springs) and EN 15800 grades 1
// to 3 (compression springs). Worked out in double from a design's own values; none where the
// standard leaves the figure to the buyer and the maker (too few turns, a spring index outside
// its tables, an extension spring under EN 15800).
//
// Units: mm and kg (kilogram-force) as everywhere; EN 15800's formulas work in newtons inside.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/spring_design.h"

namespace springcalc {

enum class ToleranceStandard { Jis, En };

struct ToleranceGrade {
    ToleranceStandard standard = ToleranceStandard::Jis;
    int grade = 2;  // 1 (closest) to 3
    bool operator==(const ToleranceGrade&) const = default;
};

// "JIS-1" to "JIS-3" and "EN-1" to "EN-3" (case ignored), the names --tolerance-grade takes.
std::optional<ToleranceGrade> ToleranceGradeNamed(std::string_view name);
std::string ToleranceGradeName(ToleranceGrade grade);
// The six names, closest first within each standard.
inline constexpr std::string_view kToleranceGradeNames[] = {"JIS-1", "JIS-2", "JIS-3",
                                                            "EN-1",  "EN-2",  "EN-3"};

// What the tolerances are worked out from: a design's figures, as the record holds them.
struct ToleranceSpring {
    std::int32_t springKind = kCompression;
    double wireDia = 0;         // d, mm
    double meanDia = 0;         // D, mm
    double turns = 0;           // active turns n
    double freeLen = 0;         // mm
    double rate = 0;            // kg/mm
    double initialTension = 0;  // kg, an extension spring's
};

ToleranceSpring ToleranceSpringOf(const TSpringDesign& design);

// Each figure's tolerance, ± that much; none where the grade gives none for this spring.
struct SpringTolerances {
    std::optional<double> setLoad;        // kg, at the installed length
    std::optional<double> workLoad;       // kg, at the operating length
    std::optional<double> outerDiameter;  // mm
    std::optional<double> innerDiameter;  // mm
    std::optional<double> freeLength;     // mm
    // A compression spring's: how far the outside of the coils may lean from square over the
    // free length (mm, not ±), and under EN 15800 how far its ground ends may be out of
    // parallel (mm, over the outer diameter).
    std::optional<double> squareness;
    std::optional<double> parallelism;
};

// The tolerance of the load `load` (kg) at some length.
std::optional<double> LoadTolerance(ToleranceGrade grade, const ToleranceSpring& spring,
                                    double load);

SpringTolerances TolerancesOf(ToleranceGrade grade, const ToleranceSpring& spring, double setLoad,
                              double workLoad);
SpringTolerances TolerancesOf(ToleranceGrade grade, const TSpringDesign& design);

// How much heavier than drawn the heavier of a design's two loads may come out at `grade`,
// as a factor (1.10 for ±10 %): 1 where the grade's tables do not reach the spring. The
// search holds the stress of that load within its margin.
double HeavierLoadScale(ToleranceGrade grade, const TSpringDesign& design);

// A figure of the design as a drawing states it with its tolerance: the value, the decimals it
// is written with (the tolerance always with two), and the tolerance, none where the grade
// leaves it to the buyer and the maker. Both the command line and the page write these.
struct ToleratedFigure {
    enum class Which { SetLoad, WorkLoad, OuterDiameter, InnerDiameter, FreeLength };
    Which which;
    double value;
    int digits;
    std::optional<double> tolerance;
    bool isLoad;  // kg; else mm
};
std::array<ToleratedFigure, 5> ToleratedFigures(const TSpringDesign& design,
                                                const SpringTolerances& tolerances);
// "2.06 ± 0.21 kg": a figure with its tolerance, as every front end writes it, so that the page
// and a drawing made from check's output agree to the last digit. The figure must have one.
std::string ToleratedFigureText(const ToleratedFigure& figure);

// Where the grade's rules come from, for the footnote of a table.
std::string_view ToleranceSource(ToleranceStandard standard);

}  // namespace springcalc
