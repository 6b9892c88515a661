// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Figures of a spring in service that the window does not show: slenderness, buckling and surge
// frequency of a compression spring; energy between the installed and the operating length and
// the mass of the active wire for both kinds. Worked out in double from a design's own values
// after Run; nothing here is stored back into the record or shown in the window.
//
// Units: mm, kg (kilogram-force), kg/mm, kg/mm^2 as everywhere; energy in kgf·mm, mass in g,
// frequency in Hz.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/spring_design.h"

namespace springcalc {

// How the ends of a compression spring are held, with the seating coefficient ν of the
// buckling method (the free buckling length is ν·L0).
enum class EndCondition { FixedFixed, FixedGuided, PinnedPinned, FixedPinned, FixedFree };

struct EndConditionRow {
    EndCondition ends;
    std::string_view name;  // the value of `--ends`
    double seating;         // ν
};

// clang-format off
inline constexpr std::array<EndConditionRow, 5> kEndConditions{{
    //  ends                          name             ν
    {EndCondition::FixedFixed,   "fixed-fixed",   0.5},  // both ends on parallel plates, guided (clamped)
    {EndCondition::FixedGuided,  "fixed-guided",  1.0},  // one end clamped, the other kept parallel but free to move sideways
    {EndCondition::PinnedPinned, "pinned-pinned", 1.0},  // both ends free to tilt (pinned)
    {EndCondition::FixedPinned,  "fixed-pinned",  0.7},  // one end clamped, the other free to tilt
    {EndCondition::FixedFree,    "fixed-free",    2.0},  // one end clamped, the other free
}};
// clang-format on

inline constexpr EndCondition kDefaultEnds = EndCondition::FixedFixed;

std::optional<EndCondition> EndConditionNamed(std::string_view name);
// "fixed-fixed, fixed-guided, ... or fixed-free", for messages.
std::string EndConditionNames();
const EndConditionRow& EndConditionOf(EndCondition ends);

// Warning 8 belongs to the command line only; the window keeps its seven.
inline constexpr int kBucklingWarning = 8;
inline constexpr const char* kBucklingWarningText = "座屈の恐れがあります";

struct CompressionFigures {
    double slenderness = 0;  // λ = L0 / D
    // Critical deflection s_K in mm; empty where the spring cannot buckle ("no buckling").
    std::optional<double> criticalDeflection;
    double workDeflection = 0;  // L0 − L2, mm
    bool bucklingRisk = false;  // workDeflection > criticalDeflection: warning 8
    double surgeFrequency = 0;  // Hz, both ends fixed
};

struct ServiceFigures {
    double energy = 0;      // kgf·mm stored from the installed to the operating length
    double activeMass = 0;  // g, the n active turns only
    std::optional<CompressionFigures> compression;  // empty for an extension spring
};

// The figures of a record after Run. Its initial tension counts for an extension spring only,
// since the record keeps the last extension value while a compression spring is chosen.
ServiceFigures ComputeServiceFigures(const TSpringDesign& design, EndCondition ends = kDefaultEnds);

}  // namespace springcalc
