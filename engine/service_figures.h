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
#include <vector>

#include "engine/maker_checks.h"
#include "engine/spring_design.h"
#include "engine/strength_checks.h"
#include "engine/words.h"

namespace springcalc {

// How the ends of a compression spring are held, with the seating coefficient ν of the
// buckling method (the free buckling length is ν·L0).
enum class EndCondition { FixedFixed, FixedGuided, PinnedPinned, FixedPinned, FixedFree };

struct EndConditionRow {
    EndCondition ends;
    std::string_view name;      // the value of `--ends`
    double seating;             // ν
    std::string_view japanese;  // as the page offers it
};

// clang-format off
inline constexpr std::array<EndConditionRow, 5> kEndConditions{{
    //  ends                          name             ν
    {EndCondition::FixedFixed,   "fixed-fixed",   0.5, Words("ends.fixed-fixed")},                // both ends on parallel plates, guided (clamped)
    {EndCondition::FixedGuided,  "fixed-guided",  1.0, Words("ends.fixed-guided")},  // one end clamped, the other kept parallel but free to move sideways
    {EndCondition::PinnedPinned, "pinned-pinned", 1.0, Words("ends.pinned-pinned")},            // both ends free to tilt (pinned)
    {EndCondition::FixedPinned,  "fixed-pinned",  0.7, Words("ends.fixed-pinned")},  // one end clamped, the other free to tilt
    {EndCondition::FixedFree,    "fixed-free",    2.0, Words("ends.fixed-free")},      // one end clamped, the other free
}};
// clang-format on

inline constexpr EndCondition kDefaultEnds = EndCondition::FixedFixed;

std::optional<EndCondition> EndConditionNamed(std::string_view name);
// "fixed-fixed, fixed-guided, ... or fixed-free", for messages.
std::string EndConditionNames();
const EndConditionRow& EndConditionOf(EndCondition ends);

// Warnings 8 to 11 belong to the command line (and the web edition) only; the window keeps its
// seven.
inline constexpr int kBucklingWarning = 8;
inline constexpr int kHookWarning = 9;
inline constexpr int kSolidSetWarning = 10;
inline constexpr int kFatigueWarning = 11;
inline constexpr int kCoilClearanceWarning = 12;
inline constexpr int kPitchWarning = 13;
inline constexpr int kInitialTensionWarning = 14;
inline constexpr int kLastServiceWarning = kInitialTensionWarning;
inline constexpr const char* kBucklingWarningText = Words("warning8");
inline constexpr std::array<const char*, 7> kServiceWarningTexts{
    kBucklingWarningText, Words("warning9"),  Words("warning10"), Words("warning11"),
    Words("warning12"),   Words("warning13"), Words("warning14"),
};
// The text of a warning of the window (1 to 7), of the command line (8 to 14) or of a torsion
// spring (21 to 24).
const char* WarningTextOf(int number);

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
    StrengthFigures strength;
    MakerFigures maker;
};

// The figures of a record after Run. Its initial tension counts for an extension spring only,
// since the record keeps the last extension value while a compression spring is chosen.
ServiceFigures ComputeServiceFigures(const TSpringDesign& design, EndCondition ends = kDefaultEnds,
                                     const StrengthOptions& strength = {});

// The command line's warnings of a design that ran, in their order: 8 (buckling), 9 (a hook
// over its allowable stress), 10 (a set when pressed solid) and, only when the spring is under
// repeated load, 11 (fatigue safety factor below 1).
std::vector<int> ServiceWarnings(const ServiceFigures& figures, bool repeated);

// The maker's warnings of a design that ran, in their order: 12 (coil clearance at the shortest
// length), 13 (pitch over half the mean diameter), 14 (initial tension out of the range a coiler
// winds).
std::vector<int> MakerWarnings(const MakerFigures& figures);

}  // namespace springcalc
