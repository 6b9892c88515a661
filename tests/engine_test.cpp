// SPDX-License-Identifier: GPL-3.0-or-later
// Engine tests: tables, checks, analysis, warnings, samples and the date stamp, through the
// recording view and the fixed clock.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "engine/design_runner.h"
#include "engine/initial_tension.h"
#include "engine/maker_checks.h"
#include "engine/samples.h"
#include "engine/text_format.h"
#include "test_support.h"

namespace springcalc {
namespace {

using test_support::Calculator;
using test_support::Differences;
using Numbers = std::vector<int>;
using F = Field;

const Field kCheckedCaptions[] = {F::Label3, F::Label4, F::Label6, F::Label7, F::Label8};

// ---------------------------------------------------------------------------------------------
// Tables and strength lookup

TEST(StrengthLookup, GivesStrengthModulusAndBothAllowables) {
    // One after another on one record, so that a change of material must change every value.
    // clang-format off
    const std::tuple<int, int, std::array<float, 4>> cases[] = {
        {2, 19, {220.0f, 8000.0f, 88.0f, 70.4f}},   {6, 22, {150.0f, 7000.0f, 54.0f, 43.2f}},
        {0, 0, {250.0f, 8000.0f, 100.0f, 80.0f}},   {5, 30, {195.0f, 8000.0f, 85.8f, 68.64f}},
        {6, 30, {120.0f, 7000.0f, 43.2f, 34.56f}},  {4, 26, {1.0f, 8000.0f, 0.44f, 0.352f}},
    };
    // clang-format on
    Calculator calc;
    for (const auto& [material, wire, strengthModulusAndAllowables] : cases) {
        calc.Select(material, wire);
        const TSpringDesign& d = calc.design;
        EXPECT_EQ((std::array{d.TensileStrength, d.ShearModulus, d.AllowStatic, d.AllowStaticExt}),
                  strengthModulusAndAllowables)
            << material << "/" << wire;
    }
}

// ---------------------------------------------------------------------------------------------
// Start-up and geometry checks

TEST(StartUp, ShowsCompressionSample1CheckedWithBlankResults) {
    Calculator calc;
    const fakes::RecordingView& v = calc.view;
    // clang-format off
    EXPECT_EQ(Differences(v, {
        {F::Label25, "      SWPA"}, {F::Label26, "      0.70 "}, {F::Label27, "4.3   "},
        {F::Label28, "9.5   "}, {F::Label29, "13.0   "}, {F::Label30, "12.0   "},
        {F::Label31, "10.0   "}, {F::Label45, "内径 3.60 外径 5.00"}, {F::Label48, "8.1   "},
        {F::Label1, "  圧縮コイルバネの設計 "}, {F::Labeldate, "2026年12月5日  9: 5"},
        {F::Label33, "<unset>"}, {F::Label40, "<unset>"}}), "");  // no analysis has run
    // clang-format on
    EXPECT_EQ(double(calc.design.SolidLen), 8.050000190734863);
    for (Field caption : kCheckedCaptions) {
        EXPECT_EQ(v.background(caption), clAqua);
    }
    EXPECT_EQ(v.font(F::Label47), clGray);
}

TEST(GeometryCheck, SpringIndexOfExactlyFourPasses) {
    Calculator calc;
    for (float meanDia : {2.8f, std::nextafter(2.8f, 0.0f), 2.9f}) {
        calc.design.MeanDia = meanDia;  // 2.8 with 0.70 mm: 4.0 exactly in single precision
        calc.Recheck();
        const bool passes = meanDia != std::nextafter(2.8f, 0.0f);
        EXPECT_EQ(calc.view.background(F::Label4), passes ? clAqua : kWarnColor);
        EXPECT_EQ(calc.view.enabled(Command::N1), passes);  // and Run comes back
        EXPECT_EQ(calc.engine.Warnings(), passes ? Numbers{} : Numbers{1});
    }
}

TEST(GeometryCheck, WarningsComeInOrderAndRepeat) {
    Calculator calc;
    // SWO-A is not made in 0.70 mm; D/d below 4; solid length above every length.
    calc.design.MeanDia = 2.0f;
    calc.design.FreeLen = 5.0f;
    calc.design.SetLen = 4.0f;
    calc.design.WorkLen = 3.0f;
    calc.Select(4, 19);
    EXPECT_EQ(calc.engine.Warnings(), (Numbers{5, 1, 6, 6, 6}));
    for (Field caption : kCheckedCaptions) {
        EXPECT_EQ(calc.view.background(caption), kWarnColor);
    }
    // Only the lengths fail: Run stays available.
    calc.Select(2, 19);
    calc.design.MeanDia = 4.3f;
    calc.Recheck();
    EXPECT_EQ(calc.engine.Warnings(), (Numbers{6, 6, 6}));
    // Extension spring: both lengths below the derived free length.
    calc.editor.UpDown8Click(kExtension, 1);
    calc.design.SetLen = 10.0f;
    calc.design.WorkLen = 11.0f;
    calc.Recheck();
    EXPECT_EQ(calc.engine.Warnings(), (Numbers{7, 7}));
    EXPECT_EQ(calc.view.background(F::Label7), kWarnColor);
}

TEST(GeometryCheck, EqualLengthsPassAndExtensionDerivesItsFreeLength) {
    Calculator calc;
    calc.design.WorkLen = calc.design.SolidLen;
    calc.Recheck();
    EXPECT_TRUE(calc.view.warnings.empty());
    calc.editor.UpDown8Click(kExtension, 1);
    calc.design.FreeLen = 99.0f;  // whatever was stored is replaced at the next check
    calc.design.SetLen = 14.799999237060547f;
    calc.Recheck();
    EXPECT_EQ(double(calc.design.FreeLen), 14.799999237060547);
    EXPECT_TRUE(calc.view.warnings.empty());
    EXPECT_EQ(calc.view.background(F::Label7), clAqua);
}

// ---------------------------------------------------------------------------------------------
// Samples

TEST(Samples, ExtensionFreeLengthsShown) {
    const char* shown[kSampleCount] = {"14.8   ", "19.9   ", "26.1   ",  "28.6   ",
                                       "76.5   ", "36.8   ", "38.9   ",  "47.2   ",
                                       "59.0   ", "68.0   ", "115.6   ", "243.8   "};
    Calculator calc;
    for (int number = 1; number <= kSampleCount; ++number) {
        calc.editor.UpDown8Click(kExtension, number);
        EXPECT_EQ(calc.view.text(F::Label29), shown[number - 1]) << number;
    }
}

TEST(Samples, LoadSetsTheInputsOnly) {
    Calculator calc;
    calc.engine.AnalyseDesign();
    const TSpringDesign before = calc.design;
    calc.editor.UpDown13Click(12);
    EXPECT_EQ(Differences(calc.view, {{F::Label25, "     SWO-A"},
                                      {F::Label26, "    10.00 "},
                                      {F::Label29, "180.0   "},
                                      {F::Label28, "11.5   "}}),
              "");
    EXPECT_EQ(calc.design.Tmax, before.Tmax);

    calc.editor.UpDown8Click(kExtension, 12);  // shows 365.0 in full
    EXPECT_EQ(Differences(calc.view, {{F::Label30, "365.0   "}, {F::Label25, "SUS316-WPA"}}), "");
    // A number outside 1..12, which the spinner never gives, copies nothing.
    calc.engine.LoadCompressionSample(0);
    calc.engine.LoadExtensionSample(13);
    EXPECT_EQ(calc.view.text(F::Label27), "8.5   ");
}

// ---------------------------------------------------------------------------------------------
// A given initial tension

TEST(InitialTensionText, LoadsAndStressesInTheirUnitsAndTheRestRefused) {
    using Kind = GivenInitialTension::Kind;
    using Fault = InitialTensionFault;
    constexpr double kN = 1 / 9.80665;
    // clang-format off
    const std::tuple<const char*, Fault, Kind, double> cases[] = {
        {"2.5",          Fault::None,        Kind::Load,   2.5},
        {" 2.5 kg ",     Fault::None,        Kind::Load,   2.5},
        {"2.5kgf",       Fault::None,        Kind::Load,   2.5},
        {"25N",          Fault::None,        Kind::Load,   25 * kN},
        {"0",            Fault::None,        Kind::Load,   0},      // open coils: no tension
        {"-0",           Fault::None,        Kind::Load,   0},
        {"10000",        Fault::None,        Kind::Load,   10000},
        {"98066.5N",     Fault::None,        Kind::Load,   10000},  // not refused for a last bit
        {"175MPa",       Fault::None,        Kind::Stress, 175 * kN},
        {"175 N/mm2",    Fault::None,        Kind::Stress, 175 * kN},
        {"175N/mm²",     Fault::None,        Kind::Stress, 175 * kN},
        {"17.8kg/mm2",   Fault::None,        Kind::Stress, 17.8},
        {"17.8kgf/mm²",  Fault::None,        Kind::Stress, 17.8},
        {"500kg/mm2",    Fault::None,        Kind::Stress, 500},
        {"10000.01",     Fault::OutOfRange,  Kind::Load,   0},
        {"-0.1kg",       Fault::OutOfRange,  Kind::Load,   0},
        {"98067N",       Fault::OutOfRange,  Kind::Load,   0},
        {"500.1kg/mm2",  Fault::OutOfRange,  Kind::Stress, 0},
        {"4904MPa",      Fault::OutOfRange,  Kind::Stress, 0},
        {"",             Fault::NotANumber,  Kind::Load,   0},
        {"kg",           Fault::NotANumber,  Kind::Load,   0},
        {"inf",          Fault::NotANumber,  Kind::Load,   0},
        {"2.5n",         Fault::UnknownUnit, Kind::Load,   0},      // a unit's case counts
        {"2.5lbf",       Fault::UnknownUnit, Kind::Load,   0},
        {"9lb",          Fault::UnknownUnit, Kind::Load,   0},      // either end of the digits
        {"0.5lb",        Fault::UnknownUnit, Kind::Load,   0},
        {"1e3",          Fault::None,        Kind::Load,   1000},   // as every number the program reads
        {"2.5 kg kg",    Fault::UnknownUnit, Kind::Load,   0},
        {"175Pa",        Fault::UnknownUnit, Kind::Load,   0},
    };
    // clang-format on
    for (const auto& [text, fault, kind, value] : cases) {
        const InitialTensionReading reading = ReadInitialTension(text);
        EXPECT_EQ(reading.fault, fault) << text;
        EXPECT_EQ(reading.given.has_value(), fault == Fault::None) << text;
        EXPECT_EQ(reading.kind, kind) << text;
        if (reading.given) {
            EXPECT_EQ(reading.given->kind, kind) << text;
            EXPECT_DOUBLE_EQ(reading.given->value, value) << text;
            EXPECT_FALSE(std::signbit(reading.given->value)) << text;
        }
    }
}

// The published example of an extension spring of stainless 1.4310 (d 1.6, D 11.1) is wound
// with the initial stress τ0 = 175 MPa. By hand, τ0 = 8·D·F0/(π·d³) gives
//   F0 = 175 · π · 1.6³ / (8 · 11.1) = 175 · 12.868 / 88.8 = 25.36 N (the example's 25.4 N),
// where the formula G·d⁴/(255·D²) with G = 7000 kg/mm² gives 7000 · 6.5536 / 255 / 123.21
// = 1.460 kg = 14.32 N. That τ0, 17.85 kg/mm², lies above the band Shigley gives a coiler at
// C = 6.94 (8.98 to 13.75 kg/mm²), so the given tension draws warning 14 where the formula's
// (τ0 = 10.08) does not.
TEST(GivenInitialTension, ThePublishedStainlessExample) {
    DesignInput design{kExtension, 8 /* SUS304-WPB */, 25 /* 1.60 */, 11.1f, 10.0f, 0, 40, 50, {}};
    DesignRunner runner;
    const TSpringDesign byFormula = runner.Run(design).record;
    const InitialTensionReading reading = ReadInitialTension("175MPa");
    ASSERT_TRUE(reading.given);
    design.initialTension = InitialTensionFor(*reading.given, design);
    const Outcome& given = runner.Run(design);
    ASSERT_TRUE(given.analysed);
    EXPECT_NEAR(double(byFormula.InitTension) * kNewtonsPerKgf, 14.32, 0.005);
    EXPECT_NEAR(double(given.record.InitTension) * kNewtonsPerKgf, 25.36, 0.005);
    const auto formulaStress = ComputeMakerFigures(byFormula).initialTension;
    const auto givenStress = ComputeMakerFigures(given.record).initialTension;
    ASSERT_TRUE(formulaStress && givenStress);
    EXPECT_NEAR(givenStress->stress * kNewtonsPerKgf, 175.0, 1e-4);  // back to the MPa given
    EXPECT_NEAR(formulaStress->stress, 10.08, 0.005);
    EXPECT_NEAR(givenStress->low, 8.98, 0.005);
    EXPECT_NEAR(givenStress->high, 13.75, 0.005);
    EXPECT_TRUE(givenStress->outside);
    EXPECT_FALSE(formulaStress->outside);
}

// SWPA 1.00 (210 kg/mm², G 8000), D 7, n 20, installed at 40 and working at 50 mm, worked by
// hand for three given tensions: k = 8000 / (8 · 20 · 343) = 0.145773 kg/mm, L0 = 2·7 + 19 = 33,
// P = P0 + k·(L − L0), τ = 8·P·7/π, the limit length (Pallow − P0)/k + L0 with
// Pallow = π · 67.2 / 56 = 3.7699 kg (67.2 = 0.64 · 0.5 · 210, also the repeated-load
// allowable here, which caps it), τ0 = 8·P0·7/π against the band 8.91 to 13.67 at C = 7.
TEST(GivenInitialTension, LoadsStressesLimitAndWarningsWorkedByHand) {
    struct Case {
        float given;
        double pset, pact, tset, tact, limit, initialStress;
        bool outsideBand;
        Numbers warnings;
    };
    const Case cases[] = {
        {0.7f, 1.7204, 3.1781, 30.667, 56.651, 54.060, 12.478, false, {}},
        {1.2f, 2.2204, 3.6781, 39.580, 65.564, 50.630, 21.390, true, {}},
        {1.5f, 2.5204, 3.9781, 44.927, 70.912, 48.572, 26.738, true, {2, 4}},  // Tact > 67.2
        {0.0f, 1.0204, 2.4781, 18.189, 44.174, 58.862, 0.0, true, {}},         // below the band
    };
    DesignRunner runner;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const Outcome& outcome =
            runner.Run({kExtension, 2 /* SWPA */, 22 /* 1.00 */, 7.0f, 20.0f, 0, 40, 50, c.given});
        const TSpringDesign& s = outcome.record;
        EXPECT_EQ(s.InitTension, c.given);
        EXPECT_NEAR(s.SpringRate, 0.145773, 1e-6);
        EXPECT_NEAR(s.Pset, c.pset, 1e-4);
        EXPECT_NEAR(s.Pact, c.pact, 1e-4);
        EXPECT_NEAR(s.Tset, c.tset, 1e-3);
        EXPECT_NEAR(s.Tact, c.tact, 1e-3);
        EXPECT_NEAR(s.LimitLen, c.limit, 1e-3);
        EXPECT_NEAR(s.AllowFatigue, 67.2, 1e-4);
        EXPECT_EQ(outcome.warnings, c.warnings);
        const auto tension = ComputeMakerFigures(s).initialTension;
        ASSERT_TRUE(tension);
        EXPECT_NEAR(tension->stress, c.initialStress, 1e-3);
        EXPECT_EQ(tension->outside, c.outsideBand);
    }
}

// Without a given tension every bit of the record is the formula's, also right after a design
// that had one; a compression spring ignores one.
TEST(GivenInitialTension, NoneLeavesEveryBitAsTheWindowHasIt) {
    const auto bytesOf = [](const TSpringDesign& s) {
        std::vector<std::uint32_t> bits;
        for (float value :
             {s.MeanDia,     s.InnerDia,        s.OuterDia,     s.Turns,       s.FreeLen, s.SetLen,
              s.WorkLen,     s.SolidLen,        s.LimitLen,     s.Tset,        s.Tact,    s.Tmax,
              s.AllowStatic, s.AllowStaticExt,  s.AllowFatigue, s.InitTension, s.Pset,    s.Pact,
              s.Pmax,        s.TensileStrength, s.ShearModulus, s.SpringRate}) {
            bits.push_back(std::bit_cast<std::uint32_t>(value));
        }
        return bits;
    };
    for (int kind : {kCompression, kExtension}) {
        for (int sample = 0; sample < kSampleCount; ++sample) {
            const DesignInput plain =
                kind == kCompression ? kCompressionSamples[sample] : kExtensionSamples[sample];
            DesignRunner fresh;
            const std::vector<std::uint32_t> expected = bytesOf(fresh.Run(plain).record);
            const std::vector<int> warnings = fresh.Run(plain).warnings;
            DesignRunner reused;
            DesignInput given = plain;
            given.initialTension = 3.0f;
            const float tension = reused.Run(given).record.InitTension;
            EXPECT_EQ(tension == 3.0f, kind == kExtension);
            EXPECT_EQ(bytesOf(reused.Run(plain).record), expected) << kind << "/" << sample;
            if (kind == kCompression) {
                EXPECT_EQ(bytesOf(reused.Run(given).record), expected) << sample;
                EXPECT_EQ(reused.Run(given).warnings, warnings) << sample;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Analysis: the three worked examples to the digit, and the edges of the formulas

TEST(Analysis, ThreeWorkedExamples) {
    // Kind, free length (0: the sample's own), the fields shown and the warnings.
    // clang-format off
    const std::tuple<int, float, test_support::FieldTexts, Numbers> examples[] = {
        {kCompression, 0, {{F::Label37, ""}, {F::Label40, "50.23   "}, {F::Label32, "8.1   "},
            {F::Label33, "88.00   "}, {F::Label34, "66.06   "}, {F::Label35, "8000   "},
            {F::Label36, "0.318   "}, {F::Label38, "10.15   "}, {F::Label39, "30.44   "},
            {F::Label41, "0.32   "}, {F::Label42, "0.95   "}, {F::Label43, "1.57   "}}, {}},
        {kCompression, 30.0f, {{F::Label41, "5.72   "}, {F::Label42, "6.36   "},
            {F::Label38, "182.66   "}, {F::Label39, "202.96   "}, {F::Label34, "79.46   "},
            {F::Label32, "21.3   "}, {F::Label40, "88.00   "}, {F::Label43, "2.76   "}},
            {2, 2, 3, 4, 4}},
        {kExtension, 0, {{F::Label37, "0.02  "}, {F::Label40, ""}, {F::Label32, "49.8   "},
            {F::Label33, "78.40   "}, {F::Label34, "78.40   "}, {F::Label35, "8000   "},
            {F::Label36, "0.006   "}, {F::Label38, "16.38   "}, {F::Label39, "37.20   "},
            {F::Label41, "0.05   "}, {F::Label42, "0.10   "}, {F::Label43, "0.22   "}}, {}},
    };
    // clang-format on
    for (const auto& [kind, freeLen, shown, warnings] : examples) {
        Calculator calc;
        calc.editor.UpDown8Click(kind, 1);
        calc.view.SetText(F::Label40, "50.23   ");  // an extension Run must blank it
        if (freeLen != 0) {
            calc.design.FreeLen = freeLen;
            calc.Recheck();
        }
        calc.engine.AnalyseDesign();
        EXPECT_EQ(Differences(calc.view, shown), "");
        EXPECT_EQ(calc.engine.Warnings(), warnings);
        // A second Run changes nothing but appends the same warnings again.
        calc.engine.AnalyseDesign();
        EXPECT_EQ(Differences(calc.view, shown), "");
        EXPECT_EQ(calc.engine.Warnings().size(), 2 * warnings.size());
        // The next input change leaves only the check's lines.
        calc.Recheck();
        EXPECT_TRUE(calc.view.warnings.empty() && calc.engine.Warnings().empty());
    }
}

// A value exactly on its limit passes; one single-precision step beyond, it fails.
TEST(Analysis, ExactTiesPass) {
    // With 5 turns this free length puts the allowable length exactly on the solid length, 4.9;
    // one step longer and the allowable stress comes first, short of the solid length.
    const float tie = 0x1.2ed998p+3f;  // 9.46406174
    Calculator calc;
    calc.design.Turns = 5.0f;
    for (float free : {tie, std::nextafter(tie, 1e9f)}) {
        calc.design.FreeLen = free;
        calc.Recheck();
        calc.engine.AnalyseDesign();
        EXPECT_EQ(calc.design.LimitLen == calc.design.SolidLen, free == tie);
        EXPECT_EQ(calc.engine.Warnings(), free == tie ? Numbers{} : Numbers{3});
    }
    // Installed this short, sample 1's tau set is the repeated-load allowable to the last bit
    // (79.46); below the solid length all the same.
    const float atFatigue = 0x1.4ae2a6p+2f;  // 5.17008352
    Calculator sample;
    for (float set : {atFatigue, std::nextafter(atFatigue, 0.0f)}) {
        sample.design.SetLen = set;
        sample.Recheck();
        sample.engine.AnalyseDesign();
        EXPECT_EQ(sample.engine.Warnings(), set == atFatigue ? Numbers{6} : (Numbers{6, 4}));
    }
}

TEST(Analysis, SolidLengthAboveFreeLengthGivesNegativeLimitLoad) {
    Calculator calc;
    calc.design.FreeLen = 7.0f;  // solid length 8.05
    calc.design.SetLen = 6.0f;
    calc.design.WorkLen = 5.0f;
    calc.Recheck();
    calc.engine.AnalyseDesign();
    EXPECT_EQ(calc.design.LimitLen, calc.design.SolidLen);
    EXPECT_LT(calc.design.Tmax, 0.0f);
    EXPECT_EQ(calc.view.text(F::Label43).front(), '-');
    EXPECT_GE(calc.design.Pset, 0.0f);
    EXPECT_GE(calc.design.Pact, 0.0f);
}

TEST(Analysis, NoLoadAtTheOperatingLengthGivesTheCautiousAllowable) {
    // The load ratio would divide by zero; it is taken as 0, so f = 0.3: 0.3 * 220 / K = 52.97.
    // Likewise when installed at the free length and operated below it.
    Calculator calc;
    for (float workLen : {calc.design.FreeLen, 10.0f}) {
        calc.design.WorkLen = workLen;
        calc.design.SetLen = calc.design.FreeLen;
        calc.Recheck();
        calc.engine.AnalyseDesign();
        EXPECT_EQ(calc.view.text(F::Label34), "52.97   ");
    }
}

// ---------------------------------------------------------------------------------------------
// Warning list and the date stamp

TEST(WarningList, NumberedTextsInOrderAndCaptionColourFollowsTheList) {
    Calculator calc;
    calc.engine.AddWarning(8);  // no such message: black all the same, no line
    EXPECT_EQ(calc.view.font(F::Label47), clBlack);
    EXPECT_TRUE(calc.view.warnings.empty());
    for (int n = 0; n <= 7; ++n) {
        calc.engine.AddWarning(n);
    }
    EXPECT_EQ(calc.view.warnings,
              (std::vector<std::string>{"D/dを４以上にして下さい", "許容応力を越えています",
                                        "圧縮端まで使えません", "繰返荷重での使用に注意",
                                        "線径が規格外です", "圧縮端より短い設定があります",
                                        "自由長より短い設定があります"}));
    calc.engine.ClearWarnings();
    EXPECT_TRUE(calc.view.warnings.empty() && calc.engine.Warnings().empty());
    EXPECT_EQ(calc.view.font(F::Label47), clGray);
}

TEST(DateStamp, PadsHourAndMinuteWithBlanksAndIsWrittenAtStartUpAndEveryRun) {
    EXPECT_EQ(FormatDateStamp({2026, 1, 1, 0, 0}), "2026年1月1日  0: 0");
    // The longest stamp fits the 20 bytes the record was designed for, in code page 932, where
    // its three characters of three UTF-8 bytes each take two.
    EXPECT_EQ(FormatDateStamp({2026, 12, 31, 23, 59}).size() - 3, 20u);
    LocalDateTime now{2026, 12, 5, 9, 5};
    TSpringDesign design;
    fakes::RecordingView view;
    SpringEngine engine(design, view, [&] { return now; });
    engine.StartUp();
    EXPECT_EQ(view.text(F::Labeldate), "2026年12月5日  9: 5");
    now = {2026, 12, 5, 23, 47};
    engine.MarkResultsStale();
    EXPECT_EQ(design.DateText, "2026年12月5日  9: 5");
    engine.AnalyseDesign();
    EXPECT_EQ(view.text(F::Labeldate), "2026年12月5日 23:47");
}

bool operator==(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
}

TEST(DateStamp, LocalTimeFollowsTheTimeZoneAndTheSystemClock) {
    // 2026-12-31 23:59:30 UTC, a fixed instant: in UTC the last minute of the year, nine hours
    // east of it already the new year's first morning.
    const std::time_t instant = 1798761570;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_TRUE((LocalTimeOf(instant) == LocalDateTime{2026, 12, 31, 23, 59}));
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    EXPECT_TRUE((LocalTimeOf(instant) == LocalDateTime{2027, 1, 1, 8, 59}));
    // The system clock's reading lies between two readings of the clock around it, whatever
    // minute or hour turns meanwhile.
    const std::time_t before = std::time(nullptr);
    const LocalDateTime now = SystemLocalTime();
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(now == LocalTimeOf(before) || now == LocalTimeOf(after));
    ::setenv("TZ", "UTC", 1);
    ::tzset();
}

}  // namespace
}  // namespace springcalc
