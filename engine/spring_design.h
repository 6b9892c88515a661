// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design record of the spring calculator.
//
// Units: mm, kg (kilogram-force), kg/mm^2, kg/mm. Every stored number is single precision and
// rounded once when it is stored; the arithmetic inside one formula is carried in double.

#include <array>
#include <cstdint>
#include <string>

#include "engine/spring_formulas.h"
#include "engine/spring_tables.h"
#include "engine/spring_view.h"
#include "engine/wire_standards.h"

namespace springcalc {

enum SpringKindValue : std::int32_t { kCompression = 0, kExtension = 1 };

// The constant tables the record carries: filled once by FillTables, never changed after.
struct SpringTables {
    std::array<std::string, kMaterialCount> MaterialName{};
    std::array<float, kWireCount> WireDia{};
    // One slot more than there are sizes; the last one stays empty.
    std::array<std::string, kWireCount + 1> WireDiaText{};
};

// Everything else: the selection, the inputs, the results and the window's state. Kept apart
// from the tables so that a run of many designs starts each one afresh without copying them.
struct SpringValues {
    std::int32_t MaterialNo = 0;
    std::int32_t WireNo = 0;
    float MeanDia = 0;
    float InnerDia = 0;
    float OuterDia = 0;
    float MeanDiaAnchor = 0;
    float Turns = 0;
    float FreeLen = 0;
    float SetLen = 0;
    float WorkLen = 0;
    float SolidLen = 0;
    float FreeLenAnchor = 0;
    float SetLenAnchor = 0;
    float WorkLenAnchor = 0;
    float LimitLen = 0;
    float Tset = 0;
    float Tact = 0;
    float Tmax = 0;
    float AllowStatic = 0;
    float AllowStaticExt = 0;
    float AllowFatigue = 0;
    float InitTension = 0;
    float Pset = 0;
    float Pact = 0;
    float Pmax = 0;
    float TensileStrength = 0;
    float ShearModulus = 0;
    float SpringRate = 0;
    std::int32_t SpringKind = kCompression;
    TColor WarnColor = 0;
    std::int32_t PressActive = 0;
    std::string DateText;  // UTF-8; encoded for the report when written
    // Wire by a standard or the user's own, in place of MaterialNo and WireNo, owned by whoever
    // entered the design; the window never sets it.
    const WireSelection* Wire = nullptr;
};

// The whole state of the calculator. Exactly one exists, owned by the main window.
struct TSpringDesign : SpringTables, SpringValues {};

// Fills MaterialName, WireDia and WireDiaText from the built-in tables.
void FillTables(TSpringDesign& design);

// The static allowable stress of a spring kind, as a fraction of the material's allowable
// strength: an extension spring's is the lower, for its hooks.
inline constexpr double StaticAllowableFactor(std::int32_t springKind) {
    return springKind == kExtension ? formulas::kExtensionAllowable
                                    : formulas::kCompressionAllowable;
}

// The static allowable stress of the record's spring kind, as the strength lookup left it.
inline float StaticAllowable(const TSpringDesign& design) {
    return design.SpringKind == kExtension ? design.AllowStaticExt : design.AllowStatic;
}

// The initial tension of an extension spring, kg; none for a compression spring, though the
// record keeps the last extension spring's while a compression spring is chosen.
inline double InitialTensionOf(const TSpringDesign& design) {
    return design.SpringKind == kExtension ? double(design.InitTension) : 0.0;
}

// The wire diameter of the selection, mm.
inline float WireDiameterOf(const TSpringDesign& design) {
    return design.Wire ? design.Wire->diameter : design.WireDia[design.WireNo];
}

// The material of the selection: the window's row, or the standard's or the user's.
inline const MaterialRow& MaterialOf(const TSpringDesign& design) {
    return design.Wire ? design.Wire->row : kMaterials[design.MaterialNo];
}

// Wahl's stress correction factor K = (4c − 1) / (4c − 4) + 0.615 / c of the record's spring
// index c = D / d, each rounded to single precision as Run rounds them: Run's repeated-load
// allowable stress and the command line's corrected stresses use the same K.
inline float WahlFactorOf(const TSpringDesign& design) {
    const float c = static_cast<float>(double(design.MeanDia) / double(WireDiameterOf(design)));
    return static_cast<float>(formulas::WahlFactor(c));
}

}  // namespace springcalc
