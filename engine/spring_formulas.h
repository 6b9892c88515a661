// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spring formulas, worked out in double. The engine rounds each result once as it stores it;
// the command line's search uses the same functions to estimate thousands of designs before it
// runs the few that can pass through the engine, so the two cannot drift apart.

#include <cmath>
#include <numbers>

namespace springcalc::formulas {

inline constexpr double kPi = std::numbers::pi;  // 3.141592653589793

// Static allowable stresses, as fractions of the material's allowable strength.
inline constexpr double kCompressionAllowable = 0.8;
inline constexpr double kExtensionAllowable = 0.64;

// G d^4, the numerator of the spring rate and of the initial tension.
inline double Stiffness(double shearModulus, double d) {
    return shearModulus * std::pow(d, 4);
}

// k = G d^4 / (8 n D^3), the denominator formed as (8 n) D^3.
inline double SpringRate(double stiffness, double n, double D) {
    return stiffness / ((8.0 * n) * std::pow(D, 3));
}

// Uncorrected shear stress of a load: Wahl's factor is not applied to it.
inline double ShearStress(double load, double D, double d) {
    return 8.0 * load * D / (kPi * std::pow(d, 3));
}

// The load at which the uncorrected stress reaches `stress`.
inline double LoadAtStress(double stress, double D, double d) {
    return kPi * std::pow(d, 3) * stress / (8.0 * D);
}

// Grams of `coils` turns of wire: π·D per turn, cross-section π·d²/4; mm³ to cm³.
inline double WireMass(double density, double d, double D, double coils) {
    return kPi * kPi * d * d * D * coils / 4.0 / 1000.0 * density;
}

// The active turns that give the rate k: the spring rate solved for n.
inline double ActiveTurns(double stiffness, double rate, double D) {
    return stiffness / ((8.0 * rate) * std::pow(D, 3));
}

// A closed turn at each end.
inline double SolidLength(double n, double d) {
    return (n + 2.0) * d;
}

inline double ExtensionFreeLength(double D, double n, double d) {
    return 2.0 * D + (n - 1.0) * d;
}

// G d^4 / 255 / D^2, the product held at double with 1/255 at extended precision.
inline double InitialTension(double stiffness, double D) {
    const long double inverse255 = 1.0L / 255.0L;
    return static_cast<double>(stiffness * inverse255) / std::pow(D, 2);
}

}  // namespace springcalc::formulas
