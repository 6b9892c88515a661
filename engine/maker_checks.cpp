// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/maker_checks.h"

#include <algorithm>
#include <limits>

#include "engine/spring_formulas.h"
#include "engine/spring_tables.h"

namespace springcalc {

namespace {

// psi in kg/mm².
constexpr double kKgPerMm2PerPsi = 6.894757293168361e-3 / kNewtonsPerKgf;

}  // namespace

MakerFigures ComputeMakerFigures(const TSpringDesign& design) {
    const double d = WireDiameterOf(design);
    const double D = design.MeanDia;
    const double n = design.Turns;
    MakerFigures figures;
    if (design.SpringKind == kCompression) {
        const double freeLen = design.FreeLen;
        const double solidLen = design.SolidLen;
        const double shortest = std::min(double(design.SetLen), double(design.WorkLen));
        CoilFigures c;
        c.pitch = formulas::ActivePitch(freeLen, solidLen, n, d);
        c.pitchRatio = c.pitch / D;
        c.pitchOver = c.pitchRatio > kMaxPitchRatio;
        c.minGapSum = formulas::MinGapSum(D, d, n);
        c.gapSum = shortest - solidLen;
        const double toSolid = freeLen - solidLen;
        c.strokeShare = toSolid > 0.0 ? (freeLen - shortest) / toSolid
                                      : std::numeric_limits<double>::infinity();
        // Solid at or before the shortest length leaves no gap at all, short of any Sa.
        c.clearanceShort = c.gapSum < c.minGapSum || c.strokeShare > kMaxStrokeShare;
        c.shortestClear =
            std::max(solidLen + c.minGapSum, freeLen - kMaxStrokeShare * (freeLen - solidLen));
        figures.coils = c;
    } else {
        InitialTensionFigures t;
        t.stress = formulas::InitialStress(InitialTensionOf(design), D, d);
        const formulas::StressBand band = formulas::InitialStressBandPsi(D / d);
        t.low = band.low * kKgPerMm2PerPsi;
        t.high = band.high * kKgPerMm2PerPsi;
        t.outside = t.stress < t.low || t.stress > t.high;
        figures.initialTension = t;
    }
    return figures;
}

}  // namespace springcalc
