#include "check_table.h"

#include <algorithm>
#include <string>

#include "input_values.h"
#include "spring_design.h"
#include "text_format.h"
#include "text_table.h"

namespace springcalc::cli {

namespace {

// Where the window shows nothing: a result of a design whose Run is withheld, or a value the
// spring kind has none of.
constexpr const char* kNone = "-";

constexpr const char* kLength = "%.1f";
constexpr const char* kLoad = "%.2f";
constexpr const char* kRate = "%.3f";

class CheckTable {
public:
    CheckTable(bool withNames, Units units)
        : withNames_(withNames), si_(units == Units::KgfAndSi) {}

    std::vector<TableColumn> Columns() const {
        std::vector<TableColumn> columns = {{"row", ""}};
        if (withNames_) {
            columns.push_back({"name", "", Align::Left});
        }
        columns.insert(columns.end(), {{"kind", "", Align::Left},
                                       {"material", "", Align::Left},
                                       {"wire", "mm"},
                                       {"D", "mm"},
                                       {"n", ""},
                                       {"free", "mm"},
                                       {"set", "mm"},
                                       {"work", "mm"},
                                       {"solid", "mm"},
                                       {"limit", "mm"},
                                       {"k", "kg/mm"}});
        if (si_) {
            columns.push_back({"k", "N/mm"});
        }
        for (const char* title : {"Pset", "Pact", "Pmax"}) {
            AddWithSi(columns, title, "kg", "N");
        }
        for (const char* title : {"Tset", "Tact", "Tmax", "allow-static", "allow-repeated"}) {
            AddWithSi(columns, title, "kg/mm²", "N/mm²");
        }
        AddWithSi(columns, "init-tension", "kg", "N");
        columns.push_back({"warnings", "", Align::Left});
        return columns;
    }

    // The row of a design and, below it, one line for each further warning.
    std::vector<std::vector<std::string>> Lines(const CheckedDesign& checked) const {
        const DesignInput& in = checked.input;
        const DesignOutcome& outcome = checked.outcome;
        const DesignValues& v = outcome.values;
        const bool compression = v.SpringKind == kCompression;
        const bool ran = outcome.analysed;

        std::vector<std::string> row = {std::to_string(in.row)};
        if (withNames_) {
            row.push_back(in.name);
        }
        row.push_back(KindName(v.SpringKind));
        row.push_back(MaterialDesignation(v.MaterialNo));
        row.push_back(WireDesignation(v.WireNo));
        row.push_back(Format(kLength, double(v.MeanDia)));
        row.push_back(Format(kLength, double(v.Turns)));
        row.push_back(Format(kLength, double(v.FreeLen)));
        row.push_back(Format(kLength, double(v.SetLen)));
        row.push_back(Format(kLength, double(v.WorkLen)));
        row.push_back(compression ? Format(kLength, double(v.SolidLen)) : kNone);
        row.push_back(ran ? Format(kLength, double(v.LimitLen)) : kNone);
        row.push_back(ran ? Format(kRate, double(v.SpringRate)) : kNone);
        if (si_) {
            row.push_back(ran ? Format(kRate, Newtons(v.SpringRate)) : kNone);
        }
        for (float load : {v.Pset, v.Pact, v.Pmax}) {
            AddValue(row, ran, load);
        }
        for (float stress : {v.Tset, v.Tact}) {
            AddValue(row, ran, stress);
        }
        AddValue(row, ran && compression, v.Tmax);
        AddValue(row, ran, compression ? v.AllowStatic : v.AllowStaticExt);
        AddValue(row, ran, v.AllowFatigue);
        AddValue(row, ran && !compression, v.InitTension);

        const std::vector<int> warnings = DistinctWarnings(outcome.warnings);
        std::vector<std::vector<std::string>> lines;
        row.push_back(warnings.empty() ? "" : WarningCell(warnings[0]));
        lines.push_back(std::move(row));
        for (size_t i = 1; i < warnings.size(); ++i) {
            std::vector<std::string> more(lines[0].size() - 1);
            more.push_back(WarningCell(warnings[i]));
            lines.push_back(std::move(more));
        }
        return lines;
    }

private:
    void AddWithSi(std::vector<TableColumn>& columns, const char* title, const char* unit,
                   const char* siUnit) const {
        columns.push_back({title, unit});
        if (si_) {
            columns.push_back({title, siUnit});
        }
    }

    // A load or stress, and beside it in newtons when asked for.
    void AddValue(std::vector<std::string>& row, bool shown, float kgf) const {
        row.push_back(shown ? Format(kLoad, double(kgf)) : kNone);
        if (si_) {
            row.push_back(shown ? Format(kLoad, Newtons(kgf)) : kNone);
        }
    }

    static std::string WarningCell(int number) {
        return std::to_string(number) + " " + kWarningTexts[number - 1];
    }

    // The window repeats a warning for each length or load that trips it; the table says each
    // once, in the order of first appearance.
    static std::vector<int> DistinctWarnings(const std::vector<int>& warnings) {
        std::vector<int> distinct;
        for (int number : warnings) {
            if (number >= 1 && number <= static_cast<int>(kWarningTexts.size()) &&
                std::find(distinct.begin(), distinct.end(), number) == distinct.end()) {
                distinct.push_back(number);
            }
        }
        return distinct;
    }

    bool withNames_;
    bool si_;
};

}  // namespace

void WriteCheckTable(std::ostream& out, const std::vector<CheckedDesign>& designs, bool withNames,
                     Units units) {
    const CheckTable layout(withNames, units);
    TextTable table(layout.Columns());
    for (const CheckedDesign& design : designs) {
        for (const std::vector<std::string>& line : layout.Lines(design)) {
            table.Measure(line);
        }
    }
    std::string text;
    table.AppendHeader(text);
    size_t withWarnings = 0;
    size_t withheld = 0;
    for (const CheckedDesign& design : designs) {
        for (const std::vector<std::string>& line : layout.Lines(design)) {
            table.AppendRow(text, line);
        }
        withWarnings += design.outcome.warnings.empty() ? 0 : 1;
        withheld += design.outcome.analysed ? 0 : 1;
        if (text.size() > (1u << 16)) {
            out << text;
            text.clear();
        }
    }
    text += "\n" + std::to_string(designs.size()) +
            (designs.size() == 1 ? " design, " : " designs, ") + std::to_string(withWarnings) +
            " with warnings.";
    if (withheld > 0) {
        text += " Not run (\"-\"): " + std::to_string(withheld) +
                ", as the window withholds Run while warning 1 or 5 stands.";
    }
    text += "\nUnits: mm, kg (kgf), kg/mm², kg/mm";
    if (units == Units::KgfAndSi) {
        text += "; beside them N, N/mm², N/mm (1 kgf = 9.80665 N)";
    }
    text += ".\n";
    out << text;
}

}  // namespace springcalc::cli
