// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spring wire ordered by its European or American standard, and a company's own wire: the
// minimum tensile strength against the diameter (a table of points or Rm = A / d^m), the moduli,
// the density and the static allowable stress, each with the source it was taken from. The
// window keeps its nine materials; these are for the command line and the page.
//
// Units as the standards give them: N/mm² (MPa) and mm. The design record keeps kgf/mm², so a
// selection (WireSelection) turns them into the record's units once.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/spring_tables.h"

namespace springcalc {

struct StrengthPoint {
    double diameter;  // mm
    double strength;  // N/mm², the least the standard allows at this size
};

// Moduli that change with the wire's size: up to and including `upTo` mm.
struct ModulusBand {
    double upTo;     // mm
    double shear;    // G, N/mm²
    double elastic;  // E, N/mm²
};

enum class StrengthLaw {
    Points,  // straight lines between the sizes of a table
    // Rm = A / d^m, A and m by band of diameters (pieces, by rising upTo; the last holds to the
    // row's `most`): one band for most wire, three for A313.
    Power,
    // Rm = coefficient − slope · log10(d / 1 mm), at most `cap`: a straight line through a
    // table's sizes on a logarithmic scale of d, as the fitted EN 10270 data are published.
    LogLine,
    // A table of bands as the standards print them: points[i].strength holds for
    // points[i-1].diameter < d <= points[i].diameter (the first from the row's least size).
    Bands,
};

// One band of Rm = A / d^m.
struct PowerPiece {
    double upTo;         // mm
    double coefficient;  // A, N/mm² · mm^m
    double exponent;     // m
};

struct WireMaterial {
    std::string name;    // as `--materials` takes it: "EN10270-1-SM"
    std::string source;  // where its figures come from, as the table and JSON tell it
    StrengthLaw law = StrengthLaw::Points;
    std::vector<StrengthPoint> points;  // Points and Bands: by rising diameter
    std::vector<PowerPiece> pieces;     // Power
    double coefficient = 0;             // LogLine: Rm at 1 mm, N/mm²
    double slope = 0;                   // LogLine: N/mm² per decade of d
    double cap = 0;                     // LogLine: the most it gives, N/mm²
    double least = 0;                   // the range of diameters the strength holds for, mm
    double most = 0;
    std::vector<ModulusBand> moduli;  // by rising `upTo`; the last holds to `most`
    double density = 7.85;            // g/cm³
    // The static allowable shear stress of a compression spring as a share of Rm; an extension
    // spring's is the program's usual 0.64 / 0.8 of it, for its hooks.
    double staticShare = 0.4;
    WireClass wireClass = WireClass::Steel;
    std::vector<double> sizes;  // the preferred diameters, mm, rising

    // N/mm²; none outside [least, most].
    std::optional<double> MinTensileStrength(double d) const;
    const ModulusBand& ModuliAt(double d) const;
};

// The built-in rows.
const std::vector<WireMaterial>& WireStandards();
// A built-in row by its name, case and blanks ignored.
const WireMaterial* WireStandardNamed(std::string_view name);
// A material by name among `own` (a materials file's, found first) and then the built-in rows;
// none when neither has it.
std::shared_ptr<const WireMaterial> WireMaterialNamed(
    std::string_view name, std::span<const std::shared_ptr<const WireMaterial>> own);
// "EN10270-1-SM, ..., ASTM-A229", for messages and help.
std::string WireStandardList();

// A material chosen at a diameter, in the record's units: what the engine reads in place of the
// window's tables.
struct WireSelection {
    std::shared_ptr<const WireMaterial> material;
    float diameter = 0;  // mm
    MaterialRow row{};   // G and E in kgf/mm², allowFactor such that 0.8·factor = staticShare
    float strength = 0;  // Rm in kgf/mm², single precision as the record keeps it
};

// The room temperature the standards' moduli hold at, and the range --temperature takes.
inline constexpr double kRoomTemperature = 20.0;  // °C
inline constexpr double kLeastTemperature = -40.0;
inline constexpr double kMostTemperature = 250.0;
// G and E lowered to `celsius` by EN 13906-1's relation G(t) = G20 · (1 − k · (t − 20)), k by
// the wire's class; the source says so. Pass-through at room temperature.
std::shared_ptr<const WireMaterial> AtTemperature(std::shared_ptr<const WireMaterial> material,
                                                  double celsius);
// The coefficient k of that relation, per kelvin.
double ModulusTemperatureCoefficient(WireClass wireClass);
// `own` and then every built-in row, each at `celsius`: what --temperature hands to the name
// look-ups in place of the materials file's list (the file's rows stay first).
std::vector<std::shared_ptr<const WireMaterial>> MaterialsAtTemperature(
    std::span<const std::shared_ptr<const WireMaterial>> own, double celsius);

// The selection of `material` at `d`; none when d is outside the material's range.
std::shared_ptr<const WireSelection> SelectWire(std::shared_ptr<const WireMaterial> material,
                                                double d);
// The selection at the material's preferred size nearest `d` (d itself where it prefers none);
// none when d is outside its range.
std::shared_ptr<const WireSelection> SelectPreferredWire(
    std::shared_ptr<const WireMaterial> material, double d);

}  // namespace springcalc
