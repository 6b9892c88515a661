#include "check_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "input_values.h"
#include "spring_design.h"
#include "text_format.h"

namespace springcalc::cli {

namespace {

// Which designs a number belongs to. The window's record keeps the solid length and tau max
// of the last compression spring, and the initial tension of the last extension spring, when
// the kind changes; for a design of the other kind they mean nothing, and are given as null.
enum class Belongs { Always, Compression, Extension };

struct NumberField {
    const char* name;
    float DesignValues::*member;
    // Set by Run: null while the window withholds it, as there is no result to give.
    bool fromRun;
    Belongs belongs = Belongs::Always;
};

constexpr Belongs kCompressionOnly = Belongs::Compression;
constexpr Belongs kExtensionOnly = Belongs::Extension;

// clang-format off
constexpr NumberField kNumberFields[] = {
    {"WireDia",         &DesignValues::WireDia,         false},
    {"MeanDia",         &DesignValues::MeanDia,         false},
    {"InnerDia",        &DesignValues::InnerDia,        false},
    {"OuterDia",        &DesignValues::OuterDia,        false},
    {"Turns",           &DesignValues::Turns,           false},
    {"FreeLen",         &DesignValues::FreeLen,         false},
    {"SetLen",          &DesignValues::SetLen,          false},
    {"WorkLen",         &DesignValues::WorkLen,         false},
    {"SolidLen",        &DesignValues::SolidLen,        false, kCompressionOnly},
    {"LimitLen",        &DesignValues::LimitLen,        true},
    {"Tset",            &DesignValues::Tset,            true},
    {"Tact",            &DesignValues::Tact,            true},
    {"Tmax",            &DesignValues::Tmax,            true,  kCompressionOnly},
    {"AllowStatic",     &DesignValues::AllowStatic,     true},
    {"AllowStaticExt",  &DesignValues::AllowStaticExt,  true},
    {"AllowFatigue",    &DesignValues::AllowFatigue,    true},
    {"InitTension",     &DesignValues::InitTension,     true,  kExtensionOnly},
    {"Pset",            &DesignValues::Pset,            true},
    {"Pact",            &DesignValues::Pact,            true},
    {"Pmax",            &DesignValues::Pmax,            true},
    {"TensileStrength", &DesignValues::TensileStrength, true},
    {"ShearModulus",    &DesignValues::ShearModulus,    true},
    {"SpringRate",      &DesignValues::SpringRate,      true},
};

// Loads, stresses and the rate once more in newtons.
constexpr NumberField kSiFields[] = {
    {"SpringRate_N_per_mm",      &DesignValues::SpringRate,     true},
    {"Pset_N",                   &DesignValues::Pset,           true},
    {"Pact_N",                   &DesignValues::Pact,           true},
    {"Pmax_N",                   &DesignValues::Pmax,           true},
    {"InitTension_N",            &DesignValues::InitTension,    true, kExtensionOnly},
    {"Tset_N_per_mm2",           &DesignValues::Tset,           true},
    {"Tact_N_per_mm2",           &DesignValues::Tact,           true},
    {"Tmax_N_per_mm2",           &DesignValues::Tmax,           true, kCompressionOnly},
    {"AllowStatic_N_per_mm2",    &DesignValues::AllowStatic,    true},
    {"AllowStaticExt_N_per_mm2", &DesignValues::AllowStaticExt, true},
    {"AllowFatigue_N_per_mm2",   &DesignValues::AllowFatigue,   true},
};
// clang-format on

// Whether the design has this number: its kind has it, and Run gave it where Run gives it.
bool Given(const NumberField& field, const CheckedDesign& checked) {
    const std::int32_t kind = checked.outcome.values.SpringKind;
    const bool kindHasIt = field.belongs == Belongs::Always ||
                           (field.belongs == Belongs::Compression && kind == kCompression) ||
                           (field.belongs == Belongs::Extension && kind == kExtension);
    return kindHasIt && (checked.outcome.analysed || !field.fromRun);
}

void AppendMember(std::string& out, const char* name, const std::string& value) {
    out += '"';
    out += name;
    out += "\":";
    out += value;
    out += ',';
}

std::string DesignObject(const CheckedDesign& checked, bool withNames, Units units) {
    const DesignValues& v = checked.outcome.values;
    const bool ran = checked.outcome.analysed;
    std::string out = "{";
    AppendMember(out, "row", std::to_string(checked.input.row));
    AppendMember(out, "name", withNames ? JsonString(checked.input.name) : "null");
    AppendMember(out, "kind", JsonString(KindName(v.SpringKind)));
    AppendMember(out, "material", JsonString(MaterialDesignation(v.MaterialNo)));
    AppendMember(out, "analysed", ran ? "true" : "false");
    AppendMember(out, "SpringKind", std::to_string(v.SpringKind));
    AppendMember(out, "MaterialNo", std::to_string(v.MaterialNo));
    AppendMember(out, "WireNo", std::to_string(v.WireNo));
    for (const NumberField& field : kNumberFields) {
        AppendMember(out, field.name, Given(field, checked) ? JsonNumber(v.*field.member) : "null");
    }
    AppendMember(out, "DateText", ran ? JsonString(v.DateText) : "null");
    if (units == Units::KgfAndSi) {
        std::string si = "{";
        for (const NumberField& field : kSiFields) {
            const double newtons = Newtons(v.*field.member);
            // Seven significant digits: as many as the single-precision kgf value holds.
            AppendMember(
                si, field.name,
                Given(field, checked) && std::isfinite(newtons) ? Format("%.7g", newtons) : "null");
        }
        si.back() = '}';
        AppendMember(out, "si", si);
    }
    out += "\"warnings\":[";
    for (size_t i = 0; i < checked.outcome.warnings.size(); ++i) {
        const int number = checked.outcome.warnings[i];
        out += i == 0 ? "" : ",";
        out += "{\"number\":" + std::to_string(number) +
               ",\"text\":" + JsonString(number >= 1 ? kWarningTexts[number - 1] : "") + "}";
    }
    out += "]}";
    return out;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += Format("\\u%04x", static_cast<unsigned>(c));
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string JsonNumber(float value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void WriteCheckJson(std::ostream& out, const std::vector<CheckedDesign>& designs, bool withNames,
                    Units units) {
    std::string text = "[\n";
    for (size_t i = 0; i < designs.size(); ++i) {
        text += DesignObject(designs[i], withNames, units);
        text += i + 1 < designs.size() ? ",\n" : "\n";
        if (text.size() > (1u << 16)) {
            out << text;
            text.clear();
        }
    }
    out << text << "]\n";
}

}  // namespace springcalc::cli
