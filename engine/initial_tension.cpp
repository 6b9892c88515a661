// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/initial_tension.h"

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

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

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

double GivenInitialTension::LoadFor(double d, double D) const {
    return kind == Kind::Load ? value : formulas::LoadAtStress(value, D, d);
}

InitialTensionReading ReadInitialTension(std::string_view text) {
    InitialTensionReading reading;
    text = Trimmed(text);
    // The number: a sign, digits and at most one point. Read by hand up to the unit, then
    // converted in the "C" locale; the WebAssembly build's std::from_chars has no doubles.
    size_t length = text.starts_with('-') ? 1 : 0;
    size_t digits = 0;
    bool point = false;
    for (; length < text.size(); ++length) {
        const char c = text[length];
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    double number = 0;
    std::istringstream numberText{std::string(text.substr(0, length))};
    numberText.imbue(std::locale::classic());
    if (digits == 0 || !(numberText >> number) || !std::isfinite(number)) {
        reading.fault = InitialTensionFault::NotANumber;
        return reading;
    }
    const std::string_view unitText = Trimmed(text.substr(length));
    const Unit* unit = nullptr;
    for (const Unit& candidate : kUnits) {
        unit = candidate.name == unitText ? &candidate : unit;
    }
    if (!unit) {
        reading.fault = InitialTensionFault::UnknownUnit;
        return reading;
    }
    reading.kind = unit->kind;
    // Kilograms-force stay as typed, to the last bit; "-0" is no tension, not a negative one.
    double value = (unit->newtons == kNewtonsPerKgf ? number : number / kNewtonsPerKgf) + 0.0;
    const double most = unit->kind == Kind::Load ? kMostInitialTension : kMostInitialStress;
    // 98066.5N is 10000 kg but for the last bit of the division.
    if (value > most && value <= most * (1.0 + 8 * std::numeric_limits<double>::epsilon())) {
        value = most;
    }
    if (value < 0.0 || value > most) {
        reading.fault = InitialTensionFault::OutOfRange;
        return reading;
    }
    reading.given = GivenInitialTension{unit->kind, value};
    return reading;
}

std::string InitialTensionRangeText() {
    return "a load from 0 to 10000 kg (2.5, 2.5kg, 25N) or an initial stress from 0 to 500 "
           "kg/mm² (175MPa, 175N/mm2, 17.8kg/mm2)";
}

float InitialTensionFor(const GivenInitialTension& given, const DesignInput& design) {
    const double d = kWires[static_cast<size_t>(design.wireNo)].diameter;
    return static_cast<float>(given.LoadFor(d, design.meanDia));
}

}  // namespace springcalc
