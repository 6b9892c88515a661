// SPDX-License-Identifier: GPL-3.0-or-later
// The strength checks' formulas against published worked examples, each in the units it was
// published in, in SI units and in the program's kgf units.

#include "engine/strength_checks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace springcalc {
namespace {

constexpr double kMpaPerPsi = 0.006894757293168;  // 1 psi = 6894.757293168 Pa
constexpr double kNewtonsPerPound = 4.4482216152605;
constexpr double kMmPerInch = 25.4;

// A full-loop extension spring hook: Shigley's Mechanical Engineering Design, the worked
// example of a hard-drawn steel extension spring in the section on extension springs
// (Example 10-6 of the 9th edition): d = 0.035 in, OD = 0.248 in so D = 0.213 in, hook radii
// r1 = 0.106 in and r2 = 0.089 in, a static load F = 5.25 lbf.
//   C1 = 2·0.106/0.035 = 6.0571;  K1 = (4·36.6890 − 6.0571 − 1)/(4·6.0571·5.0571) = 1.14014
//   16·D/(π·d³) = 3.408/1.346954e-4 = 25 301.6 in⁻²;  4/(π·d²) = 1039.35 in⁻²
//   σA = 5.25·(1.14014·25 301.6 + 1039.35) = 156 905 psi       book: 156.9 kpsi
//   C2 = 2·0.089/0.035 = 5.0857;  K2 = 19.343/16.343 = 1.18357
//   τB = 1.18357·8·5.25·0.213/1.346954e-4 = 78 608 psi          book: 78.4 kpsi, with K2
//   rounded to 1.18 first (1.18·66 417 = 78 372 psi): 0.2 kpsi, 0.3 %, from that rounding.
// The same hook in SI (F 23.3532 N, D 5.4102 mm, d 0.889 mm, r1 2.6924 mm, r2 2.2606 mm) gives
// the same stresses in N/mm² = MPa (156 905 psi = 1081.82 MPa), and in kgf (F 2.381360 kgf)
// in kgf/mm² (110.315 and 55.267).
TEST(StrengthFormulas, HookStressesOfTheTextbooksExtensionSpring) {
    EXPECT_NEAR(HookBendingFactor(2 * 0.106 / 0.035), 1.14014, 5e-6);
    EXPECT_NEAR(HookTorsionFactor(2 * 0.089 / 0.035), 1.18357, 5e-6);
    // A full loop at the default bend, C2 = 4: K2 = 15/12.
    EXPECT_DOUBLE_EQ(HookTorsionFactor(4.0), 1.25);
    struct Units {
        const char* name;
        double force;   // per lbf
        double length;  // per in
        double stress;  // per psi
    };
    const Units units[] = {
        {"lbf, in, psi", 1.0, 1.0, 1.0},
        {"N, mm, MPa", kNewtonsPerPound, kMmPerInch, kMpaPerPsi},
        {"kgf, mm, kgf/mm²", kNewtonsPerPound / kNewtonsPerKgf, kMmPerInch,
         kMpaPerPsi / kNewtonsPerKgf},
    };
    for (const Units& u : units) {
        SCOPED_TRACE(u.name);
        const double F = 5.25 * u.force, D = 0.213 * u.length, d = 0.035 * u.length;
        const double bending = HookBendingStress(F, D, d, 0.106 * u.length);
        const double torsion = HookTorsionStress(F, D, d, 0.089 * u.length);
        EXPECT_NEAR(bending / u.stress, 156905.06, 0.05);
        EXPECT_NEAR(torsion / u.stress, 78608.14, 0.05);
        // Against the book's rounded figures.
        EXPECT_NEAR(bending / u.stress / 1000, 156.9, 0.05);
        EXPECT_NEAR(torsion / u.stress / 1000, 78.4, 0.25);
    }
    EXPECT_NEAR(HookBendingStress(5.25 * kNewtonsPerPound / kNewtonsPerKgf, 5.4102, 0.889, 2.6924),
                110.315, 5e-4);
}

// The modified Goodman line from Zimmerli's data: the worked example of MachineCalcs' spring
// fatigue calculator (machinecalcs.com/spring-fatigue-life-calculator), music wire d = 2 mm,
// D = 16 mm, C = 8, cycled between 20 N and 80 N, Sut = 2000 MPa, unpeened:
//   K = 31/28 + 0.615/8 = 1.184018
//   τa = K·8·30·16/(π·8) = 180.905 MPa, τm = K·8·50·16/(π·8) = 301.508 MPa   page: 180.9, 301.5
//   Ssu = 0.67·2000 = 1340 MPa;  Sse = 241/(1 − 379/1340) = 336.046 MPa      page: 336.1
//   nf = 1/(180.905/336.046 + 301.508/1340) = 1/(0.538335 + 0.225006) = 1.31003   page: 1.31
// In kgf/mm² every stress is divided by 9.80665 and nf is the same.
TEST(StrengthFormulas, GoodmanSafetyFactorOfThePublishedExample) {
    const double tauA = 180.90460, tauM = 301.50767;
    for (const double unit : {1.0, kNewtonsPerKgf}) {
        const std::optional<double> nf =
            GoodmanSafetyFactor(tauA / unit, tauM / unit, kUnpeened.amplitude / unit,
                                kUnpeened.mean / unit, kTorsionalUltimateRatio * 2000 / unit);
        ASSERT_TRUE(nf);
        EXPECT_NEAR(*nf, 1.310034, 5e-6) << "per " << unit;
    }
    // The Goodman line passes through Zimmerli's point itself: a cycle at (Ssm, Ssa) has
    // nf = 1, for either data set, and twice the stresses half of that.
    for (const EnduranceData& data : {kUnpeened, kPeened}) {
        EXPECT_NEAR(
            *GoodmanSafetyFactor(data.amplitude, data.mean, data.amplitude, data.mean, 1340), 1.0,
            1e-12)
            << data.name;
        EXPECT_NEAR(*GoodmanSafetyFactor(2 * data.amplitude, 2 * data.mean, data.amplitude,
                                         data.mean, 1340),
                    0.5, 1e-12);
    }
    // No line where the endurance point is beyond the ultimate strength, and no factor for a
    // cycle without load.
    EXPECT_FALSE(GoodmanSafetyFactor(10, 10, 241, 379, 379));
    EXPECT_FALSE(GoodmanSafetyFactor(0, 0, 241, 379, 1340));
}

}  // namespace
}  // namespace springcalc
