// SPDX-License-Identifier: GPL-3.0-or-later
// springcalc-cli in process: `check` against the window's own record and Save for every sample,
// what only the command line does (CSV, JSON, the table, SI columns, figures in service), and
// `search` on requirements whose answers are worked out by hand; the figures in service, each
// against a worked example, and the load–length diagram.

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

#include "cli/cli_app.h"
#include "cli/input_values.h"
#include "cli/search.h"
#include "cli/text_table.h"
#include "diagram/label_placement.h"
#include "diagram/load_diagram.h"
#include "engine/catalogue.h"
#include "engine/samples.h"
#include "engine/service_figures.h"
#include "engine/text_format.h"
#include "report/report_writer.h"
#include "test_support.h"
#include "text/number_text.h"
#include "text/utf8_text.h"

namespace springcalc {
namespace {

using test_support::FixedClock;
using test_support::ReadFile;
using test_support::ScratchDir;

struct CliRun {
    int status = -1;
    std::string out, err;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
              bool failingOutput = false) {
    size_t offset = 0;
    const cli::ReadInput in = [&](char* buffer, size_t size) -> ssize_t {
        return ssize_t(
            input.copy(buffer, size, std::exchange(offset, std::min(input.size(), offset + size))));
    };
    std::ostringstream out, err;
    out.setstate(failingOutput ? std::ios::badbit : std::ios::goodbit);
    cli::CliIo io{in, out, err, FixedClock};
    // No time limit: a search under the sanitizers on a busy machine would meet it and answer
    // from part of the grid. The limit has a test of its own, with a clock of its own.
    io.seconds = [] { return 0.0; };
    return {cli::RunCli(args, io), out.str(), err.str()};
}

// A design as the window runs it: the sample picked with its spinner, then Run; with `setLen`,
// its installed and operating lengths changed first.
test_support::Calculator RunSampleInWindow(int kind, int number, float setLen = 0,
                                           float workLen = 0) {
    test_support::Calculator window;
    kind == kExtension ? window.editor.UpDown8Click(kExtension, number)
                       : window.editor.UpDown13Click(number);
    if (setLen > 0) {
        window.design.SetLen = setLen;
        window.design.WorkLen = workLen;
        window.Recheck();
    }
    EXPECT_TRUE(window.view.enabled(Command::N1)) << "every sample can be run";
    window.engine.AnalyseDesign();
    return window;
}

// The value of `key` in a record as written: a number, true, false, null or a quoted string.
std::string Value(const std::string& record, const std::string& key) {
    std::smatch found;
    const std::regex value("\"" + key + "\":(\"(\\\\.|[^\"])*\"|[^,}\\]]*)");
    return std::regex_search(record, found, value) ? found[1].str() : "missing " + key;
}

// Every match of `pattern`'s first group in `text`.
std::vector<std::string> All(const std::string& text, const std::string& pattern) {
    const std::regex re(pattern);
    return {std::sregex_token_iterator(text.begin(), text.end(), re, 1),
            std::sregex_token_iterator()};
}

// The JSON's designs, one a line, after checking the array's frame and that no comma is missing
// or left over.
std::vector<std::string> Records(const std::string& json) {
    EXPECT_TRUE(json.starts_with("[\n{") && json.ends_with("}\n]\n")) << json;
    EXPECT_FALSE(std::regex_search(
        json, std::regex(",[}\\]]|[{\\[],|,,|[}\\]][\"{]|(null|true|false|[0-9])\"\\w+\":")));
    return All(json, "\n(\\{.*\\})");
}

// ---- check gives the window's numbers -----------------------------------------------------

// The record's float fields by name, written out apart from the program, so a field the JSON
// leaves out or misnames fails the comparison.
#define FIELD(name) \
    { #name, &TSpringDesign::name }
const std::map<std::string, float TSpringDesign::*> kRecordFloats = {
    FIELD(MeanDia),      FIELD(InnerDia),       FIELD(OuterDia),     FIELD(Turns),
    FIELD(FreeLen),      FIELD(SetLen),         FIELD(WorkLen),      FIELD(SolidLen),
    FIELD(LimitLen),     FIELD(Tset),           FIELD(Tact),         FIELD(Tmax),
    FIELD(AllowStatic),  FIELD(AllowStaticExt), FIELD(AllowFatigue), FIELD(InitTension),
    FIELD(Pset),         FIELD(Pact),           FIELD(Pmax),         FIELD(TensileStrength),
    FIELD(ShearModulus), FIELD(SpringRate)};
#undef FIELD

// One run of all 48 samples: its JSON holds the window's record after Run, and its report the
// window's Save of each, appended to what the file held.
TEST(CheckMatchesWindow, JsonIsTheRecordAfterRunAndTheReportTheWindowsSave) {
    // The 24 samples of each kind as check rows, typed in as the window shows them.
    std::vector<std::pair<TSpringDesign, std::vector<std::string>>> runs;  // and its warnings
    std::string csv = "kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n";
    for (int i = 0; i < 2 * kSampleCount; ++i) {
        const auto window =
            RunSampleInWindow(i < kSampleCount ? kCompression : kExtension, i % kSampleCount + 1);
        const TSpringDesign& d = runs.emplace_back(window.design, window.view.warnings).first;
        csv += fmt::format("{},{},{:.2f},{:.1f},{:.1f},{},{:.1f},{:.1f}\n",
                           i < kSampleCount ? "compression" : "extension", d.MaterialNo,
                           double(d.WireDia[d.WireNo]), double(d.MeanDia), double(d.Turns),
                           i < kSampleCount ? fmt::format("{:.1f}", double(d.FreeLen)) : "",
                           double(d.SetLen), double(d.WorkLen));
    }
    ScratchDir dir;
    test_support::WriteFile(dir / "springs.txt", "earlier report\r\n");
    const CliRun run = RunCli({"check", "--json", "--report", (dir / "springs.txt").string()}, csv);
    ASSERT_NE(run.status, 2) << run.err;
    EXPECT_EQ(run.out.find("\"si\""), std::string::npos) << "SI only when asked";
    const std::vector<std::string> records = Records(run.out);
    ASSERT_EQ(records.size(), runs.size());
    std::string saved = "earlier report\r\n";
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE("sample row " + std::to_string(i + 1));
        const auto& [d, warnings] = runs[i];
        saved += EncodeReport(FormatReportBlock(d)).value();
        const std::string& r = records[i];
        EXPECT_EQ(Value(r, "analysed") + " " + Value(r, "row") + " " + Value(r, "SpringKind") +
                      " " + Value(r, "MaterialNo") + " " + Value(r, "WireNo") + " " +
                      Value(r, "WireDia") + " " + Value(r, "DateText"),
                  fmt::format("true {} {} {} {} {:g} \"{}\"", i + 1, d.SpringKind, d.MaterialNo,
                              d.WireNo, double(d.WireDia[d.WireNo]), d.DateText));
        // What a spring of the other kind left in the record, the window does not show.
        for (const auto& [name, member] : kRecordFloats) {
            const bool otherKind = d.SpringKind == kCompression
                                       ? name == "InitTension"
                                       : name == "SolidLen" || name == "Tmax";
            EXPECT_TRUE(otherKind ? Value(r, name) == "null"
                                  : std::stof(Value(r, name)) == d.*member)
                << name << ": " << Value(r, name) << " against " << d.*member;
        }
        // The window's warnings first, as it lists them; after them only the command line's.
        const std::vector<std::string> texts = All(r, "\"text\":\"([^\"]*)\"");
        ASSERT_GE(texts.size(), warnings.size());
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + warnings.size()),
                  warnings);
        const std::vector<std::string> numbers = All(r, "\"number\":(\\d+)");
        for (size_t w = warnings.size(); w < numbers.size(); ++w) {
            EXPECT_GE(std::stoi(numbers[w]), kBucklingWarning) << texts[w];
        }
    }
    EXPECT_EQ(ReadFile(dir / "springs.txt"), saved);
}

// Where the window withholds Run, check lists the warning, gives no results and saves nothing.
// The file also has a byte-order mark, a header of another case and blanks, CR LF line ends, a
// blank line, quoted fields, and materials and wires written in each way the window lists them.
TEST(CheckInput, WithheldDesignsGetTheWarningNoResultsAndNoSave) {
    ScratchDir dir;
    const std::string csv =
        "\xEF\xBB\xBFName , KIND,material,wire,mean_dia,turns,free_len,set_len,work_len\r\n"
        "size not made,compression,SWO-A,0.50,4.3,9.5,13,12,10\r\n"  // SWO-A starts at 2.00
        "index 3,compression,SWPA,1.60,4.8,5,24,20,18\r\n"           // D/d = 3
        "fine,compression,SWPA,0.70,4.3,9.5,13,12,10\r\n"
        "\"Lid, left\",compression, swpa ,0.7,4.3,9.5,13,12,10\r\n"
        "\r\n"
        "\"say \"\"hi\"\"\",Compression,2,0.70, 4.3 ,9.5,13.0,12,10\r\n"
        "ばね,extension,\" SUS316 - WPA \",1.2,8.5,190,,365,375";
    const std::vector<std::string> r =
        Records(RunCli({"check", "--json", "--report", (dir / "r.txt").string()}, csv).out);
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(Value(r[0], "analysed") + Value(r[0], "Pact") + Value(r[1], "analysed") +
                  Value(r[1], "Pact") + Value(r[0], "number") + Value(r[1], "number"),
              "falsenullfalsenull51");
    EXPECT_EQ(
        (Value(r[0], "FreeLen") + Value(r[0], "SolidLen") + Value(r[1], "SolidLen")).find("null"),
        std::string::npos)
        << "the inputs, and what the checks before Run derive";
    EXPECT_EQ(Value(r[3], "name") + Value(r[4], "name") + Value(r[5], "name") + Value(r[5], "row") +
                  Value(r[5], "material"),
              "\"Lid, left\"\"say \\\"hi\\\"\"\"ばね\"6\"SUS316-WPA\"");
    // The three sound designs are compression sample 1 and the last extension sample 12: the
    // report holds the window's Save of each.
    const std::string once =
        EncodeReport(FormatReportBlock(RunSampleInWindow(kCompression, 1).design)).value();
    EXPECT_EQ(
        ReadFile(dir / "r.txt"),
        once + once + once +
            EncodeReport(FormatReportBlock(RunSampleInWindow(kExtension, 12).design)).value());
    // A row of the table byte for byte: each column's width and digits.
    const std::string table = RunCli({"check"}, csv).out;
    EXPECT_NE(table.find(
                  "\n        3  fine                  compression  SWPA         0.70    "
                  "  4.3      9.5     13.0     12.0     10.0      8.1      8.1      0.318"
                  "      0.32      0.95      1.57     10.15     30.44     50.23         8"
                  "8.00           66.06             -  -              3.02      none    1418      1"
                  ".272        0.388     12.64     37.93     62.59          -           -"
                  "          -           -      1.81      1.22      0.28      1.95      "
                  "1.04      61         -         -         -\n"),
              std::string::npos);
}

// The window's fields and the table's cells take quicker paths than printf, and the JSON than
// std::to_chars; for every single-precision value they must write the same digits.
TEST(NumberText, FieldsAndCellsArePrintfsDigitsAndJsonNumbersToCharsShortest) {
    std::mt19937 random(13);
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values = {0.0f,   -0.0f,   0.005f,       0.015f,      0.125f,      0.375f,
                                 -2.5f,  1.05f,   8.05f,        13.5f,       -0.0999998f, 99999.95f,
                                 1e-30f, -1e-30f, 1e5f,         16777217.0f, 3.4e38f,     -65.6f,
                                 inf,    -inf,    std::nanf("")};
    for (int k = 0; k < 400000; ++k) {  // k/5 over 1, 10, 100 and 1000, and random bit patterns
        values.push_back(k % 5 ? float(k / 5 / std::pow(10.0, k % 5 - 1))
                               : std::bit_cast<float>(static_cast<std::uint32_t>(random())));
    }
    for (float value : values) {
        for (int precision = 0; precision < 4; ++precision) {
            char printed[400];
            std::snprintf(printed, sizeof printed, "%.*f", precision, double(value));
            ASSERT_EQ(FixedText(value, precision, "   "), std::string(printed) + "   ") << value;
            // A cell never shows a negative zero ("-0.00" for -0.001).
            std::string cell = printed;
            if (cell.starts_with('-') && cell.find_first_not_of("-0.") == std::string::npos) {
                cell.erase(0, 1);
            }
            ASSERT_TRUE(!std::isfinite(value) || cli::NumberCell(value, precision, 400) == cell)
                << value << " with " << precision;
        }
        char fast[32], general[32];
        ASSERT_EQ(std::string_view(fast, ShortestFloatChars(fast, fast + 32, value)),
                  std::string_view(general, std::to_chars(general, general + 32, value).ptr))
            << value;
    }
}

// The low end of each range as asked for: significant digits where the usual decimals would
// show zero, the usual decimals otherwise (so that ordinary outputs stay as they were), and no
// negative zero. A value converted from newtons that misses a range end by rounding is the end.
TEST(NumberText, LowEndValuesShowAsAskedForAndNewtonsLandOnTheRangeEnds) {
    struct Shown {
        double value;
        int precision;
        const char* text;
    };
    const Shown cases[] = {
        {0.003, 2, "0.003"},
        {0.001, 2, "0.001"},
        {0.0012345, 2, "0.00123"},
        {0.05, 2, "0.05"},
        {1.304, 2, "1.30"},
        {10000, 2, "10000.00"},
        {0.0001, 3, "0.0001"},
        {9.999999999999999e-05, 3, "0.0001"},
        {0.00055, 3, "0.00055"},
        {0.0123, 3, "0.012"},
        {0.04, 1, "0.04"},
        {0.01, 1, "0.01"},
        {5, 1, "5.0"},
        {0.23, 1, "0.2"},
        {-0.0004, 2, "-0.0004"},
        {-0.014, 2, "-0.01"},
        {-0.006, 2, "-0.006"},
        {0.0, 2, "0.00"},
        {-0.0, 2, "0.00"},
    };
    for (const Shown& c : cases) {
        EXPECT_EQ(cli::ReadableFixed(c.value, c.precision, " kg"), std::string(c.text) + " kg")
            << c.value;
    }
    const Range rate{kLeastRate, kMostRate};
    const std::optional<double> least = ParseForce("9.80665e-4N/mm", ForceKind::Rate);
    ASSERT_TRUE(least);
    EXPECT_FALSE(rate.Holds(*least)) << "a hair below the range, as divided";
    EXPECT_EQ(rate.Admit(*least), kLeastRate);
    EXPECT_EQ(rate.Admit(9806.65 / 9.80665), kMostRate);
    EXPECT_EQ(rate.Admit(0.5), 0.5);
    EXPECT_EQ(rate.Admit(0.99999e-4), std::nullopt);
    EXPECT_EQ(rate.Admit(1000.001), std::nullopt);
    // A table cell of a value that rounds to zero.
    EXPECT_EQ(cli::NumberCell(-0.0004, 3, 9), "0.000");
    EXPECT_EQ(cli::NumberCell(-0.0006, 3, 9), "-0.001");
}

// Lengths out of order (set above the free length, or a hair apart) leave energies that round
// to zero: shown as 0.000, in kgf and in SI units alike.
TEST(CheckFigures, NoNegativeZeroForLengthsOutOfOrder) {
    const std::string csv =
        "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
        "a,compression,SWPA,1.20,13.5,9.5,5.6,5.7,5.6\n"
        "b,compression,SWPA,0.50,5.0,20,28.4,28.5,28.4\n";
    for (const char* units : {"kgf", "si"}) {
        const CliRun run = RunCli({"check", "--units", units}, csv);
        EXPECT_NE(run.out.find(" 0.000 "), std::string::npos) << run.out;
        EXPECT_FALSE(std::regex_search(run.out, std::regex(" -0\\.0+ "))) << run.out;
    }
}

// ---- Figures in service, SI units and the table's columns ----------------------------------

// Names of every width, a warned design, one withheld and an extension spring. With one end
// free, the first and the third buckle (warning 8); the third, overstressed, has the window's
// warnings 2, 2, 3, 4, 4 before it.
const std::string kFiguresCsv =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
    "😀 emoji,compression,SWPA,0.70,4.3,9.5,13,12,10\n"
    "e\xCC\x81t\xC3\xA9 弁𠀋,compression,SWPA,1.20,8.8,3,10,9,8\n"
    "ばねｺｲﾙकि,compression,SWPA,0.70,4.3,3,13,6,5\n"
    ",compression,SWO-A,0.50,4.3,9.5,13,12,10\n"
    ",extension,SWPA,0.50,5.8,17.5,,25,35\n";

// The columns have fixed widths: every name, however wide its characters, keeps the kind under
// its title, and every warning, the window's and 8, each once, starts in the warnings column
// after numbers, "none" and "-" cells alike. SI adds newtons after each load. The JSON gives
// compression sample 1's figures in service (worked by hand in ServiceFigures below) and newtons
// beside kilograms (Pact 0.95363975 kg x 9.80665 = 9.352011 N), warning 8 after the window's.
TEST(CheckFigures, TableColumnsStayInPlaceAndJsonGivesTheFigures) {
    // A name that fits is kept, however wide its characters; one column more and it is cut to
    // leave a column for the "…".
    EXPECT_EQ(Shortened("0123456789a 弁𠀋힣😀", 20), "0123456789a 弁𠀋힣😀");
    EXPECT_EQ(Shortened("0123456789a 弁𠀋힣😀!", 20), "0123456789a 弁𠀋힣…");
    EXPECT_EQ(Shortened("abcdef", 5), "abcd…");
    const CliRun run = RunCli({"check", "--units", "si", "--ends", "fixed-free"}, kFiguresCsv);
    std::istringstream lines(run.out);
    std::string header, line;
    std::getline(lines, header);
    const int kindColumn = DisplayWidth(header.substr(0, header.find("kind")));
    const int warningsColumn = DisplayWidth(header.substr(0, header.find("warnings")));
    std::vector<std::string> warnings;
    for (std::getline(lines, line); std::getline(lines, line) && !line.empty();) {
        const size_t kind = std::min(line.find("compression"), line.find("extension"));
        if (kind != std::string::npos) {
            EXPECT_EQ(DisplayWidth(line.substr(0, kind)), kindColumn) << line;
        }
        // A warning: a blank, its number, a blank, then its Japanese text.
        static const std::regex warning(" (([1-9]|1[0-4]) [^ -~]+)$");
        std::smatch found;
        if (std::regex_search(line, found, warning)) {
            EXPECT_EQ(DisplayWidth(line.substr(0, found.position(1))), warningsColumn);
            warnings.push_back(found[2].str());
        } else {
            EXPECT_EQ(DisplayWidth(line) + 2, warningsColumn) << "no warning: " << line;
        }
    }
    EXPECT_EQ(warnings, (std::vector<std::string>{"8", "2", "3", "4", "8", "10", "12", "13", "5"}))
        << run.out;
    EXPECT_NE(run.out.find("\n5 designs, 3 with warnings. Not run (\"-\"): 1,"), std::string::npos);
    EXPECT_EQ(run.status, 1);
    // Compression sample 1's loads, 0.32, 0.95 and 1.57 kg, each followed by itself in newtons.
    EXPECT_NE(run.out.find("0.32      3.12      0.95      9.35      1.57     15.43"),
              std::string::npos);
    // An output that fails without a system error is told as a write error.
    EXPECT_EQ(RunCli({"check"}, kFiguresCsv, /*failingOutput=*/true).err,
              "springcalc-cli: cannot write to standard output: write error.\n");

    const std::vector<std::string> r = Records(
        RunCli({"check", "--json", "--units", "si", "--ends", "fixed-free"}, kFiguresCsv).out);
    ASSERT_EQ(r.size(), 5u);
    EXPECT_NE(r[0].find("\"service\":{\"ends\":\"fixed-free\",\"slenderness\":3.0232556,"
                        "\"buckling_deflection\":1.0483863,\"buckling_risk\":true,\"surge_"
                        "frequency\":1417.794,\"energy\":1.2715197,\"active_mass\":0.38770157,"),
              std::string::npos)
        << r[0];
    EXPECT_EQ(Value(r[0], "Pact_N") + Value(r[0], "energy_N_mm") +
                  All(r[0], "\"text\":\"([^\"]*)\"").at(0),
              "9.35201112.46935座屈の恐れがあります");
    EXPECT_EQ(
        Value(r[1], "buckling_deflection") + Value(r[1], "buckling_risk") + Value(r[3], "energy"),
        "nullfalsenull")
        << "short and wide; not run";
    EXPECT_EQ(All(r[0] + r[2], "\"number\":(\\d+)"),
              (std::vector<std::string>{"8", "2", "2", "3", "4", "4", "8", "10", "12", "13"}));
    EXPECT_TRUE(std::regex_search(
        r[4],
        std::regex("\"service\":\\{\"ends\":null,\"slenderness\":null,\"buckling_deflection\":"
                   "null,\"buckling_risk\":null,\"surge_frequency\":null,\"energy\":[0-9]")))
        << "an extension spring has an energy only: " << r[4];
}

// Each cell: the gap before all but the first, blanks on the side its alignment leaves open,
// none after the last column's text however short, and no padding for a cell too wide. The
// width given is the one used, whatever the bytes: an ideograph is three bytes and two columns.
TEST(TextTable, CellsArePaddedToTheirColumnsWidthAndAlignment) {
    const cli::TextTable table({{"a", "", cli::Align::Right, 4},
                                {"b", "", cli::Align::Left, 5},
                                {"c", "", cli::Align::Left, 3}});
    // Column, cell, its width, what is written and the columns that takes.
    const std::tuple<size_t, const char*, int, const char*, int> kCases[] = {
        {0, "7", 1, "   7", 4},       {0, "弁", 2, "  弁", 4},           {1, "ab", 2, "  ab   ", 7},
        {1, "弁弁", 4, "  弁弁 ", 7}, {1, "toolong", 7, "  toolong", 9}, {2, "x", 1, "  x", 3},
    };
    for (const auto& [column, cell, width, written, taken] : kCases) {
        std::string out = "|";
        EXPECT_EQ(table.AppendCell(out, column, cell, width), taken) << cell;
        EXPECT_EQ(out, std::string("|") + written) << cell;
    }
    // A row short of cells ends where its last cell does.
    std::string row;
    table.AppendRow(row, {"7"});
    EXPECT_EQ(row, "   7\n");
    // A number exactly as wide as its column keeps its decimals; one digit more takes an
    // exponent.
    EXPECT_EQ(cli::NumberCell(12345.6f, 1, 7), "12345.6");
    EXPECT_EQ(cli::NumberCell(123456.7f, 1, 7), "1.2e+05");
}

// A line that runs past its columns takes it up from the blanks after, one always kept: a cell
// at a time, as the lines of check's table are written.
TEST(TextTable, ALongCellIsTakenUpByTheBlanksAfterIt) {
    const cli::TextTable table({{"a", "", cli::Align::Left, 4},
                                {"b", "", cli::Align::Right, 5},
                                {"c", "", cli::Align::Right, 6},
                                {"d", "", cli::Align::Left, 3}});
    // The cells, what the line is, and how late it still is at its end.
    struct Case {
        std::vector<const char*> cells;
        const char* written;
        int late;
    };
    const Case kCases[] = {
        {{"ab", "1.0", "2.5", "x"}, "ab      1.0     2.5  x", 0},      // as AppendCell writes it
        {{"abcdef", "1.0", "2.5", "x"}, "abcdef  1.0     2.5  x", 0},  // 2 late, taken at once
        {{"abcdefgh", "16.00", "2.5", "x"}, "abcdefgh 16.00  2.5  x", 0},
        {{"abcdefghijkl", "16.00", "1234.5", "x"}, "abcdefghijkl 16.00 1234.5 x", 5},
    };
    for (const Case& c : kCases) {
        std::string out;
        int late = 0, taken = 0;
        for (size_t i = 0; i < c.cells.size(); ++i) {
            const std::string_view cell = c.cells[i];
            taken += table.AppendCellCatchingUp(out, i, cell, static_cast<int>(cell.size()), late);
        }
        EXPECT_EQ(out, c.written);
        EXPECT_EQ(taken, static_cast<int>(out.size()));
        EXPECT_EQ(late, c.late) << c.written;
    }
}

// The material column: as wide as before for the window's nine; room for the standards' names
// when --materials names one; a row that names one without it back in line after its wire.
TEST(CheckMaterials, TheMaterialColumnMakesRoomForTheStandardsNames) {
    const std::string rows =
        "kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
        "compression,SWPB,2.0,11.4,10,48.8,40,30\n"
        "compression,EN10270-1-SM,16,120,6,300,250,200\n"
        "compression,,5,34.6,9.5,80,70,60\n";
    // The header's first line and each design's line.
    const auto lines = [](const std::string& out) {
        std::vector<std::string> kept;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("      row") || line.find("compression") != std::string::npos) {
                kept.push_back(line);
            }
        }
        return kept;
    };
    // Where the n-th word of a line ends.
    const auto wordEnd = [](const std::string& line, int n) {
        size_t at = 0;
        for (int i = 0; i < n; ++i) {
            at = line.find(' ', line.find_first_not_of(' ', at));
        }
        return at;
    };
    // Each design's wire and D cells end where their titles do (right-aligned): the header's
    // words are row, kind, material, wire, D.
    const auto expectInLine = [&](const std::vector<std::string>& shown) {
        for (size_t i = 1; i < shown.size(); ++i) {
            EXPECT_EQ(wordEnd(shown[i], 5), wordEnd(shown[0], 5)) << shown[i];
        }
    };
    const CliRun plain = RunCli({"check"}, rows.substr(0, rows.rfind("compression,,")));
    const std::vector<std::string> shown = lines(plain.out);
    ASSERT_EQ(shown.size(), 3u) << plain.out;
    EXPECT_EQ(shown[0].find("wire") - shown[0].find("material"), 13u);  // 10, gap, right-aligned
    EXPECT_EQ(wordEnd(shown[1], 4), wordEnd(shown[0], 4));              // SWPB's wire in line
    EXPECT_NE(wordEnd(shown[2], 4), wordEnd(shown[0], 4));              // 16.00: taken up after
    expectInLine(shown);

    const CliRun declared = RunCli({"check", "--materials", "ASTM-A228"}, rows);
    const std::vector<std::string> wide = lines(declared.out);
    ASSERT_EQ(wide.size(), 4u) << declared.out;
    size_t longest = 0;
    for (const WireMaterial& standard : WireStandards()) {
        longest = std::max(longest, standard.name.size());
    }
    EXPECT_EQ(wide[0].find("wire") - wide[0].find("material"), longest + 3);
    for (size_t i = 1; i < wide.size(); ++i) {
        EXPECT_EQ(wordEnd(wide[i], 4), wordEnd(wide[0], 4)) << wide[i];
    }
    expectInLine(wide);
}

// --temperature lowers G of the standards' wire by EN 13906-1's 0.25 per mille per kelvin and says
// so; the window's nine materials keep their tables' figures, and the output says that too; room
// temperature is no option at all.
TEST(CheckMaterials, TemperatureLowersTheStandardsRateAndSaysWhatItLeft) {
    const std::string rows =
        "kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
        "compression,SWPB,2.0,11.4,10,48.8,40,30\n"
        "compression,EN10270-1-DM,5,34.6,9.5,80,70,60\n";
    const CliRun room = RunCli({"check", "--json"}, rows);
    const CliRun hot = RunCli({"check", "--json", "--temperature", "120"}, rows);
    const auto rates = [](const std::string& json) {
        std::vector<double> found;
        for (const std::string& record : Records(json)) {
            const std::string key = "\"SpringRate\":";
            found.push_back(std::stod(record.substr(record.find(key) + key.size())));
        }
        return found;
    };
    const std::vector<double> cold = rates(room.out), warm = rates(hot.out);
    ASSERT_EQ(cold.size(), 2u) << room.out;
    ASSERT_EQ(warm.size(), 2u) << hot.out;
    EXPECT_EQ(warm[0], cold[0]);                                     // SWPB: the window's figures
    EXPECT_NEAR(warm[1] / cold[1], 1 - 0.00025 * (120 - 20), 2e-6);  // × 0.975, to the float
    const std::string table = RunCli({"check", "--temperature", "120"}, rows).out;
    EXPECT_NE(table.find("G and E at 120 °C, × 0.9750 (EN 13906-1)"), std::string::npos) << table;
    EXPECT_NE(table.find("SWPB: the window's table, G and E at 20 °C"), std::string::npos);
    EXPECT_EQ(RunCli({"check", "--temperature", "20"}, rows).out, RunCli({"check"}, rows).out);
    const CliRun tooHot = RunCli({"check", "--temperature", "300"}, rows);
    EXPECT_EQ(tooHot.status, 2);
    EXPECT_EQ(tooHot.out, "");
}

// ---- search: the command line's reading and words; the search itself has tests of its own --

SearchResult Search(const std::vector<std::string>& args) {
    std::string problem;
    const SearchRequest request = cli::ReadSearchRequest(args, problem).value_or(SearchRequest{});
    EXPECT_EQ(problem, "");
    DesignRunner runner(FixedClock);
    return SearchDesigns(request, runner);
}

// Compression sample 2 by its loads (worked by hand in the search's tests): the requirement as
// understood, the order's heading and the sample's line; the heading of --all; and the
// widest request the options allow, every default widened, stops at its bound of work within
// two seconds and says where.
TEST(SearchOutput, TheRequirementTheTableAndWhereItStopped) {
    const std::vector<std::string> args = {"search",      "--kind",
                                           "compression", "--load",
                                           "2.173@18",    "--load",
                                           "1.304@20",    "--by",
                                           "stress",      "--materials",
                                           "SWPA",        "--max-od",
                                           "10",          "--min-id",
                                           "7.6",         "--tolerance",
                                           "1",           "--max-stress-ratio",
                                           "1",           "--max-pitch-ratio",
                                           "10",          "--allow-close-coils"};
    CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 0);
    // The rate of the two points: (2.173 - 1.304) kg over 2 mm, 0.4345, a hair under it in
    // binary.
    EXPECT_TRUE(run.out.starts_with(
        "Compression spring: 1.30 kg at 20.0 mm and 2.17 kg at 18.0 mm (rate 0.434 kg/mm), each "
        "within 1.0 %.\nLimits: D/d from 4 to 15, at least 3 active turns, no buckling with the "
        "ends fixed-fixed, outer diameter at most 10.0 mm, inner diameter at least 7.6 mm.\n"
        "Materials: SWPA.\n"))
        << run.out;
    EXPECT_NE(run.out.find(" materials and wire sizes, each with its best design, by working "
                           "stress against the static allowable stress (lowest first):\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("1  SWPA      1.20  8.8  7.3  7.0  23.0  20.0  18.0  10.00  7.60  "
                           "0.435  1.30  2.17   28.19         82.00    34  2.21"),
              std::string::npos)
        << run.out;
    run = RunCli({"search", "--kind", "compression", "--load", "1@20", "--load", "2@15",
                  "--materials", "SWPB", "--tolerance", "1", "--all"});
    EXPECT_NE(run.out.find(" designs by mass of wire (lightest first):\n"), std::string::npos)
        << run.out;
#if defined(__SANITIZE_ADDRESS__)
    return;  // the whole bound of work, half a minute under the sanitizers
#endif
    run =
        RunCli({"search", "--kind", "compression", "--load", "1@20", "--load", "2@15",
                "--max-index", "30", "--min-turns", "0.5", "--tolerance", "99", "--allow-buckling",
                "--max-stress-ratio", "1", "--max-pitch-ratio", "10", "--allow-close-coils"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(
        std::regex_search(run.out, std::regex("The search stopped at (its time limit|the most work "
                                              "it does) \\([^)]*\\) in [A-Z0-9-]+ "
                                              "[0-9.]+ mm: what follows is from the materials")))
        << run.out;
}

// Within 3.2 mm across, guided against buckling, SWPB carries the guide's loads only at 99 % of
// its allowable stress or with its coils too close: the hints name --max-stress-ratio with a
// value that lets in the design shown, and --allow-close-coils.
TEST(SearchOutput, TheHintsNameTheOptionAndTheValueThatLetTheDesignIn) {
    const CliRun tight =
        RunCli({"search", "--kind", "compression", "--load", "1@20", "--load", "2@15",
                "--materials", "SWPB", "--max-od", "3.2", "--allow-buckling"});
    EXPECT_EQ(tight.status, 1);
    std::smatch hint;
    ASSERT_TRUE(std::regex_search(tight.out, hint,
                                  std::regex("\n  --max-stress-ratio ([0-9.]+) or more \\(")))
        << tight.out;
    std::vector<std::string> let = {
        "--kind",      "compression", "--load",   "1@20", "--load",           "2@15",
        "--materials", "SWPB",        "--max-od", "3.2",  "--allow-buckling", "--max-stress-ratio",
        hint[1].str()};
    EXPECT_GT(Search(let).metCount, 0u);
    EXPECT_NE(tight.out.find("\n  --allow-close-coils ("), std::string::npos);
}

TEST(Search, SaysWhyNothingFits) {
    // An outer diameter of 1 mm with D/d of 4 or more leaves wire of 0.2 mm at most. There
    // 10 kg gives at least 8 x 10 x 0.8 / (pi x 0.2^3) = 2546 kg/mm², far past any
    // allowable stress (0.8 x 0.55 x 200 = 88 at most among the sizes that thin).
    CliRun run = RunCli(
        {"search", "--kind", "compression", "--load", "5@40", "--load", "10@30", "--max-od", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(
        std::regex_search(run.out, std::regex("\nNo design meets the requirements\\.\n[^]*"
                                              "\n    - warning 2: 許容応力を越えています "
                                              "\\(stress [0-9]+\\.[0-9]{2} kg/mm², static "
                                              "allowable [0-9]+\\.[0-9]{2}\\)\n[^]*is above "
                                              "--max-od 1 mm\n")))
        << run.out;
    // Nothing that thin meets the loads with any proportions: no widening is offered.
    EXPECT_EQ(run.out.find("widen"), std::string::npos) << run.out;
    // Slender springs of thin wire, one end free: each closest one too slow and buckling.
    run = RunCli({"search", "--kind", "compression", "--load", "1@60", "--load", "3@40",
                  "--materials", "SWPA", "--max-od", "10", "--ends", "fixed-free",
                  "--min-frequency", "100000"});
    const size_t closest = run.out.find("\nThe closest, ");
    ASSERT_NE(closest, std::string::npos) << run.out;
    const std::string listed = run.out.substr(closest);
    size_t candidates = 0;
    for (size_t at = listed.find("\n  SWPA "); at != std::string::npos;
         at = listed.find("\n  SWPA ", at + 1)) {
        const size_t next = listed.find("\n  SWPA ", at + 1);
        const std::string one = listed.substr(at, next == std::string::npos ? next : next + 1 - at);
        ++candidates;
        EXPECT_TRUE(std::regex_search(one, std::regex("\n    - surge [0-9]+ Hz < 100000 Hz "
                                                      "\\(--min-frequency\\)\n")))
            << one;
        EXPECT_TRUE(std::regex_search(
            one, std::regex("\n    - buckles: the deflection at the operating length, [0-9.]+ "
                            "mm, is beyond the critical [0-9.]+ mm \\(--ends fixed-free\\)\n")))
            << one;
    }
    EXPECT_EQ(candidates, kClosestShown) << listed;
}

// When the loads and the limits given allow designs that the default proportions keep out,
// the search names the option to widen. 28 kg/mm at 8 kg: the stiffest spring of 3 turns within
// D/d 15 is too soft (4 mm wire at D 16: 8000 x 4^4 / (8 x 3 x 16^3) = 20.8 kg/mm), but with
// fewer turns many fit. A spring of 0.1 and 0.2 kg over an inner diameter of 20 and within an
// outer one of 22 needs D about 21 with wire of 1 mm at most: D/d above 15. A slender spring
// with one end free buckles in every design that fits 8 mm across.
TEST(Search, NamesTheDefaultLimitToWiden) {
    CliRun run = RunCli({"search", "--kind", "compression", "--load", "8@20", "--rate", "28"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(std::regex_search(
        run.out, std::regex("To let them in, widen:\n  --min-turns ([0-9.]+) or fewer \\([0-9]+ "
                            "designs need only that(, some from --min-turns [0-9.]+)?; the "
                            "lightest: [^\n]*, n \\1(\\.0)?, [^\n]*\n    - [0-9.]+ active "
                            "turns, fewer than --min-turns 3\n")))
        << run.out;
    run = RunCli({"search", "--kind", "compression", "--load", "0.1@20", "--load", "0.2@15",
                  "--min-id", "20", "--max-od", "22"});
    EXPECT_TRUE(std::regex_search(
        run.out, std::regex("widen:\n  --max-index [0-9.]+ or more \\([0-9]+ designs need only "
                            "that[,;] [^\n]*\n    - D/d [0-9.]+ is above --max-index 15\n")))
        << run.out;
    // The value named lets in the design shown with it: D/d 23.22 needs 23.3, though some of
    // the others come in from 21.
    std::smatch named;
    ASSERT_TRUE(std::regex_search(
        run.out, named,
        std::regex("--max-index ([0-9.]+) or more \\([0-9]+ designs need only that, some from "
                   "--max-index ([0-9.]+); [^\n]*\n    - D/d ([0-9.]+) is above")))
        << run.out;
    EXPECT_GE(std::stod(named[1]), std::stod(named[3]));
    EXPECT_LT(std::stod(named[2]), std::stod(named[3]));
    run = RunCli({"search", "--kind", "compression", "--load", "1@60", "--load", "3@40", "--max-od",
                  "8", "--ends", "fixed-free"});
    EXPECT_NE(run.out.find("widen:\n  --allow-buckling, for a spring guided on a rod or in a "
                           "bore, or other --ends than fixed-free ("),
              std::string::npos)
        << run.out;
    // Widened as told, designs are found.
    EXPECT_GT(
        Search({"--kind", "compression", "--load", "8@20", "--rate", "28", "--min-turns", "2"})
            .metCount,
        0u);
    EXPECT_GT(Search({"--kind", "compression", "--load", "1@60", "--load", "3@40", "--max-od", "8",
                      "--allow-buckling"})
                  .metCount,
              0u);
}

// The progress line: on a terminal only, once the search has taken a second by the clock
// given (a fake that moves on each time it is read: the search reads it some fifty times),
// rewritten in place over what a longer line left, and wiped at the end; standard output gets
// none of it. Past 1.9 s the search stops and says so.
TEST(Search, ProgressShowsOnATerminalAfterASecondAndIsWipedAtTheEnd) {
    const std::vector<std::string> args = {"search", "--kind", "compression", "--load", "1@20",
                                           "--load", "2@15",   "--materials", "SWPA"};
    struct Case {
        bool terminal;
        double step;  // seconds the clock moves on each time it is read
        bool shown;
    };
    for (const Case& c :
         {Case{true, 0.03, true}, Case{false, 0.03, false}, Case{true, 0.0, false}}) {
        SCOPED_TRACE(fmt::format("terminal {} step {}", c.terminal, c.step));
        std::ostringstream out, err;
        double now = 100.0;
        cli::CliIo io{[](char*, size_t) -> ssize_t { return 0; }, out, err, FixedClock};
        io.seconds = [&] { return now += c.step; };
        io.errIsTerminal = c.terminal;
        EXPECT_EQ(cli::RunCli(args, io), 0);
        EXPECT_EQ(out.str().find('\r'), std::string::npos);
        const std::string shown = err.str();
        if (!c.shown) {
            EXPECT_EQ(shown, "");
            continue;
        }
        EXPECT_TRUE(shown.starts_with("\rsearching: ")) << shown;
        // SWPA is made in 38 of the 46 sizes.
        EXPECT_NE(shown.find(" of 38 wire sizes, "), std::string::npos) << shown;
        EXPECT_NE(shown.find("\rsearching: 38 of 38 wire sizes, 862 springs so far"),
                  std::string::npos)
            << shown;
        // Wiped: the last line is blanks, as wide as the widest line shown, between returns.
        const size_t lastReturn = shown.rfind('\r', shown.size() - 2);
        const std::string wipe = shown.substr(lastReturn);
        EXPECT_EQ(wipe, "\r" + std::string(wipe.size() - 2, ' ') + "\r");
        EXPECT_GE(wipe.size() - 2,
                  std::string("searching: 38 of 38 wire sizes, 862 springs so far").size());
    }
    {
        std::ostringstream out, err;
        double now = 0;
        cli::CliIo io{[](char*, size_t) -> ssize_t { return 0; }, out, err, FixedClock};
        io.seconds = [&] { return now += 0.5; };
        EXPECT_EQ(cli::RunCli(args, io), 1);
        EXPECT_NE(out.str().find("0 springs (material, wire, D and n) met the requirements.\n"
                                 "The search stopped at its time limit (2 s) in SWPA "),
                  std::string::npos)
            << out.str();
        EXPECT_NE(out.str().find("No design of those searched meets the requirements."),
                  std::string::npos);
        EXPECT_EQ(err.str(), "");
    }
    // A shorter line after a longer one blanks out what is left of it.
    std::ostringstream out, err;
    double now = 0;
    cli::CliIo io{[](char*, size_t) -> ssize_t { return 0; }, out, err, FixedClock};
    io.seconds = [&] { return now; };
    io.errIsTerminal = true;
    cli::ProgressLine line(io);
    now = 1.5;
    const std::string longer =
        "searching with wider proportions: 100 of 321 wire sizes, 123456 springs so far";
    const std::string shorter = "searching: 2 of 46 wire sizes, 1 spring so far";
    line.Show({true, 100, 321, 123456, 0});
    line.Show({false, 2, 46, 1, 0});
    line.Show({false, 2, 46, 1, 0});  // the same again: nothing written
    EXPECT_EQ(err.str(),
              "\r" + longer + "\r" + shorter + std::string(longer.size() - shorter.size(), ' '));
    line.Clear();
    EXPECT_TRUE(err.str().ends_with(shorter + std::string(longer.size() - shorter.size(), ' ') +
                                    "\r" + std::string(shorter.size(), ' ') + "\r"));
}

// ---- Figures in service and the load–length diagram, read back with a real XML parser --------

// Compression sample 1 (SWPA, d 0.7, D 4.3, n 9.5, L0 13, L2 10), one end clamped, one free
// (ν = 2), G/E = 8000/21006.15 = 0.380841:
//   (1 − G/E)/(0.5 + G/E) = 0.619159/0.880841 = 0.702918
//   (π·D/(ν·L0))² = (13.5088/26)² = 0.269950;  root = √(1 − 0.702918·0.269950) = 0.900136
//   s_K = 13 · 0.5/0.619159 · (1 − 0.900136) = 13 · 0.807547 · 0.099864 = 1.04839 mm
// The operating deflection, 3 mm, is beyond it: warning 8. Between parallel plates (ν = 0.5)
// the root has no real value: no buckling, no warning.
// Surge frequency, both ends fixed, from the standard's numeric form
//   f = 3.56·10³ · d/(n·D²) · √(G/ρ)  (d, D mm; G N/mm²; ρ kg/dm³)
//     = 3560 · 0.7/175.655 · √(78453.2/7.85) = 3560 · 0.00398509 · 99.9702 = 1418.3 Hz;
// the constant 3.56·10³ is 10³·√10³/(2π·√2) = 3558.8 rounded, so the exact figure is 1417.8 Hz.
// Slenderness 13/4.3 = 3.0233.
TEST(ServiceFigures, CompressionSampleOneAndTheModuliTheyUse) {
    // One end free: the check's JSON gives these figures to the digit (CheckFigures above).
    const TSpringDesign input = RunSampleInWindow(kCompression, 1).design;
    const CompressionFigures plates = *ComputeServiceFigures(input).compression;
    EXPECT_FALSE(plates.criticalDeflection || plates.bucklingRisk);
    // The initial tension an earlier extension design left in the record does not count.
    TSpringDesign withTension = input;
    withTension.InitTension = 0.7f;
    EXPECT_EQ(ComputeServiceFigures(withTension).energy, ComputeServiceFigures(input).energy);
    // E in kgf/mm² must sit with G as steel and stainless do: Poisson's ratio E/(2G) − 1 is
    // about 0.3. A modulus left in N/mm² (ratio near 12) or a G taken for E (ratio −0.5) fails.
    for (const MaterialRow& row : kMaterials) {
        const double poisson = double(row.elasticModulus) / (2.0 * double(row.shearModulus)) - 1;
        EXPECT_TRUE(poisson > 0.28 && poisson < 0.36) << row.name << ": " << poisson;
    }
}

// Energy ∫P ds between the installed and operating deflections s1 and s2, and the mass of the
// active wire ρ·π²·d²·D·n/4:
//   compression, k 0.5, L0 30, L1 25, L2 20: s 5 → 10, ½·0.5·(100 − 25) = 18.75 kgf·mm
//   extension, k 0.1, Pi 0.5, L0 20, L1 25, L2 35: s 5 → 15,
//     0.5·10 + ½·0.1·(225 − 25) = 5 + 10 = 15 kgf·mm
//   d 1, D 10, n 8: π²·80/4 = 197.392 mm³; steel 7.85 g/cm³ → 1.54953 g, SUS 7.93 → 1.56532 g
TEST(ServiceFigures, EnergyAndActiveMass) {
    // Kind, material, L0, L1, L2, k and Pi; D 10, n 8 and G 8000 on wire 1.00 (number 22).
    const auto record = [](std::int32_t kind, int material, float L0, float L1, float L2, float k,
                           float Pi) {
        TSpringDesign d;
        FillTables(d);
        std::tie(d.SpringKind, d.MaterialNo, d.WireNo, d.MeanDia, d.Turns, d.ShearModulus) =
            std::tuple(kind, material, 22, 10.0f, 8.0f, 8000.0f);
        std::tie(d.FreeLen, d.SetLen, d.WorkLen, d.SpringRate, d.InitTension) =
            std::tuple(L0, L1, L2, k, Pi);
        return d;
    };
    const std::pair<TSpringDesign, std::pair<double, double>> cases[] = {
        {record(kCompression, 2, 30, 25, 20, 0.5f, 0.0f), {18.75, 1.54953}},
        {record(kExtension, 6, 20, 25, 35, 0.1f, 0.5f), {15.0, 1.56532}},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_NEAR(ComputeServiceFigures(input).energy, expected.first, 1e-6);
        EXPECT_NEAR(ComputeServiceFigures(input).activeMass, expected.second, 1e-5);
    }
}

// --- the diagram ---

// A diagram read back with a real XML parser: every element, depth first, and those with an id.
struct Diagram {
    tinyxml2::XMLDocument svg;
    std::vector<const tinyxml2::XMLElement*> all;
    std::map<std::string, const tinyxml2::XMLElement*> byId;

    explicit Diagram(const std::string& text) {
        svg.Parse(text.data(), text.size());
        Collect(svg.RootElement());
    }
    void Collect(const tinyxml2::XMLElement* e) {
        for (; e; e = e->NextSiblingElement()) {
            all.push_back(e);
            byId[e->Attribute("id") ? e->Attribute("id") : ""] = e;
            Collect(e->FirstChildElement());
        }
    }
    std::string Text(const std::string& id) const {
        const auto found = byId.find(id);
        return found != byId.end() && found->second->GetText() ? found->second->GetText() : "";
    }
};

// Reads an axis as a person would, from the printed tick values and where they stand, and
// checks they are evenly spaced round numbers (1, 2 or 5 times a power of ten).
std::pair<double, double> Scale(const std::vector<std::pair<double, double>>& ticks) {
    EXPECT_GE(ticks.size(), 4u);
    const double step = ticks[1].first - ticks[0].first;
    // From the outermost ticks: the pixels are rounded to hundredths.
    const double perUnit =
        (ticks.back().second - ticks[0].second) / (ticks.back().first - ticks[0].first);
    EXPECT_TRUE(std::regex_match(fmt::format("{:g}", step), std::regex("(0\\.0*)?[125]0*")))
        << step;
    for (size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_NEAR(ticks[i].first - ticks[i - 1].first, step, 1e-9 * step);
        EXPECT_NEAR(ticks[i].second - ticks[i - 1].second, step * perUnit, 0.02);
    }
    return {perUnit, ticks[0].second - ticks[0].first * perUnit};
}

const DiagramTexts kJapanese{.free = "自由長",
                             .installed = "取付時",
                             .operating = "作動時",
                             .limit = "限界",
                             .solidLength = "密着長",
                             .shortestClear = "最短使用長",
                             .initialTension = "初張力",
                             .allowableLoad = "静的許容応力での荷重",
                             .figureSeparator = "、",
                             .lengthAxis = "長さ (mm)",
                             .loadAxis = "荷重 (kg)",
                             .nameSeparator = "：",
                             .compressionSpring = "、圧縮ばね",
                             .extensionSpring = "、引張ばね"};

// Compression sample 1, extension sample 1, and the first with its installed and operating
// points crowded together, so that their labels stand away with leader lines; each also with
// the words in Japanese.
TEST(LoadDiagram, PointsLinesAndLabelsSitWhereTheirValuesPutThem) {
    const std::tuple<int, float, float, const char*> cases[] = {
        {kCompression, 0, 0, "installed 12.0 mm, 0.32 kg"},
        {kExtension, 0, 0, "installed 20.0 mm, 0.05 kg"},
        {kCompression, 9.0f, 8.9f, "installed 9.0 mm, 1.27 kg"}};
    for (const auto& [kind, setLen, workLen, installed] : cases) {
        SCOPED_TRACE(installed);
        const bool compression = kind == kCompression;
        const TSpringDesign d = RunSampleInWindow(kind, 1, setLen, workLen).design;
        Diagram svg(LoadDiagramSvg(d, "<valve> & \"stop\""));
        ASSERT_FALSE(svg.svg.Error());
        // Each axis's ticks (value as printed, pixel) and where leaders start.
        std::vector<std::pair<double, double>> ticks[2], leaders;
        for (const tinyxml2::XMLElement* e : svg.all) {
            const std::string cls = e->Attribute("class") ? e->Attribute("class") : "";
            if (cls == "x-tick" || cls == "y-tick") {
                ticks[cls[0] == 'y'].emplace_back(
                    std::stod(e->FirstChildElement("text")->GetText()),
                    e->FirstChildElement("line")->DoubleAttribute(cls[0] == 'x' ? "x1" : "y1"));
            } else if (cls == "leader") {
                leaders.emplace_back(e->DoubleAttribute("x1"), e->DoubleAttribute("y1"));
            }
        }
        const auto [xPerMm, x0] = Scale(ticks[0]);
        const auto [yPerKg, y0] = Scale(ticks[1]);
        // The axes run from edge to edge of the frame, their titles centred along them.
        const tinyxml2::XMLElement* box = svg.byId["title"]->NextSiblingElement("rect");
        while (box && !box->Attribute("fill", "none")) {
            box = box->NextSiblingElement("rect");
        }
        ASSERT_TRUE(box);
        const double boxLeft = box->DoubleAttribute("x"), boxTop = box->DoubleAttribute("y");
        const double boxRight = boxLeft + box->DoubleAttribute("width");
        const double boxBottom = boxTop + box->DoubleAttribute("height");
        EXPECT_NEAR(ticks[0].front().second, boxLeft, 0.011);
        EXPECT_NEAR(ticks[0].back().second, boxRight, 0.011);
        EXPECT_NEAR(ticks[1].front().second, boxBottom, 0.011);
        EXPECT_NEAR(ticks[1].back().second, boxTop, 0.011);
        // Each load tick: a grid line across the plot, and a mark 6 px out to the left of it.
        for (const tinyxml2::XMLElement* e : svg.all) {
            if (e->Attribute("class", "y-tick")) {
                const tinyxml2::XMLElement* grid = e->FirstChildElement("line");
                const tinyxml2::XMLElement* mark = grid->NextSiblingElement("line");
                ASSERT_TRUE(mark);
                EXPECT_NEAR(grid->DoubleAttribute("x1"), boxLeft, 0.011);
                EXPECT_NEAR(grid->DoubleAttribute("x2"), boxRight, 0.011);
                EXPECT_NEAR(mark->DoubleAttribute("x1"), boxLeft - 6, 0.011);
                EXPECT_NEAR(mark->DoubleAttribute("x2"), boxLeft, 0.011);
            }
        }
        const tinyxml2::XMLElement* xTitle = box->NextSiblingElement("text");
        ASSERT_TRUE(xTitle && xTitle->NextSiblingElement("text"));
        EXPECT_NEAR(xTitle->DoubleAttribute("x"), (boxLeft + boxRight) / 2, 0.011);
        EXPECT_EQ(
            xTitle->NextSiblingElement("text")->Attribute("transform"),
            "translate(32 " + fmt::format("{:.2f}", (boxTop + boxBottom) / 2) + ") rotate(-90)");
        // The figures under the title, each to the decimals the window shows it with.
        std::smatch figures;
        const std::string subtitle = svg.byId["title"]->NextSiblingElement("text")->GetText();
        ASSERT_TRUE(std::regex_match(
            subtitle, figures,
            std::regex("d ([0-9]+\\.[0-9]{2}) mm · D ([0-9]+\\.[0-9]) mm · n ([0-9]+\\.[0-9]) · "
                       "k ([0-9]+\\.[0-9]{3}) kg/mm · τa ([0-9]+\\.[0-9]{2}) kg/mm²")))
            << subtitle;
        EXPECT_NEAR(std::stod(figures[2]), d.MeanDia, 0.05);
        EXPECT_NEAR(std::stod(figures[4]), d.SpringRate, 0.0005);
        EXPECT_TRUE(xPerMm > 0 && yPerKg < 0);  // loads rise up the page
        // The lengths of extension sample 1 reach below 40 % of the longest: from zero.
        EXPECT_EQ(ticks[0][0].first == 0, !compression);
        const auto X = [&](double mm) { return x0 + mm * xPerMm; };
        const auto Y = [&](double kg) { return y0 + kg * yPerKg; };
        // Each element with two attributes and where they must put it.
        const double tension = compression ? 0.0 : d.InitTension;
        const std::tuple<const char*, const char*, double, const char*, double> places[] = {
            {"free-point", "cx", X(d.FreeLen), "cy", Y(tension)},
            {"installed-point", "cx", X(d.SetLen), "cy", Y(d.Pset)},
            {"operating-point", "cx", X(d.WorkLen), "cy", Y(d.Pact)},
            {"limit-point", "cx", X(d.LimitLen), "cy", Y(d.Pmax)},
            {"spring-line", "x1", X(d.FreeLen), "y2", Y(d.Pmax)},
            {compression ? "solid-line" : "initial-tension-line", compression ? "x1" : "y1",
             compression ? X(d.SolidLen) : Y(tension), compression ? "x2" : "y2",
             compression ? X(d.SolidLen) : Y(tension)}};
        for (const auto& [id, first, at, second, at2] : places) {
            ASSERT_TRUE(svg.byId.contains(id)) << id;
            EXPECT_NEAR(svg.byId[id]->DoubleAttribute(first), at, 0.02) << id;
            EXPECT_NEAR(svg.byId[id]->DoubleAttribute(second), at2, 0.02) << id;
        }
        EXPECT_FALSE(svg.byId.contains(compression ? "initial-tension-line" : "solid-line"));
        // A compression spring's shortest length with the coils' clearance, the longer of
        // Ls + Sa and L0 − 0.8·(L0 − Ls): sample 1 (d 0.7, D 4.3, n 9.5, L0 13) has Ls 8.05 and
        // Sa (0.0015·4.3²/0.7 + 0.07)·9.5 = 1.0414, so 9.0914 against 13 − 0.8·4.95 = 9.04.
        EXPECT_EQ(svg.byId.contains("shortest-clear-line"), compression);
        if (compression) {
            EXPECT_NEAR(svg.byId["shortest-clear-line"]->DoubleAttribute("x1"), X(9.0914), 0.02);
            EXPECT_EQ(svg.Text("shortest-clear-label"), "shortest with coil clearance 9.1 mm");
        }
        // A leader starts on the rim of a point: 5 px of circle and 2 px clear of it.
        EXPECT_EQ(leaders.empty(), setLen == 0);
        for (const auto& [x, y] : leaders) {
            const auto onRim = [&](const tinyxml2::XMLElement* e) {
                const double cx = e->DoubleAttribute("cx", -99), cy = e->DoubleAttribute("cy", -99);
                return std::fabs(std::hypot(x - cx, y - cy) - 7.0) < 0.05;
            };
            EXPECT_TRUE(std::ranges::any_of(svg.all, onRim)) << x << ", " << y;
        }
        // A label stands 7 px above the line it names, or 17 px below where that is taken; a
        // point's label 9 px above or 19 px below the point, unless a leader ties it to it.
        const double allowY = svg.byId["allowable-line"]->DoubleAttribute("y1");
        const double allowLabelY = svg.byId["allowable-label"]->DoubleAttribute("y");
        EXPECT_TRUE(std::fabs(allowLabelY - (allowY - 7)) < 0.011 ||
                    std::fabs(allowLabelY - (allowY + 17)) < 0.011)
            << allowLabelY - allowY;
        // The initial tension's label stands above its line, where nothing else is there.
        if (!compression) {
            EXPECT_NEAR(svg.byId["initial-tension-label"]->DoubleAttribute("y"),
                        svg.byId["initial-tension-line"]->DoubleAttribute("y1") - 7, 0.011);
        }
        for (const char* point : {"free", "installed", "operating", "limit"}) {
            const double cy = svg.byId[std::string(point) + "-point"]->DoubleAttribute("cy");
            const double y = svg.byId[std::string(point) + "-label"]->DoubleAttribute("y");
            EXPECT_TRUE(!leaders.empty() || std::fabs(y - (cy - 9)) < 0.011 ||
                        std::fabs(y - (cy + 19)) < 0.011)
                << point << " " << y - cy;
        }
        // π·d³·τa/(8·D): compression sample 1, 0.7³·88/4.3 → 2.7557 kg; extension sample 1,
        // 0.32³·78.4/4.6 → 0.2193 kg (the Pmax the engine stores).
        EXPECT_NEAR(svg.byId["allowable-line"]->DoubleAttribute("y1"),
                    Y(compression ? 2.7557 : 0.2193), 0.3);
        EXPECT_EQ(svg.Text("title") + svg.Text("installed-label"),
                  std::string("<valve> & \"stop\" — SWPA, ") +
                      (compression ? "compression" : "extension") + " spring" + installed);

        // In Japanese: no English word left in any text (SWPA is the material's designation),
        // and the labels, as wide as their kanji make them, inside the plot and clear of each
        // other.
        const Diagram ja(LoadDiagramSvg(d, "弁", kJapanese));
        ASSERT_FALSE(ja.svg.Error());
        EXPECT_EQ(ja.Text("title"),
                  std::string("弁：SWPA、") + (compression ? "圧縮ばね" : "引張ばね"));
        const tinyxml2::XMLElement* frame = nullptr;
        std::vector<std::array<double, 4>> labels;  // left, right, top and bottom
        for (const tinyxml2::XMLElement* e : ja.all) {
            const std::string text = e->GetText() ? e->GetText() : "";
            EXPECT_FALSE(std::regex_search(std::regex_replace(text, std::regex("SWPA"), ""),
                                           std::regex("[A-Za-z]{3,}")))
                << text;
            frame = e->Attribute("fill", "none") ? e : frame;
            if (std::string(e->Attribute("id") ? e->Attribute("id") : "").ends_with("-label")) {
                const double width = LabelWidth(text), x = e->DoubleAttribute("x");
                const double start = e->Attribute("text-anchor", "end") ? x - width : x;
                const double y = e->DoubleAttribute("y");
                labels.push_back({start, start + width, y - 13, y + 4});
            }
        }
        ASSERT_TRUE(frame);
        ASSERT_EQ(labels.size(), compression ? 7u : 6u);
        const double left = frame->DoubleAttribute("x"), top = frame->DoubleAttribute("y");
        const double right = left + frame->DoubleAttribute("width");
        const double bottom = top + frame->DoubleAttribute("height");
        for (size_t i = 0; i < labels.size(); ++i) {
            const auto& [l, r, t, b] = labels[i];
            EXPECT_TRUE(l > left && r < right && t > top && b < bottom) << i;
            for (size_t j = 0; j < i; ++j) {
                const auto& [l2, r2, t2, b2] = labels[j];
                EXPECT_FALSE(l < r2 && l2 < r && t < b2 && t2 < b) << i << " " << j;
            }
        }
    }
}

// 7.6 px a column of ASCII, 6.5 px a column of anything else, columns as the terminal counts them.
// An extension spring's loads start at its initial tension, here above the first tick: SWB
// 0.26, D 1.1, n 10 has Pi = 8000·0.26⁴/(255·1.1²) = 0.118 kg, and its allowable load
// π·0.26³·68.8/(8·1.1) = 0.432 kg puts the ticks 0.1 kg apart. The load axis still starts at
// zero, where a designer reads the loads from.
TEST(LoadDiagram, TheLoadAxisStartsAtZero) {
    DesignRunner runner;
    const Outcome& run = runner.Run({kExtension, 0, 9, 1.1f, 10.0f, 0.0f, 5.0f, 5.5f, {}});
    ASSERT_NEAR(run.record.InitTension, 0.1185, 1e-4);
    const std::string svg = LoadDiagramSvg(run.record, "");
    std::smatch first;
    ASSERT_TRUE(
        std::regex_search(svg, first, std::regex("class=\"y-tick\">[^]*?<text[^>]*>([^<]*)<")));
    EXPECT_EQ(first[1], "0.0");
}

TEST(LoadDiagram, LabelWidthGoesByColumns) {
    const std::pair<const char*, double> cases[] = {
        {"free 12.0 mm", 12 * 7.6},  // the English labels as they always were
        {"自由長 12.0 mm", 3 * 13.0 + 8 * 7.6},
        {"Ünïcödé", 3 * 7.6 + 4 * 6.5},  // narrow letters, not one wide glyph per lead byte
        {"e\u0301", 7.6},                // a combining mark adds nothing
        {"ｶﾅ全角", 2 * 6.5 + 2 * 13.0},  // half-width kana are narrow
    };
    for (const auto& [text, width] : cases) {
        EXPECT_NEAR(LabelWidth(text), width, 1e-9) << text;
    }
}

// Whether every character of the text may stand in an XML 1.0 document.
bool OnlyXmlCharacters(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') ||
            (c == 0xEF && text.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < text.size() &&
             static_cast<unsigned char>(text[i + 2]) >= 0xBE)) {
            return false;
        }
    }
    return IsValidUtf8(text);  // which also turns away encoded surrogates
}

// A name straight from a file: what XML cannot hold shows as U+FFFD, one per character or stray
// byte, and everything else comes through as it was, the markup characters and line breaks too.
TEST(LoadDiagram, NamesWithCharactersXmlForbidsStillMakeADocument) {
    const std::string bad = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> pieces[] = {
        {"a\x01z", "a" + bad + "z"},
        {std::string("n\0l", 3), "n" + bad + "l"},
        {"\x0B\x0C\x1F", bad + bad + bad},
        {"\xEF\xBF\xBE\xEF\xBF\xBF", bad + bad},  // U+FFFE, U+FFFF
        {"\xED\xA0\x80", bad + bad + bad},        // a surrogate
        {"\xC0\xAF\xFF\xC3z", bad + bad + bad + bad + "z"},
        {"\t\n\r&<>\"'", "\t\n\r&<>\"'"},
        {"\xC3\xA9<", "\xC3\xA9<"},  // a two-byte letter and what follows it
        {"ばね\xF0\x9F\x8C\xB8\x7F\xEF\xBF\xBD", "ばね\xF0\x9F\x8C\xB8\x7F\xEF\xBF\xBD"},
        {"\xE3\x81", bad + bad},  // cut short at the end
    };
    std::string name, shown;
    for (const auto& [piece, expected] : pieces) {
        name += piece;
        shown += expected;
    }
    DiagramTexts texts;
    texts.free =
        "fr\x02"
        "ee";
    const std::string document =
        LoadDiagramSvg(RunSampleInWindow(kCompression, 1).design, name, texts);
    EXPECT_TRUE(OnlyXmlCharacters(document));
    const Diagram svg(document);
    ASSERT_FALSE(svg.svg.Error());
    EXPECT_EQ(svg.Text("title"), shown + " — SWPA, compression spring");
    EXPECT_EQ(svg.Text("free-label").substr(0, 8), "fr" + bad + "ee ");
}

TEST(LoadDiagram, FileNamesStayInTheirFolder) {
    EXPECT_EQ(DiagramFileName(7, "valve-A_2"), "007-valve-A_2.svg");
    EXPECT_EQ(DiagramFileName(12, ""), "012.svg");
    EXPECT_EQ(DiagramFileName(0, ""), "000.svg");
    EXPECT_EQ(DiagramFileName(SIZE_MAX, ""), "18446744073709551615.svg");
    EXPECT_EQ(DiagramFileName(3, "../etc/a b"), "003-.._etc_a_b.svg");
    EXPECT_EQ(DiagramFileName(4, "AZaz09-_."), "004-AZaz09-_..svg");  // the ends of each range
    EXPECT_EQ(DiagramFileName(1234, "弁"), "1234-___.svg");
    // A name of any length still makes a file name the system takes (255 bytes at most).
    EXPECT_EQ(DiagramFileName(999999999, std::string(60000, 'a')).size(), 9u + 1 + 200 + 4);
}

// ---- Strength checks: corrected, solid and hook stresses, fatigue, SI input -----------------

const std::string kStrengthCsv =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
    "sample 1,compression,SWPA,0.70,4.3,9.5,13,12,10\n"
    "stop,compression,SWPA,0.70,4.3,3,13,6,5\n"
    "sample 12,compression,SWO-A,10.00,60,11.5,180,145,140\n"
    "ext 12,extension,SUS316-WPA,1.20,8.5,190,,365,375\n";

// Compression sample 1 (SWPA, d 0.7, D 4.3, n 9.5, L0 13, L1 12, L2 10; σB 220, τa 88):
//   c = 6.142857; K = 23.571429/20.571429 + 0.615/6.142857 = 1.145833 + 0.100116 = 1.2459496
//   τk at set and work: 1.2459496 · 10.147933 = 12.64381, · 30.443798 = 37.93144 kg/mm²
//   solid: Ls = 11.5 · 0.7 = 8.05, P = 0.31787992 · 4.95 = 1.573506 kg,
//     τ = 8 · 1.573506 · 4.3/(π · 0.343) = 50.2323 (under τa 88: no set), K · τ = 62.5869
//   cycle: τa = (37.93144 − 12.64381)/2 = 12.64381, τm = 25.28763
//   Ssu = 0.67 · 220 = 147.4; unpeened Ssa = 241/9.80665 = 24.57516, Ssm = 379/9.80665 = 38.64724
//     Sse = 24.57516/(1 − 38.64724/147.4) = 33.30839; nf = 1/(0.379601 + 0.171558) = 1.81437
//   peened Ssa = 40.58471, Ssm = 54.45285: Sse = 64.36115; nf = 1/(0.196451 + 0.171558) = 2.71733
// "stop" (d 0.7, D 4.3, n 3, L0 13, L1 6, L2 5): k = 8000 · 0.2401/(24 · 79.507) = 1.006620,
//   solid load 1.006620 · 9.5 = 9.56289 kg, τ = 8 · 9.56289 · 4.3/(π · 0.343) = 305.284 > 88:
//   warning 10; its cycle 280.2712 to 320.3100 gives τa 20.0194, τm 300.2906,
//   nf = 1/(20.0194/33.30839 + 300.2906/147.4) = 0.37903: warning 11 under repeated load.
// Compression sample 12 has 10 mm wire, outside Zimmerli's data: no fatigue figure.
TEST(StrengthChecks, CorrectedSolidAndFatigueFiguresAndTheirWarnings) {
    const TSpringDesign sample1 = RunSampleInWindow(kCompression, 1).design;
    const StrengthFigures f = ComputeStrengthFigures(sample1);
    EXPECT_NEAR(f.wahl, 1.2459496, 1e-7);
    EXPECT_NEAR(f.correctedSetStress, 12.64381, 1e-5);
    EXPECT_NEAR(f.correctedWorkStress, 37.93144, 1e-5);
    ASSERT_TRUE(f.solid && !f.hook);
    EXPECT_NEAR(f.solid->load, 1.573506, 1e-6);
    EXPECT_NEAR(f.solid->stress, 50.2323, 1e-4);
    EXPECT_NEAR(f.solid->correctedStress, 62.5869, 1e-4);
    EXPECT_FALSE(f.solid->takesSet);
    EXPECT_NEAR(f.fatigue.amplitude, 12.64381, 1e-5);
    EXPECT_NEAR(f.fatigue.mean, 25.28763, 1e-5);
    EXPECT_NEAR(f.fatigue.safety.value_or(0), 1.81437, 1e-5);
    EXPECT_NEAR(FatigueSafetyFactor(sample1, true).value_or(0), 2.71733, 1e-5);
    EXPECT_EQ(f.fatigue.safety, FatigueSafetyFactor(sample1));
    EXPECT_FALSE(FatigueSafetyFactor(RunSampleInWindow(kCompression, 12).design));

    // The table and the JSON, kgf and newtons: the figures, and warnings 10 and 11 for "stop",
    // 11 only under repeated load.
    const CliRun plain = RunCli({"check", "--units", "si"}, kStrengthCsv);
    const CliRun repeated = RunCli({"check", "--repeated"}, kStrengthCsv);
    EXPECT_EQ(plain.status, 1);
    EXPECT_NE(plain.out.find("     12.64    123.99     37.93    371.98     62.59    613.77"),
              std::string::npos)
        << plain.out;
    EXPECT_NE(plain.out.find("    380.37   3730.14          -          -           -"),
              std::string::npos)
        << "stop's solid stress, 305.284 · 1.2459496 = 380.37 kg/mm²";
    // Then stop's coils (worked by hand in MakerChecks below) and no initial stress.
    EXPECT_NE(plain.out.find("      0.38      3.87      0.90      1.50      0.33      84         -"
                             "         -         -         -         -         -  2 許容応力を越"
                             "えています\n"),
              std::string::npos);
    EXPECT_NE(plain.out.find(" 10 密着させるとへたりが生じます\n"), std::string::npos);
    EXPECT_EQ(plain.out.find("11 疲労安全率が１未満です"), std::string::npos);
    EXPECT_NE(repeated.out.find("   10 密着させるとへたりが生じます\n          "
                                "                                               "),
              std::string::npos);
    EXPECT_NE(repeated.out.find(" 11 疲労安全率が１未満です\n"), std::string::npos);
    // Sample 12 has warning 12, its coils too close at the operating length.
    EXPECT_NE(repeated.out.find("\n4 designs, 3 with warnings."), std::string::npos);
    const std::vector<std::string> r = Records(
        RunCli({"check", "--json", "--units", "si", "--repeated", "--peened"}, kStrengthCsv).out);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(Value(r[0], "fatigue_data") + Value(r[0], "fatigue_safety") +
                  Value(r[0], "corrected_solid_stress_N_per_mm2") + Value(r[0], "solid_takes_set"),
              "\"peened\"2.717326613.7675false");  // 62.586872 · 9.80665 = 613.7675
    EXPECT_EQ(Value(r[1], "solid_load") + Value(r[1], "solid_stress") +
                  Value(r[1], "solid_takes_set") + Value(r[1], "hook_load"),
              "9.562888305.28366truenull");
    // Peened, stop's factor is 1/(20.0194/64.36115 + 300.2906/147.4) = 0.42584: still 11.
    EXPECT_EQ(Value(r[1], "fatigue_safety"), "0.4258405");
    EXPECT_EQ(All(r[1], "\"number\":(\\d+)"),
              (std::vector<std::string>{"2", "2", "3", "4", "4", "10", "11", "12", "13"}));
    EXPECT_EQ(Value(r[2], "fatigue_safety") + Value(r[2], "fatigue_safety_N_per_mm2"),
              "nullmissing fatigue_safety_N_per_mm2");
    EXPECT_EQ(Value(r[3], "solid_load") + Value(r[3], "solid_takes_set"), "nullnull");
    // Withheld designs have no figures.
    const std::string withheld =
        Records(RunCli({"check", "--json"},
                       "kind,material,wire,mean_dia,turns,free_len,set_len,"
                       "work_len\ncompression,SWO-A,0.50,4.3,9.5,13,12,10\n")
                    .out)[0];
    EXPECT_EQ(Value(withheld, "wahl_factor") + Value(withheld, "fatigue_data"), "nullnull");
}

// Extension sample 12 (SUS316-WPA, d 1.2, D 8.5; σB 140), its hooks at Pact = 2.8279767 kg:
//   C1 = C = 7.083333; K1 = (200.6944 − 8.0833)/(4 · 7.083333 · 6.083333) = 1.117486
//   σA = 2.8279767 · (1.117486 · 136/(π · 1.728) + 4/(π · 1.44))
//      = 2.8279767 · (1.117486 · 25.052167 + 0.884194) = 81.6709 kg/mm² > 0.55 · 140 = 77
//   r2 = 2d = 2.4 mm, C2 = 4, K2 = 1.25: τB = 1.25 · 8 · 2.8279767 · 8.5/(π · 1.728)
//      = 44.2793 kg/mm² > 0.30 · 140 = 42: warning 9
//   with --hook-radius 5: C2 = 8.3333, K2 = 32.3333/29.3333 = 1.102273, τB = 39.0463
//   in newtons: 44.27934 · 9.80665 = 434.2319 N/mm²
// The hooks reach their allowable stress first in bending, at 2.8279767 · 77/81.6709 = 2.67 kg,
// below the body's allowable load π · 1.728 · 40.32/(8 · 8.5) = 3.22 kg: the diagram's line.
TEST(StrengthChecks, HookStressesOfExtensionSample12AndTheirWarning) {
    const StrengthFigures f = ComputeStrengthFigures(RunSampleInWindow(kExtension, 12).design);
    ASSERT_TRUE(f.hook && !f.solid);
    EXPECT_NEAR(f.hook->bendingFactor, 1.117486, 1e-6);
    EXPECT_NEAR(f.hook->bendingStress, 81.6709, 1e-4);
    EXPECT_NEAR(f.hook->torsionStress, 44.2793, 1e-4);
    EXPECT_EQ(f.hook->bendingAllowable, 77.0);
    EXPECT_EQ(f.hook->torsionAllowable, 42.0);
    EXPECT_TRUE(f.hook->overAllowable);

    const std::vector<std::string> r =
        Records(RunCli({"check", "--json", "--units", "si"}, kStrengthCsv).out);
    EXPECT_EQ(Value(r[3], "hook_bend_radius") + " " + Value(r[3], "hook_torsion_stress") + " " +
                  Value(r[3], "hook_torsion_stress_N_per_mm2") + " " +
                  Value(r[3], "hook_over_allowable"),
              "2.4 44.279335 434.2319 true");
    EXPECT_EQ(All(r[3], "\"number\":(\\d+)"), std::vector<std::string>{"9"});
    // A wider bend lowers the torsion stress; the bending stress does not depend on it.
    const std::string wide =
        Records(RunCli({"check", "--json", "--hook-radius", "5"}, kStrengthCsv).out)[3];
    EXPECT_EQ(Value(wide, "hook_torsion_stress") + " " + Value(wide, "hook_bending_stress"),
              "39.04632 81.67093");
    // Half the wire or less is no bend: refused, never shown without its hooks and warning 9.
    const CliRun none = RunCli({"check", "--json", "--hook-radius", "0.6"}, kStrengthCsv);
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("--hook-radius 0.6 mm describes no bend for its 1.20 mm wire: give a "
                            "radius, to the wire's centre, of more than 0.60 mm (half the wire)"),
              std::string::npos)
        << none.err;
    EXPECT_EQ(RunCli({"check", "--json", "--hook-radius", "0.61"}, kStrengthCsv).status, 1);
    for (const char* radius : {"0", "abc", "10001", ""}) {
        const CliRun bad = RunCli({"check", "--hook-radius", radius}, kStrengthCsv);
        EXPECT_EQ(bad.status, 2) << radius;
        EXPECT_NE(bad.err.find("--hook-radius takes a radius in mm from 0.1 to 10000"),
                  std::string::npos)
            << bad.err;
    }

    // The diagram draws the hooks' limit, and the solid load of a spring that sets when closed;
    // compression sample 1 has neither.
    ScratchDir dir;
    ASSERT_EQ(RunCli({"check", "--plot", dir.path().string()}, kStrengthCsv).status, 1);
    const Diagram stop(ReadFile(dir / "002-stop.svg"));
    const Diagram hooks(ReadFile(dir / "004-ext_12.svg"));
    const Diagram sample1(ReadFile(dir / "001-sample_1.svg"));
    EXPECT_EQ(stop.Text("set-limit-label"), "load pressed solid, which sets it 9.56 kg");
    EXPECT_EQ(hooks.Text("hook-limit-label"), "load at the hooks' allowable stress 2.67 kg");
    ASSERT_TRUE(hooks.byId.count("hook-limit-line"));
    EXPECT_GT(hooks.byId.at("hook-limit-line")->DoubleAttribute("y1"),
              hooks.byId.at("allowable-line")->DoubleAttribute("y1"))
        << "below the allowable load";
    EXPECT_EQ(sample1.byId.count("set-limit-line") + sample1.byId.count("hook-limit-line") +
                  stop.byId.count("hook-limit-line"),
              0u);

    // Steel hooks, extension sample 1 (SWPA 0.32, σB 245): 0.75 · 245 = 183.75 in bending and
    // 0.40 · 245 = 98 in torsion. With K2 = 1.25 the torsion limit, 98/1.25 = 78.4 = 0.32 · σB,
    // is the body's own allowable stress 0.64 · 0.5 · 245 = 78.4: the same load, no second line.
    const TSpringDesign steel = RunSampleInWindow(kExtension, 1).design;
    const StrengthFigures s = ComputeStrengthFigures(steel);
    ASSERT_TRUE(s.hook);
    EXPECT_EQ(s.hook->bendingAllowable, 183.75);
    EXPECT_EQ(s.hook->torsionAllowable, 98.0);
    EXPECT_FALSE(BindingLimitOf(steel, s));
    EXPECT_FALSE(Diagram(LoadDiagramSvg(steel, "", {}, &s)).byId.count("hook-limit-line"));
}

// ---- A maker's checks: coil clearance, pitch, initial tension ------------------------------

// Worked by hand (Ls = (n + 2)·d, the shortest working length L = min(set, work)):
//   "readme", SWPB d 0.6, D 4.1, n 8.5, L0 24.3, L 15: Ls = 6.3
//     pitch (L0 − Ls)/n + d = 18/8.5 + 0.6 = 2.717647, /D = 0.662841 > 0.5: warning 13
//     Sa = (0.0015·4.1²/0.6 + 0.1·0.6)·8.5 = (0.042025 + 0.06)·8.5 = 0.867213; gaps 15 − 6.3 = 8.7
//     stroke (24.3 − 15)/(24.3 − 6.3) = 9.3/18 = 0.516667: clear
//   "valve", SWPB d 4, D 24.7, n 5, L0 45.2, L 28: Ls = 7·4 = 28, solid at the working length:
//     gaps 0 < Sa = (0.0015·610.09/4 + 0.4)·5 = 3.143919: warning 12; stroke 17.2/17.2 = 1
//     pitch 17.2/5 + 4 = 7.44, /24.7 = 0.301215
//   "80 % in" and "80 % past", SWPA d 1.2, D 8.8, n 7, L0 23: Ls = 8.4 + 2.4 = 10.8, Sa =
//     (0.0015·77.44/1.2 + 0.12)·7 = 1.5176; at L 13.3 the stroke is 9.7/12.2 = 0.795082 (clear),
//     at L 13.2 it is 9.8/12.2 = 0.803279 > 0.8: warning 12 with 2.4 mm of gaps, more than Sa
//   "C 4", SWPA d 1, D 4 (G 8000): P0 = G·d⁴/(255·D²) = 1.960784 kg, τ0 = 8·P0·D/(π·d³) =
//     19.97239 kg/mm²; band at C = 4: 33500/e^0.42 = 22011.3 psi ± 1000·(4 − 1/6.5) = 3846.2 psi,
//     so 18165.2 to 25857.4 psi = 12.7712 to 18.1794 kg/mm² (1 psi = 7.030696e-4 kg/mm²):
//     over it, warning 14
//   "C 8", SWPA d 1, D 8: τ0 = 8000/(255·64)·64/π = 9.986193; band 33500/e^0.84 = 14464.5 psi
//     ± 3230.8: 7.8965 to 12.4395 kg/mm²: within
TEST(MakerChecks, ClearancePitchAndInitialStressWorkedByHand) {
    const std::vector<std::string> r =
        Records(RunCli({"check", "--json"},
                       "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
                       "readme,compression,SWPB,0.60,4.1,8.5,24.3,20,15\n"
                       "valve,compression,SWPB,4.00,24.7,5,45.2,38,28\n"
                       "80 % in,compression,SWPA,1.20,8.8,7,23,20,13.3\n"
                       "80 % past,compression,SWPA,1.20,8.8,7,23,13.2,20\n"
                       "C 4,extension,SWPA,1.00,4,10,,15,20\n"
                       "C 8,extension,SWPA,1.00,8,10,,30,40\n")
                    .out);
    ASSERT_EQ(r.size(), 6u);
    const auto coils = [](const std::string& record) {
        return Value(record, "pitch") + " " + Value(record, "pitch_ratio") + " " +
               Value(record, "gap_sum") + " " + Value(record, "min_gap_sum") + " " +
               Value(record, "stroke_share") + " " + Value(record, "initial_stress");
    };
    const auto makers = [](const std::string& record) {
        std::vector<std::string> numbers;
        for (const std::string& n : All(record, "\"number\":(\\d+)")) {
            if (std::stoi(n) >= 12) {
                numbers.push_back(n);
            }
        }
        return numbers;
    };
    EXPECT_EQ(coils(r[0]), "2.717647 0.6628407 8.7 0.8672125 0.51666665 null");
    EXPECT_EQ(makers(r[0]), std::vector<std::string>{"13"});
    EXPECT_EQ(coils(r[1]), "7.44 0.30121458 0 3.1439188 1 null");
    EXPECT_EQ(makers(r[1]), std::vector<std::string>{"12"});
    EXPECT_EQ(Value(r[2], "stroke_share") + " " + Value(r[3], "stroke_share") + " " +
                  Value(r[3], "gap_sum") + " " + Value(r[3], "min_gap_sum"),
              "0.795082 0.80327874 2.3999996 1.5176");  // 13.2 and 10.8 as stored floats
    EXPECT_EQ(makers(r[2]), std::vector<std::string>{});
    EXPECT_EQ(makers(r[3]), std::vector<std::string>{"12"});
    EXPECT_EQ(Value(r[4], "initial_stress") + " " + Value(r[4], "initial_stress_low") + " " +
                  Value(r[4], "initial_stress_high") + " " + Value(r[4], "pitch"),
              "19.972385 12.771199 18.179426 null");
    EXPECT_EQ(makers(r[4]), std::vector<std::string>{"14"});
    EXPECT_EQ(Value(r[5], "initial_stress") + " " + Value(r[5], "initial_stress_low") + " " +
                  Value(r[5], "initial_stress_high"),
              "9.986193 7.896549 12.439461");
    EXPECT_EQ(makers(r[5]), std::vector<std::string>{});
}

// A row's own initial tension wins over --initial-tension, which fills only the empty fields of
// extension rows; JSON and the table say which tension each design ran with, and the figures
// after Run follow it. SWPA 1.00, D 7, n 20 at 40 and 50 mm, worked by hand in the engine's
// test: with P0 = 1.2 kg, Pact = 1.2 + 0.145773 · 17 = 3.6781 kg carries the hooks, and
// τ0 = 8 · 1.2 · 7 / π = 21.39 kg/mm² is above the band (warning 14).
TEST(CheckInitialTension, GivenByTheColumnOrTheOptionAndSaidSo) {
    const std::string csv =
        "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len,initial_tension\n"
        "own,extension,SUS304-WPB,1.60,11.1,10,,40,50,175MPa\n"
        "option,extension,SWPA,1.00,7,20,,40,50,\n"
        "none,extension,SWPA,1.00,7,20,,40,50,0\n"
        "compression,compression,SWPA,0.70,4.3,9.5,13,12,10,\n"
        "not run,extension,SWPA,1.00,3,20,,40,50,\n";  // D/d below 4
    const auto given = [](const std::string& record) {
        return Value(record, "initial_tension_given") + " " + Value(record, "InitTension");
    };
    const CliRun withOption = RunCli({"check", "--json", "--initial-tension", "11.76798N"}, csv);
    const std::vector<std::string> r = Records(withOption.out);
    ASSERT_EQ(r.size(), 5u) << withOption.err;
    EXPECT_NEAR(std::stod(Value(r[0], "InitTension")) * 9.80665, 25.36, 0.005);
    EXPECT_NEAR(std::stod(Value(r[0], "initial_stress")) * 9.80665, 175.0, 1e-3);
    EXPECT_EQ(given(r[1]), "true 1.2");  // 11.76798 N = 1.2 kg
    EXPECT_NEAR(std::stod(Value(r[1], "Pact")), 3.678134, 1e-6);
    EXPECT_EQ(Value(r[1], "hook_load"), Value(r[1], "Pact"));
    EXPECT_NEAR(std::stod(Value(r[1], "initial_stress")), 21.390, 1e-3);
    EXPECT_NE(r[1].find("\"number\":14"), std::string::npos);
    EXPECT_EQ(given(r[2]), "true 0");
    EXPECT_EQ(given(r[3]), "null null");
    EXPECT_EQ(given(r[4]), "null null");
    // Without the option the empty field is the formula's, 8000 / 255 / 49 kg.
    const std::vector<std::string> plain = Records(RunCli({"check", "--json"}, csv).out);
    ASSERT_EQ(plain.size(), 5u);
    EXPECT_EQ(given(plain[1]), "false 0.6402561");
    EXPECT_EQ(plain[1].find("\"number\":14"), std::string::npos);
    // The table's init-from column, beside init-tension.
    const std::string table = RunCli({"check", "--initial-tension", "1.2"}, csv).out;
    EXPECT_NE(table.find("  init-tension  init-from"), std::string::npos) << table;
    for (const auto& [name, cells] : {std::pair{"own", "2.59  given"},
                                      {"option", "1.20  given"},
                                      {"none", "0.00  given"},
                                      {"compression", "-  -  "},
                                      {"not run", "-  -  "}}) {
        const std::regex line("\\n +\\d+  " + std::string(name) + " [^\\n]* " + cells + " ");
        EXPECT_TRUE(std::regex_search(table, line)) << name;
    }
    EXPECT_NE(RunCli({"check"}, csv).out.find("0.64  formula"), std::string::npos);
}

// Loads and rates with a unit, converted once with 9.80665 N per kgf; a plain number is kgf.
TEST(LoadInput, NewtonsAndKilogramsForce) {
    using springcalc::ForceKind, springcalc::LoadAtLength, springcalc::ParseForce,
        springcalc::ParseLoadAtLength;
    EXPECT_EQ(ParseForce("12", ForceKind::Load), 12.0);
    EXPECT_EQ(ParseForce(" 12 kgf", ForceKind::Load), 12.0);
    EXPECT_EQ(ParseForce("12kg", ForceKind::Load), 12.0);
    EXPECT_EQ(ParseForce("12N", ForceKind::Load), 12.0 / 9.80665);
    EXPECT_EQ(ParseForce("9.80665 N", ForceKind::Load), 1.0);
    EXPECT_EQ(ParseForce("0.5N/mm", ForceKind::Rate), 0.5 / 9.80665);
    EXPECT_EQ(ParseForce("0.5kg/mm", ForceKind::Rate), 0.5);
    for (const char* bad : {"N", "12n", "12 N/mm", "12NN", "kg12", "12 lbf", "1e999N", ""}) {
        EXPECT_FALSE(ParseForce(bad, ForceKind::Load)) << bad;
    }
    EXPECT_FALSE(ParseForce("0.5N", ForceKind::Rate));
    const std::optional<LoadAtLength> point = ParseLoadAtLength("12N@20");
    ASSERT_TRUE(point);
    EXPECT_EQ(point->load, 12.0 / 9.80665);
    EXPECT_EQ(point->length, 20.0);
    EXPECT_EQ(ParseLoadAtLength("5@40")->load, 5.0);
    EXPECT_FALSE(ParseLoadAtLength("5N"));
    EXPECT_FALSE(ParseLoadAtLength("5N@"));
    EXPECT_FALSE(ParseLoadAtLength("5@40mm"));
}

}  // namespace
}  // namespace springcalc

namespace springcalc {
namespace {

constexpr const char* kOwnWireCsv =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
    "bar,compression,,16,120,6,300,250,200\n"
    "heli,compression,en10270-1-sm,5,34.6,9.5,80,70,60\n";

TEST(CheckMaterials, OwnAndStandardWireRunAndABadFileStopsEverything) {
    ScratchDir dir;
    const std::string good = (dir.path() / "own.mat").string();
    std::ofstream(good) << "[BAR]\nsource = cert 1\nG = 78500\nE = 206000\ndensity = 7.85\n"
                           "static-share = 0.5\nstrength = 14:1500, 20:1450\n";
    const CliRun run =
        RunCli({"check", "--json", "--materials-file", good, "--materials", "bar"}, kOwnWireCsv);
    ASSERT_EQ(run.err, "");
    // 16 mm between 14:1500 and 20:1450 by hand: 1500 − (2/6)·50 = 1483.3334 N/mm².
    EXPECT_NE(run.out.find("\"material\":\"BAR\",\"material_source\":\"cert 1 (" + good +
                           ")\",\"min_tensile_strength_MPa\":1483.3334"),
              std::string::npos);
    EXPECT_NE(run.out.find("\"material\":\"EN10270-1-SM\""), std::string::npos);

    const std::string bad = (dir.path() / "bad.mat").string();
    std::ofstream(bad) << "[BAR]\nsource = cert 1\nG = 78.5\nE = 206000\ndensity = 7.85\n"
                          "static-share = 0.5\nstrength = 14:1500, 20:1450\ncolour = red\n";
    const CliRun refused =
        RunCli({"check", "--materials-file", bad, "--materials", "bar"}, kOwnWireCsv);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "springcalc-cli: " + bad +
                  ":3: field \"G\": found \"78.5\", expected a number from 10000 to 150000\n"
                  "springcalc-cli: " +
                  bad +
                  ":8: field \"colour\": no such field; the fields are source, G, E, density, "
                  "static-share, strength, strength-formula, range, sizes and class\n");

    // Without --materials the empty material field is the row's fault, as before.
    EXPECT_EQ(RunCli({"check"}, kOwnWireCsv).status, 2);
}

// The search names each standard's or own material in the table and its source under it; a
// row the table gives checks to the same figures; a bad file searches nothing.
TEST(SearchMaterials, StandardAndOwnWireInTheTableWithTheirSources) {
    ScratchDir dir;
    const std::string own = (dir.path() / "own.mat").string();
    std::ofstream(own) << "[MY-WIRE]\nsource = cert 7\nG = 79000\nE = 206000\ndensity = 7.85\n"
                          "static-share = 0.45\nstrength = 1:2000, 3:1700\nsizes = 1.5, 2.5\n";
    const CliRun run =
        RunCli({"search", "--kind", "compression", "--load", "10@40", "--load", "20@30",
                "--materials", "ASTM-A228,my-wire", "--materials-file", own, "--top", "20"});
    ASSERT_EQ(run.err, "");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Materials: ASTM-A228, MY-WIRE.\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nASTM-A228: ASTM A228 music wire (Rm = 2060/d^0.163"),
              std::string::npos);
    EXPECT_NE(run.out.find("\nMY-WIRE: cert 7 (" + own + ").\n"), std::string::npos);
    // The lightest, as a check row: the same rate and stress.
    const std::smatch first = [&] {
        std::smatch m;
        std::regex_search(run.out, m,
                          std::regex("\n *1 +(\\S+) +(\\S+) +(\\S+) +\\S+ +(\\S+) +(\\S+) +"
                                     "\\S+ +\\S+ +\\S+ +\\S+ +(\\S+) +\\S+ +\\S+ +(\\S+)"));
        return m;
    }();
    ASSERT_EQ(first.size(), 8u) << run.out;
    const std::string row =
        "kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
        "compression," +
        first[1].str() + "," + first[2].str() + "," + first[3].str() + "," + first[4].str() + "," +
        first[5].str() + ",40,30\n";
    const CliRun check = RunCli({"check", "--materials-file", own}, row);
    ASSERT_EQ(check.err, "") << row;
    EXPECT_NE(check.out.find(first[6].str()), std::string::npos) << check.out;
    EXPECT_NE(check.out.find(first[7].str()), std::string::npos) << check.out;

    std::ofstream(own, std::ios::app) << "G = 1\n";
    const CliRun refused = RunCli({"search", "--kind", "compression", "--load", "10@40", "--load",
                                   "20@30", "--materials", "my-wire", "--materials-file", own});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "springcalc-cli: " + own + ":9: field \"G\": given twice for one material\n");
    const CliRun unknown = RunCli({"search", "--kind", "compression", "--load", "10@40", "--load",
                                   "20@30", "--materials", "EN10270-9"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("the wire standards EN10270-1-SM, "), std::string::npos);
}

}  // namespace
}  // namespace springcalc

namespace springcalc {
namespace {

constexpr const char* kToleranceCsv =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
    "guide,compression,SWPB,0.60,4.1,8.5,24.0,20,15\n"
    "ext,extension,SWPB,1.0,8,15,,30,40\n";

TEST(CheckTolerance, AGradeAddsEachFiguresToleranceAndChangesNothingElse) {
    const CliRun table = RunCli({"check", "--tolerance-grade", "jis-2"}, kToleranceCsv);
    ASSERT_EQ(table.err, "");
    // Pset 0.88 and Pact 1.99 at 8.5 turns: 10 %. OD 4.7 at D/d 6.8: 1.5 % is under the least
    // 0.2. Free 24: 2 % = 0.48, under the least 0.5. Squareness 0.05 x 24.
    EXPECT_NE(table.out.find("\n  JIS-2: Pset 0.88 ± 0.09 kg, Pact 1.99 ± 0.20 kg, OD 4.70 ± "
                             "0.20 mm, ID 3.50 ± 0.20 mm, free 24.0 ± 0.50 mm, squareness 1.20 "
                             "mm\n"),
              std::string::npos);
    // The extension spring: Fi 0.49 kg, n 15: 0.49·0.15 + (1.79 − 0.49)·0.08 = 0.18.
    EXPECT_NE(table.out.find("Pact 1.79 ± 0.18 kg"), std::string::npos);
    EXPECT_NE(table.out.find("±Pset"), std::string::npos);

    // JSON: the same objects as without the grade, but for "tolerance".
    const CliRun plain = RunCli({"check", "--json"}, kToleranceCsv);
    const CliRun graded = RunCli({"check", "--json", "--tolerance-grade", "EN-2"}, kToleranceCsv);
    std::string stripped = graded.out;
    std::vector<std::string> tolerances;
    for (size_t at; (at = stripped.find("\"tolerance\":{")) != std::string::npos;) {
        const size_t end = stripped.find("},", at) + 2;
        tolerances.push_back(stripped.substr(at, end - at));
        stripped.erase(at, end - at);
    }
    EXPECT_EQ(stripped, plain.out);
    ASSERT_EQ(tolerances.size(), 2u);
    EXPECT_NE(tolerances[0].find("\"grade\":\"EN-2\""), std::string::npos);
    EXPECT_NE(tolerances[0].find("\"outer_diameter\":0.2,"), std::string::npos);
    // EN 15800 has no extension springs.
    EXPECT_NE(tolerances[1].find("\"set_load\":null,\"work_load\":null,\"outer_diameter\":null"),
              std::string::npos);

    const CliRun refused = RunCli({"check", "--tolerance-grade", "JIS-4"}, kToleranceCsv);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "springcalc-cli check: --tolerance-grade takes one of JIS-1, JIS-2, JIS-3, EN-1, "
              "EN-2, EN-3, not \"JIS-4\"\nTry \"springcalc-cli check --help\".\n");
}

}  // namespace
}  // namespace springcalc

namespace springcalc {
namespace {

// A grade in force is said with the requirement, and where it is what keeps the designs out,
// the hint names the grade and what lets them in instead of a ratio no design can meet.
TEST(SearchTolerance, TheOutputSaysWhichGradeHoldsAndNamesItWhereItKeepsDesignsOut) {
    const std::vector<std::string> request{"search", "--kind",      "compression", "--load",
                                           "1.8@20", "--load",      "3.6@15",      "--max-od",
                                           "6.5",    "--materials", "SWB"};
    struct Case {
        const char* grade;
        const char* said;  // in the requirement
        const char* hint;  // the widening the grade calls for
    };
    for (const Case& c : {
             Case{"JIS-3",
                  "the heavier load as made at tolerance grade JIS-3 (JIS B 2704-2:2018 (JSMA "
                  "SB001-2:2018)) at most 100.0 % of the static allowable stress",
                  "  no --tolerance-grade, with --max-stress-ratio 0.99 (15 designs need only "
                  "that;"},
             Case{"EN-3", "at tolerance grade EN-3 (EN 15800:2008",
                  "stress at 113 % of the static allowable with the heavier load 14.1 % heavier, "
                  "as tolerance grade EN-3 lets it be made, over --max-stress-ratio 1"},
         }) {
        std::vector<std::string> args = request;
        args.insert(args.end(), {"--tolerance-grade", c.grade});
        const CliRun run = RunCli(args, "");
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.out.find(c.said), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(c.hint), std::string::npos) << run.out;
    }
    // Without a grade none is named, and the default margin's hint stays as it was.
    const CliRun plain = RunCli(request, "");
    EXPECT_EQ(plain.out.find("tolerance grade"), std::string::npos);
}

}  // namespace
}  // namespace springcalc
