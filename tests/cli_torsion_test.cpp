// SPDX-License-Identifier: GPL-3.0-or-later
// `check` with torsion rows: their figures in the table and JSON, their faults, and the rows of
// the other kinds unchanged beside them.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "diagram/load_diagram.h"
#include "report/report_writer.h"
#include "test_support.h"

namespace springcalc {
namespace {

struct CheckRun {
    int status = -1;
    std::string out, err;
};

CheckRun Check(std::vector<std::string> args, const std::string& input) {
    size_t offset = 0;
    const cli::ReadInput in = [&](char* buffer, size_t size) -> ssize_t {
        return ssize_t(
            input.copy(buffer, size, std::exchange(offset, std::min(input.size(), offset + size))));
    };
    std::ostringstream out, err;
    cli::CliIo io{in, out, err, test_support::FixedClock};
    io.seconds = [] { return 0.0; };
    args.insert(args.begin(), "check");
    return {cli::RunCli(args, io), out.str(), err.str()};
}

const std::string kOldHeader = "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n";
const std::string kRows =
    "c,compression,SWPB,1.0,8,6,30,25,20\n"
    "e,extension,SWC,0.8,6,10,,8,12\n";
// The spring worked by hand in torsion_test.cpp.
const std::string kTorsionHeader =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len,leg1,leg2,free_angle,"
    "angle1,angle2,moment1,moment2,mandrel\n";
const std::string kHandRow = "hand,torsion,SWPB,1.0,10,5,,,,20,20,120,30,90,,,8\n";

// The torsion columns, empty, change nothing for compression and extension rows, in either
// format; a torsion row between them leaves their lines as they were.
TEST(CheckTorsion, OtherKindsUnchanged) {
    std::string padded;
    for (std::string_view row :
         {"c,compression,SWPB,1.0,8,6,30,25,20", "e,extension,SWC,0.8,6,10,,8,12"}) {
        padded += std::string(row) + ",,,,,,,,\n";
    }
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, {"--json"}, {"--json", "--units", "si"}}) {
        const CheckRun before = Check(options, kOldHeader + kRows);
        const CheckRun after = Check(options, kTorsionHeader + padded);
        EXPECT_EQ(after.out, before.out);
        EXPECT_EQ(after.status, before.status);
        const CheckRun mixed = Check(options, kTorsionHeader + kHandRow + padded);
        for (size_t line = 0, at = 0; at < before.out.size(); ++line) {
            const size_t end = before.out.find('\n', at);
            const std::string text = before.out.substr(at, end - at);
            // The JSON's lines of the two rows follow the torsion row's, with their commas.
            if (text.starts_with("{\"row\":1") || text.starts_with("{\"row\":2")) {
                std::string moved = text;
                moved.replace(7, 1, text[7] == '1' ? "2" : "3");
                EXPECT_NE(mixed.out.find(moved), std::string::npos) << moved;
            }
            at = end + 1;
        }
    }
}

TEST(CheckTorsion, FiguresOfTheHandCalculation) {
    const CheckRun table = Check({}, kTorsionHeader + kHandRow);
    EXPECT_EQ(table.status, 1);  // warning 22
    for (const char* figure :
         {"1  hand  torsion  SWPB  1.00  D=10  nb=5  mandrel=8  D/d=10.00  n=5.424  ",
          "k/rad=6.0508  k/deg=0.10561  ", "  M1=3.168  a2=90.00  M2=9.505  q=1.0886  Ki=1.0806",
          "  s2=105.40  s2(Ki)=104.61  sa=179.40  ", "  Di2=8.524  Lk1=6.083  Lk2=6.250  ",
          "  legs2=30.0  energy=6.635  ",
          "clearance=6.5%  22 マンドレルとのすき間が不足しています\n"}) {
        EXPECT_NE(table.out.find(figure), std::string::npos) << figure << "\n" << table.out;
    }
    // D = d leaves Ki with no value: the JSON says null, not inf, and stays JSON.
    const CheckRun tight =
        Check({"--json"}, kTorsionHeader + "tight,torsion,SWPB,1.0,1.0,5,,,,20,20,90,30,60,,,\n");
    EXPECT_NE(tight.out.find("\"ki\":null"), std::string::npos) << tight.out;
    EXPECT_EQ(tight.out.find("inf"), std::string::npos) << tight.out;
    // A file of torsion springs alone has none of the coil springs' column titles or notes.
    EXPECT_TRUE(table.out.starts_with("1  hand  torsion")) << table.out;
    EXPECT_EQ(table.out.find("λ: free/D"), std::string::npos) << table.out;
    // Coil springs after it get their titles above the first of them, and their notes.
    const CheckRun mixed = Check({}, kTorsionHeader + kHandRow +
                                         "c,compression,SWPB,1.0,8,6,30,25,"
                                         "20,,,,,,,,\n");
    const size_t titles = mixed.out.find("      row");
    EXPECT_GT(titles, mixed.out.find("1  hand  torsion"));
    EXPECT_LT(titles, mixed.out.find("        2  c"));
    EXPECT_NE(mixed.out.find("λ: free/D"), std::string::npos);
    const CheckRun json = Check({"--json", "--units", "si"}, kTorsionHeader + kHandRow);
    for (const char* member :
         {"\"kind\":\"torsion\"", "\"wire\":1,", "\"mandrel\":8,", "\"moment2\":9.5045966",
          "\"moment2_N\":93.20825", "\"allowable_stress\":179.4", "\"allowable_share\":0.78",
          "\"warnings\":[{\"number\":22,\"text\":\"マンドレルとのすき間が不足しています\"}]}"}) {
        EXPECT_NE(json.out.find(member), std::string::npos) << member << "\n" << json.out;
    }
}

// A position by its moment is the same spring as by the angle that moment gives.
TEST(CheckTorsion, MomentsGiveTheirAngles) {
    const CheckRun run = Check({}, kTorsionHeader +
                                       "m,torsion,SWPB,1.0,10,5,,,,20,20,120,,,0,9.504597,8\n"
                                       "a,torsion,SWPB,1.0,10,5,,,,20,20,120,0,90,,,8\n");
    EXPECT_NE(run.out.find("m  torsion"), std::string::npos) << run.err;
    // Both rows: the angle worked out from the moment, and the angle given.
    const size_t first = run.out.find("a2=90.00  M2=9.505");
    ASSERT_NE(first, std::string::npos) << run.out;
    EXPECT_NE(run.out.find("a2=90.00  M2=9.505", first + 1), std::string::npos) << run.out;
}

// Under --repeated the bending fatigue safety factor below 1 is warning 24: the hand spring's
// 0° → 140° cycle (nf 0.58, within the static allowable) draws it, its 30° → 90° one (nf 1.12)
// does not, and shot-peened data (nf 0.96) do not save the heavy one. Without --repeated the
// factor is shown and not judged; 10 mm wire has none.
TEST(CheckTorsion, RepeatedJudgesTheBendingFatigue) {
    const std::string rows = kTorsionHeader +
                             "heavy,torsion,SWPB,1.0,10,5,,,,20,20,150,0,140,,,\n"
                             "light,torsion,SWPB,1.0,10,5,,,,20,20,120,30,90,,,\n"
                             "thick,torsion,SWB,10,80,5,,,,20,20,90,10,40,,,\n";
    const std::string warned = "  fatigue=0.58  24 曲げの疲労安全率が１未満です\n";
    const struct {
        std::vector<std::string> options;
        int status;
        std::vector<const char*> present, absent;
    } cases[] = {
        {{"--repeated"}, 1, {warned.c_str(), "  fatigue=1.12\n", "  fatigue=-\n"}, {}},
        {{"--repeated", "--peened"}, 1, {"  fatigue=0.96  24 ", "  fatigue=1.67\n"}, {}},
        {{}, 0, {"  fatigue=0.58\n", "  fatigue=1.12\n"}, {" 24 "}},
    };
    for (const auto& c : cases) {
        const CheckRun run = Check(c.options, rows);
        EXPECT_EQ(run.status, c.status) << run.err;
        for (const char* text : c.present) {
            EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
        }
        for (const char* text : c.absent) {
            EXPECT_EQ(run.out.find(text), std::string::npos) << text << "\n" << run.out;
        }
        // One warning in all, on the heavy row.
        EXPECT_EQ(run.out.find(" 24 ") == std::string::npos, c.status == 0) << run.out;
    }
    const CheckRun json = Check({"--json", "--repeated"}, rows);
    for (const char* member :
         {"\"fatigue_data\":\"unpeened\",\"fatigue_stress_amplitude\":81.974177",
          "\"fatigue_safety\":0.58119735",
          "\"warnings\":[{\"number\":24,\"text\":\"曲げの疲労安全率が１未満です\"}]}",
          "\"fatigue_safety\":1.12341766", "\"fatigue_safety\":null},\"warnings\":[]}"}) {
        EXPECT_NE(json.out.find(member), std::string::npos) << member << "\n" << json.out;
    }
}

TEST(CheckTorsion, FaultsOfTorsionRows) {
    const struct {
        const char* row;
        const char* message;
    } cases[] = {
        {"t,torsion,SWPB,1.0,10,5,,,,20,20,0,30,90,,5,",
         "column \"angle2\": found \"90\", "
         "expected this angle or a moment in "
         "\"moment2\", not both"},
        {"t,torsion,SWPB,1.0,10,5,,,,20,20,0,30,,,,",
         "column \"angle2\": nothing found, expected "
         "an angle in degrees here or a moment in "
         "\"moment2\""},
        {"t,torsion,SWPB,1.0,10,5,30,,,20,20,0,30,60,,,",
         "column \"free_len\": found \"30\", expected an empty field: a torsion spring is set by "
         "its angles or moments"},
        {"t,torsion,SWPB,1.0,10,5,,,,20,20,400,30,60,,,", "column \"free_angle\": found \"400\""},
        {"t,torsion,SWPB,1.0,10,5,,,,20,20,0,30,4000,,,", "column \"angle2\": found \"4000\""},
        {"c,compression,SWPB,1.0,8,6,30,25,20,20,,,,,,,",
         "column \"leg1\": found \"20\", expected an empty field: only a torsion spring's row "
         "fills it in"},
    };
    for (const auto& c : cases) {
        const CheckRun run = Check({}, kTorsionHeader + c.row + "\n");
        EXPECT_EQ(run.status, 2) << c.row;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.row << "\n" << run.err;
    }
}

// An unknown column is told with every column the reader takes, the torsion spring's too.
TEST(CheckTorsion, UnknownColumnListsEveryColumn) {
    const CheckRun run = Check({}, "kind,colour\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("unknown column \"colour\"; the columns are name,kind,material,wire,"
                           "mean_dia,turns,free_len,set_len,work_len,initial_tension,leg1,leg2,"
                           "free_angle,angle1,angle2,moment1,moment2,mandrel (name and "
                           "initial_tension are optional; "),
              std::string::npos)
        << run.err;
}

// A file of torsion springs needs no columns for lengths; one of compression springs does.
TEST(CheckTorsion, LengthColumnsOnlyWhereThereAreNoLegs) {
    const CheckRun torsion = Check({},
                                   "kind,material,wire,mean_dia,turns,leg1,angle1,angle2\n"
                                   "torsion,SWPB,1.0,10,5,20,30,90\n");
    EXPECT_EQ(torsion.status, 0) << torsion.err;
    const CheckRun compression = Check({},
                                       "kind,material,wire,mean_dia,turns,set_len,work_len\n"
                                       "compression,SWPB,1.0,8,6,25,20\n");
    EXPECT_EQ(compression.status, 2);
    EXPECT_NE(compression.err.find("column \"free_len\" is missing"), std::string::npos);
}

// The hand spring's block in code page 932 with CR LF, between the blocks of the other kinds as
// the rows come; a run that fails later takes the torsion block back with the rest.
TEST(CheckTorsion, ReportBlock) {
    test_support::ScratchDir dir;
    const std::string report = (dir / "r.txt").string();
    const std::string compression = "c,compression,SWPB,1.0,8,6,30,25,20,,,,,,,,\n";
    ASSERT_EQ(Check({"--report", report}, kTorsionHeader + kHandRow + compression).status, 1);
    const std::string bytes = test_support::ReadFile(report);
    // "   ねじり" in code page 932, and the heading's line end.
    EXPECT_TRUE(bytes.starts_with("   \x82\xcb\x82\xb6\x82\xe8")) << bytes;
    EXPECT_NE(bytes.find("9: 5\r\n   \r\n"), std::string::npos);
    const std::string torsionBlock =
        "   ねじりコイルばねの設計   2026年12月5日  9: 5\n"
        "   \n"
        "材     質       SWPB         許容曲げ応力    179.40 Kg/mm^2\n"
        "線     径       1.00         引張強さ        230.00\n"
        "ｺｲﾙ平均径      10.0          縦弾性係数    21006.2\n"
        "(内径 9.00  外径 11.00)       ばね定数       0.1056 kg・mm/度\n"
        "巻     数       5.00   有効 5.42   応力修正係数  1.0886\n"
        "腕 の 長 さ     20.0  20.0   自由角度  120.0\n"
        "取 付 角 度     30.0        σ1  35.13    M1  3.17\n"
        "作 動 角 度     90.0        σ2  105.40    M2  9.50\n"
        "許 容 角 度     153.2                   Ma  16.18\n"
        "マンドレル径    8.00        作動時内径  8.52\n"
        "   \n   \n";
    test_support::ScratchDir alone;
    const std::string compressionOnly = (alone / "c.txt").string();
    ASSERT_EQ(Check({"--report", compressionOnly}, kTorsionHeader + compression).status, 1);
    EXPECT_EQ(bytes, EncodeReport(torsionBlock).value() + test_support::ReadFile(compressionOnly));

    // Under repeated load the block ends with the bending fatigue safety factor (1.123418 by
    // hand in torsion_test.cpp), or a dash where the endurance data do not reach.
    const std::string repeated = (dir / "repeated.txt").string();
    Check({"--report", repeated, "--repeated", "--peened"},
          kTorsionHeader + kHandRow + "thick,torsion,SWB,10,80,5,,,,,,120,30,90,,,\n");
    std::string blocks = torsionBlock;
    blocks.insert(blocks.rfind("   \n   \n"),
                  "疲労安全率      1.67        曲げ、Goodman、ショットピーニング材\n");
    EXPECT_NE(test_support::ReadFile(repeated).find(EncodeReport(blocks).value()),
              std::string::npos);
    EXPECT_NE(test_support::ReadFile(repeated).find(
                  EncodeReport("疲労安全率      -           線径 10 mm 以上または荷重なし\n   \n")
                      .value()),
              std::string::npos);

    // A bad row after the torsion row: nothing stays, and the file the run made is gone.
    const std::string failed = (dir / "failed.txt").string();
    EXPECT_EQ(Check({"--report", failed}, kTorsionHeader + kHandRow + "x,spiral\n").status, 2);
    EXPECT_FALSE(std::filesystem::exists(failed));
}

// The elements of a diagram by id, and the value each axis's ticks give a pixel.
struct TorsionSvg {
    tinyxml2::XMLDocument doc;
    std::map<std::string, const tinyxml2::XMLElement*> byId;
    std::vector<std::pair<double, double>> xTicks, yTicks;  // value, pixel

    explicit TorsionSvg(const std::string& text) {
        doc.Parse(text.data(), text.size());
        for (const tinyxml2::XMLElement* e = doc.RootElement()->FirstChildElement(); e;
             e = e->NextSiblingElement()) {
            if (e->Attribute("id")) {
                byId[e->Attribute("id")] = e;
            }
            const char* tickClass = e->Attribute("class");
            if (tickClass &&
                (std::string(tickClass) == "x-tick" || std::string(tickClass) == "y-tick")) {
                // The value as printed, where its grid line stands.
                const bool x = tickClass[0] == 'x';
                (x ? xTicks : yTicks)
                    .push_back({std::stod(e->FirstChildElement("text")->GetText()),
                                e->FirstChildElement("line")->DoubleAttribute(x ? "x1" : "y1")});
            }
        }
    }
    std::string Text(const std::string& id) const {
        const auto found = byId.find(id);
        return found == byId.end() || !found->second->GetText() ? "" : found->second->GetText();
    }
    // A pixel back to its value, along the outermost ticks.
    static double Value(const std::vector<std::pair<double, double>>& ticks, double pixel) {
        const auto& [v0, p0] = ticks.front();
        const auto& [v1, p1] = ticks.back();
        return v0 + (pixel - p0) * (v1 - v0) / (p1 - p0);
    }
};

// The hand spring's moment–angle diagram: each point where its angle and moment put it on the
// axes as printed, the allowable moment's line, and the mandrel's line where the wound-up body
// comes within 10 % of it: nb·D/(nb + α/360) − d = 1.1·8, α = 360·(50/9.8 − 5) = 36.73°.
TEST(CheckTorsion, MomentAngleDiagram) {
    test_support::ScratchDir dir;
    const CheckRun run =
        Check({"--plot", dir.path().string()},
              kTorsionHeader + kHandRow + "free,torsion,SWPB,1.0,10,5,,,,,,,30,90,,,\n");
    ASSERT_EQ(run.status, 1) << run.err;
    const TorsionSvg hand(test_support::ReadFile(dir / "001-hand.svg"));
    EXPECT_EQ(hand.Text("title"), "hand — SWPB, torsion spring");
    EXPECT_EQ(hand.Text("installed-label"), "installed 30.0°, 3.17 kg·mm");
    EXPECT_EQ(hand.Text("operating-label"), "operating 90.0°, 9.50 kg·mm");
    EXPECT_EQ(hand.Text("limit-label"), "limit 153.2°, 16.18 kg·mm");
    EXPECT_EQ(hand.Text("allowable-label"), "moment at the allowable bending stress 16.18 kg·mm");
    EXPECT_EQ(hand.Text("mandrel-label"), "least clearance on the mandrel 36.7°");
    const struct {
        const char* point;
        double angle, moment;
    } points[] = {{"free", 0, 0},
                  {"installed", 30, 3.168},
                  {"operating", 90, 9.505},
                  {"limit", 153.19, 16.178}};
    for (const auto& p : points) {
        ASSERT_TRUE(hand.byId.count(std::string(p.point) + "-point")) << p.point;
        const tinyxml2::XMLElement* circle = hand.byId.at(std::string(p.point) + "-point");
        EXPECT_NEAR(TorsionSvg::Value(hand.xTicks, circle->DoubleAttribute("cx")), p.angle, 0.05)
            << p.point;
        EXPECT_NEAR(TorsionSvg::Value(hand.yTicks, circle->DoubleAttribute("cy")), p.moment, 0.01)
            << p.point;
    }
    EXPECT_NEAR(
        TorsionSvg::Value(hand.yTicks, hand.byId.at("allowable-line")->DoubleAttribute("y1")),
        16.178, 0.01);
    EXPECT_NEAR(TorsionSvg::Value(hand.xTicks, hand.byId.at("mandrel-line")->DoubleAttribute("x1")),
                36.73, 0.05);
    // The line ends at the allowable moment, past the working point.
    EXPECT_NEAR(TorsionSvg::Value(hand.xTicks, hand.byId.at("spring-line")->DoubleAttribute("x2")),
                153.19, 0.05);

    const TorsionSvg free(test_support::ReadFile(dir / "002-free.svg"));
    EXPECT_EQ(free.byId.count("mandrel-line") + free.byId.count("mandrel-label"), 0u);
}

// The diagram's words are the caller's: every one it shows comes from the texts given.
TEST(CheckTorsion, DiagramWordsAreAParameter) {
    TorsionInput input;
    input.materialNo = 3;
    input.wireNo = 22;
    input.leg1 = input.leg2 = 20.0;
    input.first = {TorsionPosition::By::Angle, 30.0};
    input.second = {TorsionPosition::By::Angle, 90.0};
    input.mandrel = 8.0;
    DiagramTexts texts;
    texts.installed = "取付";
    texts.angleAxis = "角度 (°)";
    texts.momentAxis = "モーメント (kgf·mm)";
    texts.torsionSpring = "・ねじりばね";
    texts.mandrelClearance = "マンドレル";
    texts.kgMm = "kgf·mm";
    texts.degree = "度";
    const std::string svg = TorsionDiagramSvg(input, ComputeTorsion(input), "", texts);
    for (const char* shown : {">SWPB・ねじりばね<", ">角度 (°)<", ">モーメント (kgf·mm)<",
                              ">取付 30.0度, 3.17 kgf·mm<", ">マンドレル 36.7度<"}) {
        EXPECT_NE(svg.find(shown), std::string::npos) << shown;
    }
    EXPECT_EQ(svg.find(">installed"), std::string::npos);
}

}  // namespace
}  // namespace springcalc
