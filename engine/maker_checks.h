// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a spring maker looks at before he accepts a drawing, beyond the stresses: whether the
// coils of a compression spring keep clear of each other over the stroke and are not wound too
// open to hold their shape, and whether an extension spring's initial tension is one a coiler
// can wind in. Worked out in double from a design's own values after Run.

#include <optional>

#include "engine/spring_design.h"

namespace springcalc {

// The most open pitch a compression spring keeps its shape and its rate with, as a share of D.
inline constexpr double kMaxPitchRatio = 0.5;
// The share of the deflection to solid that a stroke may use; beyond it coils of a spring as
// made may touch.
inline constexpr double kMaxStrokeShare = 0.8;

struct CoilFigures {
    double pitch = 0;        // of the active coils at the free length, mm
    double pitchRatio = 0;   // pitch / D
    bool pitchOver = false;  // pitchRatio over kMaxPitchRatio
    double minGapSum = 0;    // Sa, mm: the gaps the coils must keep at the shortest length
    double gapSum = 0;       // the gaps left at the shortest working length, L − Ls, mm
    double strokeShare = 0;  // (L0 − L) / (L0 − Ls): the deflection there against that to solid
    bool clearanceShort = false;  // gapSum below Sa, or strokeShare over kMaxStrokeShare
    // The shortest working length both rules allow, max(Ls + Sa, L0 − 0.8·(L0 − Ls)), mm.
    double shortestClear = 0;
};

struct InitialTensionFigures {
    double stress = 0;  // τ0, uncorrected, kg/mm²
    double low = 0;     // the range a coiler winds at this index, kg/mm²
    double high = 0;
    bool outside = false;
};

struct MakerFigures {
    std::optional<CoilFigures> coils;                     // a compression spring's
    std::optional<InitialTensionFigures> initialTension;  // an extension spring's
};

// The figures of a record after Run. The shortest working length is the shorter of the set
// and the operating length.
MakerFigures ComputeMakerFigures(const TSpringDesign& design);

}  // namespace springcalc
