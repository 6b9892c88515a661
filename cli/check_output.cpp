// The two output formats of `check`: the aligned table and JSON, one design at a time.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "check.h"
#include "input_values.h"
#include "text_format.h"
#include "text_table.h"
#include "utf8_text.h"

namespace springcalc::cli {

namespace {

// ---- The table ----------------------------------------------------------------------------

// A number of the record as the table shows it; none ("-") where the window shows nothing: a
// result of a design whose Run is withheld, or a value the spring kind has none of.
using Shown = std::optional<double>;

Shown If(bool shown, float value) {
    return shown ? Shown(value) : std::nullopt;
}

struct NumberColumn {
    const char* title;
    const char* unit;
    const char* siUnit;  // the unit of a second column in newtons with --units si; or none
    int precision;
    Shown (*value)(const TSpringDesign& s, bool ran);
};

bool Compression(const TSpringDesign& s) {
    return s.SpringKind == kCompression;
}

// The number columns, in order. Each is as wide as five digits before the point need, or its
// title; a value wider than that is written with an exponent (NumberCell), so the widths never
// depend on the data and the table streams.
// clang-format off
constexpr NumberColumn kNumberColumns[] = {
    {"D",              "mm",     nullptr, 1, [](const TSpringDesign& s, bool) { return If(true, s.MeanDia); }},
    {"n",              "",       nullptr, 1, [](const TSpringDesign& s, bool) { return If(true, s.Turns); }},
    {"free",           "mm",     nullptr, 1, [](const TSpringDesign& s, bool) { return If(true, s.FreeLen); }},
    {"set",            "mm",     nullptr, 1, [](const TSpringDesign& s, bool) { return If(true, s.SetLen); }},
    {"work",           "mm",     nullptr, 1, [](const TSpringDesign& s, bool) { return If(true, s.WorkLen); }},
    {"solid",          "mm",     nullptr, 1, [](const TSpringDesign& s, bool) { return If(Compression(s), s.SolidLen); }},
    {"limit",          "mm",     nullptr, 1, [](const TSpringDesign& s, bool ran) { return If(ran, s.LimitLen); }},
    {"k",              "kg/mm",  "N/mm",  3, [](const TSpringDesign& s, bool ran) { return If(ran, s.SpringRate); }},
    {"Pset",           "kg",     "N",     2, [](const TSpringDesign& s, bool ran) { return If(ran, s.Pset); }},
    {"Pact",           "kg",     "N",     2, [](const TSpringDesign& s, bool ran) { return If(ran, s.Pact); }},
    {"Pmax",           "kg",     "N",     2, [](const TSpringDesign& s, bool ran) { return If(ran, s.Pmax); }},
    {"Tset",           "kg/mm²", "N/mm²", 2, [](const TSpringDesign& s, bool ran) { return If(ran, s.Tset); }},
    {"Tact",           "kg/mm²", "N/mm²", 2, [](const TSpringDesign& s, bool ran) { return If(ran, s.Tact); }},
    {"Tmax",           "kg/mm²", "N/mm²", 2, [](const TSpringDesign& s, bool ran) { return If(ran && Compression(s), s.Tmax); }},
    {"allow-static",   "kg/mm²", "N/mm²", 2, [](const TSpringDesign& s, bool ran) { return If(ran, Compression(s) ? s.AllowStatic : s.AllowStaticExt); }},
    {"allow-repeated", "kg/mm²", "N/mm²", 2, [](const TSpringDesign& s, bool ran) { return If(ran, s.AllowFatigue); }},
    {"init-tension",   "kg",     "N",     2, [](const TSpringDesign& s, bool ran) { return If(ran && !Compression(s), s.InitTension); }},
};
// clang-format on

constexpr int kNumberWidth = 6;  // five digits and the point, before the decimals
constexpr int kRowWidth = 9;     // up to 999,999,999 designs
constexpr int kNameWidth = 20;   // longer names end in "…"
constexpr const char* kNone = "-";

class TableWriter final : public CheckWriter {
public:
    TableWriter(bool withNames, Units units)
        : withNames_(withNames), si_(units == Units::KgfAndSi), table_(Columns()) {}

    void Begin(std::string& out) override { table_.AppendHeader(out); }

    void Design(std::string& out, const DesignInput& input, const Outcome& outcome) override {
        const TSpringDesign& s = outcome.record;
        cells_.clear();
        cells_.push_back(std::to_string(input.row));
        if (withNames_) {
            cells_.push_back(Shortened(Escaped(input.name), kNameWidth));
        }
        cells_.push_back(KindName(s.SpringKind));
        cells_.push_back(MaterialDesignation(s.MaterialNo));
        cells_.push_back(WireDesignation(s.WireNo));
        for (size_t i = 0; const NumberColumn& column : kNumberColumns) {
            const Shown value = column.value(s, outcome.analysed);
            for (double factor : {1.0, kNewtonsPerKgf}) {
                if (factor == 1.0 || (si_ && column.siUnit)) {
                    cells_.push_back(
                        value ? NumberCell(*value * factor, column.precision, widths_[i]) : kNone);
                    ++i;
                }
            }
        }
        const std::vector<int> warnings = DistinctWarnings(outcome.warnings);
        for (size_t w = 0; w < std::max<size_t>(warnings.size(), 1); ++w) {
            if (w > 0) {
                cells_.assign(cells_.size(), "");
            }
            cells_.push_back(warnings.empty() ? ""
                                              : std::to_string(warnings[w]) + " " +
                                                    kWarningTexts[warnings[w] - 1]);
            table_.AppendRow(out, cells_);
            cells_.pop_back();
        }
    }

    void End(std::string& out, const CheckCounts& counts) override {
        out += "\n" + std::to_string(counts.designs) +
               (counts.designs == 1 ? " design, " : " designs, ") +
               std::to_string(counts.withWarnings) + " with warnings.";
        if (counts.withheld > 0) {
            out += " Not run (\"-\"): " + std::to_string(counts.withheld) +
                   ", as the window withholds Run while warning 1 or 5 stands.";
        }
        out += "\nUnits: mm, kg (kgf), kg/mm², kg/mm";
        if (si_) {
            out += "; beside them N, N/mm², N/mm (1 kgf = 9.80665 N)";
        }
        out += ".\n";
    }

private:
    std::vector<TableColumn> Columns() {
        std::vector<TableColumn> columns = {{"row", "", Align::Right, kRowWidth}};
        if (withNames_) {
            columns.push_back({"name", "", Align::Left, kNameWidth});
        }
        columns.push_back({"kind", "", Align::Left, 11});
        columns.push_back({"material", "", Align::Left, 10});
        columns.push_back({"wire", "mm", Align::Right, 5});
        for (const NumberColumn& column : kNumberColumns) {
            for (const char* unit : {column.unit, si_ ? column.siUnit : nullptr}) {
                if (unit) {
                    const int width = std::max({kNumberWidth + column.precision,
                                                DisplayWidth(column.title), DisplayWidth(unit)});
                    columns.push_back({column.title, unit, Align::Right, width});
                    widths_.push_back(width);
                }
            }
        }
        columns.push_back({"warnings", "", Align::Left});
        return columns;
    }

    bool withNames_;
    bool si_;
    std::vector<int> widths_;  // of the number columns
    TextTable table_;
    std::vector<std::string> cells_;
};

// ---- JSON ---------------------------------------------------------------------------------

// Which designs a number belongs to. The window's record keeps the solid length and tau max
// of the last compression spring, and the initial tension of the last extension spring, when
// the kind changes; for a design of the other kind they mean nothing, and are given as null.
enum class Belongs { Always, Compression, Extension };

struct NumberField {
    const char* name;
    float TSpringDesign::*member;
    // Set by Run: null while the window withholds it, as there is no result to give.
    bool fromRun;
    Belongs belongs = Belongs::Always;
};

constexpr Belongs kCompressionOnly = Belongs::Compression;
constexpr Belongs kExtensionOnly = Belongs::Extension;

// The record's numbers after WireDia, in the record's order.
// clang-format off
constexpr NumberField kNumberFields[] = {
    {"MeanDia",         &TSpringDesign::MeanDia,         false},
    {"InnerDia",        &TSpringDesign::InnerDia,        false},
    {"OuterDia",        &TSpringDesign::OuterDia,        false},
    {"Turns",           &TSpringDesign::Turns,           false},
    {"FreeLen",         &TSpringDesign::FreeLen,         false},
    {"SetLen",          &TSpringDesign::SetLen,          false},
    {"WorkLen",         &TSpringDesign::WorkLen,         false},
    {"SolidLen",        &TSpringDesign::SolidLen,        false, kCompressionOnly},
    {"LimitLen",        &TSpringDesign::LimitLen,        true},
    {"Tset",            &TSpringDesign::Tset,            true},
    {"Tact",            &TSpringDesign::Tact,            true},
    {"Tmax",            &TSpringDesign::Tmax,            true,  kCompressionOnly},
    {"AllowStatic",     &TSpringDesign::AllowStatic,     true},
    {"AllowStaticExt",  &TSpringDesign::AllowStaticExt,  true},
    {"AllowFatigue",    &TSpringDesign::AllowFatigue,    true},
    {"InitTension",     &TSpringDesign::InitTension,     true,  kExtensionOnly},
    {"Pset",            &TSpringDesign::Pset,            true},
    {"Pact",            &TSpringDesign::Pact,            true},
    {"Pmax",            &TSpringDesign::Pmax,            true},
    {"TensileStrength", &TSpringDesign::TensileStrength, true},
    {"ShearModulus",    &TSpringDesign::ShearModulus,    true},
    {"SpringRate",      &TSpringDesign::SpringRate,      true},
};

// Loads, stresses and the rate once more in newtons.
constexpr NumberField kSiFields[] = {
    {"SpringRate_N_per_mm",      &TSpringDesign::SpringRate,     true},
    {"Pset_N",                   &TSpringDesign::Pset,           true},
    {"Pact_N",                   &TSpringDesign::Pact,           true},
    {"Pmax_N",                   &TSpringDesign::Pmax,           true},
    {"InitTension_N",            &TSpringDesign::InitTension,    true, kExtensionOnly},
    {"Tset_N_per_mm2",           &TSpringDesign::Tset,           true},
    {"Tact_N_per_mm2",           &TSpringDesign::Tact,           true},
    {"Tmax_N_per_mm2",           &TSpringDesign::Tmax,           true, kCompressionOnly},
    {"AllowStatic_N_per_mm2",    &TSpringDesign::AllowStatic,    true},
    {"AllowStaticExt_N_per_mm2", &TSpringDesign::AllowStaticExt, true},
    {"AllowFatigue_N_per_mm2",   &TSpringDesign::AllowFatigue,   true},
};
// clang-format on

// Whether the design has this number: its kind has it, and Run gave it where Run gives it.
bool Given(const NumberField& field, const Outcome& outcome) {
    const std::int32_t kind = outcome.record.SpringKind;
    const bool kindHasIt = field.belongs == Belongs::Always ||
                           (field.belongs == Belongs::Compression && kind == kCompression) ||
                           (field.belongs == Belongs::Extension && kind == kExtension);
    return kindHasIt && (outcome.analysed || !field.fromRun);
}

// `"name":value,` straight onto the end of `out`: a long file has millions of members.
void AppendMember(std::string& out, std::string_view name, std::string_view value) {
    out += '"';
    out += name;
    out += "\":";
    out += value;
    out += ',';
}

void AppendNumber(std::string& out, std::string_view name, float value, bool given) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    AppendMember(out, name,
                 given && std::isfinite(value) ? std::string_view(buffer, end - buffer) : "null");
}

void AppendInteger(std::string& out, std::string_view name, long value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    AppendMember(out, name, std::string_view(buffer, end - buffer));
}

// Seven significant digits, as printf's "%.7g" in the "C" locale: as many as the
// single-precision kgf value holds.
std::string SevenDigits(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    return std::string(buffer, result.ptr);
}

class JsonWriter final : public CheckWriter {
public:
    JsonWriter(bool withNames, Units units) : withNames_(withNames), units_(units) {}

    void Begin(std::string& out) override { out += "[\n"; }

    void Design(std::string& out, const DesignInput& input, const Outcome& outcome) override {
        const TSpringDesign& s = outcome.record;
        const bool ran = outcome.analysed;
        out += any_ ? ",\n{" : "{";
        any_ = true;
        AppendInteger(out, "row", input.row);
        AppendMember(out, "name", withNames_ ? JsonString(input.name) : "null");
        AppendMember(out, "kind", JsonString(KindName(s.SpringKind)));
        AppendMember(out, "material", JsonString(MaterialDesignation(s.MaterialNo)));
        AppendMember(out, "analysed", ran ? "true" : "false");
        AppendInteger(out, "SpringKind", s.SpringKind);
        AppendInteger(out, "MaterialNo", s.MaterialNo);
        AppendInteger(out, "WireNo", s.WireNo);
        AppendNumber(out, "WireDia", s.WireDia[s.WireNo], true);
        for (const NumberField& field : kNumberFields) {
            AppendNumber(out, field.name, s.*field.member, Given(field, outcome));
        }
        AppendMember(out, "DateText", ran ? JsonString(s.DateText) : "null");
        if (units_ == Units::KgfAndSi) {
            std::string si = "{";
            for (const NumberField& field : kSiFields) {
                const double newtons = double(s.*field.member) * kNewtonsPerKgf;
                AppendMember(si, field.name,
                             Given(field, outcome) && std::isfinite(newtons) ? SevenDigits(newtons)
                                                                             : "null");
            }
            si.back() = '}';
            AppendMember(out, "si", si);
        }
        out += "\"warnings\":[";
        for (size_t i = 0; i < outcome.warnings.size(); ++i) {
            const int number = outcome.warnings[i];
            out += i == 0 ? "" : ",";
            out += "{\"number\":";
            out += static_cast<char>('0' + number);
            out += ",\"text\":";
            out += JsonString(kWarningTexts[number - 1]);
            out += '}';
        }
        out += "]}";
    }

    void End(std::string& out, const CheckCounts&) override { out += any_ ? "\n]\n" : "]\n"; }

private:
    bool withNames_;
    Units units_;
    bool any_ = false;
};

}  // namespace

std::unique_ptr<CheckWriter> MakeTableWriter(bool withNames, Units units) {
    return std::make_unique<TableWriter>(withNames, units);
}

std::unique_ptr<CheckWriter> MakeJsonWriter(bool withNames, Units units) {
    return std::make_unique<JsonWriter>(withNames, units);
}

std::string JsonString(std::string_view text) {
    if (std::none_of(text.begin(), text.end(), [](char c) {
            return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
        })) {
        std::string out;
        out.reserve(text.size() + 2);
        out += '"';
        out += text;
        out += '"';
        return out;
    }
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += {'\\', c};
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += {'\\', c == '\n' ? 'n' : c == '\r' ? 'r' : 't'};
        } else if (byte < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
        } else {
            out += c;
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

}  // namespace springcalc::cli
