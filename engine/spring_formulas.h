// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spring formulas, worked out in double. The engine rounds each result once as it stores it;
// the figures in service, the strength and maker's checks and the search's estimate of
// thousands of designs call the same functions, so none of them can drift apart.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "engine/spring_tables.h"

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

// Wahl's stress correction factor K = (4c − 1) / (4c − 4) + 0.615 / c at the spring index c.
inline double WahlFactor(double c) {
    return (4.0 * c - 1.0) / (4.0 * c - 4.0) + 0.615 / c;
}

// The repeated-load allowable stress is this factor of the tensile strength over Wahl's factor,
// the factor 0.277·r^1.2 + 0.3 of the load ratio r = Pset / Pact, at most kMostRepeatedLoadFactor.
inline double RepeatedLoadFactor(double loadRatio) {
    return 0.277 * std::pow(loadRatio, 1.2) + 0.3;
}
inline constexpr float kMostRepeatedLoadFactor = 0.45f;

// First surge mode with both ends fixed: f = ½·√(k / m) with m the active mass, which gives
// f = d / (2π·n·D²) · √(G / (2ρ)) in SI units (G in Pa, ρ in kg/m³, d and D in m). Here d and D
// in mm, G in kg/mm², ρ in g/cm³; Hz.
inline double SurgeFrequency(double d, double D, double n, double shearModulus, double density) {
    const double shearPascal = shearModulus * kNewtonsPerKgf * 1e6;
    const double densitySi = density * 1000.0;
    return (d / 1000.0) / (2.0 * kPi * n * std::pow(D / 1000.0, 2.0)) *
           std::sqrt(shearPascal / (2.0 * densitySi));
}

// The deflection from the free length at which a compression spring buckles, by the European
// standard method:
//   s_K = L0 · 0.5 / (1 − G/E) · [1 − √(1 − (1 − G/E) / (0.5 + G/E) · (π·D / (ν·L0))²)]
// with ν the seating coefficient of its ends. Empty where the radicand is negative: the spring
// stays straight however far it is compressed.
inline std::optional<double> CriticalDeflection(double freeLen, double D, double shearModulus,
                                                double elasticModulus, double seating) {
    const double ratio = shearModulus / elasticModulus;
    const double slendernessTerm = std::pow(kPi * D / (seating * freeLen), 2.0);
    const double radicand = 1.0 - (1.0 - ratio) / (0.5 + ratio) * slendernessTerm;
    if (radicand < 0.0) {
        return std::nullopt;
    }
    return freeLen * 0.5 / (1.0 - ratio) * (1.0 - std::sqrt(radicand));
}

// The pitch of the active coils at the free length L0: the gaps between them add up to
// L0 − Ls, one gap for each active turn, and a pitch is a gap and a wire.
inline double ActivePitch(double freeLen, double solidLen, double n, double d) {
    return (freeLen - solidLen) / n + d;
}

// The least sum of the gaps between the active coils a compression spring keeps at its shortest
// working length, Sa = (0.0015·D²/d + 0.1·d)·n (mm): room for the coils' scatter in pitch and
// diameter, so that they do not touch before the stroke ends.
inline double MinGapSum(double D, double d, double n) {
    return (0.0015 * D * D / d + 0.1 * d) * n;
}

// The uncorrected shear stress 8·P·D/(π·d³) that a load P puts into the wire; for the initial
// tension P0 of an extension spring, its initial stress τ0.
inline double InitialStress(double initialTension, double D, double d) {
    return 8.0 * initialTension * D / (kPi * d * d * d);
}

// The range of initial stress a coiler makes at the spring index C, in psi:
// 33500/exp(0.105·C) ± 1000·(4 − (C − 3)/6.5).
struct StressBand {
    double low;
    double high;
};
inline StressBand InitialStressBandPsi(double C) {
    const double middle = 33500.0 / std::exp(0.105 * C);
    const double half = 1000.0 * (4.0 - (C - 3.0) / 6.5);
    return {middle - half, middle + half};
}

}  // namespace springcalc::formulas
