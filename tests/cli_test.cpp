// springcalc-cli tests: `check` against the window's own record and Save for every sample,
// every kind of bad input with its exit status, the SI columns, and `search` on requirements
// whose answers are worked out by hand.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli_app.h"
#include "design_editor.h"
#include "recording_view.h"
#include "report_writer.h"
#include "samples.h"
#include "search.h"
#include "service_figures.h"
#include "spring_design.h"
#include "text_format.h"
#include "text_table.h"
#include "utf8_text.h"

namespace springcalc {
namespace {

namespace fs = std::filesystem;
using cli::CliIo;

LocalDateTime FixedClock() {
    return {2027, 3, 14, 8, 7};
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "") {
    size_t offset = 0;
    const cli::ReadInput in = [&](char* buffer, size_t size) -> ssize_t {
        const size_t count = std::min(size, input.size() - offset);
        input.copy(buffer, count, offset);
        offset += count;
        return static_cast<ssize_t>(count);
    };
    std::ostringstream out;
    std::ostringstream err;
    CliIo io{in, out, err, FixedClock};
    CliRun run;
    run.status = cli::RunCli(args, io);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// ---- The window, driven as a person would: start, pick the sample, choose Run ------------

struct WindowRun {
    TSpringDesign design;
    std::vector<std::string> warnings;
    bool ran = false;
};

WindowRun RunSampleInWindow(int kind, int number) {
    WindowRun run;
    fakes::RecordingView view;
    SpringEngine engine(run.design, view, FixedClock);
    DesignEditor editor(engine, view);
    engine.StartUp();
    if (kind == kExtension) {
        editor.UpDown8Click(kExtension, number);
    } else {
        editor.UpDown13Click(number);
    }
    run.ran = view.enabled(Command::N1);
    if (run.ran) {
        engine.AnalyseDesign();
    }
    run.warnings = view.warnings;
    return run;
}

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string_view::npos ? "" : std::string(text.substr(first, last - first + 1));
}

// The 24 samples as check rows, written from the sample tables as a user would type them.
std::string SamplesCsv() {
    std::string csv = "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n";
    for (int n = 1; n <= kSampleCount; ++n) {
        const CompressionSample& s = kCompressionSamples[n - 1];
        csv += Format("C%d,compression,%s,%s,%.1f,%.1f,%.1f,%.1f,%.1f\n", n,
                      Trimmed(kMaterials[s.materialNo].name).c_str(),
                      Trimmed(kWires[s.wireNo].text).c_str(), double(s.meanDia), double(s.turns),
                      double(s.freeLen), double(s.setLen), double(s.workLen));
    }
    for (int n = 1; n <= kSampleCount; ++n) {
        const ExtensionSample& s = kExtensionSamples[n - 1];
        csv += Format("E%d,extension,%s,%s,%.1f,%.1f,,%.1f,%.1f\n", n,
                      Trimmed(kMaterials[s.materialNo].name).c_str(),
                      Trimmed(kWires[s.wireNo].text).c_str(), double(s.meanDia), double(s.turns),
                      double(s.setLen), double(s.workLen));
    }
    return csv;
}

std::vector<WindowRun> AllSamplesInWindow() {
    std::vector<WindowRun> runs;
    for (int kind : {kCompression, kExtension}) {
        for (int n = 1; n <= kSampleCount; ++n) {
            runs.push_back(RunSampleInWindow(kind, n));
        }
    }
    return runs;
}

// ---- A small JSON reader, enough for the check output ------------------------------------

struct Json {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    std::string text;  // a number as written, or a string's value
    bool boolean = false;
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const std::string& key) const {
        const auto it = members.find(key);
        if (it == members.end()) {
            ADD_FAILURE() << "no member " << key;
            static const Json none;
            return none;
        }
        return it->second;
    }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    Json ReadDocument() {
        Json value = Read();
        Skip();
        EXPECT_EQ(pos_, text_.size()) << "text after the JSON value";
        return value;
    }

private:
    Json Read() {
        Skip();
        Json value;
        const char c = pos_ < text_.size() ? text_[pos_] : '\0';
        if (c == '{') {
            value.type = Json::Type::Object;
            ++pos_;
            while (Skip(), Peek() != '}') {
                const std::string key = ReadString();
                Skip();
                Expect(':');
                value.members[key] = Read();
                Skip();
                if (Peek() == ',') {
                    ++pos_;
                }
            }
            ++pos_;
        } else if (c == '[') {
            value.type = Json::Type::Array;
            ++pos_;
            while (Skip(), Peek() != ']') {
                value.items.push_back(Read());
                Skip();
                if (Peek() == ',') {
                    ++pos_;
                }
            }
            ++pos_;
        } else if (c == '"') {
            value.type = Json::Type::String;
            value.text = ReadString();
        } else if (text_.substr(pos_, 4) == "null") {
            pos_ += 4;
        } else if (text_.substr(pos_, 4) == "true" || text_.substr(pos_, 5) == "false") {
            value.type = Json::Type::Bool;
            value.boolean = c == 't';
            pos_ += value.boolean ? 4 : 5;
        } else {
            value.type = Json::Type::Number;
            const size_t end = text_.find_first_of(",]}\n ", pos_);
            value.text = std::string(text_.substr(pos_, end - pos_));
            pos_ = end;
        }
        return value;
    }

    std::string ReadString() {
        Expect('"');
        std::string out;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            if (text_[pos_] == '\\') {
                ++pos_;
                const char escaped = text_[pos_];
                out += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
            } else {
                out += text_[pos_];
            }
            ++pos_;
        }
        Expect('"');
        return out;
    }

    void Expect(char c) {
        EXPECT_EQ(Peek(), c) << "at " << pos_;
        ++pos_;
    }
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void Skip() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n')) {
            ++pos_;
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

Json ParseJson(const std::string& text) {
    return JsonReader(text).ReadDocument();
}

// The record's float fields by name. Written out here, apart from the program, so a field the
// JSON leaves out or misnames fails the comparison.
const std::map<std::string, float TSpringDesign::*> kRecordFloats = {
    {"MeanDia", &TSpringDesign::MeanDia},
    {"InnerDia", &TSpringDesign::InnerDia},
    {"OuterDia", &TSpringDesign::OuterDia},
    {"Turns", &TSpringDesign::Turns},
    {"FreeLen", &TSpringDesign::FreeLen},
    {"SetLen", &TSpringDesign::SetLen},
    {"WorkLen", &TSpringDesign::WorkLen},
    {"SolidLen", &TSpringDesign::SolidLen},
    {"LimitLen", &TSpringDesign::LimitLen},
    {"Tset", &TSpringDesign::Tset},
    {"Tact", &TSpringDesign::Tact},
    {"Tmax", &TSpringDesign::Tmax},
    {"AllowStatic", &TSpringDesign::AllowStatic},
    {"AllowStaticExt", &TSpringDesign::AllowStaticExt},
    {"AllowFatigue", &TSpringDesign::AllowFatigue},
    {"InitTension", &TSpringDesign::InitTension},
    {"Pset", &TSpringDesign::Pset},
    {"Pact", &TSpringDesign::Pact},
    {"Pmax", &TSpringDesign::Pmax},
    {"TensileStrength", &TSpringDesign::TensileStrength},
    {"ShearModulus", &TSpringDesign::ShearModulus},
    {"SpringRate", &TSpringDesign::SpringRate},
};

float JsonFloat(const Json& value) {
    EXPECT_EQ(value.type, Json::Type::Number);
    return std::strtof(value.text.c_str(), nullptr);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ScratchDir {
public:
    ScratchDir() {
        path_ = fs::temp_directory_path() / ("springcalc_cli_test_" + std::to_string(::getpid()) +
                                             "_" + std::to_string(counter_++));
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

fs::path WriteFile(const ScratchDir& dir, const std::string& name, const std::string& text) {
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// ---- check gives the window's numbers -----------------------------------------------------

TEST(CheckMatchesWindow, JsonOfEverySampleEqualsTheRecordAfterRun) {
    const std::vector<WindowRun> window = AllSamplesInWindow();
    const CliRun run = RunCli({"check", "--json"}, SamplesCsv());
    ASSERT_NE(run.status, 2) << run.err;
    const Json designs = ParseJson(run.out);
    ASSERT_EQ(designs.items.size(), window.size());

    for (size_t i = 0; i < window.size(); ++i) {
        SCOPED_TRACE("sample row " + std::to_string(i + 1));
        const TSpringDesign& record = window[i].design;
        const Json& json = designs.items[i];
        ASSERT_TRUE(window[i].ran) << "every sample can be run in the window";
        EXPECT_TRUE(json["analysed"].boolean);
        EXPECT_EQ(json["row"].text, std::to_string(i + 1));
        EXPECT_EQ(json["SpringKind"].text, std::to_string(record.SpringKind));
        EXPECT_EQ(json["MaterialNo"].text, std::to_string(record.MaterialNo));
        EXPECT_EQ(json["WireNo"].text, std::to_string(record.WireNo));
        EXPECT_EQ(JsonFloat(json["WireDia"]), record.WireDia[record.WireNo]);
        EXPECT_EQ(json["DateText"].text, record.DateText);
        // A record switched from one kind to the other keeps the last solid length and tau max
        // of a compression spring, or initial tension of an extension spring; the design of
        // the other kind has none, and the window shows none.
        const std::set<std::string> notOfThisKind = record.SpringKind == kCompression
                                                        ? std::set<std::string>{"InitTension"}
                                                        : std::set<std::string>{"SolidLen", "Tmax"};
        for (const auto& [name, member] : kRecordFloats) {
            if (notOfThisKind.contains(name)) {
                EXPECT_EQ(json[name].type, Json::Type::Null) << name;
            } else {
                EXPECT_EQ(JsonFloat(json[name]), record.*member) << name;
            }
        }
        // The window's warning list, line for line, repeats included.
        ASSERT_EQ(json["warnings"].items.size(), window[i].warnings.size());
        for (size_t w = 0; w < window[i].warnings.size(); ++w) {
            EXPECT_EQ(json["warnings"].items[w]["text"].text, window[i].warnings[w]);
        }
        // Nothing else numeric hides in the object.
        for (const auto& [key, value] : json.members) {
            if (value.type == Json::Type::Number) {
                EXPECT_TRUE(kRecordFloats.contains(key) || key == "row" || key == "SpringKind" ||
                            key == "MaterialNo" || key == "WireNo" || key == "WireDia")
                    << key;
            }
        }
    }
}

TEST(CheckMatchesWindow, ReportEqualsTheWindowsSaveByteForByteAndAppends) {
    ScratchDir dir;
    const fs::path report = WriteFile(dir, "springs.txt", "earlier report\r\n");
    std::string saved = "earlier report\r\n";
    for (const WindowRun& window : AllSamplesInWindow()) {
        saved += EncodeReport(FormatReportBlock(window.design)).value();
    }
    const CliRun run = RunCli({"check", "--report", report.string()}, SamplesCsv());
    ASSERT_NE(run.status, 2) << run.err;
    EXPECT_EQ(ReadFile(report), saved);
}

TEST(CheckMatchesWindow, WarningsOfAnOverstressedDesignAsTheWindowListsThem) {
    // Installed and operating lengths both past the allowable stress: the window lists
    // warning 2 twice and warning 4 twice.
    WindowRun window;
    fakes::RecordingView view;
    SpringEngine engine(window.design, view, FixedClock);
    engine.StartUp();
    window.design.SetLen = 6.0f;
    window.design.WorkLen = 5.0f;
    window.design.Turns = 3.0f;
    engine.CheckGeometry();
    engine.AnalyseDesign();

    const CliRun run = RunCli({"check", "--json"},
                              "kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
                              "compression,SWPA,0.70,4.3,3,13,6,5\n");
    EXPECT_EQ(run.status, 1);
    const Json parsed = ParseJson(run.out);
    const Json& json = parsed.items.at(0);
    ASSERT_EQ(json["warnings"].items.size(), view.warnings.size());
    for (size_t w = 0; w < view.warnings.size(); ++w) {
        EXPECT_EQ(json["warnings"].items[w]["text"].text, view.warnings[w]);
    }
    EXPECT_EQ(JsonFloat(json["Tact"]), window.design.Tact);

    // The table names each warning once.
    const CliRun table = RunCli({"check"},
                                "kind,material,wire,mean_dia,turns,free_len,set_len,"
                                "work_len\ncompression,SWPA,0.70,4.3,3,13,6,5\n");
    const std::string warning2 = std::string("2 ") + kWarningTexts[1];
    ASSERT_NE(table.out.find(warning2), std::string::npos) << table.out;
    EXPECT_EQ(table.out.find(warning2, table.out.find(warning2) + 1), std::string::npos);
    EXPECT_NE(table.out.find(std::string("4 ") + kWarningTexts[3]), std::string::npos);
}

// ---- Designs the window would not run -----------------------------------------------------

TEST(CheckWithheld, ListsTheWarningsGivesNoResultsAndSavesNothing) {
    ScratchDir dir;
    const fs::path report = dir / "report.txt";
    const std::string csv =
        "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
        "size not made,compression,SWO-A,0.50,4.3,9.5,13,12,10\n"  // SWO-A starts at 2.00
        "index 3,compression,SWPA,1.60,4.8,5,24,20,18\n"           // D/d = 3
        "fine,compression,SWPA,0.70,4.3,9.5,13,12,10\n";

    const CliRun json = RunCli({"check", "--json", "--report", report.string()}, csv);
    EXPECT_EQ(json.status, 1);
    const Json designs = ParseJson(json.out);
    ASSERT_EQ(designs.items.size(), 3u);
    const std::pair<int, int> expected[] = {{0, 5}, {1, 1}};
    for (const auto& [index, warning] : expected) {
        const Json& d = designs.items[index];
        EXPECT_FALSE(d["analysed"].boolean);
        ASSERT_EQ(d["warnings"].items.size(), 1u);
        EXPECT_EQ(d["warnings"].items[0]["number"].text, std::to_string(warning));
        for (const char* result : {"SpringRate", "Pset", "Pact", "Pmax", "Tset", "Tact",
                                   "AllowStatic", "AllowFatigue", "LimitLen", "DateText"}) {
            EXPECT_EQ(d[result].type, Json::Type::Null) << result;
        }
        // What the checks derive is there, as the window shows it before Run.
        EXPECT_EQ(d["SolidLen"].type, Json::Type::Number);
        EXPECT_EQ(d["OuterDia"].type, Json::Type::Number);
    }
    EXPECT_TRUE(designs.items[2]["analysed"].boolean);

    // Only the design that ran is saved.
    const WindowRun sample1 = RunSampleInWindow(kCompression, 1);
    EXPECT_EQ(ReadFile(report), EncodeReport(FormatReportBlock(sample1.design)).value());

    const CliRun table = RunCli({"check"}, csv);
    std::istringstream lines(table.out);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    std::getline(lines, line);  // the first design
    EXPECT_NE(line.find(std::string("5 ") + kWarningTexts[4]), std::string::npos) << line;
    EXPECT_NE(line.find("  -  "), std::string::npos) << line;
    EXPECT_NE(table.out.find("Not run (\"-\"): 2"), std::string::npos);
}

// ---- Bad input ----------------------------------------------------------------------------

constexpr const char* kHeader = "kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n";

TEST(CheckBadInput, TellsRowColumnValueAndWhatWasExpected) {
    struct Case {
        const char* what;
        std::string csv;
        std::string message;
    };
    const Case cases[] = {
        {"unknown material", std::string(kHeader) + "compression,SWX,0.70,4.3,9.5,13,12,10\n",
         "row 1 (line 2), column \"material\": found \"SWX\", expected a material designation "
         "(SWB, SWC, SWPA, SWPB, SWO-A, SWOSC-V, SUS304-WPA, SUS316-WPA, SUS304-WPB) or a "
         "material number 0 to 8"},
        {"material number out of range",
         std::string(kHeader) + "compression,9,0.70,4.3,9.5,13,12,10\n",
         "row 1 (line 2), column \"material\": found \"9\", expected a material designation"},
        {"wire size not in the list",
         std::string(kHeader) + "compression,SWPA,0.71,4.3,9.5,13,12,10\n",
         "row 1 (line 2), column \"wire\": found \"0.71\", expected one of the 46 standard wire "
         "sizes in mm (the nearest are 0.70 and 0.80)"},
        {"wire size past the list", std::string(kHeader) + "compression,SWPA,14,4.3,9.5,13,12,10\n",
         "row 1 (line 2), column \"wire\": found \"14\", expected one of the 46 standard wire "
         "sizes in mm (the "
         "thickest is 13.00)"},
        {"negative number", std::string(kHeader) + "compression,SWPA,0.70,-4.3,9.5,13,12,10\n",
         "row 1 (line 2), column \"mean_dia\": found \"-4.3\", expected a number from 0.1 to "
         "10000"},
        {"zero", std::string(kHeader) + "compression,SWPA,0.70,4.3,0,13,12,10\n",
         "row 1 (line 2), column \"turns\": found \"0\", expected a number from 0.5 to 10000"},
        {"missing number", std::string(kHeader) + "compression,SWPA,0.70,4.3,,13,12,10\n",
         "row 1 (line 2), column \"turns\": nothing found, expected a number from 0.5"},
        {"not a number", std::string(kHeader) + "compression,SWPA,0.70,4.3,9.5,13,12,ten\n",
         "row 1 (line 2), column \"work_len\": found \"ten\", expected a number from 0.1 to 10000"},
        {"free length of an extension spring",
         std::string(kHeader) + "extension,SWPA,0.32,4.6,18.5,14.8,20,30\n",
         "row 1 (line 2), column \"free_len\": found \"14.8\", expected an empty field: an "
         "extension spring's free length follows from D, n and d"},
        {"free length missing for a compression spring",
         std::string(kHeader) + "compression,SWPA,0.70,4.3,9.5,,12,10\n",
         "row 1 (line 2), column \"free_len\": nothing found, expected a number from 0.1 to 10000"},
        {"unknown kind", std::string(kHeader) + "torsion,SWPA,0.70,4.3,9.5,13,12,10\n",
         "row 1 (line 2), column \"kind\": found \"torsion\", expected \"compression\" or "
         "\"extension\""},
        {"too few values", std::string(kHeader) + "compression,SWPA,0.70,4.3,9.5,13,12\n",
         "row 1 (line 2): 7 values where the header has 8"},
        {"missing column", "kind,material,wire,mean_dia,turns,free_len,set_len\n",
         "line 1: column \"work_len\" is missing"},
        {"unknown column",
         std::string("kind,material,wire,mean_dia,turns,free_len,set_len,"
                     "work_len,colour\n"),
         "line 1: unknown column \"colour\""},
        {"unclosed quote", std::string(kHeader) + "compression,\"SWPA,0.70,4.3,9.5,13,12,10\n",
         "line 2: a quoted field is not closed"},
        {"empty input", "",
         "no header line: expected name,kind,material,wire,mean_dia,turns,"
         "free_len,set_len,work_len"},
    };
    ScratchDir dir;
    const fs::path report = WriteFile(dir, "report.txt", "kept\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun run = RunCli({"check", "--report", report.string()}, c.csv);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "") << "nothing is printed for bad input";
        EXPECT_NE(run.err.find("springcalc-cli: standard input: " + c.message), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("nothing was appended to " + report.string()), std::string::npos);
        EXPECT_EQ(ReadFile(report), "kept\r\n");
    }
}

TEST(CheckBadInput, EveryBadRowIsToldInOneRun) {
    ScratchDir dir;
    const fs::path file = WriteFile(dir, "designs.csv",
                                    std::string(kHeader) +
                                        "compression,SWPA,0.70,4.3,9.5,13,12,10\n"
                                        "\n"
                                        "compression,SWPA,0.75,4.3,9.5,13,12,10\n"
                                        "extension,SWPA,0.32,4.6,-1,,20,30\n");
    const CliRun run = RunCli({"check", file.string()});
    EXPECT_EQ(run.status, 2);
    const std::string source = "springcalc-cli: " + file.string() + ": ";
    EXPECT_NE(run.err.find(source + "row 2 (line 4), column \"wire\": found \"0.75\""),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(source + "row 3 (line 5), column \"turns\": found \"-1\""),
              std::string::npos)
        << run.err;
}

TEST(CheckBadInput, UnreadableFilesAndBadOptions) {
    ScratchDir dir;
    const std::string missing = (dir / "missing.csv").string();
    CliRun run = RunCli({"check", missing});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "springcalc-cli: cannot read " + missing + ": No such file or directory\n");

    const std::string folder = (dir / "folder").string();
    fs::create_directory(folder);
    run = RunCli({"check", folder});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "springcalc-cli: cannot read " + folder + ": Is a directory\n");

    const std::vector<std::vector<std::string>> badOptions = {
        {"check", "--units", "imperial"},
        {"check", "--colour"},
        {"check", "a.csv", "b.csv"},
        {"check", "--report"},
        {"check", "--json=yes"},
        {"weigh"},
        {},
    };
    for (const std::vector<std::string>& args : badOptions) {
        run = RunCli(args, std::string(kHeader) + "compression,SWPA,0.70,4.3,9.5,13,12,10\n");
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
    }
}

// ---- Exit status and the CSV itself -------------------------------------------------------

TEST(CheckExitStatus, ZeroWithoutWarningsOneWithAny) {
    const std::string clean = std::string(kHeader) + "compression,SWPA,0.70,4.3,9.5,13,12,10\n";
    EXPECT_EQ(RunCli({"check"}, clean).status, 0);
    // Operating length below the solid length of 8.05 mm: warning 6.
    const std::string warned = clean + "compression,SWPA,0.70,4.3,9.5,13,12,8\n";
    const CliRun run = RunCli({"check"}, warned);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(std::string("6 ") + kWarningTexts[5]), std::string::npos);
    EXPECT_NE(run.out.find("2 designs, 1 with warnings."), std::string::npos) << run.out;
}

TEST(CheckInput, ReadsQuotedFieldsLineEndsAndTheWaysToNameMaterialsAndWires) {
    const std::string csv =
        "\xEF\xBB\xBF"
        "Name , KIND,material,wire,mean_dia,turns,free_len,set_len,work_len\r\n"
        "\"Lid, left\",compression, swpa ,0.7,4.3,9.5,13,12,10\r\n"
        "\r\n"
        "\"say \"\"hi\"\"\",Compression,2,0.70, 4.3 ,9.5,13.0,12,10\r\n"
        "ばね,extension,\" SUS316 - WPA \",1.2,8.5,190,,365,375";
    const CliRun run = RunCli({"check", "--json"}, csv);
    ASSERT_EQ(run.status, 0) << run.err;
    const Json designs = ParseJson(run.out);
    ASSERT_EQ(designs.items.size(), 3u);
    EXPECT_EQ(designs.items[0]["name"].text, "Lid, left");
    EXPECT_EQ(designs.items[1]["name"].text, "say \"hi\"");
    EXPECT_EQ(designs.items[2]["name"].text, "ばね");
    EXPECT_EQ(designs.items[2]["row"].text, "3");
    const WindowRun sample1 = RunSampleInWindow(kCompression, 1);
    const WindowRun sample12 = RunSampleInWindow(kExtension, 12);
    for (int i : {0, 1}) {
        EXPECT_EQ(designs.items[i]["MaterialNo"].text, "2");
        EXPECT_EQ(JsonFloat(designs.items[i]["Pact"]), sample1.design.Pact);
    }
    EXPECT_EQ(designs.items[2]["material"].text, "SUS316-WPA");
    EXPECT_EQ(JsonFloat(designs.items[2]["Pmax"]), sample12.design.Pmax);

    // The table keeps its columns aligned under a Japanese name.
    const CliRun table = RunCli({"check"}, csv);
    std::istringstream lines(table.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line) && !line.empty();) {
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 5u);
    const size_t kindColumn = rows[0].find("kind");
    EXPECT_EQ(rows[2].find("compression"), kindColumn);
    // "ばね" is two characters of two columns each, six bytes.
    EXPECT_EQ(rows[4].find("extension"), kindColumn + 2);
}

TEST(CheckTable, NumberCellsWritePrintfsDigitsForEverySinglePrecisionValue) {
    // The table's cells are worked out in integers for speed; they must be printf's digits.
    std::mt19937 random(13);
    std::vector<float> values = {0.0f,  -0.0f,     0.005f, 0.125f,  0.375f,      -2.5f,
                                 1.05f, 99999.95f, 1e-30f, -1e-30f, 16777217.0f, 3.4e38f};
    for (int i = 0; i < 200000; ++i) {
        values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
    }
    for (float value : values) {
        if (!std::isfinite(value)) {
            continue;
        }
        for (int precision : {0, 1, 2, 3}) {
            ASSERT_EQ(cli::NumberCell(value, precision, 400), FixedText(value, precision))
                << value << " with " << precision;
        }
    }
}

TEST(CheckJson, NumbersAreToCharsShortestForEverySinglePrecisionValue) {
    // JSON numbers take a quicker path for short decimals; they must be std::to_chars's.
    std::mt19937 random(14);
    std::vector<float> values = {0.0f, -0.0f, 1e-30f, 99999.99f, 1e5f, 10000.0f, 0.001f, -65.6f};
    for (int k = 0; k < 120000; ++k) {
        for (float scale : {1.0f, 10.0f, 100.0f, 1000.0f}) {
            values.push_back(float(k / double(scale)));
        }
    }
    for (int i = 0; i < 200000; ++i) {
        values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
    }
    for (float value : values) {
        if (!std::isfinite(value)) {
            continue;
        }
        char fast[32];
        char general[32];
        const std::string_view quick(fast, cli::ShortestFloatChars(fast, fast + 32, value) - fast);
        const std::string_view exact(general,
                                     std::to_chars(general, general + 32, value).ptr - general);
        ASSERT_EQ(quick, exact) << value;
    }
}

// ---- SI units ---------------------------------------------------------------------------

TEST(CheckUnits, SiGivesNewtonsBesideKilogramsClearlyLabelled) {
    const WindowRun sample = RunSampleInWindow(kExtension, 2);
    const TSpringDesign& s = sample.design;
    const std::string csv = std::string(kHeader) + "extension,SWPA,0.50,5.8,17.5,,25,35\n";

    const CliRun json = RunCli({"check", "--json", "--units", "si"}, csv);
    const Json parsed = ParseJson(json.out);
    const Json& si = parsed.items.at(0)["si"];
    const std::pair<const char*, float> expected[] = {
        {"Pset_N", s.Pset},
        {"Pact_N", s.Pact},
        {"Pmax_N", s.Pmax},
        {"InitTension_N", s.InitTension},
        {"Tset_N_per_mm2", s.Tset},
        {"AllowStaticExt_N_per_mm2", s.AllowStaticExt},
        {"SpringRate_N_per_mm", s.SpringRate},
    };
    for (const auto& [name, kgf] : expected) {
        const double newtons = std::strtod(si[name].text.c_str(), nullptr);
        EXPECT_NEAR(newtons, double(kgf) * 9.80665, double(kgf) * 9.80665 * 1e-6) << name;
    }

    const CliRun table = RunCli({"check", "--units=si"}, csv);
    EXPECT_NE(table.out.find("N/mm²"), std::string::npos);
    EXPECT_NE(table.out.find("1 kgf = 9.80665 N"), std::string::npos);
    // Each load is followed by itself in newtons.
    std::istringstream cells(table.out.substr(table.out.find("\n     ", table.out.find("\n") + 1)));
    const std::vector<std::string> row{std::istream_iterator<std::string>(cells), {}};
    for (float kgf : {s.Pset, s.Pact, s.Pmax}) {
        const auto at = std::find(row.begin(), row.end(), Format("%.2f", double(kgf)));
        ASSERT_NE(at, row.end()) << table.out;
        EXPECT_EQ(*std::next(at), Format("%.2f", double(kgf) * 9.80665)) << table.out;
    }

    const CliRun plain = RunCli({"check", "--json"}, csv);
    EXPECT_EQ(plain.out.find("\"si\""), std::string::npos);
    EXPECT_EQ(RunCli({"check"}, csv).out.find("N/mm"), std::string::npos);
}

// ---- Figures in service ----------------------------------------------------------------------

// Compression sample 1 with one end free buckles (see the figures' own tests), a short wide
// spring cannot, and an extension spring has only the energy and the active mass. The last,
// overstressed, has three of the window's warnings and a name of double-width characters.
const std::string kFiguresCsv =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
    ",compression,SWPA,0.70,4.3,9.5,13,12,10\n"
    ",compression,SWPA,1.20,8.8,3,10,9,8\n"
    ",extension,SWPA,0.50,5.8,17.5,,25,35\n"
    ",compression,SWO-A,0.50,4.3,9.5,13,12,10\n"
    "ばね,compression,SWPA,0.70,4.3,3,13,6,5\n";

TEST(CheckFigures, JsonGivesTheEnginesFiguresAndWarning8AfterTheWindowsWarnings) {
    const CliRun run =
        RunCli({"check", "--json", "--units", "si", "--ends", "fixed-free"}, kFiguresCsv);
    EXPECT_EQ(run.status, 1);
    const Json designs = ParseJson(run.out);
    ASSERT_EQ(designs.items.size(), 5u);
    const WindowRun window[] = {RunSampleInWindow(kCompression, 1),
                                RunSampleInWindow(kExtension, 2)};
    for (const auto& [index, sample] : {std::pair{0, &window[0]}, std::pair{2, &window[1]}}) {
        SCOPED_TRACE(index);
        const Json& json = designs.items[index];
        const Json& service = json["service"];
        const ServiceFigures figures =
            ComputeServiceFigures(ServiceInputOf(sample->design), EndCondition::FixedFree);
        EXPECT_EQ(JsonFloat(service["energy"]), float(figures.energy));
        EXPECT_EQ(JsonFloat(service["active_mass"]), float(figures.activeMass));
        EXPECT_NEAR(std::strtod(json["si"]["energy_N_mm"].text.c_str(), nullptr),
                    figures.energy * 9.80665, 1e-6 * figures.energy * 9.80665);
        const std::vector<std::string>& windowWarnings = sample->warnings;
        const Json& warnings = json["warnings"];
        if (index == 0) {
            const CompressionFigures& c = figures.compression.value();
            EXPECT_EQ(service["ends"].text, "fixed-free");
            EXPECT_EQ(JsonFloat(service["slenderness"]), float(c.slenderness));
            EXPECT_EQ(JsonFloat(service["buckling_deflection"]),
                      float(c.criticalDeflection.value()));
            EXPECT_TRUE(service["buckling_risk"].boolean);
            EXPECT_EQ(JsonFloat(service["surge_frequency"]), float(c.surgeFrequency));
            ASSERT_EQ(warnings.items.size(), windowWarnings.size() + 1);
            EXPECT_EQ(warnings.items.back()["number"].text, "8");
            EXPECT_EQ(warnings.items.back()["text"].text, "座屈の恐れがあります");
        } else {
            for (const char* name : {"ends", "slenderness", "buckling_deflection", "buckling_risk",
                                     "surge_frequency"}) {
                EXPECT_EQ(service[name].type, Json::Type::Null) << name;
            }
            EXPECT_EQ(warnings.items.size(), windowWarnings.size());
        }
    }
    EXPECT_EQ(designs.items[1]["service"]["buckling_deflection"].type, Json::Type::Null);
    EXPECT_FALSE(designs.items[1]["service"]["buckling_risk"].boolean);
    EXPECT_EQ(designs.items[1]["service"]["slenderness"].type, Json::Type::Number);
    EXPECT_EQ(designs.items[3]["service"]["energy"].type, Json::Type::Null) << "not run";
}

// The new columns keep the table's fixed widths: every warning, the window's and 8, starts in
// the warnings column, after numbers, "none" and "-" cells alike, and below a wide name.
TEST(CheckFigures, TableKeepsItsColumnsUnderTheNewTitles) {
    const CliRun run = RunCli({"check", "--units", "si", "--ends", "fixed-free"}, kFiguresCsv);
    EXPECT_EQ(run.status, 1);
    std::istringstream lines(run.out);
    std::string header;
    std::getline(lines, header);
    const int warningsColumn = cli::DisplayWidth(header.substr(0, header.find("warnings")));
    int designLines = 0;
    for (std::string line; std::getline(lines, line) && !line.empty();) {
        // A warning: its number, a blank, then its Japanese text.
        size_t text = std::string::npos;
        for (size_t i = 1; i + 3 < line.size() && text == std::string::npos; ++i) {
            if (line[i - 1] == ' ' && std::isdigit(static_cast<unsigned char>(line[i])) &&
                line[i + 1] == ' ' && static_cast<unsigned char>(line[i + 2]) >= 0x80) {
                text = i;
            }
        }
        if (text == std::string::npos) {
            EXPECT_EQ(cli::DisplayWidth(line) + 2, warningsColumn) << line;  // no warning
        } else {
            EXPECT_EQ(cli::DisplayWidth(line.substr(0, text)), warningsColumn) << line;
        }
        designLines += line.find("compression") != std::string::npos ||
                       line.find("extension") != std::string::npos;
    }
    EXPECT_EQ(designLines, 5);
    EXPECT_NE(run.out.find("  none  "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("8 座屈の恐れがあります"), std::string::npos) << run.out;
}

// ---- search -------------------------------------------------------------------------------

cli::SearchRequest Request(const std::vector<std::string>& args) {
    std::string problem;
    const std::optional<cli::SearchRequest> request = cli::ReadSearchRequest(args, problem);
    EXPECT_TRUE(request.has_value()) << problem;
    return request.value_or(cli::SearchRequest{});
}

cli::SearchResult Search(const cli::SearchRequest& request) {
    cli::DesignRunner runner(FixedClock);
    return cli::SearchDesigns(request, runner);
}

TEST(Search, FindsCompressionSample2FromItsLoadsAndLimits) {
    // Compression sample 2 carries 1.304 kg at 20 mm and 2.173 kg at 18 mm: a rate of
    // (2.173 - 1.304) / 2 = 0.4345 kg/mm. Outer diameter at most 10 and inner at least 7.6
    // leave 1.20 mm wire exactly one mean diameter, 8.8 mm. There the turns come to
    // 8000 x 1.2^4 / (8 x 0.4345 x 8.8^3) = 7.00, and the free length that balances the two
    // loads is 20 + 1.304 / 0.4347 = 23.0 mm: the sample itself. Thinner wires fit the
    // diameters too but carry the loads at higher stress, so they come after it.
    const cli::SearchRequest request =
        Request({"--kind", "compression", "--load", "2.173@18", "--load", "1.304@20", "--materials",
                 "SWPA", "--max-od", "10", "--min-id", "7.6", "--tolerance", "1"});
    EXPECT_EQ(request.installed.length, 20.0) << "the lighter load is the installed length";
    EXPECT_NEAR(request.rate, 0.4345, 1e-12);

    const cli::SearchResult result = Search(request);
    ASSERT_FALSE(result.best.empty());
    EXPECT_EQ(result.metCount, result.best.size());
    const TSpringDesign& top = result.best[0].outcome.record;
    const TSpringDesign& sample = RunSampleInWindow(kCompression, 2).design;
    EXPECT_EQ(top.MaterialNo, 2);
    EXPECT_EQ(top.WireNo, sample.WireNo);
    EXPECT_EQ(top.MeanDia, sample.MeanDia);
    EXPECT_EQ(top.Turns, sample.Turns);
    EXPECT_EQ(top.FreeLen, sample.FreeLen);
    EXPECT_EQ(top.Pset, sample.Pset);
    EXPECT_EQ(top.Pact, sample.Pact);

    for (size_t i = 0; i < result.best.size(); ++i) {
        const cli::Candidate& c = result.best[i];
        const TSpringDesign& v = c.outcome.record;
        EXPECT_TRUE(c.shortfalls.empty());
        EXPECT_LE(v.OuterDia, 10.0f + 1e-4f);
        EXPECT_GE(v.InnerDia, 7.6f - 1e-4f);
        EXPECT_LE(std::fabs(v.Pset - 1.304) / 1.304, 0.01);
        EXPECT_LE(std::fabs(v.Pact - 2.173) / 2.173, 0.01);
        EXPECT_EQ(c.stressRatio, double(std::max(v.Tset, v.Tact)) / double(v.AllowStatic));
        if (i > 0) {
            EXPECT_GE(c.stressRatio, result.best[i - 1].stressRatio) << "least stress first";
        }
    }

    const CliRun run =
        RunCli({"search", "--kind", "compression", "--load", "1.304@20", "--load", "2.173@18",
                "--materials", "SWPA", "--max-od", "10", "--min-id", "7.6", "--tolerance", "1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("1  SWPA      1.20  8.8  7.0  23.0  20.0  18.0  10.00  7.60  0.435  "
                           "1.30  2.17   28.19         82.00    34"),
              std::string::npos)
        << run.out;
}

TEST(Search, SaysWhyNothingFitsWithinOneMillimetre) {
    // An outer diameter of 1 mm with D/d of 4 or more leaves wire of 0.2 mm at most. There
    // 10 kg gives at least 8 x 10 x 0.8 / (pi x 0.2^3) = 2546 kg/mm², far past any
    // allowable stress (0.8 x 0.55 x 200 = 88 at most among the sizes that thin).
    const cli::SearchRequest request =
        Request({"--kind", "compression", "--load", "5@40", "--load", "10@30", "--max-od", "1"});
    const cli::SearchResult result = Search(request);
    EXPECT_EQ(result.metCount, 0u);
    EXPECT_TRUE(result.best.empty());
    ASSERT_EQ(result.closest.size(), cli::kClosestShown);
    for (const cli::Candidate& c : result.closest) {
        bool tooWide = false;
        bool overstressed = false;
        for (const cli::Shortfall& s : c.shortfalls) {
            tooWide = tooWide || s.what == cli::Shortfall::What::OuterDia;
            overstressed =
                overstressed || (s.what == cli::Shortfall::What::Warning && s.warning == 2);
        }
        EXPECT_TRUE(tooWide || overstressed);
        EXPECT_TRUE(!tooWide || c.outcome.record.OuterDia > 1.0f);
    }

    const CliRun run = RunCli(
        {"search", "--kind", "compression", "--load", "5@40", "--load", "10@30", "--max-od", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("No design meets the requirements."), std::string::npos);
    EXPECT_NE(run.out.find("is above --max-od 1 mm"), std::string::npos) << run.out;
}

TEST(Search, OneLoadAndARateExtensionAndOrderByMass) {
    // The same sample 2 by its installed load and its rate: free length 20 + 1.304 / k.
    const cli::SearchResult rated = Search(
        Request({"--kind", "compression", "--load", "1.304@20", "--rate", "0.4347", "--materials",
                 "SWPA", "--max-od", "10", "--min-id", "7.6", "--tolerance", "1"}));
    ASSERT_FALSE(rated.best.empty());
    for (const cli::Candidate& c : rated.best) {
        EXPECT_EQ(c.outcome.record.SetLen, 20.0f);
        EXPECT_EQ(c.outcome.record.WorkLen, 20.0f);
        EXPECT_LE(std::fabs(c.outcome.record.SpringRate - 0.4347) / 0.4347, 0.01);
    }
    EXPECT_EQ(rated.best[0].outcome.record.FreeLen, 23.0f);

    // Extension springs: the heavier load at the longer length; free length and initial
    // tension come from the engine, so the loads include the initial tension.
    const cli::SearchResult extension =
        Search(Request({"--kind", "extension", "--load", "2@50", "--load", "4@60", "--max-od", "15",
                        "--by", "mass", "--top", "5"}));
    ASSERT_EQ(extension.best.size(), 5u);
    for (size_t i = 0; i < extension.best.size(); ++i) {
        const TSpringDesign& v = extension.best[i].outcome.record;
        EXPECT_GT(v.InitTension, 0.0f);
        EXPECT_LE(v.FreeLen, 50.0f);
        EXPECT_LE(std::fabs(v.Pset - 2.0) / 2.0, 0.05);
        EXPECT_LE(std::fabs(v.Pact - 4.0) / 4.0, 0.05);
        EXPECT_NEAR(
            extension.best[i].massGrams,
            cli::WireMassGrams(kExtension, v.MaterialNo, v.WireDia[v.WireNo], v.MeanDia, v.Turns),
            1e-12);
        if (i > 0) {
            EXPECT_GE(extension.best[i].massGrams, extension.best[i - 1].massGrams);
        }
    }
}

TEST(Search, MassOfWireByHand) {
    // 1.2 mm SWPA wound at D 8.8 with 7 active turns and a closed turn at each end:
    // pi x 1.2^2 / 4 x pi x 8.8 x 9 = 281.402 mm³ of steel at 7.85 g/cm³.
    EXPECT_NEAR(cli::WireMassGrams(kCompression, 2, 1.2, 8.8, 7.0), 2.20901, 1e-5);
    // The same as an extension spring: one body turn and two hooks more, 10 turns in all.
    EXPECT_NEAR(cli::WireMassGrams(kExtension, 2, 1.2, 8.8, 7.0), 2.45445, 1e-5);
    // Stainless (SUS304-WPB) at 7.93 g/cm³.
    EXPECT_NEAR(cli::WireMassGrams(kCompression, 8, 1.2, 8.8, 7.0), 2.23152, 1e-5);
}

TEST(Search, BadRequestsAreToldPrecisely) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--load", "5@40", "--load", "10@30"},
         "--kind takes \"compression\" or \"extension\" and is required"},
        {{"--kind", "coil", "--load", "5@40", "--rate", "1"},
         "--kind takes \"compression\" or \"extension\", not \"coil\""},
        {{"--kind", "compression", "--load", "5at40", "--rate", "1"}, "--load takes LOAD@LENGTH"},
        {{"--kind", "compression", "--load", "-5@40", "--rate", "1"}, "not \"-5@40\""},
        {{"--kind", "compression", "--load", "5@40"},
         "with a single --load, give the spring rate with --rate"},
        {{"--kind", "compression", "--load", "5@40", "--load", "10@30", "--rate", "1"},
         "two --load points fix the rate already"},
        {{"--kind", "compression", "--load", "5@30", "--load", "10@40"},
         "a compression spring carries the heavier load at the shorter length"},
        {{"--kind", "extension", "--load", "5@40", "--load", "10@30"},
         "an extension spring carries the heavier load at the longer length"},
        {{"--kind", "compression", "--load", "5@40", "--load", "5@30"},
         "different loads at different lengths"},
        {{"--kind", "compression", "--load", "5@40", "--rate", "1", "--materials", "SWPA,steel"},
         "--materials: \"steel\" is not a material"},
        {{"--kind", "compression", "--load", "5@40", "--rate", "1", "--tolerance", "0"},
         "--tolerance takes a percentage of the target load from 0.01 to 99"},
        {{"--kind", "compression", "--load", "5@40", "--rate", "1", "--top", "0"},
         "--top takes a whole number"},
        {{"--kind", "compression", "--load", "5@40", "--rate", "1", "--by", "price"},
         "--by takes \"stress\" or \"mass\""},
        {{"--kind", "compression", "--load", "5@40", "--rate", "1", "--max-od", "-3"},
         "--max-od takes a length in mm from 0.1 to 10000"},
        {{"--kind", "compression", "--load", "5@40", "--rate", "1", "--max-index", "3"},
         "--max-index takes a spring index"},
        {{"--kind", "compression", "--load", "5@40", "--rate", "1", "extra"},
         "search takes options only"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> command = {"search"};
        command.insert(command.end(), args.begin(), args.end());
        const CliRun run = RunCli(command);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

// The limits on the figures in service keep exactly the designs whose figures meet them, out
// of those found without them: none kept that fails, none lost that meets them.
TEST(Search, ServiceLimitsKeepExactlyTheDesignsWhoseFiguresMeetThem) {
    const std::vector<std::string> base = {"--kind",   "compression", "--load",      "1@60",
                                           "--load",   "3@40",        "--materials", "SWPA",
                                           "--max-od", "20",          "--top",       "1000"};
    const cli::SearchResult all = Search(Request(base));
    ASSERT_LT(all.metCount, 1000u);
    using Place = std::tuple<int, int, float>;
    const auto places = [](const cli::SearchResult& result) {
        std::set<Place> set;
        for (const cli::Candidate& c : result.best) {
            set.insert({c.input.materialNo, c.input.wireNo, c.input.meanDia});
        }
        return set;
    };
    struct Case {
        std::vector<std::string> limit;
        bool (*keeps)(const CompressionFigures&);
    };
    const Case cases[] = {
        {{"--max-slenderness", "6"},
         [](const CompressionFigures& c) { return c.slenderness <= 6; }},
        {{"--min-frequency", "125"},
         [](const CompressionFigures& c) { return c.surgeFrequency >= 125; }},
        {{"--no-buckling"}, [](const CompressionFigures& c) { return !c.bucklingRisk; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit[0]);
        std::set<Place> expected;
        for (const cli::Candidate& candidate : all.best) {
            const ServiceFigures figures =
                ComputeServiceFigures(ServiceInputOf(candidate.outcome.record));
            if (c.keeps(*figures.compression)) {
                expected.insert(
                    {candidate.input.materialNo, candidate.input.wireNo, candidate.input.meanDia});
            }
        }
        ASSERT_GT(expected.size(), 0u);
        ASSERT_LT(expected.size(), all.metCount) << "the limit must rule some out";
        std::vector<std::string> args = base;
        args.insert(args.end(), c.limit.begin(), c.limit.end());
        EXPECT_EQ(places(Search(Request(args))), expected);
    }
}

TEST(Help, EachCommandExplainsItselfAndExitsZero) {
    const CliRun search = RunCli({"search", "--help"});
    EXPECT_EQ(search.status, 0);
    EXPECT_NE(search.out.find("--tolerance PCT"), std::string::npos);
    EXPECT_NE(search.out.find("Order."), std::string::npos);
    const CliRun check = RunCli({"check", "-h"});
    EXPECT_EQ(check.status, 0);
    EXPECT_NE(check.out.find("Exit status: 0 when no design has a warning"), std::string::npos);
    EXPECT_EQ(RunCli({"--help"}).status, 0);
}

}  // namespace
}  // namespace springcalc
