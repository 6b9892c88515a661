// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/torsion_spring.h"

#include <cmath>

#include "engine/spring_tables.h"

namespace springcalc {

double TorsionAllowableShare(std::int32_t materialNo) {
    const MaterialRow& material = kMaterials[materialNo];
    if (material.wireClass == WireClass::Stainless) {
        return torsion::kStainlessBending;
    }
    // The oil-tempered grades (SWO-A, SWOSC-V) have the strength tables of hardened and
    // tempered wire; the others are cold drawn.
    return material.strengthTable == 4 || material.strengthTable == 5 ? torsion::kOilTemperedBending
                                                                      : torsion::kColdDrawnBending;
}

namespace {

// The angle between the legs once they have turned `angle` degrees towards each other.
double LegAngle(double freeAngle, double angle) {
    const double between = std::fmod(freeAngle - angle, 360.0);
    return between < 0.0 ? between + 360.0 : between;
}

}  // namespace

double torsion::TableDiameter(int wireNo) {
    return std::round(double(kWires[wireNo].diameter) * 100.0) / 100.0;
}

TorsionResult ComputeTorsion(const TorsionInput& input, const TorsionOptions& options) {
    using namespace torsion;
    TorsionResult result;
    const std::int32_t strength = TableStrength(input.materialNo, input.wireNo);
    const double d = torsion::TableDiameter(input.wireNo);
    const double D = input.meanDia;
    result.d = d;
    result.index = D / d;
    if (strength == kNotOffered) {
        result.warnings.push_back(kTorsionNotMadeWarning);
        return result;
    }
    result.ran = true;
    const MaterialRow& material = kMaterials[input.materialNo];
    const double E = material.elasticModulus;
    result.activeTurns = ActiveTurns(input.bodyTurns, input.leg1, input.leg2, D);
    result.ratePerRadian = RatePerRadian(E, d, D, result.activeTurns);
    result.ratePerDegree = result.ratePerRadian * kPi / 180.0;
    result.shigleyRatePerTurn = ShigleyRatePerTurn(E, d, D, result.activeTurns);
    result.q = StressFactorQ(result.index);
    result.ki = ShigleyKi(result.index);
    result.tensileStrength = strength;
    result.allowableShare = TorsionAllowableShare(input.materialNo);
    result.allowableStress = result.allowableShare * strength;
    result.allowableMoment = result.allowableStress * kPi * d * d * d / (32.0 * result.q);
    result.allowableAngle = result.allowableMoment / result.ratePerDegree;
    result.innerDiameterFree = D - d;
    result.outerDiameterFree = D + d;

    const TorsionPosition* positions[2] = {&input.first, &input.second};
    for (int i = 0; i < 2; ++i) {
        TorsionPoint& point = result.points[i];
        const TorsionPosition& given = *positions[i];
        point.angle = given.by == TorsionPosition::By::Angle ? given.value
                                                             : given.value / result.ratePerDegree;
        point.moment = given.by == TorsionPosition::By::Moment ? given.value
                                                               : result.ratePerDegree * given.value;
        point.stress = BendingStress(result.q, point.moment, d);
        point.stressKi = BendingStress(result.ki, point.moment, d);
        point.innerDiameter = WoundMeanDiameter(input.bodyTurns, D, point.angle) - d;
        point.bodyLength = BodyLength(input.bodyTurns, d, point.angle);
        point.legAngle = LegAngle(input.freeAngle, point.angle);
    }
    // The cycle between the two positions with the stresses with q, the standard's factor;
    // Shigley writes a torsion spring's stresses with Ki: q is the higher, by about 1 % (1.9 % at w
    // = 4, 0.7 % at 10, 0.4 % at 20), so this check is the slightly stricter.
    const double s1 = result.points[0].stress;
    const double s2 = result.points[1].stress;
    result.endurance = options.peened ? &kPeened : &kUnpeened;
    result.fatigueAmplitude = std::fabs(s2 - s1) / 2.0;
    result.fatigueMean = (s1 + s2) / 2.0;
    // Zimmerli's point holds for wire under 10 mm only, as for the compression springs.
    result.enduranceHolds = d < kEnduranceDataWireLimit;
    if (result.enduranceHolds) {
        result.fatigueSafety = GoodmanSafetyFactor(
            result.fatigueAmplitude, result.fatigueMean,
            BendingEndurance(result.endurance->amplitude) / kNewtonsPerKgf,
            BendingEndurance(result.endurance->mean) / kNewtonsPerKgf, double(strength));
    }
    const double first = result.points[0].angle * kPi / 180.0;
    const double second = result.points[1].angle * kPi / 180.0;
    result.energy = 0.5 * result.ratePerRadian * (second * second - first * first);
    result.energyToSecond = 0.5 * result.ratePerRadian * second * second;
    const double wireLength = kPi * D * input.bodyTurns + input.leg1 + input.leg2;
    result.wireMass = kPi * d * d / 4.0 * wireLength / 1000.0 * material.density;

    if (result.index < kLeastIndex || result.index > kMostIndex) {
        result.warnings.push_back(kTorsionIndexWarning);
    }
    if (std::fmax(result.points[0].stress, result.points[1].stress) > result.allowableStress) {
        result.warnings.push_back(kTorsionStressWarning);
    }
    if (input.mandrel > 0.0) {
        const double inner =
            std::fmin(result.points[0].innerDiameter, result.points[1].innerDiameter);
        result.mandrelClearance = (inner - input.mandrel) / input.mandrel;
        if (result.mandrelClearance < kMandrelClearance) {
            result.warnings.push_back(kTorsionMandrelWarning);
        }
    }
    if (options.repeated && result.fatigueSafety && *result.fatigueSafety < 1.0) {
        result.warnings.push_back(kTorsionFatigueWarning);
    }
    return result;
}

}  // namespace springcalc
