// SPDX-License-Identifier: GPL-3.0-or-later
// The two output formats of `check`: the aligned table and JSON, one design at a time.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <new>
#include <optional>

#include "cli/check.h"
#include "cli/input_values.h"
#include "cli/text_table.h"
#include "cli/tolerance_option.h"
#include "cli/torsion_output.h"
#include "engine/catalogue.h"
#include "engine/record_numbers.h"
#include "engine/spring_tables.h"
#include "engine/strength_checks.h"
#include "engine/text_format.h"
#include "engine/window_texts.h"
#include "text/number_text.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

// A JSON string literal of UTF-8 text.
namespace {

// A design's line or object gathers in a fixed buffer and goes onto the output in a few large
// pieces: a long file has millions of cells, and growing a string cell by cell costs more than
// writing the numbers.
class Pieces {
public:
    explicit Pieces(std::string& out) : out_(out) {}
    Pieces(const Pieces&) = delete;
    Pieces& operator=(const Pieces&) = delete;
    // What is left goes out with Finish, which may run short of memory like any append; a
    // destructor must not throw, so one that meets an exception in flight drops the rest with the
    // run that fails.
    ~Pieces() {
        try {
            Flush();
        } catch (const std::bad_alloc&) {
        }
    }
    void Finish() { Flush(); }

    Pieces& operator+=(std::string_view text) {
        if (!Room(text.size())) {
            out_ += text;  // a long name
            return *this;
        }
        next_ = std::copy(text.begin(), text.end(), next_);
        return *this;
    }
    // Named as std::string's, so that TextTable::AppendCell writes into either.
    void append(size_t count, char c) {
        if (!Room(count)) {
            out_.append(count, c);
            return;
        }
        next_ = std::fill_n(next_, count, c);
    }
    // Turns the last character, a comma, into the end of a JSON object.
    void CloseObject() {
        (next_ > buffer_ ? next_[-1] : out_.back()) = '}';
        *this += ",";
    }

private:
    // Whether `size` more bytes fit in the buffer, once it is written out if need be.
    bool Room(size_t size) {
        if (size > static_cast<size_t>(std::end(buffer_) - next_)) {
            Flush();
        }
        return size <= sizeof buffer_;
    }
    void Flush() {
        out_.append(buffer_, static_cast<size_t>(next_ - buffer_));
        next_ = buffer_;
    }

    std::string& out_;
    char buffer_[2048];
    char* next_ = buffer_;
};

// ---- The table ----------------------------------------------------------------------------

// A number of the record as the table shows it; none ("-") where the window shows nothing: a
// result of a design whose Run is withheld, or a value the spring kind has none of.
using Shown = std::optional<double>;

Shown If(bool shown, float value) {
    return shown ? Shown(value) : std::nullopt;
}

// The figures in service are worked out in double; the table shows them as the JSON does, to
// single precision, which also keeps their cells on NumberCell's fast path.
Shown Figure(bool shown, double value) {
    return If(shown, float(value));
}

// A critical deflection where the spring cannot buckle: it would take an infinite one.
constexpr float kNoBuckling = std::numeric_limits<float>::infinity();

const CompressionFigures* CompressionOf(const ServiceFigures* run) {
    return run && run->compression ? &*run->compression : nullptr;
}

struct NumberColumn {
    const char* title;
    const char* unit;
    const char* siUnit;  // the unit of a second column in newtons with --units si; or none
    int precision;
    // The column shows a number of the record, or else a figure worked out from the design and
    // `run`: the figures of a design that ran, none where the window withholds Run.
    const RecordNumber* number;
    Shown (*figure)(const TSpringDesign& s, const ServiceFigures* run) = nullptr;
};

Shown ValueOf(const NumberColumn& column, const TSpringDesign& s, const ServiceFigures* run) {
    return column.number ? Shown(NumberOf(*column.number, s, run != nullptr))
                         : column.figure(s, run);
}

const StrengthFigures* StrengthOf(const ServiceFigures* run) {
    return run ? &run->strength : nullptr;
}

const SolidFigures* SolidOf(const ServiceFigures* run) {
    return run && run->strength.solid ? &*run->strength.solid : nullptr;
}

const HookFigures* HookOf(const ServiceFigures* run) {
    return run && run->strength.hook ? &*run->strength.hook : nullptr;
}

// A hook figure, "-" where the design has no hook figures.
Shown HookFigure(const ServiceFigures* run, double HookFigures::*member) {
    const HookFigures* hook = HookOf(run);
    return Figure(hook, hook ? hook->*member : 0.0);
}

const CoilFigures* CoilsOf(const ServiceFigures* run) {
    return run && run->maker.coils ? &*run->maker.coils : nullptr;
}

const InitialTensionFigures* InitialStressOf(const ServiceFigures* run) {
    return run && run->maker.initialTension ? &*run->maker.initialTension : nullptr;
}

// A maker's figure of a compression spring's coils, "-" for an extension spring.
Shown CoilFigure(const ServiceFigures* run, double CoilFigures::*member, double scale = 1.0) {
    const CoilFigures* coils = CoilsOf(run);
    return Figure(coils, coils ? coils->*member * scale : 0.0);
}

// A figure of an extension spring's initial stress, "-" for a compression spring.
Shown InitialStressFigure(const ServiceFigures* run, double InitialTensionFigures::*member) {
    const InitialTensionFigures* tension = InitialStressOf(run);
    return Figure(tension, tension ? tension->*member : 0.0);
}

Shown FatigueSafety(const ServiceFigures* run) {
    const StrengthFigures* strength = StrengthOf(run);
    return strength && strength->fatigue.safety ? Figure(true, *strength->fatigue.safety)
                                                : std::nullopt;
}

// The number columns, in order. Each is as wide as five digits before the point need, or its
// title; a value wider than that is written with an exponent (NumberCell), so the widths never
// depend on the data and the table streams.
// clang-format off
constexpr NumberColumn kNumberColumns[] = {
    {"D",              "mm",     nullptr, 1, RecordNumberNamed("MeanDia")},
    {"n",              "",       nullptr, 1, RecordNumberNamed("Turns")},
    {"free",           "mm",     nullptr, 1, RecordNumberNamed("FreeLen")},
    {"set",            "mm",     nullptr, 1, RecordNumberNamed("SetLen")},
    {"work",           "mm",     nullptr, 1, RecordNumberNamed("WorkLen")},
    {"solid",          "mm",     nullptr, 1, RecordNumberNamed("SolidLen")},
    {"limit",          "mm",     nullptr, 1, RecordNumberNamed("LimitLen")},
    {"k",              "kg/mm",  "N/mm",  3, RecordNumberNamed("SpringRate")},
    {"Pset",           "kg",     "N",     2, RecordNumberNamed("Pset")},
    {"Pact",           "kg",     "N",     2, RecordNumberNamed("Pact")},
    {"Pmax",           "kg",     "N",     2, RecordNumberNamed("Pmax")},
    {"Tset",           "kg/mm²", "N/mm²", 2, RecordNumberNamed("Tset")},
    {"Tact",           "kg/mm²", "N/mm²", 2, RecordNumberNamed("Tact")},
    {"Tmax",           "kg/mm²", "N/mm²", 2, RecordNumberNamed("Tmax")},
    {"allow-static",   "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign& s, const ServiceFigures* run) { return If(run, StaticAllowable(s)); }},
    {"allow-repeated", "kg/mm²", "N/mm²", 2, RecordNumberNamed("AllowFatigue")},
    {"init-tension",   "kg",     "N",     2, RecordNumberNamed("InitTension")},
    {"λ",              "",       nullptr, 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { const auto* c = CompressionOf(run); return Figure(c, c ? c->slenderness : 0); }},
    {"buckle",         "mm",     nullptr, 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { const auto* c = CompressionOf(run); return c ? Shown(c->criticalDeflection ? float(*c->criticalDeflection) : kNoBuckling) : std::nullopt; }},
    {"surge",          "Hz",     nullptr, 0, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { const auto* c = CompressionOf(run); return Figure(c, c ? c->surgeFrequency : 0); }},
    {"energy",         "kg·mm",  "N·mm",  3, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return Figure(run, run ? run->energy : 0); }},
    {"active-mass",    "g",      nullptr, 3, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return Figure(run, run ? run->activeMass : 0); }},
    {"Tk-set",         "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { const auto* s = StrengthOf(run); return Figure(s, s ? s->correctedSetStress : 0); }},
    {"Tk-work",        "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { const auto* s = StrengthOf(run); return Figure(s, s ? s->correctedWorkStress : 0); }},
    {"Tk-solid",       "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { const auto* s = SolidOf(run); return Figure(s, s ? s->correctedStress : 0); }},
    {"hook-bend",      "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return HookFigure(run, &HookFigures::bendingStress); }},
    {"allow-bend",     "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return HookFigure(run, &HookFigures::bendingAllowable); }},
    {"hook-tors",      "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return HookFigure(run, &HookFigures::torsionStress); }},
    {"allow-tors",     "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return HookFigure(run, &HookFigures::torsionAllowable); }},
    {"fatigue",        "",       nullptr, 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return FatigueSafety(run); }},
    {"pitch",          "mm",     nullptr, 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return CoilFigure(run, &CoilFigures::pitch); }},
    {"p/D",            "",       nullptr, 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return CoilFigure(run, &CoilFigures::pitchRatio); }},
    {"gaps",           "mm",     nullptr, 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return CoilFigure(run, &CoilFigures::gapSum); }},
    {"Sa",             "mm",     nullptr, 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return CoilFigure(run, &CoilFigures::minGapSum); }},
    {"stroke",         "%",      nullptr, 0, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return CoilFigure(run, &CoilFigures::strokeShare, 100.0); }},
    {"T0",             "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return InitialStressFigure(run, &InitialTensionFigures::stress); }},
    {"T0-low",         "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return InitialStressFigure(run, &InitialTensionFigures::low); }},
    {"T0-high",        "kg/mm²", "N/mm²", 2, nullptr, [](const TSpringDesign&, const ServiceFigures* run) { return InitialStressFigure(run, &InitialTensionFigures::high); }},
};
// clang-format on

// The column after which the table says where the initial tension came from.
constexpr const NumberColumn* kInitFromAfter = &kNumberColumns[16];
static_assert(std::string_view(kNumberColumns[16].title) == "init-tension");

// Whether a design's initial tension was given or is the formula's; none where the record's
// is not shown (a compression spring, a design that did not run).
std::optional<bool> InitialTensionGiven(const DesignRow& input, const Outcome& outcome) {
    if (!outcome.analysed || outcome.record.SpringKind != kExtension) {
        return std::nullopt;
    }
    return input.design.initialTension.has_value();
}

const char* InitialTensionSource(const DesignRow& input, const Outcome& outcome) {
    const std::optional<bool> given = InitialTensionGiven(input, outcome);
    return !given ? "-" : *given ? "given" : "formula";
}

constexpr int kNumberWidth = 6;     // five digits and the point, before the decimals
constexpr int kRowWidth = 9;        // up to 999,999,999 designs
constexpr int kNameWidth = 20;      // longer names end in "…"
constexpr int kMaterialWidth = 10;  // the window's longest designation, SUS304-WPB
constexpr const char* kNone = "-";
constexpr const char* kNeverBuckles = "none";

class TableWriter final : public CheckWriter {
public:
    explicit TableWriter(const CheckSettings& settings)
        : settings_(settings),
          withNames_(settings.withNames),
          si_(settings.units == Units::KgfAndSi),
          ends_(settings.ends),
          temperature_(settings.temperature.has_value()),
          table_(Columns()) {
        for (int m = 0; m < kMaterialCount; ++m) {
            materials_.push_back(MaterialDesignation(m));
        }
        for (int w = 0; w < kWireCount; ++w) {
            wires_.push_back(WireDesignation(w));
        }
    }

    // The coil springs' column titles wait for the first coil spring: a file of torsion springs
    // alone, whose figures go on lines of their own, has none of those columns.
    void Begin(std::string&) override {}

    // Straight onto `out`, as the widths are fixed: a long file has millions of rows.
    void Design(std::string& text, const DesignRow& input, const Outcome& outcome,
                const ServiceFigures* figures) override {
        if (!coilShown_) {
            table_.AppendHeader(text);
            coilShown_ = true;
        }
        const TSpringDesign& s = outcome.record;
        Pieces out(text);
        int width = 0;  // of the line so far, in terminal columns
        size_t column = 0;
        late_ = 0;
        char row[24];
        width += Put(out, column++,
                     std::string_view(row, std::to_chars(row, row + 24, input.row).ptr - row));
        if (withNames_) {
            const std::string name = Shortened(Escaped(input.name), kNameWidth);
            width += table_.AppendCell(out, column++, name, DisplayWidth(name));
        }
        width += Put(out, column++, KindName(s.SpringKind));
        if (s.Wire) {
            const std::string& name = s.Wire->material->name;  // one's own may be any UTF-8
            width += table_.AppendCellCatchingUp(out, column++, name, DisplayWidth(name), late_);
            width += Put(out, column++, FixedText(s.Wire->diameter, 2));
            sources_.try_emplace(s.Wire->material->name, s.Wire->material->source);
        } else {
            width += Put(out, column++, materials_[s.MaterialNo]);
            width += Put(out, column++, wires_[s.WireNo]);
            if (temperature_) {
                sources_.try_emplace(materials_[s.MaterialNo], roomTemperatureNote_);
            }
        }
        CellBuffer cell;
        for (const NumberColumn& number : kNumberColumns) {
            if (&number == kInitFromAfter + 1) {
                width += Put(out, column++, InitialTensionSource(input, outcome));
            }
            const Shown value = ValueOf(number, s, figures);
            for (double factor : {1.0, kNewtonsPerKgf}) {
                if (factor == 1.0 || (si_ && number.siUnit)) {
                    width +=
                        Put(out, column,
                            !value               ? kNone
                            : std::isinf(*value) ? kNeverBuckles
                                                 : NumberCell(*value * factor, number.precision,
                                                              table_.column(column).width, cell));
                    ++column;
                }
            }
        }
        // The grade's tolerances, once for the ± cells and the line under the design.
        std::optional<SpringTolerances> t;
        if (settings_.toleranceGrade && figures) {
            t = TolerancesOf(*settings_.toleranceGrade, s);
        }
        if (settings_.toleranceGrade) {
            for (const auto member :
                 {&SpringTolerances::setLoad, &SpringTolerances::workLoad,
                  &SpringTolerances::outerDiameter, &SpringTolerances::freeLength,
                  &SpringTolerances::squareness}) {
                const std::optional<double> value = t ? (*t).*member : std::nullopt;
                width +=
                    Put(out, column,
                        value ? NumberCell(*value, 2, table_.column(column).width, cell) : kNone);
                ++column;
            }
        }
        // The warnings, each once: the first on the design's line, the others below it; the
        // command line's own (8 to 14) after the window's.
        std::vector<int> warnings = DistinctWarnings(outcome.warnings);
        for (const int number : OwnWarnings(figures, settings_)) {
            warnings.push_back(number);
        }
        for (size_t w = 0; const int number : warnings) {
            const int indent = (w++ == 0 ? 0 : width) + TextTable::kGap;
            out.append(static_cast<size_t>(indent), ' ');
            char numberText[8];
            char* end = std::to_chars(numberText, numberText + sizeof numberText - 1, number).ptr;
            *end++ = ' ';
            out += std::string_view(numberText, static_cast<size_t>(end - numberText));
            out += WarningTextOf(number);
            out += "\n";
        }
        if (warnings.empty()) {
            out += "\n";
        }
        if (t) {
            out.append(TextTable::kGap, ' ');
            out += ToleranceLine(*settings_.toleranceGrade, s, *t);
            out += "\n";
        }
        out.Finish();
    }

    void Torsion(std::string& out, const DesignRow& input, const TorsionResult& result) override {
        AppendTorsionTableRow(out, input, result, withNames_, si_);
        torsionShown_ = true;
    }

    void End(std::string& out, const CheckCounts& counts) override {
        if (!coilShown_ && !torsionShown_) {
            table_.AppendHeader(out);  // no design at all: the titles say what there would be
        }
        out += '\n';
        for (const auto& [name, source] : sources_) {
            out += name + ": " + source + ".\n";
        }
        out += std::to_string(counts.designs) + (counts.designs == 1 ? " design, " : " designs, ") +
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
        if (!coilShown_ && torsionShown_) {
            return;  // the notes below are the coil springs' columns'
        }
        out += "λ: free/D. buckle: the deflection from free at which it buckles, ends ";
        out += EndConditionOf(ends_).name;
        out +=
            " (none: it cannot buckle). surge: natural frequency, both ends fixed. energy: stored "
            "from set to work. active-mass: the active turns' wire. init-from: the initial "
            "tension as given, or the formula's G·d⁴/(255·D²).\n";
        out +=
            "Tk: the stress corrected with Wahl's factor at set, at work and pressed solid. "
            "hook-bend, hook-tors: a full-loop hook's bending and torsion stress at the higher "
            "load, bend radius ";
        out += settings_.strength.hookRadius ? ShortestText(*settings_.strength.hookRadius) + " mm"
                                             : std::string("2d");
        out += "; allow-: " + HookAllowablesText(WireClass::Steel) +
               " of the tensile strength (stainless: " + HookAllowablesText(WireClass::Stainless) +
               "). fatigue: safety factor on the modified Goodman line, ";
        out += settings_.strength.peened ? "peened" : "unpeened";
        out += " wire (- for wire of 10 mm and more)";
        out += settings_.repeated ? ", warning 11 below 1.\n" : ".\n";
        if (settings_.toleranceGrade) {
            out += "Tolerances: grade " + ToleranceGradeName(*settings_.toleranceGrade) + " of " +
                   std::string(ToleranceSource(settings_.toleranceGrade->standard)) +
                   ". ±: each figure may be that much more or less; square: how far the coils "
                   "may lean over the free length; - where the grade's tables do not reach, by "
                   "agreement.\n";
        }
    }

private:
    std::vector<TableColumn> Columns() const {
        std::vector<TableColumn> columns = {{"row", "", Align::Right, kRowWidth}};
        if (withNames_) {
            columns.push_back({"name", "", Align::Left, kNameWidth});
        }
        columns.push_back({"kind", "", Align::Left, 11});
        columns.push_back(
            {"material", "", Align::Left, std::max(kMaterialWidth, settings_.materialWidth)});
        columns.push_back({"wire", "mm", Align::Right, 5});
        for (const NumberColumn& column : kNumberColumns) {
            if (&column == kInitFromAfter + 1) {
                columns.push_back({"init-from", "", Align::Left, 7});
            }
            for (const char* unit : {column.unit, si_ ? column.siUnit : nullptr}) {
                if (unit) {  // the table widens it to its title and unit
                    columns.push_back(
                        {column.title, unit, Align::Right, kNumberWidth + column.precision});
                }
            }
        }
        if (settings_.toleranceGrade) {
            for (const char* title : {"±Pset", "±Pact", "±OD", "±free", "square"}) {
                const bool load = title[std::strlen(title) - 1] == 't';
                columns.push_back({title, load ? "kg" : "mm", Align::Right, kNumberWidth + 2});
            }
        }
        columns.push_back({"warnings", "", Align::Left});
        return columns;
    }

    // A cell of ASCII text (numbers, designations), as wide as it is long. Returns the columns
    // it took, the gap before it included. A standard's name wider than the material column
    // (one a row names with no --materials to make room for it) pushes the cells after it on
    // only until their blanks have taken it up.
    int Put(Pieces& out, size_t column, std::string_view text) {
        return table_.AppendCellCatchingUp(out, column, text, static_cast<int>(text.size()), late_);
    }

    CheckSettings settings_;
    bool withNames_;
    bool si_;
    bool coilShown_ = false;     // a coil spring's row, and the titles above it, went out
    bool torsionShown_ = false;  // a torsion spring's line went out
    EndCondition ends_;
    std::vector<std::string> materials_;  // designations as the cells show them
    std::vector<std::string> wires_;
    int late_ = 0;  // how far the line runs past its columns (Put)
    // Whether --temperature asked for another than room temperature, which the window's nine
    // materials do not follow: their rows' figures are the window's.
    bool temperature_;
    static constexpr const char* roomTemperatureNote_ =
        "the window's table, G and E at 20 °C (--temperature changes those of the wire "
        "standards and your own materials only)";
    // The standards and own materials the rows named, with where their figures come from.
    std::map<std::string, std::string> sources_;
    TextTable table_;
};

// ---- JSON ---------------------------------------------------------------------------------

// Loads, stresses and the rate once more in newtons.
struct SiNumber {
    const char* name;
    const RecordNumber* number;
};
// clang-format off
constexpr SiNumber kSiNumbers[] = {
    {"SpringRate_N_per_mm",      RecordNumberNamed("SpringRate")},
    {"Pset_N",                   RecordNumberNamed("Pset")},
    {"Pact_N",                   RecordNumberNamed("Pact")},
    {"Pmax_N",                   RecordNumberNamed("Pmax")},
    {"InitTension_N",            RecordNumberNamed("InitTension")},
    {"Tset_N_per_mm2",           RecordNumberNamed("Tset")},
    {"Tact_N_per_mm2",           RecordNumberNamed("Tact")},
    {"Tmax_N_per_mm2",           RecordNumberNamed("Tmax")},
    {"AllowStatic_N_per_mm2",    RecordNumberNamed("AllowStatic")},
    {"AllowStaticExt_N_per_mm2", RecordNumberNamed("AllowStaticExt")},
    {"AllowFatigue_N_per_mm2",   RecordNumberNamed("AllowFatigue")},
};
// clang-format on

// `"name":value,`
void AppendMember(Pieces& out, std::string_view name, std::string_view value) {
    out += "\"";
    out += name;
    out += "\":";
    out += value;
    out += ",";
}

// The shortest decimal that reads back as the same float, or with `digits` significant digits
// as printf's "%.*g" writes them in the "C" locale; null where the design has none.
void AppendNumber(Pieces& out, std::string_view name, double value, bool given, int digits = 0) {
    char buffer[32];
    const char* end = digits > 0 ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                                 std::chars_format::general, digits)
                                       .ptr
                                 : ShortestFloatChars(buffer, buffer + sizeof buffer, float(value));
    AppendMember(out, name,
                 given && std::isfinite(value) ? std::string_view(buffer, end - buffer) : "null");
}

void AppendInteger(Pieces& out, std::string_view name, long value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    AppendMember(out, name, std::string_view(buffer, end - buffer));
}

class JsonWriter final : public CheckWriter {
public:
    explicit JsonWriter(const CheckSettings& settings)
        : settings_(settings),
          withNames_(settings.withNames),
          units_(settings.units),
          endsJson_(JsonString(EndConditionOf(settings.ends).name)) {
        // The few texts every design repeats, written as JSON once.
        kindJson_[0] = JsonString(KindName(kCompression));
        kindJson_[1] = JsonString(KindName(kExtension));
        for (int m = 0; m < kMaterialCount; ++m) {
            materialJson_[m] = JsonString(MaterialDesignation(m));
        }
        for (int number = 1; number <= kLastServiceWarning; ++number) {
            warningJson_[number - 1] = "{\"number\":" + std::to_string(number) +
                                       ",\"text\":" + JsonString(WarningTextOf(number)) + "}";
        }
    }

    void Begin(std::string& out) override { out += "[\n"; }

    void Design(std::string& text, const DesignRow& input, const Outcome& outcome,
                const ServiceFigures* figures) override {
        const TSpringDesign& s = outcome.record;
        const bool ran = outcome.analysed;
        Pieces out(text);
        out += any_ ? ",\n{" : "{";
        any_ = true;
        AppendInteger(out, "row", input.row);
        AppendMember(out, "name", withNames_ ? JsonString(input.name) : "null");
        AppendMember(out, "kind", kindJson_[s.SpringKind == kCompression ? 0 : 1]);
        if (s.Wire) {
            AppendWireMaterial(out, *s.Wire, ran, s.SpringKind);
        } else {
            AppendMember(out, "material", materialJson_[s.MaterialNo]);
            AppendMember(out, "analysed", ran ? "true" : "false");
            AppendInteger(out, "SpringKind", s.SpringKind);
            AppendInteger(out, "MaterialNo", s.MaterialNo);
            AppendInteger(out, "WireNo", s.WireNo);
            AppendNumber(out, "WireDia", s.WireDia[s.WireNo], true);
        }
        for (const RecordNumber& number : kRecordNumbers) {
            const std::optional<float> value = NumberOf(number, s, ran);
            AppendNumber(out, number.name, value.value_or(0), value.has_value());
        }
        if (ran && s.DateText != date_) {
            date_ = s.DateText;
            dateJson_ = JsonString(date_);
        }
        const std::optional<bool> given = InitialTensionGiven(input, outcome);
        AppendMember(out, "initial_tension_given", !given ? "null" : *given ? "true" : "false");
        AppendMember(out, "DateText", ran ? dateJson_ : "null");
        AppendService(out, s.SpringKind == kCompression, figures);
        if (settings_.toleranceGrade) {
            AppendTolerance(out, figures ? &s : nullptr);
        }
        if (units_ == Units::KgfAndSi) {
            out += "\"si\":{";
            for (const SiNumber& si : kSiNumbers) {
                const std::optional<float> value = NumberOf(*si.number, s, ran);
                // Seven significant digits: as many as the single-precision kgf value holds.
                AppendNumber(out, si.name, double(value.value_or(0)) * kNewtonsPerKgf,
                             value.has_value(), 7);
            }
            AppendNumber(out, "energy_N_mm", figures ? figures->energy * kNewtonsPerKgf : 0.0,
                         figures, 7);
            out.CloseObject();
        }
        out += "\"warnings\":[";
        for (size_t i = 0; i < outcome.warnings.size(); ++i) {
            AppendWarning(out, i > 0, outcome.warnings[i]);
        }
        bool comma = !outcome.warnings.empty();
        for (const int number : OwnWarnings(figures, settings_)) {
            AppendWarning(out, comma, number);
            comma = true;
        }
        out += "]}";
        out.Finish();
    }

    void Torsion(std::string& out, const DesignRow& input, const TorsionResult& result) override {
        out += any_ ? ",\n{" : "{";
        any_ = true;
        AppendTorsionJson(out, input, result, withNames_, units_ == Units::KgfAndSi);
        out += "}";
    }

    void End(std::string& out, const CheckCounts&) override { out += any_ ? "\n]\n" : "]\n"; }

private:
    // A row of wire by a standard or the user's own: no number in the window's tables, and the
    // source of its figures beside them.
    void AppendWireMaterial(Pieces& out, const WireSelection& wire, bool ran,
                            std::int32_t springKind) const {
        AppendMember(out, "material", JsonString(wire.material->name));
        AppendMember(out, "material_source", JsonString(wire.material->source));
        AppendNumber(out, "min_tensile_strength_MPa",
                     wire.material->MinTensileStrength(wire.diameter).value_or(0.0), true);
        AppendMember(out, "analysed", ran ? "true" : "false");
        AppendInteger(out, "SpringKind", springKind);
        AppendMember(out, "MaterialNo", "null");
        AppendMember(out, "WireNo", "null");
        AppendNumber(out, "WireDia", wire.diameter, true);
    }

    // The figures the window does not show, in an object of their own beside the record's
    // numbers: null where the design did not run, and the compression-only ones (and the end
    // condition) null for an extension spring.
    void AppendService(Pieces& out, bool compression, const ServiceFigures* figures) const {
        const CompressionFigures* c = CompressionOf(figures);
        out += "\"service\":{";
        AppendMember(out, "ends", compression ? endsJson_ : "null");
        AppendNumber(out, "slenderness", c ? c->slenderness : 0.0, c);
        AppendNumber(out, "buckling_deflection", c ? c->criticalDeflection.value_or(0.0) : 0.0,
                     c && c->criticalDeflection);
        AppendMember(out, "buckling_risk", !c ? "null" : c->bucklingRisk ? "true" : "false");
        AppendNumber(out, "surge_frequency", c ? c->surgeFrequency : 0.0, c);
        AppendNumber(out, "energy", figures ? figures->energy : 0.0, figures);
        AppendNumber(out, "active_mass", figures ? figures->activeMass : 0.0, figures);
        AppendStrength(out, figures);
        out.CloseObject();
    }

    // A load or stress in kgf, and with --units si once more in newtons under the name with
    // `siSuffix`.
    void AppendForce(Pieces& out, std::string_view name, std::string_view siSuffix, double value,
                     bool given) const {
        AppendNumber(out, name, value, given);
        if (units_ == Units::KgfAndSi) {
            AppendNumber(out, std::string(name) + std::string(siSuffix), value * kNewtonsPerKgf,
                         given, 7);
        }
    }

    // The strength checks: null where the design did not run, the solid figures null but for a
    // compression spring that can be pressed solid, the hook figures null but for an extension
    // spring.
    void AppendStrength(Pieces& out, const ServiceFigures* figures) const {
        constexpr std::string_view kStress = "_N_per_mm2";
        constexpr std::string_view kLoad = "_N";
        const StrengthFigures* s = StrengthOf(figures);
        AppendNumber(out, "wahl_factor", s ? s->wahl : 0.0, s);
        AppendForce(out, "corrected_set_stress", kStress, s ? s->correctedSetStress : 0.0, s);
        AppendForce(out, "corrected_work_stress", kStress, s ? s->correctedWorkStress : 0.0, s);
        const SolidFigures* solid = SolidOf(figures);
        AppendForce(out, "solid_load", kLoad, solid ? solid->load : 0.0, solid);
        AppendForce(out, "solid_stress", kStress, solid ? solid->stress : 0.0, solid);
        AppendForce(out, "corrected_solid_stress", kStress, solid ? solid->correctedStress : 0.0,
                    solid);
        AppendMember(out, "solid_takes_set", !solid ? "null" : solid->takesSet ? "true" : "false");
        const HookFigures* hook = HookOf(figures);
        AppendForce(out, "hook_load", kLoad, hook ? hook->load : 0.0, hook);
        AppendNumber(out, "hook_bend_radius", hook ? hook->radius : 0.0, hook);
        AppendForce(out, "hook_bending_stress", kStress, hook ? hook->bendingStress : 0.0, hook);
        AppendForce(out, "hook_bending_allowable", kStress, hook ? hook->bendingAllowable : 0.0,
                    hook);
        AppendForce(out, "hook_torsion_stress", kStress, hook ? hook->torsionStress : 0.0, hook);
        AppendForce(out, "hook_torsion_allowable", kStress, hook ? hook->torsionAllowable : 0.0,
                    hook);
        AppendMember(out, "hook_over_allowable",
                     !hook                 ? "null"
                     : hook->overAllowable ? "true"
                                           : "false");
        AppendMember(out, "fatigue_data", s ? JsonString(s->endurance->name) : "null");
        AppendForce(out, "fatigue_stress_amplitude", kStress, s ? s->fatigue.amplitude : 0.0, s);
        AppendForce(out, "fatigue_mean_stress", kStress, s ? s->fatigue.mean : 0.0, s);
        AppendNumber(out, "fatigue_safety", s ? s->fatigue.safety.value_or(0.0) : 0.0,
                     s && s->fatigue.safety);
        AppendMaker(out, figures);
    }

    // The maker's checks: the coils' figures null but for a compression spring, the initial
    // stress null but for an extension spring.
    void AppendMaker(Pieces& out, const ServiceFigures* figures) const {
        constexpr std::string_view kStress = "_N_per_mm2";
        const CoilFigures* c = CoilsOf(figures);
        AppendNumber(out, "pitch", c ? c->pitch : 0.0, c);
        AppendNumber(out, "pitch_ratio", c ? c->pitchRatio : 0.0, c);
        AppendNumber(out, "gap_sum", c ? c->gapSum : 0.0, c);
        AppendNumber(out, "min_gap_sum", c ? c->minGapSum : 0.0, c);
        AppendNumber(out, "stroke_share", c ? c->strokeShare : 0.0, c);
        const InitialTensionFigures* t = InitialStressOf(figures);
        AppendForce(out, "initial_stress", kStress, t ? t->stress : 0.0, t);
        AppendForce(out, "initial_stress_low", kStress, t ? t->low : 0.0, t);
        AppendForce(out, "initial_stress_high", kStress, t ? t->high : 0.0, t);
    }

    // The grade's tolerance of each figure, ± that much; null where the design did not run or
    // the grade's tables do not reach.
    void AppendTolerance(Pieces& out, const TSpringDesign* ran) const {
        const ToleranceGrade grade = *settings_.toleranceGrade;
        const SpringTolerances t = ran ? TolerancesOf(grade, *ran) : SpringTolerances{};
        out += "\"tolerance\":{";
        AppendMember(out, "grade", JsonString(ToleranceGradeName(grade)));
        AppendMember(out, "source", JsonString(std::string(ToleranceSource(grade.standard))));
        const auto member = [&](std::string_view name, const std::optional<double>& value) {
            AppendNumber(out, name, value.value_or(0.0), value.has_value());
        };
        member("set_load", t.setLoad);
        member("work_load", t.workLoad);
        member("outer_diameter", t.outerDiameter);
        member("inner_diameter", t.innerDiameter);
        member("free_length", t.freeLength);
        member("squareness", t.squareness);
        member("parallelism", t.parallelism);
        out.CloseObject();
    }

    void AppendWarning(Pieces& out, bool comma, int number) const {
        out += comma ? "," : "";
        out += warningJson_[number - 1];
    }

    std::string date_;  // the run's date stamp, the same for every design
    std::string dateJson_;

    CheckSettings settings_;
    bool withNames_;
    Units units_;
    std::string endsJson_;
    std::string kindJson_[2];
    std::string materialJson_[kMaterialCount];
    std::string warningJson_[kLastServiceWarning];
    bool any_ = false;
};

}  // namespace

std::unique_ptr<CheckWriter> MakeTableWriter(const CheckSettings& settings) {
    return std::make_unique<TableWriter>(settings);
}

std::unique_ptr<CheckWriter> MakeJsonWriter(const CheckSettings& settings) {
    return std::make_unique<JsonWriter>(settings);
}

}  // namespace springcalc::cli
