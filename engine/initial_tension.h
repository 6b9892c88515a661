// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An extension spring's initial tension as a designer asks the coiler for it: a load, or the
// initial stress τ0 from which the load follows for the design's wire and coil diameter. The
// command line's check, the page's panel and the search read it with the one function here.

#include <optional>
#include <string>
#include <string_view>

#include "engine/design_input.h"

namespace springcalc {

// The ranges, both ends included. No initial tension at all (0) is a spring wound with open
// coils; 500 kg/mm² (4903 MPa) is above the tensile strength of every wire the tables hold.
inline constexpr double kMostInitialTension = 10000;  // kg
inline constexpr double kMostInitialStress = 500;     // kg/mm²

struct GivenInitialTension {
    enum class Kind { Load, Stress };
    Kind kind = Kind::Load;
    double value = 0;  // kg for a load, kg/mm² for a stress

    // P0 in kg for the wire d and mean diameter D (mm): a stress gives τ0·π·d³/(8·D).
    double LoadFor(double d, double D) const;
    bool operator==(const GivenInitialTension&) const = default;
};

enum class InitialTensionFault {
    None,
    NotANumber,   // no decimal number at the start (an empty text included)
    UnknownUnit,  // a number followed by something that is not one of the units below
    OutOfRange,   // a load beyond 0..kMostInitialTension or a stress beyond 0..kMostInitialStress
};

struct InitialTensionReading {
    std::optional<GivenInitialTension> given;  // set exactly when `fault` is None
    InitialTensionFault fault = InitialTensionFault::None;
    GivenInitialTension::Kind kind = GivenInitialTension::Kind::Load;  // what the unit said
};

// A decimal number with a point, then a unit, blanks allowed around it:
//   a load:   none, "kg" or "kgf" (kg, as everywhere in the program), or "N" (newtons);
//   a stress: "MPa", "N/mm2" or "N/mm²" (newtons per mm²), or "kg/mm2", "kg/mm²", "kgf/mm2"
//             or "kgf/mm²".
// Newtons are divided by 9.80665 N per kgf here, once. The unit's case counts ("n" is no unit).
InitialTensionReading ReadInitialTension(std::string_view text);

// The ranges in words, for messages: "a load from 0 to 10000 kg (2.5, 2.5kg, 25N) or an
// initial stress from 0 to 500 kg/mm² (175MPa, 17.8kg/mm2)".
std::string InitialTensionRangeText();

// P0 in kg for a design, rounded to single precision as the engine stores it.
float InitialTensionFor(const GivenInitialTension& given, const DesignInput& design);

}  // namespace springcalc
