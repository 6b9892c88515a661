// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/tolerance_grades.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "engine/spring_tables.h"
#include "engine/text_format.h"

namespace springcalc {

namespace {

// A band's bounds hold a little beyond themselves: D/d = 8 typed as 4.8 and 0.6 comes out of
// single precision a hair above 8 and must stay in the band that ends at 8.
constexpr double kBandSlack = 1e-6;

bool AtMost(double value, double bound) {
    return value <= bound * (1.0 + kBandSlack);
}

// A share of the figure with a least tolerance in mm.
struct ShareAtLeast {
    double share;
    double least;
    double Of(double figure) const { return std::max(share * figure, least); }
};

// ---- JIS B 2704-2:2018, cold-formed compression and extension springs ------------------------
// The tables as the Japan Spring Manufacturers Association's own summary sets them out
// (JSMA SB001-2:2018, tabled by tsukishima.la.coocan.jp for compression and extension springs),
// checked against a maker's summary of the extension tables (sotec-bane.jp) and of the
// squareness (bestex-spring.com).

// The load at a given length of a compression spring, as a share of that load; for an
// extension spring the share β of the load beyond the initial tension. By active turns: 3 to
// 10, and over 10. Below 3 turns the standard leaves it to the buyer and the maker.
constexpr double kJisLeastTurns = 3.0;
constexpr double kJisTurnsBand = 10.0;
// clang-format off
constexpr std::array<std::array<double, 3>, 2> kJisLoadShare{{
    //  grade 1  grade 2  grade 3
    {{  0.05,    0.10,    0.15 }},   // 3 <= n <= 10
    {{  0.04,    0.08,    0.12 }},   // n > 10
}};
// An extension spring's initial tension scatters more: ±{Fi·α1 + (F − Fi)·β}.
constexpr std::array<double, 3> kJisInitialTensionShare{0.10, 0.15, 0.20};  // α1

// By the spring index D/d: 3 to 8, over 8 to 15, over 15 to 22; outside them, by agreement.
constexpr std::array<double, 3> kJisIndexBands{8.0, 15.0, 22.0};
constexpr double kJisLeastIndex = 3.0;
// The free length (the length inside the hooks of an extension spring).
constexpr std::array<std::array<ShareAtLeast, 3>, 3> kJisFreeLength{{
    //  grade 1         grade 2         grade 3
    {{ {0.010, 0.2},   {0.020, 0.5},   {0.030, 0.7} }},   // 3 <= D/d <= 8
    {{ {0.015, 0.5},   {0.030, 0.7},   {0.040, 0.8} }},   // 8 < D/d <= 15
    {{ {0.020, 0.6},   {0.040, 0.8},   {0.060, 1.0} }},   // 15 < D/d <= 22
}};
// The coil's inside or outside diameter, whichever the drawing gives, of that diameter.
constexpr std::array<std::array<ShareAtLeast, 3>, 3> kJisCoilDiameter{{
    {{ {0.010, 0.15},  {0.015, 0.2},   {0.025, 0.4} }},
    {{ {0.015, 0.2},   {0.020, 0.3},   {0.030, 0.5} }},
    {{ {0.020, 0.3},   {0.030, 0.5},   {0.040, 0.7} }},
}};
// clang-format on
// The lean of the coils' outside over the free length of an unloaded compression spring.
constexpr std::array<double, 3> kJisSquareness{0.02, 0.05, 0.08};

std::optional<size_t> JisIndexBand(double index) {
    if (index < kJisLeastIndex * (1.0 - kBandSlack)) {
        return std::nullopt;
    }
    for (size_t band = 0; band < kJisIndexBands.size(); ++band) {
        if (AtMost(index, kJisIndexBands[band])) {
            return band;
        }
    }
    return std::nullopt;
}

std::optional<double> JisLoadTolerance(int grade, const ToleranceSpring& s, double load) {
    if (s.turns < kJisLeastTurns * (1.0 - kBandSlack)) {
        return std::nullopt;
    }
    const double share = kJisLoadShare[AtMost(s.turns, kJisTurnsBand) ? 0 : 1][grade - 1];
    if (s.springKind == kCompression) {
        return share * load;
    }
    const double initial = s.initialTension;
    return initial * kJisInitialTensionShare[grade - 1] + std::max(load - initial, 0.0) * share;
}

SpringTolerances JisTolerances(int grade, const ToleranceSpring& s, double setLoad,
                               double workLoad) {
    SpringTolerances t;
    t.setLoad = JisLoadTolerance(grade, s, setLoad);
    t.workLoad = JisLoadTolerance(grade, s, workLoad);
    if (const std::optional<size_t> band = JisIndexBand(s.meanDia / s.wireDia)) {
        const ShareAtLeast& coil = kJisCoilDiameter[*band][grade - 1];
        t.outerDiameter = coil.Of(s.meanDia + s.wireDia);
        t.innerDiameter = coil.Of(s.meanDia - s.wireDia);
        t.freeLength = kJisFreeLength[*band][grade - 1].Of(s.freeLen);
    }
    if (s.springKind == kCompression) {
        t.squareness = kJisSquareness[grade - 1] * s.freeLen;
    }
    return t;
}

// ---- EN 15800:2008, cold-coiled compression springs of round wire ----------------------------
// The formulas and the coil diameter table as the GPL spring designer SpringOne sets them out
// (melchiorrecaruso/springone, SpringLIB/src/EN15800.pas), the table checked against a spring
// maker's copy of it (federnshop.com, the tolerances of DIN 2095/2097) and the scope against
// the standard's own abstract (standards.iteh.ai, CEN/TC 378).

// The scope: 0.07 <= d <= 16 mm, 0.63 <= D <= 200 mm, L0 <= 630 mm, n >= 2, 4 <= D/d <= 20.
bool InEnScope(const ToleranceSpring& s) {
    const double index = s.meanDia / s.wireDia;
    return s.springKind == kCompression && s.wireDia >= 0.07 && AtMost(s.wireDia, 16.0) &&
           s.meanDia >= 0.63 && AtMost(s.meanDia, 200.0) && AtMost(s.freeLen, 630.0) &&
           s.turns >= 2.0 && index >= 4.0 * (1.0 - kBandSlack) && AtMost(index, 20.0) &&
           s.rate > 0.0;
}

// The grade factor Q the deviations of grade 2 are multiplied by.
constexpr std::array<double, 3> kEnGradeFactor{0.63, 1.0, 1.6};

// αF in N: the scatter of the load that follows from d, D and w = D/d.
double EnAlphaF(const ToleranceSpring& s) {
    const double w10 = s.meanDia / s.wireDia / 10.0;
    return 65.92 * std::pow(s.wireDia, 3.3) / std::pow(s.meanDia, 1.6) *
           (-0.84 * w10 * w10 * w10 + 3.781 * w10 * w10 - 4.244 * w10 + 2.274);
}

// kF = kL: how the scatter grows as the active turns get fewer.
double EnTurnsFactor(double n) {
    return 1.0 / (3.0 * n * n) + 8.0 / (5.0 * n) + 0.803;
}

// The deviation of the mean coil diameter, the same for the outside and the inside one, in mm:
// by D (over the lower bound up to the upper, the first band from 0.63 itself) and by w (4 to 8,
// over 8 to 14, over 14 to 20), for grades 1, 2 and 3.
struct EnCoilRow {
    double overD;
    double toD;
    std::array<std::array<double, 3>, 3> deviation;  // [grade][w band]
};
// clang-format off
constexpr EnCoilRow kEnCoilDiameter[] = {
    //  D over  to       grade 1 (w: 4-8, 8-14, 14-20)   grade 2               grade 3
    {   0.63,   1.00, {{{0.05, 0.07, 0.10}, {0.07, 0.10, 0.15}, {0.10, 0.15, 0.20}}}},
    {   1.00,   1.60, {{{0.05, 0.07, 0.10}, {0.08, 0.10, 0.15}, {0.15, 0.20, 0.30}}}},
    {   1.60,   2.50, {{{0.07, 0.10, 0.15}, {0.10, 0.15, 0.20}, {0.20, 0.30, 0.40}}}},
    {   2.50,   4.00, {{{0.10, 0.10, 0.15}, {0.15, 0.20, 0.25}, {0.30, 0.40, 0.50}}}},
    {   4.00,   6.30, {{{0.10, 0.15, 0.20}, {0.20, 0.25, 0.30}, {0.40, 0.50, 0.60}}}},
    {   6.30,  10.00, {{{0.15, 0.15, 0.20}, {0.25, 0.30, 0.35}, {0.50, 0.60, 0.70}}}},
    {  10.00,  16.00, {{{0.15, 0.20, 0.25}, {0.30, 0.35, 0.40}, {0.60, 0.70, 0.80}}}},
    {  16.00,  25.00, {{{0.20, 0.25, 0.30}, {0.35, 0.45, 0.50}, {0.70, 0.90, 1.00}}}},
    {  25.00,  31.50, {{{0.25, 0.30, 0.35}, {0.40, 0.50, 0.60}, {0.80, 1.00, 1.20}}}},
    {  31.50,  40.00, {{{0.25, 0.30, 0.35}, {0.50, 0.60, 0.70}, {1.00, 1.20, 1.50}}}},
    {  40.00,  50.00, {{{0.30, 0.40, 0.50}, {0.60, 0.80, 0.90}, {1.20, 1.50, 1.80}}}},
    {  50.00,  63.00, {{{0.40, 0.50, 0.60}, {0.80, 1.00, 1.10}, {1.50, 2.00, 2.30}}}},
    {  63.00,  80.00, {{{0.50, 0.70, 0.80}, {1.00, 1.20, 1.40}, {1.80, 2.40, 2.80}}}},
    {  80.00, 100.00, {{{0.60, 0.80, 0.90}, {1.20, 1.50, 1.70}, {2.30, 3.00, 3.50}}}},
    { 100.00, 125.00, {{{0.70, 1.00, 1.10}, {1.40, 1.90, 2.20}, {2.80, 3.70, 4.40}}}},
    { 125.00, 160.00, {{{0.90, 1.20, 1.40}, {1.80, 2.30, 2.70}, {3.50, 4.60, 5.40}}}},
    { 160.00, 200.00, {{{1.20, 1.50, 1.70}, {2.10, 2.90, 3.30}, {4.20, 5.70, 6.60}}}},
};
// clang-format on

double EnCoilDeviation(int grade, const ToleranceSpring& s) {
    const double index = s.meanDia / s.wireDia;
    const size_t wBand = AtMost(index, 8.0) ? 0 : AtMost(index, 14.0) ? 1 : 2;
    const EnCoilRow* row = std::begin(kEnCoilDiameter);
    while (row + 1 != std::end(kEnCoilDiameter) && !AtMost(s.meanDia, row->toD)) {
        ++row;
    }
    return row->deviation[grade - 1][wBand];
}

// The lean e1 over the free length, and e2, the ends out of parallel over the outer diameter.
constexpr std::array<double, 3> kEnSquareness{0.030, 0.050, 0.080};
constexpr std::array<double, 3> kEnParallelism{0.015, 0.030, 0.060};
// Grade 1 squareness is made only for springs no slimmer than these.
constexpr double kEnGrade1MaxIndex = 12.0;
constexpr double kEnGrade1MaxSlenderness = 5.0;

std::optional<double> EnLoadTolerance(int grade, const ToleranceSpring& s, double load) {
    if (!InEnScope(s)) {
        return std::nullopt;
    }
    // AF = ±(αF·kF + 1.5 % of F)·Q, in newtons.
    const double newtons = load * kNewtonsPerKgf;
    const double deviation =
        (EnAlphaF(s) * EnTurnsFactor(s.turns) + 0.015 * newtons) * kEnGradeFactor[grade - 1];
    return deviation / kNewtonsPerKgf;
}

SpringTolerances EnTolerances(int grade, const ToleranceSpring& s, double setLoad,
                              double workLoad) {
    SpringTolerances t;
    if (!InEnScope(s)) {
        return t;
    }
    t.setLoad = EnLoadTolerance(grade, s, setLoad);
    t.workLoad = EnLoadTolerance(grade, s, workLoad);
    const double coil = EnCoilDeviation(grade, s);
    t.outerDiameter = coil;
    t.innerDiameter = coil;
    // AL0 = ±αF·kL·Q / R, R in N/mm.
    t.freeLength = EnAlphaF(s) * EnTurnsFactor(s.turns) * kEnGradeFactor[grade - 1] /
                   (s.rate * kNewtonsPerKgf);
    const bool slim = s.meanDia / s.wireDia > kEnGrade1MaxIndex ||
                      s.freeLen / s.meanDia > kEnGrade1MaxSlenderness;
    if (grade != 1 || !slim) {
        t.squareness = kEnSquareness[grade - 1] * s.freeLen;
    }
    t.parallelism = kEnParallelism[grade - 1] * (s.meanDia + s.wireDia);
    return t;
}

}  // namespace

std::optional<ToleranceGrade> ToleranceGradeNamed(std::string_view name) {
    std::string upper;
    for (const char c : name) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (size_t i = 0; i < std::size(kToleranceGradeNames); ++i) {
        if (upper == kToleranceGradeNames[i]) {
            return ToleranceGrade{i < 3 ? ToleranceStandard::Jis : ToleranceStandard::En,
                                  static_cast<int>(i % 3) + 1};
        }
    }
    return std::nullopt;
}

std::string ToleranceGradeName(ToleranceGrade grade) {
    return std::string(grade.standard == ToleranceStandard::Jis ? "JIS-" : "EN-") +
           std::to_string(grade.grade);
}

double HeavierLoadScale(ToleranceGrade grade, const TSpringDesign& design) {
    // The loads' tolerances alone: the search asks this of every spring it judges.
    const ToleranceSpring s = ToleranceSpringOf(design);
    if (s.wireDia <= 0.0 || s.meanDia <= 0.0) {
        return 1.0;
    }
    const double heavier = std::max(design.Pset, design.Pact);
    const double upper =
        std::max(double(design.Pset) + LoadTolerance(grade, s, design.Pset).value_or(0.0),
                 double(design.Pact) + LoadTolerance(grade, s, design.Pact).value_or(0.0));
    return heavier > 0.0 ? upper / heavier : 1.0;
}

std::string_view ToleranceSource(ToleranceStandard standard) {
    return standard == ToleranceStandard::Jis
               ? "JIS B 2704-2:2018 (JSMA SB001-2:2018)"
               : "EN 15800:2008, compression springs only, within its scope";
}

ToleranceSpring ToleranceSpringOf(const TSpringDesign& design) {
    ToleranceSpring s;
    s.springKind = design.SpringKind;
    s.wireDia = WireDiameterOf(design);
    s.meanDia = design.MeanDia;
    s.turns = design.Turns;
    s.freeLen = design.FreeLen;
    s.rate = design.SpringRate;
    s.initialTension = design.SpringKind == kExtension ? design.InitTension : 0.0;
    return s;
}

std::optional<double> LoadTolerance(ToleranceGrade grade, const ToleranceSpring& spring,
                                    double load) {
    return grade.standard == ToleranceStandard::Jis ? JisLoadTolerance(grade.grade, spring, load)
                                                    : EnLoadTolerance(grade.grade, spring, load);
}

SpringTolerances TolerancesOf(ToleranceGrade grade, const ToleranceSpring& spring, double setLoad,
                              double workLoad) {
    if (spring.wireDia <= 0.0 || spring.meanDia <= 0.0) {
        return {};
    }
    return grade.standard == ToleranceStandard::Jis
               ? JisTolerances(grade.grade, spring, setLoad, workLoad)
               : EnTolerances(grade.grade, spring, setLoad, workLoad);
}

SpringTolerances TolerancesOf(ToleranceGrade grade, const TSpringDesign& design) {
    return TolerancesOf(grade, ToleranceSpringOf(design), design.Pset, design.Pact);
}

std::array<ToleratedFigure, 5> ToleratedFigures(const TSpringDesign& design,
                                                const SpringTolerances& t) {
    using Which = ToleratedFigure::Which;
    const double wire = WireDiameterOf(design);
    return {{
        {Which::SetLoad, design.Pset, 2, t.setLoad, true},
        {Which::WorkLoad, design.Pact, 2, t.workLoad, true},
        {Which::OuterDiameter, design.MeanDia + wire, 2, t.outerDiameter, false},
        {Which::InnerDiameter, design.MeanDia - wire, 2, t.innerDiameter, false},
        {Which::FreeLength, design.FreeLen, 1, t.freeLength, false},
    }};
}

std::string ToleratedFigureText(const ToleratedFigure& figure) {
    return FixedText(figure.value, figure.digits) + " ± " + FixedText(*figure.tolerance, 2) +
           (figure.isLoad ? " kg" : " mm");
}

}  // namespace springcalc
