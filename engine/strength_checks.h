// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The strength checks a spring maker asks for that the window does not make: the stresses
// corrected with Wahl's factor, the stress of a compression spring pressed solid, the stresses in
// the full-loop hooks of an extension spring, and the safety against fatigue on a modified
// Goodman line. Worked out in double from a record after Run; nothing is stored back into it.
//
// Units: mm, kg (kilogram-force), kg/mm^2 as everywhere. The published strengths below are in
// MPa (N/mm^2) and are turned into kgf/mm^2 once, with 9.80665 N per kgf.
//
// Source of the method and its figures: R. G. Budynas and J. K. Nisbett, Shigley's Mechanical
// Engineering Design (McGraw-Hill), chapter 10 "Mechanical Springs": the hooks of extension
// springs and their allowable stresses in the section on extension springs, the torsional
// endurance data of Zimmerli and the torsional ultimate strength 0.67·Sut in the section on
// fatigue loading of helical compression springs. docs/formulas.md gives every formula.

#include <optional>
#include <string>
#include <string_view>

#include "engine/spring_design.h"

namespace springcalc {

// ---- The formulas, in any consistent units -------------------------------------------------

// Curvature factor of the bending stress where the hook leaves the body, C1 = 2·r1 / d:
// K1 = (4·C1² − C1 − 1) / (4·C1·(C1 − 1)).
double HookBendingFactor(double c1);
// Curvature factor of the torsion stress at the hook's bend, C2 = 2·r2 / d:
// K2 = (4·C2 − 1) / (4·C2 − 4).
double HookTorsionFactor(double c2);
// σA = F·(K1·16·D / (π·d³) + 4 / (π·d²)): bending and direct tension at the hook's root, with
// the hook's radius r1 (D/2 for a full loop).
double HookBendingStress(double load, double D, double d, double r1);
// τB = K2·8·F·D / (π·d³) at the bend of radius r2 (to the wire's centre).
double HookTorsionStress(double load, double D, double d, double r2);

// Torsional endurance strength of spring wire for infinite life, as a point on the Goodman
// diagram: the stress amplitude Ssa that a spring stands at the mean stress Ssm.
struct EnduranceData {
    std::string_view name;
    double amplitude;  // Ssa, MPa
    double mean;       // Ssm, MPa
};
// Zimmerli's figures, for spring steels in wire sizes under 10 mm (3/8 in), where size,
// material and tensile strength were found to make no difference.
inline constexpr EnduranceData kUnpeened{"unpeened", 241.0, 379.0};
inline constexpr EnduranceData kPeened{"peened", 398.0, 534.0};
// Wire of this diameter (mm) and above is outside the data: no fatigue figure is given.
inline constexpr double kEnduranceDataWireLimit = 10.0;
// Torsional ultimate strength Ssu as a fraction of the tensile strength Sut.
inline constexpr double kTorsionalUltimateRatio = 0.67;

// The Goodman line through the endurance point (Ssm, Ssa) and the torsional ultimate Ssu meets
// the stress-amplitude axis at Sse = Ssa / (1 − Ssm / Ssu). The safety factor of a load cycle
// of amplitude τa and mean τm, loaded along its own ratio τa / τm, is
// nf = 1 / (τa / Sse + τm / Ssu). Empty where Ssm ≥ Ssu (no line) or the cycle carries no load.
std::optional<double> GoodmanSafetyFactor(double amplitude, double mean, double enduranceAmplitude,
                                          double enduranceMean, double torsionalUltimate);

// ---- The checks of a record ----------------------------------------------------------------

// Allowable hook stresses in static service as fractions of the tensile strength, by wire
// class: bending at the hook's root, torsion at its bend.
struct HookAllowables {
    double bending;
    double torsion;
};
HookAllowables HookAllowablesOf(WireClass wireClass);
// "75 % and 40 %": the bending and the torsion allowable in percent, for the command line's help.
std::string HookAllowablesText(WireClass wireClass);

// The hook's bend radius r2 (mm, to the wire's centre) unless one is given: 2·d, the smallest
// bend the spring makers recommend (an inside radius of 1.5·d), so C2 = 4.
inline constexpr double kDefaultHookRadiusInWires = 2.0;

// A hook's bend radius r2 (to the wire's centre) describes a bend only when it is more than
// half the wire: at half the wire the inside of the bend has no radius left.
inline bool HookRadiusBends(double radius, double wireDiameter) {
    return radius > wireDiameter / 2.0;
}

struct StrengthOptions {
    bool peened = false;               // the endurance data of shot-peened wire
    std::optional<double> hookRadius;  // r2 in mm; none: 2·d
    bool operator==(const StrengthOptions&) const = default;
};

struct SolidFigures {
    double load = 0;             // k·(L0 − Ls), kg
    double stress = 0;           // uncorrected, kg/mm^2
    double correctedStress = 0;  // K times that
    // The stress is over the static allowable stress: closed, the spring takes a set. The
    // same condition as the window's warning 3 (the allowable stress is reached before solid),
    // told as what it means for the spring.
    bool takesSet = false;
};

struct HookFigures {
    double load = 0;    // the higher of Pset and Pact, kg
    double radius = 0;  // r2, mm
    double bendingFactor = 0;
    double bendingStress = 0;     // σA, kg/mm^2
    double bendingAllowable = 0;  // kg/mm^2
    double torsionFactor = 0;
    double torsionStress = 0;     // τB, kg/mm^2
    double torsionAllowable = 0;  // kg/mm^2
    bool overAllowable = false;   // either stress over its allowable
};

struct FatigueFigures {
    double amplitude = 0;  // τa of the corrected stresses, kg/mm^2
    double mean = 0;       // τm, kg/mm^2
    // nf; empty for wire of 10 mm and more, where the data do not hold, and for a cycle with no
    // load.
    std::optional<double> safety;
};

struct StrengthFigures {
    double wahl = 0;                    // K, as Run uses it
    double correctedSetStress = 0;      // K·τset, kg/mm^2
    double correctedWorkStress = 0;     // K·τact, kg/mm^2
    std::optional<SolidFigures> solid;  // a compression spring that can be pressed solid
    // An extension spring's, unless the hook radius given describes no bend.
    std::optional<HookFigures> hook;
    // The hook radius given is not more than half the wire: such a hook cannot be made, and it
    // has no figures. Never the case with the default radius.
    bool hookWithoutBend = false;
    const EnduranceData* endurance = &kUnpeened;
    FatigueFigures fatigue;
};

// The figures of a record after Run.
StrengthFigures ComputeStrengthFigures(const TSpringDesign& design,
                                       const StrengthOptions& options = {});

// The fatigue safety factor of a record after Run, between its installed and operating
// length: what a search can hold to a limit. Empty where no figure is given.
std::optional<double> FatigueSafetyFactor(const TSpringDesign& design, bool peened = false);

// The line on the load–length diagram where a check binds: the load at which the first hook
// reaches its allowable stress, when that is below the load at the static allowable stress of
// the body; the load of a compression spring pressed solid, when it takes a set there.
enum class LimitKind { Hook, Set };
struct BindingLimit {
    LimitKind kind;
    double load;  // kg
};
std::optional<BindingLimit> BindingLimitOf(const TSpringDesign& design,
                                           const StrengthFigures& figures);

}  // namespace springcalc
