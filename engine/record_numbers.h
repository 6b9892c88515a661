// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record's numbers by name, and which of them a design has. The window shows nothing for a
// result while Run is withheld, and the record keeps the solid length and tau max of the last
// compression spring, and the initial tension of the last extension spring, when the kind
// changes: for a design of the other kind they mean nothing. Every front end that lists the
// record's numbers leaves out the same ones.

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/spring_design.h"

namespace springcalc {

// Which kinds of spring a number belongs to.
enum class KindsOf { Both, Compression, Extension };

struct RecordNumber {
    std::string_view name;  // the record's own name for it
    float TSpringDesign::*member;
    bool fromRun;  // set by Run: none while the window withholds it
    KindsOf kinds = KindsOf::Both;
};

// The numbers after WireDia, in the record's order.
// clang-format off
inline constexpr RecordNumber kRecordNumbers[] = {
    {"MeanDia",         &TSpringDesign::MeanDia,         false},
    {"InnerDia",        &TSpringDesign::InnerDia,        false},
    {"OuterDia",        &TSpringDesign::OuterDia,        false},
    {"Turns",           &TSpringDesign::Turns,           false},
    {"FreeLen",         &TSpringDesign::FreeLen,         false},
    {"SetLen",          &TSpringDesign::SetLen,          false},
    {"WorkLen",         &TSpringDesign::WorkLen,         false},
    {"SolidLen",        &TSpringDesign::SolidLen,        false, KindsOf::Compression},
    {"LimitLen",        &TSpringDesign::LimitLen,        true},
    {"Tset",            &TSpringDesign::Tset,            true},
    {"Tact",            &TSpringDesign::Tact,            true},
    {"Tmax",            &TSpringDesign::Tmax,            true,  KindsOf::Compression},
    {"AllowStatic",     &TSpringDesign::AllowStatic,     true},
    {"AllowStaticExt",  &TSpringDesign::AllowStaticExt,  true},
    {"AllowFatigue",    &TSpringDesign::AllowFatigue,    true},
    {"InitTension",     &TSpringDesign::InitTension,     true,  KindsOf::Extension},
    {"Pset",            &TSpringDesign::Pset,            true},
    {"Pact",            &TSpringDesign::Pact,            true},
    {"Pmax",            &TSpringDesign::Pmax,            true},
    {"TensileStrength", &TSpringDesign::TensileStrength, true},
    {"ShearModulus",    &TSpringDesign::ShearModulus,    true},
    {"SpringRate",      &TSpringDesign::SpringRate,      true},
};
// clang-format on

// The entry of a name in kRecordNumbers, for tables that pick some of them; used in constant
// tables only, where a name that is not there stops the compiler (reading past the end).
consteval const RecordNumber* RecordNumberNamed(std::string_view name) {
    size_t i = 0;
    while (kRecordNumbers[i].name != name) {
        ++i;
    }
    return &kRecordNumbers[i];
}

// The value of the number for a design, or none where the design has none; `ran`: whether
// Run was chosen for it.
inline std::optional<float> NumberOf(const RecordNumber& number, const TSpringDesign& design,
                                     bool ran) {
    const bool kind = number.kinds == KindsOf::Both ||
                      (number.kinds == KindsOf::Compression) == (design.SpringKind == kCompression);
    if (!kind || (number.fromRun && !ran)) {
        return std::nullopt;
    }
    return design.*number.member;
}

}  // namespace springcalc
