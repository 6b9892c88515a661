// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Built-in reference data: the nine wire materials, the 46 standard wire sizes and the eight
// tensile-strength tables (kg/mm^2 by wire number; 1 marks a size the material is not made in).

#include <array>
#include <cstdint>
#include <string_view>

namespace springcalc {

inline constexpr int kMaterialCount = 9;
inline constexpr int kWireCount = 46;
inline constexpr int kStrengthTableCount = 8;
// A strength of exactly 1 means "size not offered".
inline constexpr std::int32_t kNotOffered = 1;

// The two classes of wire the allowable stresses of hooks are published for.
enum class WireClass {
    Steel,      // patented, cold-drawn or hardened and tempered carbon and low-alloy steels
    Stainless,  // austenitic stainless steels
};

struct MaterialRow {
    std::string_view name;  // display text, right-aligned in 10 characters
    int strengthTable;
    float allowFactor;
    float shearModulus;    // kg/mm^2
    float elasticModulus;  // kg/mm^2; only the buckling check of the figures in service reads it
    // g/cm^3; only the masses and the surge frequency read it, never the window. A double, so
    // that the masses are worked out with 7.85 and 7.93 themselves.
    double density;
    // Only the hook check reads it.
    WireClass wireClass;
};

// Young's moduli are published in N/mm^2; the table keeps kgf/mm^2 like the shear modulus.
// Steels: 206 000 N/mm^2 (hard-drawn, piano and oil-tempered wire); austenitic stainless wire:
// 186 000 N/mm^2. Both as JIS B 2704 lists them, next to the G of 78 500 and 68 500 N/mm^2 that
// the 8000 and 7000 kgf/mm^2 below stand for.
// Standard gravity: 1 kgf = 9.80665 N.
inline constexpr double kNewtonsPerKgf = 9.80665;

constexpr float KgfPerMm2(double newtonsPerMm2) {
    return float(newtonsPerMm2 / kNewtonsPerKgf);
}

// clang-format off
inline constexpr std::array<MaterialRow, kMaterialCount> kMaterials{{
    //  display text     table  factor  G        E                     density  class
    {"       SWB",        0,    0.5f,   8000.0f, KgfPerMm2(206000.0),  7.85,    WireClass::Steel},
    {"       SWC",        1,    0.5f,   8000.0f, KgfPerMm2(206000.0),  7.85,    WireClass::Steel},
    {"      SWPA",        2,    0.5f,   8000.0f, KgfPerMm2(206000.0),  7.85,    WireClass::Steel},
    {"      SWPB",        3,    0.5f,   8000.0f, KgfPerMm2(206000.0),  7.85,    WireClass::Steel},
    {"     SWO-A",        4,    0.55f,  8000.0f, KgfPerMm2(206000.0),  7.85,    WireClass::Steel},
    {"   SWOSC-V",        5,    0.55f,  8000.0f, KgfPerMm2(206000.0),  7.85,    WireClass::Steel},
    {"SUS304-WPA",        6,    0.45f,  7000.0f, KgfPerMm2(186000.0),  7.93,    WireClass::Stainless},
    {"SUS316-WPA",        6,    0.45f,  7000.0f, KgfPerMm2(186000.0),  7.93,    WireClass::Stainless},
    {"SUS304-WPB",        7,    0.45f,  7000.0f, KgfPerMm2(186000.0),  7.93,    WireClass::Stainless},
}};

struct WireRow {
    float diameter;  // mm
    std::string_view text;
    std::array<std::int32_t, kStrengthTableCount> strength;  // tables 0..7
};

inline constexpr std::array<WireRow, kWireCount> kWires{{
    //  d       text             T0   T1   T2   T3   T4   T5   T6   T7
    {0.08f,  "      0.08 ",    {250, 285, 295, 325,   1,   1, 165, 220}},
    {0.09f,  "      0.09 ",    {245, 280, 290, 320,   1,   1, 165, 220}},
    {0.10f,  "      0.10 ",    {240, 275, 285, 315,   1,   1, 165, 220}},
    {0.12f,  "      0.12 ",    {235, 270, 280, 310,   1,   1, 165, 220}},
    {0.14f,  "      0.14 ",    {230, 265, 275, 305,   1,   1, 165, 220}},
    {0.16f,  "      0.16 ",    {225, 260, 270, 300,   1,   1, 165, 220}},
    {0.18f,  "      0.18 ",    {225, 255, 265, 295,   1,   1, 165, 220}},
    {0.20f,  "      0.20 ",    {225, 255, 265, 290,   1,   1, 165, 220}},
    {0.23f,  "      0.23 ",    {220, 250, 260, 285,   1,   1, 160, 210}},
    {0.26f,  "      0.26 ",    {215, 245, 255, 280,   1,   1, 160, 210}},
    {0.29f,  "      0.29 ",    {210, 240, 250, 275,   1,   1, 160, 210}},
    {0.32f,  "      0.32 ",    {205, 235, 245, 270,   1,   1, 160, 210}},
    {0.35f,  "      0.35 ",    {205, 235, 245, 270,   1,   1, 160, 210}},
    {0.40f,  "      0.40 ",    {200, 230, 240, 265,   1,   1, 160, 210}},
    {0.45f,  "      0.45 ",    {195, 225, 235, 260,   1,   1, 160, 200}},
    {0.50f,  "      0.50 ",    {195, 225, 235, 260,   1,   1, 160, 200}},
    {0.55f,  "      0.55 ",    {190, 220, 230, 255,   1,   1, 160, 200}},
    {0.60f,  "      0.60 ",    {185, 215, 225, 250,   1,   1, 160, 200}},
    {0.65f,  "      0.65 ",    {185, 215, 225, 250,   1,   1, 160, 200}},
    {0.70f,  "      0.70 ",    {180, 210, 220, 245,   1,   1, 160, 200}},
    {0.80f,  "      0.80 ",    {180, 205, 215, 240,   1,   1, 150, 190}},
    {0.90f,  "      0.90 ",    {180, 205, 215, 235,   1,   1, 150, 190}},
    {1.00f,  "      1.00 ",    {175, 200, 210, 230,   1,   1, 150, 190}},
    {1.20f,  "      1.20 ",    {170, 195, 205, 225,   1,   1, 140, 180}},
    {1.40f,  "      1.40 ",    {165, 190, 200, 220,   1,   1, 140, 180}},
    {1.60f,  "      1.60 ",    {160, 185, 195, 215,   1, 200, 135, 170}},
    {1.80f,  "      1.80 ",    {155, 180, 190, 210,   1, 200, 135, 170}},
    {2.00f,  "      2.00 ",    {150, 175, 185, 205, 165, 195, 135, 170}},
    {2.30f,  "      2.30 ",    {145, 170, 180, 200, 160, 195, 130, 160}},
    {2.60f,  "      2.60 ",    {145, 170, 180, 200, 160, 195, 130, 160}},
    {2.90f,  "      2.90 ",    {140, 165, 175, 195, 155, 195, 120, 150}},
    {3.20f,  "      3.20 ",    {140, 160, 170, 190, 150, 190, 120, 150}},
    {3.50f,  "      3.50 ",    {140, 160, 170, 185, 150, 190, 120, 150}},
    {4.00f,  "      4.00 ",    {135, 155, 165, 180, 145, 185, 120, 150}},
    {4.50f,  "      4.50 ",    {130, 150, 160, 175, 140, 185, 110, 140}},
    {5.00f,  "      5.00 ",    {125, 145, 155, 170, 135, 180, 110, 140}},
    {5.50f,  "      5.50 ",    {120, 140, 150, 165, 130, 180, 110, 140}},
    {6.00f,  "      6.00 ",    {115, 135, 145, 160, 130, 175, 110, 140}},
    {6.50f,  "      6.50 ",    {115, 135,   1,   1, 130, 175, 100, 130}},
    {7.00f,  "      7.00 ",    {110, 130,   1,   1, 125, 170, 100, 130}},
    {8.00f,  "      8.00 ",    {110, 130,   1,   1, 125, 170, 100, 130}},
    {9.00f,  "      9.00 ",    {105, 125,   1,   1, 125,   1,   1, 115}},
    {10.00f, "    10.00 ",     {105, 125,   1,   1, 120,   1,   1, 100}},
    {11.00f, "    11.00 ",     {  1,   1,   1,   1, 120,   1,   1,   1}},
    {12.00f, "    12.00 ",     {  1,   1,   1,   1, 120,   1,   1,   1}},
    {13.00f, "    13.00 ",     {  1,   1,   1,   1,   1,   1,   1,   1}},
}};
// clang-format on

// Tensile strength of a material at a wire number, straight from the tables.
constexpr std::int32_t TableStrength(int materialNo, int wireNo) {
    return kWires[wireNo].strength[kMaterials[materialNo].strengthTable];
}

}  // namespace springcalc
