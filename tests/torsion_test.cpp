// SPDX-License-Identifier: GPL-3.0-or-later
// Torsion springs against published worked examples and a calculation written out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/spring_tables.h"
#include "engine/torsion_spring.h"

namespace springcalc {
namespace {

using namespace torsion;

// Relative closeness, as the sources round their figures.
void ExpectWithin(double program, double source, double share, const char* what) {
    EXPECT_LE(std::fabs(program - source), share * std::fabs(source))
        << what << ": program " << program << ", source " << source;
}

struct RateExample {
    const char* source;
    double E, d, D, turns;
    double perTurn;  // as published
    double share;    // the published figure's rounding
};

// Shigley's rate per turn k' = d⁴E/(10.8·D·N), as three publications work it.
TEST(TorsionFormulas, ShigleyRateOfPublishedExamples) {
    const RateExample examples[] = {
        // http://acxesspring.com/torsion-spring-rate-force-constant.html: music wire, inches,
        // "Rate Per 360 Degrees = 2.988 pounds"
        {"Acxess Spring", 30e6, 0.035, 0.465, 3.0, 2.988, 0.0005},
        // https://calculatorlib.com/torsion-spring-calculator, "≈ 3,066.67 N·mm per turn"
        {"calculatorlib", 207000.0, 2.0, 20.0, 5.0, 3066.67, 0.00001},
        // Shigley, Mechanical Engineering Design, Example 10-8 in millimetres (d 1.829, OD
        // 15.081, legs 25.4, 4.25 body turns, E 196.5 GPa) as worked in
        // github.com/OmriStein/MEtoolbox examples/springs_examples/
        // HelicalToresionSpring_example.ipynb: k = 525.11 N·mm/rad, so 2π times per turn.
        {"Shigley 10-8", 196.5e3, 1.829, 15.081 - 1.829, ActiveTurns(4.25, 25.4, 25.4, 13.252),
         525.11 * 2.0 * kPi, 0.0002},
    };
    for (const RateExample& e : examples) {
        ExpectWithin(ShigleyRatePerTurn(e.E, e.d, e.D, e.turns), e.perTurn, e.share, e.source);
    }
}

TEST(TorsionFormulas, ShigleyExampleLegsStressAndStrength) {
    const double d = 1.829;
    const double D = 15.081 - d;
    // Na = 4.66 in the worked example: the legs add (25.4 + 25.4)/(3π·13.252) = 0.407 turns.
    ExpectWithin(ActiveTurns(4.25, 25.4, 25.4, D), 4.66, 0.001, "Na");
    // Sy = 0.78·Sut = 1579.81 MPa of Sut = 2025.67 MPa (0.45/0.577 there).
    ExpectWithin(kColdDrawnBending * 2025.67, 1579.81, 0.0002, "Sy");
    // The moment at which the inner fibre reaches Sy, the static safety factor 1:
    // Tmax = 851.27 N·mm, from σ = Ki·32·M/(π·d³).
    const double ki = ShigleyKi(D / d);
    ExpectWithin(kColdDrawnBending * 2025.67 / BendingStress(ki, 1.0, d), 851.27, 0.0005, "Tmax");
    // The standard's rate is the beam's own, E·d⁴/(64·D·n) per radian: 10.8/10.186 = 6.0 %
    // stiffer than Shigley's 525.11 N·mm/rad.
    const double standard = RatePerRadian(196.5e3, d, D, ActiveTurns(4.25, 25.4, 25.4, D));
    ExpectWithin(standard, 525.11 * 10.8 / (64.0 / (2.0 * kPi)), 0.0002, "EN rate");
}

// One SWPB spring worked by hand:
//   d = 1.00 mm, D = 10 mm, nb = 5, legs 20 mm each, free angle 120°, positions 30° and 90°,
//   mandrel 8 mm. E = 206000 / 9.80665 = 21006.15 kgf/mm²; Rm = 230 kg/mm² (table 3, 1.00 mm).
//   n  = 5 + 40/(3π·10) = 5 + 0.424413 = 5.424413
//   M/α = 21006.15·1⁴/(64·10·5.424413) = 6.050814 kgf·mm/rad = 0.1056066 kgf·mm/°
//   M1 = 3.168199, M2 = 9.504597 kgf·mm
//   w = 10, q = 10.07/9.25 = 1.088649; σ2 = 1.088649·(32·9.504597/π = 96.81295) = 105.3954 kg/mm²
//   Ki = (400 − 10 − 1)/(40·9) = 1.080556; σ2(Ki) = 1.080556·96.81295 = 104.6118 kg/mm²
//   allowable 0.78·230 = 179.4 kg/mm²
//   Di at 90°: 5·10/(5 + 0.25) − 1 = 8.523810 mm; clearance (8.523810 − 8)/8 = 6.5 % < 10 %
//   body length at 90°: (5 + 1 + 0.25)·1 = 6.25 mm
//   energy 30° → 90°: ½·6.050814·((π/2)² − (π/6)²) = 6.635460 kgf·mm
//   legs at 90°: 120 − 90 = 30°
TEST(TorsionSpring, HandCalculation) {
    TorsionInput input;
    input.materialNo = 3;  // SWPB
    input.wireNo = 22;     // 1.00 mm
    input.meanDia = 10.0;
    input.bodyTurns = 5.0;
    input.leg1 = input.leg2 = 20.0;
    input.freeAngle = 120.0;
    input.first = {TorsionPosition::By::Angle, 30.0};
    input.second = {TorsionPosition::By::Angle, 90.0};
    input.mandrel = 8.0;
    const TorsionResult r = ComputeTorsion(input);
    ASSERT_TRUE(r.ran);
    const double tight = 1e-6;
    ExpectWithin(r.activeTurns, 5.424413, tight, "n");
    ExpectWithin(r.ratePerRadian, 6.050814, tight, "rate per radian");
    ExpectWithin(r.ratePerDegree, 0.1056066, tight, "rate per degree");
    ExpectWithin(r.points[0].moment, 3.168199, tight, "M1");
    ExpectWithin(r.points[1].moment, 9.504597, tight, "M2");
    ExpectWithin(r.q, 1.088649, tight, "q");
    ExpectWithin(r.points[1].stress, 105.3954, tight, "sigma2");
    ExpectWithin(r.points[1].stressKi, 104.6118, tight, "sigma2 Ki");
    ExpectWithin(r.allowableStress, 179.4, tight, "allowable");
    ExpectWithin(r.points[1].innerDiameter, 8.523810, tight, "Di2");
    ExpectWithin(r.points[1].bodyLength, 6.25, tight, "body length");
    ExpectWithin(r.energy, 6.635460, tight, "energy");
    EXPECT_DOUBLE_EQ(r.points[1].legAngle, 30.0);
    EXPECT_EQ(r.warnings, std::vector<int>{kTorsionMandrelWarning});
}

// A moment given for a position turns into its angle through the same rate.
TEST(TorsionSpring, MomentGivenPositionsMeetTheAngleGivenOnes) {
    TorsionInput byAngle;
    byAngle.first = {TorsionPosition::By::Angle, 45.0};
    byAngle.second = {TorsionPosition::By::Angle, 200.0};
    const TorsionResult angles = ComputeTorsion(byAngle);
    TorsionInput byMoment = byAngle;
    byMoment.first = {TorsionPosition::By::Moment, angles.points[0].moment};
    byMoment.second = {TorsionPosition::By::Moment, angles.points[1].moment};
    const TorsionResult moments = ComputeTorsion(byMoment);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(moments.points[i].angle, angles.points[i].angle, 1e-9);
        EXPECT_NEAR(moments.points[i].stress, angles.points[i].stress, 1e-9);
    }
    EXPECT_DOUBLE_EQ(angles.points[1].legAngle, 0.0 + 360.0 - 200.0);
}

struct WarningCase {
    const char* what;
    std::int32_t material, wire;
    double D, secondAngle, mandrel;
    std::vector<int> warnings;
};

TEST(TorsionSpring, Warnings) {
    const WarningCase cases[] = {
        {"sound", 3, 22, 10.0, 90.0, 7.0, {}},
        {"over the allowable", 3, 22, 10.0, 200.0, 0.0, {kTorsionStressWarning}},
        {"index under 4", 3, 22, 3.5, 10.0, 0.0, {kTorsionIndexWarning}},
        {"index over 20", 3, 22, 21.0, 10.0, 0.0, {kTorsionIndexWarning}},
        {"mandrel too tight", 3, 22, 10.0, 90.0, 8.0, {kTorsionMandrelWarning}},
        {"size not made (SWO-A 1.00)", 4, 22, 10.0, 90.0, 0.0, {kTorsionNotMadeWarning}},
    };
    for (const WarningCase& c : cases) {
        TorsionInput input;
        input.materialNo = c.material;
        input.wireNo = c.wire;
        input.meanDia = c.D;
        input.second = {TorsionPosition::By::Angle, c.secondAngle};
        input.mandrel = c.mandrel;
        EXPECT_EQ(ComputeTorsion(input).warnings, c.warnings) << c.what;
    }
}

TEST(TorsionSpring, AllowableShareByKindOfWire) {
    const struct {
        std::int32_t material;
        double share;
    } cases[] = {{0, kColdDrawnBending},   {3, kColdDrawnBending}, {4, kOilTemperedBending},
                 {5, kOilTemperedBending}, {6, kStainlessBending}, {8, kStainlessBending}};
    for (const auto& c : cases) {
        EXPECT_EQ(TorsionAllowableShare(c.material), c.share) << c.material;
    }
}

}  // namespace
}  // namespace springcalc
