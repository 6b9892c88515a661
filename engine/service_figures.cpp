// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/service_figures.h"

#include <cmath>

#include "engine/spring_formulas.h"
#include "engine/window_texts.h"

namespace springcalc {

using formulas::kPi;

namespace {

// The European standard method for helical compression springs:
//   s_K = L0 · 0.5 / (1 − G/E) · [1 − √(1 − (1 − G/E) / (0.5 + G/E) · (π·D / (ν·L0))²)]
// A negative radicand means the spring stays straight however far it is compressed.
std::optional<double> CriticalDeflection(double freeLen, double meanDia, double shearModulus,
                                         double elasticModulus, double seating) {
    const double ratio = shearModulus / elasticModulus;
    const double slendernessTerm = std::pow(kPi * meanDia / (seating * freeLen), 2.0);
    const double radicand = 1.0 - (1.0 - ratio) / (0.5 + ratio) * slendernessTerm;
    if (radicand < 0.0) {
        return std::nullopt;
    }
    return freeLen * 0.5 / (1.0 - ratio) * (1.0 - std::sqrt(radicand));
}

}  // namespace

std::optional<EndCondition> EndConditionNamed(std::string_view name) {
    for (const EndConditionRow& row : kEndConditions) {
        if (row.name == name) {
            return row.ends;
        }
    }
    return std::nullopt;
}

std::string EndConditionNames() {
    std::string names;
    for (size_t i = 0; i < kEndConditions.size(); ++i) {
        names += i == 0 ? "" : i + 1 < kEndConditions.size() ? ", " : " or ";
        names += kEndConditions[i].name;
    }
    return names;
}

const EndConditionRow& EndConditionOf(EndCondition ends) {
    for (const EndConditionRow& row : kEndConditions) {
        if (row.ends == ends) {
            return row;
        }
    }
    return kEndConditions[0];
}

const char* WarningTextOf(int number) {
    if (number >= 1 && number <= static_cast<int>(kWarningTexts.size())) {
        return kWarningTexts[number - 1];
    }
    if (number >= kBucklingWarning && number <= kLastServiceWarning) {
        return kServiceWarningTexts[number - kBucklingWarning];
    }
    return "";
}

std::vector<int> ServiceWarnings(const ServiceFigures& figures, bool repeated) {
    std::vector<int> warnings;
    if (figures.compression && figures.compression->bucklingRisk) {
        warnings.push_back(kBucklingWarning);
    }
    const StrengthFigures& strength = figures.strength;
    if (strength.hook && strength.hook->overAllowable) {
        warnings.push_back(kHookWarning);
    }
    if (strength.solid && strength.solid->takesSet) {
        warnings.push_back(kSolidSetWarning);
    }
    if (repeated && strength.fatigue.safety && *strength.fatigue.safety < 1.0) {
        warnings.push_back(kFatigueWarning);
    }
    return warnings;
}

std::vector<int> MakerWarnings(const MakerFigures& figures) {
    std::vector<int> warnings;
    if (figures.coils && figures.coils->clearanceShort) {
        warnings.push_back(kCoilClearanceWarning);
    }
    if (figures.coils && figures.coils->pitchOver) {
        warnings.push_back(kPitchWarning);
    }
    if (figures.initialTension && figures.initialTension->outside) {
        warnings.push_back(kInitialTensionWarning);
    }
    return warnings;
}

ServiceFigures ComputeServiceFigures(const TSpringDesign& design, EndCondition ends,
                                     const StrengthOptions& strength) {
    const MaterialRow& material = kMaterials[design.MaterialNo];
    const double d = WireDiameterOf(design);
    const double D = design.MeanDia;
    const double n = design.Turns;
    const double freeLen = design.FreeLen;
    const double shearModulus = design.ShearModulus;
    const double initTension = InitialTensionOf(design);

    ServiceFigures figures;
    // The load rises from Pi at the free length with k per mm of deflection s, so the work from
    // s1 to s2 is ∫P ds = Pi·(s2 − s1) + k·(s2² − s1²) / 2. Deflections are taken as distances
    // from the free length, as the loads Pset and Pact are.
    const double s1 = std::fabs(freeLen - double(design.SetLen));
    const double s2 = std::fabs(freeLen - double(design.WorkLen));
    figures.energy =
        initTension * (s2 - s1) + 0.5 * double(design.SpringRate) * (s2 * s2 - s1 * s1);

    figures.activeMass = formulas::WireMass(material.density, d, D, n);  // the active turns

    if (design.SpringKind == kCompression) {
        CompressionFigures c;
        c.slenderness = freeLen / D;
        c.criticalDeflection =
            CriticalDeflection(freeLen, D, shearModulus, double(material.elasticModulus),
                               EndConditionOf(ends).seating);
        c.workDeflection = freeLen - double(design.WorkLen);
        c.bucklingRisk = c.criticalDeflection && c.workDeflection > *c.criticalDeflection;
        // First surge mode with both ends fixed: f = ½·√(k / m) with m the active mass, which
        // gives f = d / (2π·n·D²) · √(G / (2ρ)). In SI units: G in Pa, ρ in kg/m³, d and D in m.
        const double shearPascal = shearModulus * kNewtonsPerKgf * 1e6;
        const double densitySi = material.density * 1000.0;
        c.surgeFrequency = (d / 1000.0) / (2.0 * kPi * n * std::pow(D / 1000.0, 2.0)) *
                           std::sqrt(shearPascal / (2.0 * densitySi));
        figures.compression = c;
    }
    figures.strength = ComputeStrengthFigures(design, strength);
    figures.maker = ComputeMakerFigures(design);
    return figures;
}

}  // namespace springcalc
