// SPDX-License-Identifier: GPL-3.0-or-later
// The tolerance grades against springs worked by hand from the tables, each band and each grade.
#include "engine/tolerance_grades.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace springcalc {
namespace {

constexpr double kNear = 5e-4;  // the hand figures are worked to four decimals
constexpr std::optional<double> kNone = std::nullopt;

void ExpectFigure(const char* what, std::optional<double> expected, std::optional<double> actual) {
    SCOPED_TRACE(what);
    ASSERT_EQ(expected.has_value(), actual.has_value());
    if (expected) {
        EXPECT_NEAR(*expected, *actual, kNear);
    }
}

struct HandWorked {
    const char* why;
    ToleranceSpring spring;  // kind, d, D, n, free length, rate, initial tension
    double load;             // kg, at some length
    // For grades 1, 2, 3:
    std::optional<double> loadTolerance[3];
    std::optional<double> outer[3];
    std::optional<double> inner[3];
    std::optional<double> free[3];
    std::optional<double> squareness[3];
};

// clang-format off
const HandWorked kJisSprings[] = {
    // The guide's spring: SWPB 0.60, D 4.1, n 8.5, 2.06 kg at 15 mm; free length 26.
    // n 8.5 is in 3..10: 5/10/15 % of 2.06 = 0.103/0.206/0.309.
    // D/d = 6.83 is in 3..8; OD 4.7: 1 % = 0.047 < 0.15, 1.5 % = 0.0705 < 0.2,
    // 2.5 % = 0.1175 < 0.4, so the least ones: 0.15/0.2/0.4; ID 3.5 likewise.
    // Free 26: 1 % = 0.26 > 0.2, 2 % = 0.52 > 0.5, 3 % = 0.78 > 0.7.
    // Squareness 0.02/0.05/0.08 x 26 = 0.52/1.3/2.08.
    {"guide", {kCompression, 0.6, 4.1, 8.5, 26.0, 0.2, 0}, 2.06,
     {0.103, 0.206, 0.309}, {0.15, 0.2, 0.4}, {0.15, 0.2, 0.4}, {0.26, 0.52, 0.78}, {0.52, 1.3, 2.08}},
    // Over 10 turns, D/d 10 (8..15): d 2, D 20, n 12, free 60, 30 kg.
    // Load 4/8/12 % of 30 = 1.2/2.4/3.6. OD 22: 1.5 % = 0.33 > 0.2, 2 % = 0.44 > 0.3,
    // 3 % = 0.66 > 0.5; ID 18: 0.27/0.36/0.54. Free 60: 1.5/3/4 % = 0.9/1.8/2.4 (over the
    // least 0.5/0.7/0.8). Squareness 1.2/3.0/4.8.
    {"over 10 turns, index 10", {kCompression, 2.0, 20.0, 12, 60.0, 3.0, 0}, 30.0,
     {1.2, 2.4, 3.6}, {0.33, 0.44, 0.66}, {0.27, 0.36, 0.54}, {0.9, 1.8, 2.4}, {1.2, 3.0, 4.8}},
    // D/d 18 (15..22): d 1, D 18, n 5, free 40, 1.5 kg. Load 0.075/0.15/0.225.
    // OD 19: 2 % = 0.38 > 0.3, 3 % = 0.57 > 0.5, 4 % = 0.76 > 0.7. ID 17: 0.34 > 0.3,
    // 0.51 > 0.5, 0.68 < 0.7 -> 0.7. Free 40: 2/4/6 % = 0.8/1.6/2.4. Squareness 0.8/2/3.2.
    {"index 18", {kCompression, 1.0, 18.0, 5, 40.0, 0.1, 0}, 1.5,
     {0.075, 0.15, 0.225}, {0.38, 0.57, 0.76}, {0.34, 0.51, 0.7}, {0.8, 1.6, 2.4}, {0.8, 2.0, 3.2}},
    // On the bands' edges, where the least tolerances rule: d 0.5, D 4 (D/d exactly 8, still
    // 3..8), n exactly 10 (still 3..10), free 15, 1 kg. Load 0.05/0.1/0.15. OD 4.5: 0.045,
    // 0.0675, 0.1125, all under 0.15/0.2/0.4; ID 3.5 the same. Free 15: 0.15 < 0.2,
    // 0.3 < 0.5, 0.45 < 0.7. Squareness 0.3/0.75/1.2.
    {"band edges", {kCompression, 0.5, 4.0, 10, 15.0, 0.5, 0}, 1.0,
     {0.05, 0.1, 0.15}, {0.15, 0.2, 0.4}, {0.15, 0.2, 0.4}, {0.2, 0.5, 0.7}, {0.3, 0.75, 1.2}},
    // Fewer than 3 turns and D/d 25: the load, the diameters and the free length are the buyer's
    // and the maker's to agree; only the squareness stands, 0.02/0.05/0.08 x 20.
    {"outside the tables", {kCompression, 0.4, 10.0, 2.5, 20.0, 0.01, 0}, 0.2,
     {kNone, kNone, kNone}, {kNone, kNone, kNone}, {kNone, kNone, kNone}, {kNone, kNone, kNone},
     {0.4, 1.0, 1.6}},
    // Extension, over 10 turns: d 1, D 8 (D/d 8), n 15, Fi 0.5 kg, 3 kg, free 25.
    // Load Fi·α1 + (F - Fi)·β: 0.5·0.10 + 2.5·0.04 = 0.15; 0.5·0.15 + 2.5·0.08 = 0.275;
    // 0.5·0.20 + 2.5·0.12 = 0.4. OD 9: 0.09/0.135/0.225 under 0.15/0.2/0.4; ID 7 the same.
    // Free 25: 0.25 > 0.2, 0.5 = 0.5, 0.75 > 0.7. No squareness.
    {"extension over 10 turns", {kExtension, 1.0, 8.0, 15, 25.0, 0.1, 0.5}, 3.0,
     {0.15, 0.275, 0.4}, {0.15, 0.2, 0.4}, {0.15, 0.2, 0.4}, {0.25, 0.5, 0.75}, {kNone, kNone, kNone}},
    // Extension, 3..10 turns, D/d 10: d 0.8, D 8, n 6, Fi 0.2, 1.2 kg, free 30.
    // Load 0.2·0.10 + 1.0·0.05 = 0.07; 0.03 + 0.10 = 0.13; 0.04 + 0.15 = 0.19.
    // OD 8.8: 1.5 % = 0.132 < 0.2, 2 % = 0.176 < 0.3, 3 % = 0.264 < 0.5. ID 7.2 the same.
    // Free 30: 0.45 < 0.5, 0.9 > 0.7, 1.2 > 0.8.
    {"extension 3 to 10 turns", {kExtension, 0.8, 8.0, 6, 30.0, 0.1, 0.2}, 1.2,
     {0.07, 0.13, 0.19}, {0.2, 0.3, 0.5}, {0.2, 0.3, 0.5}, {0.5, 0.9, 1.2}, {kNone, kNone, kNone}},
};

// EN 15800: αF = 65.92·d^3.3/D^1.6·(-0.84·(w/10)³ + 3.781·(w/10)² - 4.244·(w/10) + 2.274) N,
// kF = kL = 1/(3n²) + 8/(5n) + 0.803, AF = (αF·kF + 1.5 % F)·Q, AL0 = αF·kL·Q/R, Q 0.63/1/1.6.
const HandWorked kEnSprings[] = {
    // d 2, D 20, n 8, free 50, 1 kg/mm (9.80665 N/mm), 10 kg (98.0665 N). w/10 = 1: the
    // bracket is 0.971; 2^3.3 = 9.8492, 20^1.6 = 120.684: αF = 5.2238 N. kF = 1/192 + 0.2 +
    // 0.803 = 1.008208: αF·kF = 5.2667 N. AF = (5.2667 + 1.4710)·Q N = 6.7377·Q N:
    // 0.4328/0.6871/1.0993 kg. AL0 = 5.2667·Q/9.80665 = 0.3383/0.5371/0.8593 mm.
    // Coil: D 16..25 and w 8..14: 0.25/0.45/0.90 for D, De and Di alike.
    // e1 = 0.03/0.05/0.08 x 50 (w 10 <= 12 and L0/D 2.5 <= 5 let grade 1 in) = 1.5/2.5/4.0.
    {"EN, d 2 D 20", {kCompression, 2.0, 20.0, 8, 50.0, 1.0, 0}, 10.0,
     {0.4328, 0.6871, 1.0993}, {0.25, 0.45, 0.90}, {0.25, 0.45, 0.90}, {0.3383, 0.5371, 0.8593},
     {1.5, 2.5, 4.0}},
    // The guide's spring: d 0.6, D 4.1, n 8.5, 2.06 kg, free 26, 0.2 kg/mm. w/10 = 0.68333:
    // bracket 0.871424; 0.6^3.3 = 0.185310, 4.1^1.6 = 9.55992: αF = 1.113504 N.
    // kF = 1/216.75 + 1.6/8.5 + 0.803 = 0.995849; αF·kF = 1.108882 N. 1.5 % of 20.2017 N =
    // 0.303026 N. AF = 1.411908·Q N = 0.0907/0.1440/0.2304 kg. AL0 = 1.108882·Q/1.96133 =
    // 0.3562/0.5654/0.9046 mm. Coil: D 4.0..6.3, w 4..8: 0.10/0.20/0.40.
    // e1 = 0.78/1.3/2.08 (w 6.8, L0/D 6.3 > 5: no grade 1).
    {"EN, guide", {kCompression, 0.6, 4.1, 8.5, 26.0, 0.2, 0}, 2.06,
     {0.0907, 0.1440, 0.2304}, {0.10, 0.20, 0.40}, {0.10, 0.20, 0.40}, {0.3562, 0.5654, 0.9046},
     {kNone, 1.3, 2.08}},
    // Outside EN 15800: any extension spring, and D/d 3.5 under its least 4.
    {"EN, extension", {kExtension, 1.0, 8.0, 15, 25.0, 0.1, 0.5}, 3.0,
     {kNone, kNone, kNone}, {kNone, kNone, kNone}, {kNone, kNone, kNone}, {kNone, kNone, kNone},
     {kNone, kNone, kNone}},
    {"EN, index 3.5", {kCompression, 2.0, 7.0, 8, 30.0, 5.0, 0}, 10.0,
     {kNone, kNone, kNone}, {kNone, kNone, kNone}, {kNone, kNone, kNone}, {kNone, kNone, kNone},
     {kNone, kNone, kNone}},
};
// clang-format on

void CheckSprings(ToleranceStandard standard, const HandWorked* springs, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const HandWorked& h = springs[i];
        for (int grade = 1; grade <= 3; ++grade) {
            SCOPED_TRACE(std::string(h.why) + ", grade " + std::to_string(grade));
            const ToleranceGrade g{standard, grade};
            const SpringTolerances t = TolerancesOf(g, h.spring, h.load, h.load / 2.0);
            ExpectFigure("load", h.loadTolerance[grade - 1], t.setLoad);
            ExpectFigure("load", h.loadTolerance[grade - 1], LoadTolerance(g, h.spring, h.load));
            ExpectFigure("outer", h.outer[grade - 1], t.outerDiameter);
            ExpectFigure("inner", h.inner[grade - 1], t.innerDiameter);
            ExpectFigure("free", h.free[grade - 1], t.freeLength);
            ExpectFigure("squareness", h.squareness[grade - 1], t.squareness);
        }
    }
}

TEST(ToleranceGrades, JisByHand) {
    CheckSprings(ToleranceStandard::Jis, kJisSprings, std::size(kJisSprings));
}

TEST(ToleranceGrades, EnByHand) {
    CheckSprings(ToleranceStandard::En, kEnSprings, std::size(kEnSprings));
}

// The second load has its own tolerance: a share of itself, not of the first load's.
TEST(ToleranceGrades, EachLoadItsOwn) {
    const ToleranceSpring guide{kCompression, 0.6, 4.1, 8.5, 26.0, 0.2, 0};
    const SpringTolerances t = TolerancesOf({ToleranceStandard::Jis, 2}, guide, 0.97, 2.06);
    ExpectFigure("set", 0.097, t.setLoad);
    ExpectFigure("work", 0.206, t.workLoad);
    // EN 15800's ends out of parallel, e2 = 0.015/0.030/0.060 x De 4.7; JIS gives none.
    ExpectFigure("parallel", 0.141,
                 TolerancesOf({ToleranceStandard::En, 2}, guide, 0.97, 2.06).parallelism);
    ExpectFigure("parallel", kNone, t.parallelism);
}

TEST(ToleranceGrades, Names) {
    struct Case {
        const char* name;
        std::optional<ToleranceGrade> grade;
    };
    const Case cases[] = {
        {"JIS-1", ToleranceGrade{ToleranceStandard::Jis, 1}},
        {"jis-3", ToleranceGrade{ToleranceStandard::Jis, 3}},
        {"EN-2", ToleranceGrade{ToleranceStandard::En, 2}},
        {"en-3", ToleranceGrade{ToleranceStandard::En, 3}},
        {"JIS-4", std::nullopt},
        {"EN-0", std::nullopt},
        {"JIS2", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.grade, ToleranceGradeNamed(c.name));
        if (c.grade) {
            EXPECT_EQ(ToleranceGradeNamed(ToleranceGradeName(*c.grade)), c.grade);
        }
    }
}

}  // namespace
}  // namespace springcalc
