// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/initial_tension.h"

#include "engine/input_text.h"
#include "engine/spring_formulas.h"
#include "engine/spring_tables.h"

namespace springcalc {

namespace {

using Kind = GivenInitialTension::Kind;

struct Unit {
    std::string_view name;
    Kind kind;
    double newtons;  // per unit; kgf units are taken as typed
};

// clang-format off
constexpr Unit kUnits[] = {
    {"",        Kind::Load,   kNewtonsPerKgf},
    {"kg",      Kind::Load,   kNewtonsPerKgf},
    {"kgf",     Kind::Load,   kNewtonsPerKgf},
    {"N",       Kind::Load,   1.0},
    {"MPa",     Kind::Stress, 1.0},
    {"N/mm2",   Kind::Stress, 1.0},
    {"N/mm²",   Kind::Stress, 1.0},
    {"kg/mm2",  Kind::Stress, kNewtonsPerKgf},
    {"kg/mm²",  Kind::Stress, kNewtonsPerKgf},
    {"kgf/mm2", Kind::Stress, kNewtonsPerKgf},
    {"kgf/mm²", Kind::Stress, kNewtonsPerKgf},
};
// clang-format on

}  // namespace

double GivenInitialTension::LoadFor(double d, double D) const {
    return kind == Kind::Load ? value : formulas::LoadAtStress(value, D, d);
}

InitialTensionReading ReadInitialTension(std::string_view text) {
    InitialTensionReading reading;
    text = Trim(text);
    // The longest unit the text ends with that leaves a number before it ("25N/mm2" is a
    // stress, not 25 N followed by "/mm2").
    const Unit* unit = nullptr;
    double number = 0;
    for (const Unit& candidate : kUnits) {
        if (!text.ends_with(candidate.name) ||
            (unit && unit->name.size() >= candidate.name.size())) {
            continue;
        }
        if (const auto read = ParseDouble(text.substr(0, text.size() - candidate.name.size()))) {
            unit = &candidate;
            number = *read;
        }
    }
    if (!unit) {
        const bool numberFirst = !text.empty() && (text[0] == '-' || text[0] == '.' ||
                                                   (text[0] >= '0' && text[0] <= '9'));
        reading.fault =
            numberFirst ? InitialTensionFault::UnknownUnit : InitialTensionFault::NotANumber;
        return reading;
    }
    reading.kind = unit->kind;
    // Kilograms-force stay as typed, to the last bit; "-0" is no tension, not a negative one.
    const double value = (unit->newtons == kNewtonsPerKgf ? number : number / kNewtonsPerKgf) + 0.0;
    const Range range{0, unit->kind == Kind::Load ? kMostInitialTension : kMostInitialStress};
    // 98066.5N is 10000 kg but for the last bit of the division.
    const std::optional<double> admitted = range.Admit(value);
    if (!admitted) {
        reading.fault = InitialTensionFault::OutOfRange;
        return reading;
    }
    reading.given = GivenInitialTension{unit->kind, *admitted};
    return reading;
}

std::string InitialTensionRangeText() {
    return "a load from 0 to 10000 kg (2.5, 2.5kg, 25N) or an initial stress from 0 to 500 "
           "kg/mm² (175MPa, 175N/mm2, 17.8kg/mm2)";
}

float InitialTensionFor(const GivenInitialTension& given, const DesignInput& design) {
    const double d = design.wire ? double(design.wire->diameter)
                                 : kWires[static_cast<size_t>(design.wireNo)].diameter;
    return static_cast<float>(given.LoadFor(d, design.meanDia));
}

}  // namespace springcalc
