// SPDX-License-Identifier: GPL-3.0-or-later
// Torsion springs against published worked examples and a calculation written out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

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
    // The wire, body and legs: π·10·5 + 20 + 20 = 197.0796 mm of π/4 mm² is 154.786 mm³,
    // at SWPB's 7.85 g/cm³ 1.215070 g.
    ExpectWithin(r.wireMass, 1.215070, tight, "mass");
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

// The bending fatigue check, worked by hand for the spring above (σ with q):
//   30° → 90°: σ1 = 1.088649·32·3.168199/π = 35.13179, σ2 = 105.3954 kg/mm²
//   σa = (σ2 − σ1)/2 = 35.13179, σm = (σ1 + σ2)/2 = 70.26358 kg/mm²
//   unpeened: Sa = 241/0.577/9.80665 = 42.59127, Sm = 379/0.577/9.80665 = 66.97963 kg/mm²,
//     Sut = Rm = 230; Se = Sa/(1 − Sm/Sut) = 42.59127/0.7087842 = 60.09060
//     nf = 1/(σa/Se + σm/Sut) = 1/(0.5846418 + 0.3054938) = 1.123418
//   peened: Sa = 398/0.577/9.80665 = 70.33744, Sm = 534/0.577/9.80665 = 94.37235,
//     Se = 70.33744/0.5896854 = 119.2796, nf = 1/(0.2945331 + 0.3054938) = 1.666592
//   0° → 140°: σ2 = 163.9484 (within 179.4), σa = σm = 81.97418,
//     nf = 1/(1.364176 + 0.3564095) = 0.5811974: warning 24 under repeated load
//   5° → 60°: σa = 32.20414, σm = 38.05944, nf = 1/(0.5359265 + 0.1654758) = 1.425715
//   SWB 9.00 × 80 (w = 8.889, q = 1.100751, Rm = 105), same turns and legs, 10° → 40°:
//     σa = 21.44979, σm = 35.74966, Se = 42.59127/(1 − 66.97963/105) = 117.6233,
//     nf = 1/(0.1823600 + 0.3404729) = 1.912657; SWB 10.00 has no figure
struct FatigueCase {
    const char* what;
    std::int32_t material, wire;
    double D, first, second;
    bool peened;
    double amplitude, mean;        // kg/mm²
    std::optional<double> safety;  // none: no figure
};

TEST(TorsionSpring, BendingFatigueOnTheGoodmanLine) {
    const FatigueCase cases[] = {
        {"hand, unpeened", 3, 22, 10.0, 30.0, 90.0, false, 35.13179, 70.26358, 1.123418},
        {"hand, peened", 3, 22, 10.0, 30.0, 90.0, true, 35.13179, 70.26358, 1.666592},
        {"over-stressed cycle", 3, 22, 10.0, 0.0, 140.0, false, 81.97418, 81.97418, 0.5811974},
        {"light cycle", 3, 22, 10.0, 5.0, 60.0, false, 32.20414, 38.05944, 1.425715},
        // Zimmerli's data stop short of 10 mm: SWB 9.00 has a figure, 10.00 none.
        {"9 mm wire", 0, 41, 80.0, 10.0, 40.0, false, 21.44979, 35.74966, 1.912657},
        {"10 mm wire", 0, 42, 80.0, 10.0, 40.0, false, 0, 0, std::nullopt},
        {"no load", 3, 22, 10.0, 0.0, 0.0, false, 0.0, 0.0, std::nullopt},
    };
    for (const FatigueCase& c : cases) {
        TorsionInput input;
        input.materialNo = c.material;
        input.wireNo = c.wire;
        input.meanDia = c.D;
        input.bodyTurns = 5.0;
        input.leg1 = input.leg2 = 20.0;
        input.first = {TorsionPosition::By::Angle, c.first};
        input.second = {TorsionPosition::By::Angle, c.second};
        const TorsionResult r = ComputeTorsion(input, {c.peened, true});
        ASSERT_TRUE(r.ran) << c.what;
        EXPECT_EQ(r.endurance, c.peened ? &kPeened : &kUnpeened) << c.what;
        if (c.amplitude > 0.0) {
            ExpectWithin(r.fatigueAmplitude, c.amplitude, 1e-6, c.what);
            ExpectWithin(r.fatigueMean, c.mean, 1e-6, c.what);
        }
        ASSERT_EQ(r.fatigueSafety.has_value(), c.safety.has_value()) << c.what;
        if (!c.safety) {
            EXPECT_EQ(std::count(r.warnings.begin(), r.warnings.end(), kTorsionFatigueWarning), 0)
                << c.what;
            continue;
        }
        ExpectWithin(*r.fatigueSafety, *c.safety, 1e-6, c.what);
        // Warning 24 under repeated load exactly when nf < 1, and never without it.
        const bool warned =
            std::count(r.warnings.begin(), r.warnings.end(), kTorsionFatigueWarning) == 1;
        EXPECT_EQ(warned, *r.fatigueSafety < 1.0) << c.what;
        const TorsionResult staticLoad = ComputeTorsion(input, {c.peened, false});
        EXPECT_EQ(staticLoad.fatigueSafety, r.fatigueSafety) << c.what;
        EXPECT_EQ(std::count(staticLoad.warnings.begin(), staticLoad.warnings.end(),
                             kTorsionFatigueWarning),
                  0)
            << c.what;
    }
}

// The bending endurance point is Zimmerli's torsional one over 0.577.
TEST(TorsionSpring, BendingEnduranceFromZimmerli) {
    ExpectWithin(BendingEndurance(kUnpeened.amplitude), 417.7, 0.0001, "Sa unpeened");
    ExpectWithin(BendingEndurance(kUnpeened.mean), 656.8, 0.0001, "Sm unpeened");
    ExpectWithin(BendingEndurance(kPeened.amplitude), 689.8, 0.0001, "Sa peened");
    ExpectWithin(BendingEndurance(kPeened.mean), 925.5, 0.0001, "Sm peened");
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
