// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the numbers a user types, the same in every front end: decimals with a point, forces
// in kgf or newtons, a load at a length, and the ranges they must lie in.

#include <optional>
#include <string_view>

namespace springcalc {

// Without the blanks and tabs at either end.
std::string_view Trim(std::string_view text);

// A decimal number with a point (an exponent allowed), blanks at the ends allowed, nothing else:
// never "inf", "nan", hexadecimal or a leading "+". Parsed straight to float where the value is
// stored as a float, so it is the same nearest float the window's sample literals give.
std::optional<float> ParseFloat(std::string_view text);
std::optional<double> ParseDouble(std::string_view text);

// A force as a user types it, in kgf as the engine takes it. A plain number is kgf, as
// everywhere in the program; a unit after it (blanks between allowed) says what it is in:
//   load:  "12", "12kg", "12kgf" (kgf) or "12N" (newtons)
//   rate:  "0.5", "0.5kg/mm", "0.5kgf/mm" (kgf/mm) or "0.5N/mm"
// Newtons are divided by 9.80665 N per kgf here, once; none for anything else, a unit of the
// other kind included. Ranges are the caller's, on the kgf value.
enum class ForceKind { Load, Rate };
std::optional<double> ParseForce(std::string_view text, ForceKind kind);

// "12N@20", "5@40": a load (as ParseForce reads it) at a length in mm.
struct LoadAtLength {
    double load = 0;    // kgf
    double length = 0;  // mm
};
std::optional<LoadAtLength> ParseLoadAtLength(std::string_view text);

// The values a number may take, both ends included. Every number a user gives has one, so
// that no result can overflow and every table column has room for it.
struct Range {
    double min = 0;
    double max = 0;
    constexpr bool Holds(double value) const { return value >= min && value <= max; }
    // The value, or the end of the range it misses by no more than rounding (a few parts in
    // 10^15): 9.80665e-4N/mm divided by 9.80665 lands a hair below 0.0001 kg/mm. None when it
    // is outside.
    std::optional<double> Admit(double value) const;
};

// Lengths and diameters in mm, and active turns: the window's smallest steps up to sizes no
// coil spring reaches.
inline constexpr Range kLengthRange{0.1, 10000};
inline constexpr Range kTurnsRange{0.5, 10000};

}  // namespace springcalc
