// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/service_figures.h"

#include <cmath>

#include "engine/spring_formulas.h"
#include "engine/torsion_spring.h"
#include "engine/window_texts.h"

namespace springcalc {

using formulas::kPi;

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
    switch (number) {
        case kTorsionStressWarning:
            return Words("warning21");
        case kTorsionMandrelWarning:
            return Words("warning22");
        case kTorsionIndexWarning:
            return Words("warning23");
        case kTorsionFatigueWarning:
            return Words("warning24");
        default:
            return "";
    }
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
    const MaterialRow& material = MaterialOf(design);
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
            formulas::CriticalDeflection(freeLen, D, shearModulus, double(material.elasticModulus),
                                         EndConditionOf(ends).seating);
        c.workDeflection = freeLen - double(design.WorkLen);
        c.bucklingRisk = c.criticalDeflection && c.workDeflection > *c.criticalDeflection;
        c.surgeFrequency = formulas::SurgeFrequency(d, D, n, shearModulus, material.density);
        figures.compression = c;
    }
    figures.strength = ComputeStrengthFigures(design, strength);
    figures.maker = ComputeMakerFigures(design);
    return figures;
}

}  // namespace springcalc
