// SPDX-License-Identifier: GPL-3.0-or-later
// The spinner rules at the level of the stored single-precision values: held presses and their
// acceleration, the bounds and the switch of spring type.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace springcalc {
namespace {

using test_support::Calculator;
using test_support::Differences;
using F = Field;
using Click = void (DesignEditor::*)(Arrow);
using Texts = std::vector<std::string>;

// Holds an arrow for `steps` repeats and lets go; what the field showed after each, unpadded.
Texts Hold(Calculator& calc, Click click, Arrow arrow, int steps, Field field) {
    Texts shown;
    for (int i = 0; i < steps; ++i) {
        (calc.editor.*click)(arrow);
        const std::string text = calc.view.text(field);
        shown.push_back(text.substr(0, text.find(' ')));
    }
    calc.editor.EndPress();
    return shown;
}

TEST(PressAndHold, StepsGrowOnceTheValueIsMoreThanHalfAMillimetreAway) {
    Calculator calc;
    // The fifth step lands just beyond half a millimetre (13.5000019), so the sixth is large.
    EXPECT_EQ(Hold(calc, &DesignEditor::UpDown5Click, Arrow::Up, 8, F::Label29),
              (Texts{"13.1", "13.2", "13.3", "13.4", "13.5", "13.7", "13.9", "14.1"}));
    // A new press starts again at 0.1 from where the last one ended.
    EXPECT_EQ(Hold(calc, &DesignEditor::UpDown5Click, Arrow::Up, 2, F::Label29),
              (Texts{"14.2", "14.3"}));
}

TEST(PressAndHold, ExactlyHalfAMillimetreAwayStillStepsSmall) {
    for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
        Calculator calc;
        calc.editor.UpDown6Click(arrow);  // the press takes 12.0 as its anchor
        calc.design.SetLen = arrow == Arrow::Up ? 12.5f : 11.5f;
        calc.editor.UpDown6Click(arrow);
        EXPECT_EQ(calc.view.text(F::Label30), arrow == Arrow::Up ? "12.6   " : "11.4   ");
    }
}

TEST(PressAndHold, MeanDiameterStopsAtTheBound) {
    Calculator calc;
    // 4.2 ... 3.7 by 0.1 (3.8 is not yet below 4.3 - 0.5), then by 0.2 down to 0.1, stored just
    // above the bound, and one more step to -0.1, where it stays.
    const Texts shown = Hold(calc, &DesignEditor::UpDown3Click, Arrow::Down, 30, F::Label27);
    EXPECT_EQ(Texts(shown.begin(), shown.begin() + 8),
              (Texts{"4.2", "4.1", "4.0", "3.9", "3.8", "3.7", "3.5", "3.3"}));
    EXPECT_EQ(shown[23], "0.1");
    EXPECT_EQ(Texts(shown.begin() + 24, shown.end()), Texts(6, "-0.1"));
    EXPECT_NEAR(double(calc.design.MeanDia), -0.0999998, 1e-7);
    EXPECT_EQ(calc.view.text(F::Label45), "内径 -0.80 外径 0.60");

    // From exactly 1.0 a held press ends just below the bound, at 0.0999999.
    Calculator one;
    one.design.MeanDia = 1.0f;
    Hold(one, &DesignEditor::UpDown3Click, Arrow::Down, 12, F::Label27);
    EXPECT_NEAR(double(one.design.MeanDia), 0.0999999, 1e-7);
}

TEST(PressAndHold, SharedFlagUsesEachFieldsOwnAnchor) {
    Calculator calc;
    // A press on the free length captures its anchor; without a release, the installed
    // length steps against its own anchor, still 0: far below, so 0.2 at once.
    calc.editor.UpDown5Click(Arrow::Up);
    calc.editor.UpDown6Click(Arrow::Up);
    EXPECT_EQ(calc.view.text(F::Label30), "12.2   ");
    calc.editor.EndPress();
    calc.editor.UpDown6Click(Arrow::Up);
    EXPECT_EQ(calc.view.text(F::Label30), "12.3   ");
    // Coarse steps neither read nor change the flag.
    calc.editor.UpDown11Click(Arrow::Up);
    EXPECT_EQ(calc.design.PressActive, 1);
}

TEST(Bounds, CoarseStepsAndTurnsStopAndStillRecheck) {
    Calculator calc;
    calc.editor.UpDown12Click(Arrow::Down);  // operating length 10.0 stays
    EXPECT_EQ(calc.view.text(F::Label31), "10.0   ");
    calc.editor.UpDown4Click(Arrow::Up);
    calc.editor.UpDown4Click(Arrow::Up);
    calc.editor.UpDown14Click(Arrow::Down);  // 10.5 -> 0.5
    EXPECT_EQ(calc.view.text(F::Label28), "0.5   ");
    calc.editor.UpDown4Click(Arrow::Down);  // 0.5 stays
    EXPECT_EQ(calc.view.text(F::Label28), "0.5   ");
    calc.editor.UpDown4Click(Arrow::Up);
    calc.editor.UpDown4Click(Arrow::Down);  // 1.0 -> 0.5
    EXPECT_EQ(calc.design.Turns, 0.5f);
    EXPECT_EQ(calc.view.text(F::Label48), "1.8   ");  // the solid length follows at once
    calc.editor.UpDown11Click(Arrow::Up);
    EXPECT_EQ(calc.view.text(F::Label30), "22.0   ");
}

TEST(TypeSwitch, RestylesAndLoadsTheOtherKind) {
    Calculator calc;
    const fakes::RecordingView& v = calc.view;
    auto colours = [&v] {
        return std::vector<TColor>{v.background(F::Label6),  v.background(F::Label29),
                                   v.background(F::Label37), v.font(F::Label14),
                                   v.font(F::Label17),       v.font(F::Label29),
                                   v.font(F::Label46)};
    };
    calc.editor.UpDown8Click(kExtension, 1);
    // clang-format off
    EXPECT_EQ(Differences(v, {{F::Label1, "  引張コイルバネの設計 "}, {F::Label9, "許容引張長 "},
        {F::Label26, "      0.32 "}, {F::Label27, "4.6   "}, {F::Label28, "18.5   "},
        {F::Label29, "14.8   "}, {F::Label30, "20.0   "}, {F::Label31, "30.0   "},
        {F::Label48, ""}, {F::Label40, ""}}), "");
    // clang-format on
    EXPECT_EQ(colours(), (std::vector<TColor>{clBtnFace, clBtnFace, clWhite, clBlack, clGray,
                                              clBlack, clGray}));
    EXPECT_FALSE(v.spinnerEnabled(Spinner::UpDown5) || v.spinnerEnabled(Spinner::UpDown10));
    calc.engine.AnalyseDesign();

    calc.editor.UpDown7Click(Arrow::Up);  // edits between switches are not kept
    calc.editor.UpDown8Click(kCompression, 1);
    // clang-format off
    EXPECT_EQ(Differences(v, {{F::Label1, "  圧縮コイルバネの設計 "}, {F::Label9, "許容圧縮長"},
        {F::Label29, "13.0   "}, {F::Label31, "10.0   "}, {F::Label48, "8.1   "},
        {F::Label37, "0.02  "}}), "");  // the initial tension stays until the next Run
    // clang-format on
    EXPECT_EQ(colours(),
              (std::vector<TColor>{clAqua, clWhite, clBtnFace, clGray, clBlack, clBlack, clBlack}));
    EXPECT_TRUE(v.spinnerEnabled(Spinner::UpDown5) && v.spinnerEnabled(Spinner::UpDown10));
}

}  // namespace
}  // namespace springcalc
