// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helical torsion springs of round wire, after EN 13906-3 with Shigley's chapter on torsion
// springs beside it: the rate with the legs' share, the moments and angles of two working
// positions, the bending stress and what it may reach, the body's inner diameter as it winds
// up against the mandrel it works on, the body length and the energy stored.
//
// Units as everywhere in the program: mm, kgf, kgf·mm for moments, kg/mm² for stresses, with
// angles in degrees from the free position, winding the body up (closing its coils).

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/input_text.h"
#include "engine/strength_checks.h"

namespace springcalc {

namespace torsion {

inline constexpr double kPi = 3.141592653589793;

// The turns the legs add to the body's: a straight leg of length l bends like a cantilever and
// gives the deflection of l/(3·π·D) turns more, n = nb + (l1 + l2)/(3·π·D).
// EN 13906-3, and Shigley's Mechanical Engineering Design, chapter 10. The same 3·π shows
// in the spring maker's rate K = E·d⁴/(3667·D·N + 389·(a1 + a2)), 389 = 3667/(3π)
// (http://www.sunwoospring.co.kr/eng/product/tor_sp.html).
inline double ActiveTurns(double bodyTurns, double leg1, double leg2, double D) {
    return bodyTurns + (leg1 + leg2) / (3.0 * kPi * D);
}

// The rate per radian, M/α = E·d⁴ / (64·D·n): the body bent as a beam of length π·D·n
// (EN 13906-3; per degree E·d⁴/(3667·D·n), 3667 = 64·180/π).
inline double RatePerRadian(double E, double d, double D, double activeTurns) {
    return E * d * d * d * d / (64.0 * D * activeTurns);
}

// A wire size as the table writes it (1.2, not the float's 1.2000000477): a torsion spring's
// figures are worked in double.
double TableDiameter(int wireNo);

// Shigley's rate per turn, k' = d⁴·E / (10.8·D·Na): the theoretical 10.2 (= 64/2π) raised to
// 10.8, an empirical allowance for the friction between the coils
// (https://calculatorlib.com/torsion-spring-calculator). Shown beside the standard's, which is
// 6 % stiffer.
inline double ShigleyRatePerTurn(double E, double d, double D, double activeTurns) {
    return d * d * d * d * E / (10.8 * D * activeTurns);
}

// EN 13906-3's stress correction factor q at the spring index w = D/d: the bending stress on
// the inside of the coil over 32·M/(π·d³).
inline double StressFactorQ(double w) {
    return (w + 0.07) / (w - 0.75);
}

// Shigley's Ki = (4C² − C − 1)/(4C(C − 1)) for the inner fibre.
inline double ShigleyKi(double C) {
    return (4.0 * C * C - C - 1.0) / (4.0 * C * (C - 1.0));
}

inline double BendingStress(double factor, double moment, double d) {
    return factor * 32.0 * moment / (kPi * d * d * d);
}

// The mean diameter wound up by α degrees: the wire's length stays, so the nb body turns of
// diameter D become nb + α/360 turns, D' = nb·D / (nb + α/360) (Shigley, chapter 10).
inline double WoundMeanDiameter(double bodyTurns, double D, double angleDeg) {
    return bodyTurns * D / (bodyTurns + angleDeg / 360.0);
}

// A close-wound body lies wire on wire: nb turns take nb + 1 wire widths, and each turn wound
// up adds one more.
inline double BodyLength(double bodyTurns, double d, double angleDeg) {
    return (bodyTurns + 1.0 + angleDeg / 360.0) * d;
}

// The share of the tensile strength the bending stress may reach under static load, from the
// torsion springs' column of Shigley's Table 10-6 (the compression column's 45, 50 and 35 %
// over 0.577): cold-drawn carbon steel and music wire 78 %, hardened and tempered (oil-
// tempered) wire 87 %, austenitic stainless 61 %. (As quoted with the table in
// https://github.com/OmriStein/MEtoolbox, examples/springs_examples/
// HelicalToresionSpring_example.ipynb, "0.45 / 0.577", and drtempleman.com/spring-resources/
// spring-design-formulas for the three classes.)
inline constexpr double kColdDrawnBending = 0.78;
inline constexpr double kOilTemperedBending = 0.87;
inline constexpr double kStainlessBending = 0.61;

// A bending strength is a shear strength over 0.577 (the distortion-energy relation, τ = 0.577·σ
// at yield): the factor that turns Table 10-6's compression column into the bending shares
// above, and this program's own step from Zimmerli's torsional endurance point to a bending one.
inline constexpr double kShearToBending = 0.577;

// The fatigue check of the bending stress range, this program's own method on the footing of
// the compression springs' Goodman line (no published bending endurance data of torsion
// springs with a source were at hand): Zimmerli's torsional endurance point of wire under
// 10 mm (strength_checks.h) over kShearToBending, Sa = Ssa/0.577 at Sm = Ssm/0.577 (unpeened
// 417.7 at 656.8 MPa, peened 689.8 at 925.5 MPa), on a Goodman line to the bending ultimate,
// the wire's tensile strength itself.
inline double BendingEndurance(double shearEndurance) {
    return shearEndurance / kShearToBending;
}

// A mandrel should leave about a tenth of its diameter between it and the wound-up body:
// "Suggested mandrel sizes allow about 10% clearance at the deflections listed" (a spring
// maker's stock catalogue, https://www.biotek.hu/hu/ugyfelkapu/rugovalaszto/forgatorugok/).
inline constexpr double kMandrelClearance = 0.10;

// The range of spring index EN 13906-3 is written for (cold coiled, 4 ≤ w ≤ 20).
inline constexpr double kLeastIndex = 4.0;
inline constexpr double kMostIndex = 20.0;

}  // namespace torsion

// What a torsion spring's numbers may be, in every front end that reads one: a position turned
// from free up to ten turns, the free angle within one turn, moments in kgf·mm.
inline constexpr Range kTorsionAngleRange{0.0, 3600.0};
inline constexpr Range kTorsionFreeAngleRange{0.0, 360.0};
inline constexpr Range kTorsionMomentRange{0.0, 1e7};

// How a working position is given: the angle turned from free, or the moment wanted there.
struct TorsionPosition {
    enum class By { Angle, Moment };
    By by = By::Angle;
    double value = 0.0;  // degrees, or kgf·mm
};

struct TorsionInput {
    std::int32_t materialNo = 3;
    std::int32_t wireNo = 22;
    double meanDia = 10.0;   // D, mm
    double bodyTurns = 5.0;  // nb, the coiled turns of the body
    double leg1 = 0.0;       // mm from the body's axis to where the load acts, each leg
    double leg2 = 0.0;
    double freeAngle = 0.0;  // between the legs at rest, degrees
    TorsionPosition first;   // the installed position
    TorsionPosition second;  // the working position
    double mandrel = 0.0;    // diameter of the arbor the body winds on; 0: none
};

// What may be wrong with a torsion spring; numbered after the window's and the command line's
// own warnings (1 to 14).
inline constexpr int kTorsionStressWarning = 21;   // over the allowable bending stress
inline constexpr int kTorsionMandrelWarning = 22;  // too little clearance on the mandrel
inline constexpr int kTorsionIndexWarning = 23;    // outside 4 ≤ w ≤ 20
inline constexpr int kTorsionFatigueWarning = 24;  // under repeated load, fatigue safety under 1
inline constexpr int kTorsionNotMadeWarning = 5;   // the window's: size not made

struct TorsionPoint {
    double angle = 0.0;          // from free, degrees
    double moment = 0.0;         // kgf·mm
    double stress = 0.0;         // with q, kg/mm²
    double stressKi = 0.0;       // with Shigley's Ki, kg/mm²
    double innerDiameter = 0.0;  // of the wound-up body, mm
    double bodyLength = 0.0;     // mm
    double legAngle = 0.0;       // between the legs, degrees in [0, 360)
};

struct TorsionResult {
    bool ran = false;  // false when the wire is not made in the material: no figures
    double d = 0.0;
    double index = 0.0;        // w = D/d
    double activeTurns = 0.0;  // with the legs
    double ratePerRadian = 0.0;
    double ratePerDegree = 0.0;
    double shigleyRatePerTurn = 0.0;
    double q = 0.0;
    double ki = 0.0;
    double tensileStrength = 0.0;  // kg/mm²
    double allowableShare = 0.0;   // of the tensile strength
    double allowableStress = 0.0;  // kg/mm²
    double allowableMoment = 0.0;  // where the stress with q reaches the allowable
    double allowableAngle = 0.0;
    double innerDiameterFree = 0.0;
    double outerDiameterFree = 0.0;
    double mandrelClearance = 0.0;  // at the second position, share of the mandrel; 0 without
    double energy = 0.0;            // from the first to the second position, kgf·mm
    double energyToSecond = 0.0;    // from free to the second position
    double wireMass = 0.0;          // g, body and legs
    std::array<TorsionPoint, 2> points{};
    // The cycle from the first to the second position, with the stresses with q.
    const EnduranceData* endurance = &kUnpeened;
    double fatigueAmplitude = 0.0;  // σa, kg/mm²
    double fatigueMean = 0.0;       // σm, kg/mm²
    // nf on the bending Goodman line; empty for wire of 10 mm and more, where the endurance
    // data do not hold (enduranceHolds false), and for a cycle with no load.
    std::optional<double> fatigueSafety;
    bool enduranceHolds = false;
    std::vector<int> warnings;
};

// How a torsion spring is judged: the endurance data of shot-peened wire, and whether it works
// under repeated load (then a fatigue safety factor below 1 is warning 24).
struct TorsionOptions {
    bool peened = false;
    bool repeated = false;
};

double TorsionAllowableShare(std::int32_t materialNo);
TorsionResult ComputeTorsion(const TorsionInput& input, const TorsionOptions& options = {});

}  // namespace springcalc
