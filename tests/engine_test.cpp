// Engine tests: tables, checks, analysis, warnings, samples and the date stamp, through a
// recording view and a fixed clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "recording_view.h"
#include "samples.h"
#include "spring_design.h"
#include "text_format.h"

namespace springcalc {
namespace {

using fakes::RecordingView;

const std::string W1 = "D/dを４以上にして下さい";
const std::string W2 = "許容応力を越えています";
const std::string W3 = "圧縮端まで使えません";
const std::string W4 = "繰返荷重での使用に注意";
const std::string W5 = "線径が規格外です";
const std::string W6 = "圧縮端より短い設定があります";
const std::string W7 = "自由長より短い設定があります";

LocalDateTime FixedClock() {
    return {2026, 12, 5, 9, 5};
}

// A record after start-up, with its view.
struct Calculator {
    TSpringDesign design;
    RecordingView view;
    SpringEngine engine{design, view, FixedClock};
    Calculator() { engine.StartUp(); }

    // What a spinner does after it changed a length, turns or the mean diameter.
    void Recheck() {
        engine.UpdateDiameters();
        engine.CheckGeometry();
        engine.MarkResultsStale();
    }
    void Select(int materialNo, int wireNo) {
        design.MaterialNo = materialNo;
        design.WireNo = wireNo;
        engine.UpdateDiameters();
        engine.LookupStrength(materialNo);
    }
    void SwitchKind(int kind, int sample = 1) {
        design.SpringKind = kind;
        engine.LoadSampleAndRefresh(sample);
    }
};

// ---------------------------------------------------------------------------------------------
// Tables and strength lookup

TEST(StrengthLookup, GivesStrengthModulusAndBothAllowables) {
    struct Case {
        int material, wire;
        float strength, modulus, allowStatic, allowStaticExt;
    };
    const Case cases[] = {
        {2, 19, 220.0f, 8000.0f, 88.0f, 70.4f},  // SWPA 0.70
        {6, 22, 150.0f, 7000.0f, 54.0f, 43.2f},  // SUS304-WPA 1.00
        {0, 0, 250.0f, 8000.0f, 100.0f, 80.0f},  // SWB 0.08
        {4, 26, 1.0f, 8000.0f, 0.44f, 0.352f},   // SWO-A 1.80, not offered
    };
    for (const Case& c : cases) {
        Calculator calc;
        calc.Select(c.material, c.wire);
        SCOPED_TRACE(std::to_string(c.material) + "/" + std::to_string(c.wire));
        EXPECT_EQ(calc.design.TensileStrength, c.strength);
        EXPECT_EQ(calc.design.ShearModulus, c.modulus);
        EXPECT_EQ(calc.design.AllowStatic, c.allowStatic);
        EXPECT_EQ(calc.design.AllowStaticExt, c.allowStaticExt);
    }
    // The exact single-precision values named for the odd ones.
    Calculator calc;
    calc.Select(2, 19);
    EXPECT_EQ(double(calc.design.AllowStaticExt), 70.40000152587890625);
    calc.Select(4, 26);
    EXPECT_NEAR(double(calc.design.AllowStatic), 0.4399999976, 1e-10);
    EXPECT_NEAR(double(calc.design.AllowStaticExt), 0.3519999981, 1e-10);
    ASSERT_FALSE(calc.view.warnings.empty());
    EXPECT_EQ(calc.view.warnings.front(), W5);
}

TEST(StrengthLookup, EachMaterialOffersOneUnbrokenRunOfSizes) {
    struct Run {
        int first, last;
    };
    // By material number; 6 and 7 share one table.
    const Run runs[kMaterialCount] = {{0, 42},  {0, 42}, {0, 37}, {0, 37}, {27, 44},
                                      {25, 40}, {0, 40}, {0, 40}, {0, 42}};
    Calculator calc;
    for (int m = 0; m < kMaterialCount; ++m) {
        for (int w = 0; w < kWireCount; ++w) {
            calc.Select(m, w);
            const bool offered = w >= runs[m].first && w <= runs[m].last;
            SCOPED_TRACE("material " + std::to_string(m) + " wire " + std::to_string(w));
            if (offered) {
                EXPECT_GE(calc.design.TensileStrength, 100.0f);
                EXPECT_LE(calc.design.TensileStrength, 325.0f);
                EXPECT_EQ(calc.view.background(Field::Label3), clAqua);
            } else {
                EXPECT_EQ(calc.design.TensileStrength, 1.0f);
                EXPECT_EQ(calc.view.background(Field::Label3), kWarnColor);
                EXPECT_FALSE(calc.view.enabled(Command::N1));
                ASSERT_FALSE(calc.view.warnings.empty());
                EXPECT_EQ(calc.view.warnings.front(), W5);
            }
        }
        // Materials 6 and 7 differ only in their name.
        if (m == 7) {
            for (int w = 0; w < kWireCount; ++w) {
                EXPECT_EQ(TableStrength(6, w), TableStrength(7, w));
            }
        }
    }
}

TEST(StrengthLookup, SwitchingFromMaterial5To6ChangesModulusAndFactor) {
    Calculator calc;
    calc.Select(5, 30);  // SWOSC-V 2.90: 195, factor 0.55
    EXPECT_EQ(calc.design.ShearModulus, 8000.0f);
    EXPECT_EQ(calc.design.AllowStatic, float(0.8 * double(float(0.55f * 195.0))));
    calc.Select(6, 30);  // SUS304-WPA 2.90: 120, factor 0.45
    EXPECT_EQ(calc.design.ShearModulus, 7000.0f);
    EXPECT_EQ(calc.design.TensileStrength, 120.0f);
    EXPECT_EQ(calc.design.AllowStatic, float(0.8 * double(float(double(0.45f) * 120.0))));
}

TEST(Tables, TextsKeepTheirBlanksAndSlot46StaysEmpty) {
    TSpringDesign design;
    FillTables(design);
    EXPECT_EQ(design.MaterialName[2], "      SWPA");
    EXPECT_EQ(design.MaterialName[0], "       SWB");
    for (const std::string& name : design.MaterialName) {
        EXPECT_EQ(name.size(), 10u) << name;
    }
    for (int w = 0; w < kWireCount; ++w) {
        EXPECT_EQ(design.WireDiaText[w].size(), w < 42 ? 11u : 10u) << w;
        EXPECT_EQ(design.WireDiaText[w].back(), ' ');
    }
    EXPECT_EQ(design.WireDiaText[19], "      0.70 ");
    EXPECT_EQ(design.WireDiaText[42], "    10.00 ");
    EXPECT_EQ(design.WireDiaText[46], "");
    EXPECT_EQ(double(design.WireDia[0]), double(0.08f));
    EXPECT_NEAR(double(design.WireDia[0]), 0.0799999982, 1e-10);
    // Ascending diameters.
    for (int w = 1; w < kWireCount; ++w) {
        EXPECT_LT(design.WireDia[w - 1], design.WireDia[w]);
    }
}

// ---------------------------------------------------------------------------------------------
// Start-up and geometry checks

TEST(StartUp, ShowsCompressionSample1CheckedWithBlankResults) {
    Calculator calc;
    const TSpringDesign& d = calc.design;
    const RecordingView& v = calc.view;
    EXPECT_EQ(d.MaterialNo, 2);
    EXPECT_EQ(d.WireNo, 19);
    EXPECT_EQ(v.position(Spinner::UpDown1), 2);
    EXPECT_EQ(v.position(Spinner::UpDown2), 19);
    EXPECT_EQ(v.text(Field::Label25), "      SWPA");
    EXPECT_EQ(v.text(Field::Label26), "      0.70 ");
    EXPECT_EQ(v.text(Field::Label27), "4.3   ");
    EXPECT_EQ(v.text(Field::Label28), "9.5   ");
    EXPECT_EQ(v.text(Field::Label29), "13.0   ");
    EXPECT_EQ(v.text(Field::Label30), "12.0   ");
    EXPECT_EQ(v.text(Field::Label31), "10.0   ");
    EXPECT_EQ(v.text(Field::Label45), "内径 3.60 外径 5.00");
    EXPECT_EQ(v.text(Field::Label48), "8.1   ");
    EXPECT_EQ(double(d.SolidLen), 8.050000190734863);
    EXPECT_EQ(v.text(Field::Label1), "  圧縮コイルバネの設計 ");
    EXPECT_EQ(v.text(Field::Labeldate), "2026年12月5日  9: 5");
    EXPECT_EQ(d.DateText, "2026年12月5日  9: 5");
    for (Field caption :
         {Field::Label3, Field::Label4, Field::Label6, Field::Label7, Field::Label8}) {
        EXPECT_EQ(v.background(caption), clAqua);
    }
    EXPECT_TRUE(v.warnings.empty());
    EXPECT_EQ(v.font(Field::Label47), clGray);
    EXPECT_TRUE(v.enabled(Command::N1));
    EXPECT_TRUE(v.enabled(Command::N2));
    EXPECT_TRUE(v.enabled(Command::N3));
    EXPECT_EQ(d.WarnColor, kWarnColor);
    EXPECT_EQ(d.TensileStrength, 220.0f);
    // No analysis has run: results are zero and their fields untouched.
    for (float result : {d.SpringRate, d.Pset, d.Pact, d.Pmax, d.Tset, d.Tact, d.Tmax, d.LimitLen,
                         d.AllowFatigue, d.InitTension}) {
        EXPECT_EQ(result, 0.0f);
    }
    EXPECT_EQ(v.text(Field::Label33), "<unset>");
    EXPECT_EQ(v.text(Field::Label40), "<unset>");
}

TEST(GeometryCheck, SpringIndexOfExactlyFourPasses) {
    Calculator calc;
    calc.design.MeanDia = 2.8f;  // with 0.70 mm: 4.0 exactly in single precision
    calc.Recheck();
    EXPECT_EQ(calc.view.background(Field::Label4), clAqua);
    EXPECT_TRUE(calc.view.enabled(Command::N1));
    EXPECT_TRUE(calc.view.warnings.empty());

    calc.design.MeanDia = std::nextafter(2.8f, 0.0f);
    calc.Recheck();
    EXPECT_EQ(calc.view.background(Field::Label4), kWarnColor);
    EXPECT_FALSE(calc.view.enabled(Command::N1));
    EXPECT_EQ(calc.view.warnings, std::vector<std::string>{W1});

    // Raising the diameter again brings Run back at the next check.
    calc.design.MeanDia = 2.9f;
    calc.Recheck();
    EXPECT_TRUE(calc.view.enabled(Command::N1));
    EXPECT_EQ(calc.view.font(Field::Label47), clGray);
}

TEST(GeometryCheck, WarningsComeInOrderAndRepeat) {
    Calculator calc;
    // SWO-A is not made in 0.70 mm; D/d below 4; solid length above every length.
    calc.design.MeanDia = 2.0f;
    calc.design.FreeLen = 5.0f;
    calc.design.SetLen = 4.0f;
    calc.design.WorkLen = 3.0f;
    calc.Select(4, 19);
    EXPECT_EQ(calc.view.warnings, (std::vector<std::string>{W5, W1, W6, W6, W6}));
    // The engine tells the same by number, for callers without a window.
    EXPECT_EQ(calc.engine.Warnings(), (std::vector<int>{5, 1, 6, 6, 6}));
    EXPECT_FALSE(calc.engine.RunOffered());
    for (Field caption :
         {Field::Label3, Field::Label4, Field::Label6, Field::Label7, Field::Label8}) {
        EXPECT_EQ(calc.view.background(caption), kWarnColor);
    }
    EXPECT_FALSE(calc.view.enabled(Command::N1));
    EXPECT_EQ(calc.view.font(Field::Label47), clBlack);

    // Only the lengths fail: Run stays available.
    calc.Select(2, 19);
    calc.design.MeanDia = 4.3f;
    calc.Recheck();
    EXPECT_EQ(calc.view.warnings, (std::vector<std::string>{W6, W6, W6}));
    EXPECT_TRUE(calc.view.enabled(Command::N1));
    EXPECT_TRUE(calc.engine.RunOffered());

    // Extension spring: both lengths below the derived free length.
    calc.SwitchKind(kExtension);
    calc.design.SetLen = 10.0f;
    calc.design.WorkLen = 11.0f;
    calc.Recheck();
    EXPECT_EQ(calc.view.warnings, (std::vector<std::string>{W7, W7}));
    EXPECT_EQ(calc.view.background(Field::Label7), kWarnColor);
    EXPECT_EQ(calc.view.background(Field::Label8), kWarnColor);
}

TEST(GeometryCheck, EqualLengthsPass) {
    Calculator calc;
    calc.design.WorkLen = calc.design.SolidLen;
    calc.Recheck();
    EXPECT_TRUE(calc.view.warnings.empty());

    calc.SwitchKind(kExtension);
    calc.design.SetLen = calc.design.FreeLen;
    calc.Recheck();
    EXPECT_TRUE(calc.view.warnings.empty());
    EXPECT_EQ(calc.view.background(Field::Label7), clAqua);
}

TEST(GeometryCheck, ExtensionDerivesFreeLengthAndLeavesSolidLengthAlone) {
    Calculator calc;
    const float solid = calc.design.SolidLen;
    calc.view.SetColor(Field::Label6, clBtnFace);  // as the type switch leaves it
    calc.SwitchKind(kExtension);
    EXPECT_EQ(double(calc.design.FreeLen), 14.799999237060547);
    EXPECT_EQ(calc.view.text(Field::Label29), "14.8   ");
    EXPECT_EQ(calc.design.SolidLen, solid);
    EXPECT_EQ(calc.view.background(Field::Label6), clBtnFace);

    // Whatever free length was stored is replaced at the next check.
    calc.design.FreeLen = 99.0f;
    calc.engine.CheckGeometry();
    EXPECT_EQ(double(calc.design.FreeLen), 14.799999237060547);
}

TEST(Samples, ExtensionFreeLengthsShown) {
    const char* shown[kSampleCount] = {"14.8   ", "19.9   ", "26.1   ",  "28.6   ",
                                       "76.5   ", "36.8   ", "38.9   ",  "47.2   ",
                                       "59.0   ", "68.0   ", "115.6   ", "243.8   "};
    Calculator calc;
    calc.design.SpringKind = kExtension;
    for (int number = 1; number <= kSampleCount; ++number) {
        calc.engine.LoadSampleAndRefresh(number);
        EXPECT_EQ(calc.view.text(Field::Label29), shown[number - 1]) << number;
    }
    calc.engine.LoadSampleAndRefresh(2);
    EXPECT_NEAR(double(calc.design.FreeLen), 19.8500004, 1e-6);
    calc.engine.LoadSampleAndRefresh(3);
    EXPECT_NEAR(double(calc.design.FreeLen), 26.1499996, 1e-6);
}

TEST(Samples, LoadSetsInputsOnlyAndMarksResultsStale) {
    Calculator calc;
    calc.engine.AnalyseDesign();
    const TSpringDesign before = calc.design;
    calc.engine.LoadSampleAndRefresh(12);
    const TSpringDesign& d = calc.design;
    EXPECT_EQ(d.MaterialNo, 4);
    EXPECT_EQ(d.WireNo, 42);
    EXPECT_EQ(calc.view.position(Spinner::UpDown1), 4);
    EXPECT_EQ(calc.view.position(Spinner::UpDown2), 42);
    EXPECT_EQ(calc.view.text(Field::Label25), "     SWO-A");
    EXPECT_EQ(calc.view.text(Field::Label26), "    10.00 ");
    EXPECT_EQ(calc.view.text(Field::Label29), "180.0   ");
    EXPECT_EQ(calc.view.text(Field::Label28), "11.5   ");
    EXPECT_EQ(d.SpringKind, before.SpringKind);
    EXPECT_EQ(d.Pset, before.Pset);
    EXPECT_EQ(d.Tmax, before.Tmax);
    EXPECT_EQ(d.InitTension, before.InitTension);
    EXPECT_FALSE(calc.view.enabled(Command::N2));
    EXPECT_FALSE(calc.view.enabled(Command::N3));
    EXPECT_EQ(d.TensileStrength, 120.0f);  // strength of the new selection

    // Extension sample 12 shows 365.0 in full.
    calc.SwitchKind(kExtension, 12);
    EXPECT_EQ(calc.view.text(Field::Label30), "365.0   ");
    EXPECT_EQ(calc.view.text(Field::Label25), "SUS316-WPA");

    // A number outside 1..12 copies nothing but shows the inputs again.
    calc.view.SetText(Field::Label27, "x");
    const float meanDia = d.MeanDia;
    calc.engine.LoadExtensionSample(13);
    calc.engine.LoadCompressionSample(0);
    EXPECT_EQ(d.MeanDia, meanDia);
    EXPECT_EQ(calc.view.text(Field::Label27), "8.5   ");
}

// ---------------------------------------------------------------------------------------------
// Analysis

struct Shown {
    Field field;
    const char* text;
};

void ExpectShown(const RecordingView& view, const std::vector<Shown>& expected) {
    for (const Shown& s : expected) {
        EXPECT_EQ(view.text(s.field), s.text) << "field " << static_cast<int>(s.field);
    }
}

TEST(Analysis, CompressionWithinLimits) {
    Calculator calc;
    calc.engine.MarkResultsStale();
    calc.engine.AnalyseDesign();
    ExpectShown(calc.view, {{Field::Label37, ""},
                            {Field::Label40, "50.23   "},
                            {Field::Label32, "8.1   "},
                            {Field::Label33, "88.00   "},
                            {Field::Label34, "66.06   "},
                            {Field::Label35, "8000   "},
                            {Field::Label36, "0.318   "},
                            {Field::Label38, "10.15   "},
                            {Field::Label39, "30.44   "},
                            {Field::Label41, "0.32   "},
                            {Field::Label42, "0.95   "},
                            {Field::Label43, "1.57   "}});
    EXPECT_EQ(calc.design.LimitLen, calc.design.SolidLen);
    EXPECT_TRUE(calc.view.warnings.empty());
    EXPECT_TRUE(calc.view.enabled(Command::N2));
    EXPECT_TRUE(calc.view.enabled(Command::N3));
    EXPECT_TRUE(calc.view.enabled(Command::N1));
}

TEST(Analysis, CompressionOverStressed) {
    Calculator calc;
    calc.design.FreeLen = 30.0f;
    calc.Recheck();
    calc.engine.AnalyseDesign();
    ExpectShown(calc.view, {{Field::Label41, "5.72   "},
                            {Field::Label42, "6.36   "},
                            {Field::Label38, "182.66   "},
                            {Field::Label39, "202.96   "},
                            {Field::Label34, "79.46   "},
                            {Field::Label32, "21.3   "},
                            {Field::Label40, "88.00   "},
                            {Field::Label43, "2.76   "}});
    EXPECT_EQ(calc.design.Tmax, calc.design.AllowStatic);
    EXPECT_EQ(calc.view.warnings, (std::vector<std::string>{W2, W2, W3, W4, W4}));

    // A second Run changes nothing but appends the same warnings again.
    const TSpringDesign first = calc.design;
    calc.engine.AnalyseDesign();
    EXPECT_EQ(calc.design.LimitLen, first.LimitLen);
    EXPECT_EQ(calc.design.AllowFatigue, first.AllowFatigue);
    EXPECT_EQ(calc.design.Pmax, first.Pmax);
    EXPECT_EQ(calc.view.warnings,
              (std::vector<std::string>{W2, W2, W3, W4, W4, W2, W2, W3, W4, W4}));
    EXPECT_EQ(calc.engine.Warnings(), (std::vector<int>{2, 2, 3, 4, 4, 2, 2, 3, 4, 4}));
    // The next input change leaves only the check's lines.
    calc.Recheck();
    EXPECT_TRUE(calc.view.warnings.empty());
    EXPECT_TRUE(calc.engine.Warnings().empty());
}

TEST(Analysis, Extension) {
    Calculator calc;
    calc.SwitchKind(kExtension);
    calc.view.SetText(Field::Label40, "50.23   ");
    calc.engine.AnalyseDesign();
    ExpectShown(calc.view, {{Field::Label37, "0.02  "},
                            {Field::Label40, ""},
                            {Field::Label32, "49.8   "},
                            {Field::Label33, "78.40   "},
                            {Field::Label34, "78.40   "},
                            {Field::Label35, "8000   "},
                            {Field::Label36, "0.006   "},
                            {Field::Label38, "16.38   "},
                            {Field::Label39, "37.20   "},
                            {Field::Label41, "0.05   "},
                            {Field::Label42, "0.10   "},
                            {Field::Label43, "0.22   "}});
    EXPECT_EQ(calc.design.AllowFatigue, calc.design.AllowStaticExt);
    EXPECT_TRUE(calc.view.warnings.empty());
}

TEST(Analysis, KindSpecificResultsKeepTheirLastValue) {
    Calculator calc;
    calc.engine.AnalyseDesign();
    const float tmax = calc.design.Tmax;
    const float solid = calc.design.SolidLen;
    calc.SwitchKind(kExtension);
    calc.engine.AnalyseDesign();
    EXPECT_EQ(calc.design.Tmax, tmax);
    EXPECT_EQ(calc.design.SolidLen, solid);
    const float tension = calc.design.InitTension;
    EXPECT_GT(tension, 0.0f);
    calc.SwitchKind(kCompression);
    calc.engine.AnalyseDesign();
    EXPECT_EQ(calc.design.InitTension, tension);
}

TEST(Analysis, SolidLengthTieTakesTheSolidBranch) {
    // Look for a design whose allowable length rounds exactly to its solid length. A long free
    // length reaches the allowable stress first, which gives the allowable load as Pmax.
    Calculator calc;
    bool tie = false;
    for (float turns = 5.0f; turns <= 30.0f && !tie; turns += 0.5f) {
        calc.design.Turns = turns;
        calc.design.FreeLen = 100.0f;
        calc.Recheck();
        calc.engine.AnalyseDesign();
        const double allowLoad = calc.design.Pmax;
        const double rate = calc.design.SpringRate;
        const float solid = calc.design.SolidLen;
        auto allowLength = [&](float free) { return float(double(free) - allowLoad / rate); };
        float free = float(double(solid) + allowLoad / rate);
        for (int step = 0; step < 8 && allowLength(free) != solid; ++step) {
            free = std::nextafter(free, allowLength(free) < solid ? 1e9f : 0.0f);
        }
        if (allowLength(free) != solid) {
            continue;
        }
        tie = true;
        calc.design.FreeLen = free;
        calc.Recheck();
        calc.engine.AnalyseDesign();
        EXPECT_EQ(calc.design.LimitLen, solid);
        EXPECT_TRUE(std::find(calc.view.warnings.begin(), calc.view.warnings.end(), W3) ==
                    calc.view.warnings.end());
        // One step longer and the allowable stress comes first.
        calc.design.FreeLen = std::nextafter(free, 1e9f);
        calc.Recheck();
        calc.engine.AnalyseDesign();
        EXPECT_EQ(calc.design.Tmax, calc.design.AllowStatic);
        EXPECT_EQ(calc.view.warnings.back(), W3);
    }
    EXPECT_TRUE(tie);
}

TEST(Analysis, SolidLengthAboveFreeLengthGivesNegativeLimitLoad) {
    Calculator calc;
    calc.design.FreeLen = 7.0f;  // solid length 8.05
    calc.design.SetLen = 6.0f;
    calc.design.WorkLen = 5.0f;
    calc.Recheck();
    calc.engine.AnalyseDesign();
    EXPECT_EQ(calc.design.LimitLen, calc.design.SolidLen);
    EXPECT_LT(calc.design.Pmax, 0.0f);
    EXPECT_LT(calc.design.Tmax, 0.0f);
    EXPECT_EQ(calc.view.text(Field::Label43).front(), '-');
    EXPECT_GE(calc.design.Pset, 0.0f);
    EXPECT_GE(calc.design.Pact, 0.0f);
}

TEST(Analysis, OperatingLengthAtFreeLengthGivesFiniteCautiousAllowable) {
    // The load ratio would divide by zero; it is taken as 0, so f = 0.3.
    Calculator calc;
    calc.design.WorkLen = calc.design.FreeLen;
    calc.design.SetLen = calc.design.FreeLen;
    calc.Recheck();
    calc.engine.AnalyseDesign();
    EXPECT_EQ(calc.design.Pact, 0.0f);
    ASSERT_TRUE(std::isfinite(calc.design.AllowFatigue));
    // 0.3 * 220 / K(6.142858) = 52.97
    EXPECT_EQ(calc.view.text(Field::Label34), "52.97   ");
    for (Field f :
         {Field::Label32, Field::Label33, Field::Label34, Field::Label36, Field::Label38,
          Field::Label39, Field::Label40, Field::Label41, Field::Label42, Field::Label43}) {
        const std::string text = calc.view.text(f);
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
    }

    // Installed at the free length, operating below: r = 0 as well, the same allowable.
    calc.design.WorkLen = 10.0f;
    calc.Recheck();
    calc.engine.AnalyseDesign();
    EXPECT_EQ(calc.design.Pset, 0.0f);
    EXPECT_EQ(calc.view.text(Field::Label34), "52.97   ");
}

// ---------------------------------------------------------------------------------------------
// Warning list and date stamp

TEST(WarningList, CaptionColourFollowsTheList) {
    TSpringDesign design;
    RecordingView view;
    SpringEngine engine(design, view, FixedClock);
    engine.ClearWarnings();
    EXPECT_EQ(view.font(Field::Label47), clGray);
    engine.AddWarning(8);  // no such message: black all the same, no line
    EXPECT_EQ(view.font(Field::Label47), clBlack);
    EXPECT_TRUE(view.warnings.empty());
    for (int n = 0; n <= 7; ++n) {
        engine.AddWarning(n);
    }
    EXPECT_EQ(view.warnings, (std::vector<std::string>{W1, W2, W3, W4, W5, W6, W7}));
    engine.ClearWarnings();
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(view.font(Field::Label47), clGray);
}

TEST(NumberText, FixedTextWritesWhatPrintfWrites) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  0.125,
                                  0.375,
                                  0.005,
                                  0.015,
                                  8.05,
                                  13.5,
                                  -0.0999998,
                                  1e300,
                                  -1e300,
                                  4.9e-324,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    std::mt19937 random(11);
    std::uniform_real_distribution<float> mantissa(-10.0f, 10.0f);
    std::uniform_int_distribution<int> exponent(-6, 6);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(double(float(mantissa(random) * std::pow(10.0, exponent(random)))));
    }
    for (double value : values) {
        for (int precision = 0; precision <= 3; ++precision) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "%.*f   ", precision, value);
            ASSERT_EQ(FixedText(value, precision, "   "), expected) << value << " " << precision;
        }
    }
}

TEST(DateStamp, PadsHourAndMinuteWithBlanks) {
    EXPECT_EQ(FormatDateStamp({2026, 12, 5, 9, 5}), "2026年12月5日  9: 5");
    EXPECT_EQ(FormatDateStamp({2026, 12, 5, 23, 47}), "2026年12月5日 23:47");
    EXPECT_EQ(FormatDateStamp({2026, 1, 1, 0, 0}), "2026年1月1日  0: 0");
}

TEST(DateStamp, WrittenAtStartUpAndEveryRun) {
    LocalDateTime now{2026, 12, 5, 9, 5};
    TSpringDesign design;
    RecordingView view;
    SpringEngine engine(design, view, [&] { return now; });
    engine.StartUp();
    EXPECT_EQ(view.text(Field::Labeldate), "2026年12月5日  9: 5");
    now = {2026, 12, 5, 23, 47};
    engine.MarkResultsStale();
    EXPECT_EQ(design.DateText, "2026年12月5日  9: 5");
    engine.AnalyseDesign();
    EXPECT_EQ(design.DateText, "2026年12月5日 23:47");
    EXPECT_EQ(view.text(Field::Labeldate), "2026年12月5日 23:47");
    // The longest stamp fits the 20 bytes the record was designed for, in code page 932.
    // Three characters of three UTF-8 bytes each take two bytes there.
    EXPECT_EQ(FormatDateStamp({2026, 12, 31, 23, 59}).size() - 3, 20u);
}

}  // namespace
}  // namespace springcalc
