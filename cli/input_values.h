// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the numbers a user types: decimals within their ranges, and standard wire sizes
// (the catalogue names kinds and materials).

#include <optional>
#include <string>
#include <string_view>

#include "engine/service_figures.h"

namespace springcalc::cli {

// Without the blanks and tabs at either end.
std::string_view Trim(std::string_view text);
// Trimmed, with ASCII letters in lower case.
std::string Lowered(std::string_view text);

// A diameter in mm that is one of the standard sizes: "0.7", "0.70" and "7e-1" all name 0.70.
std::optional<int> FindWire(std::string_view text);

// The end condition `--ends` names; none, with the problem told in `problem`, for a name it
// does not know.
std::optional<EndCondition> EndsNamed(std::string_view text, std::string& problem);

// A decimal number with a point, blanks at the ends allowed, nothing else; never "inf" or
// "nan". Parsed straight to float where the value is stored as a float, so it is the same
// nearest float the window's sample literals give.
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
    bool Holds(double value) const { return value >= min && value <= max; }
    // The value, or the end of the range it misses by no more than rounding (a few parts in
    // 10^15): 9.80665e-4N/mm divided by 9.80665 lands a hair below 0.0001 kg/mm. None when it
    // is outside.
    std::optional<double> Admit(double value) const;
};
// "from 0.1 to 10000"
std::string RangeText(Range range);
// The shortest decimal without an exponent that reads back as the same double; never depends
// on the locale.
std::string ShortestText(double value);
// printf's "%.<precision>f" followed by `tail`, for a value asked for or worked out from one;
// one too small to show in that many decimals (below 10^-precision) gets three
// significant digits, trailing zeros beyond `precision` dropped: 0.003 kg as "0.003", not
// "0.00". Never "-0.00".
std::string ReadableFixed(double value, int precision, std::string_view tail = {});

// Lengths and diameters in mm, and active turns: the window's smallest steps up to sizes no
// coil spring reaches.
inline constexpr Range kLengthRange{0.1, 10000};
inline constexpr Range kTurnsRange{0.5, 10000};

}  // namespace springcalc::cli
