// The spinner rules at the level of the stored single-precision values.

#include <gtest/gtest.h>

#include "design_editor.h"
#include "recording_view.h"

namespace springcalc {
namespace {

struct Editing {
    TSpringDesign design;
    fakes::RecordingView view;
    SpringEngine engine{design, view, [] { return LocalDateTime{2026, 12, 5, 9, 5}; }};
    DesignEditor editor{engine, view};
    Editing() { engine.StartUp(); }
};

TEST(PressAndHold, SixthStepIsLargeBecauseTheFifthLandsJustBeyondHalfAMillimetre) {
    Editing up;
    for (int i = 0; i < 5; ++i) {
        up.editor.UpDown5Click(Arrow::Up);
    }
    EXPECT_NEAR(double(up.design.FreeLen), 13.5000019, 1e-7);
    up.editor.UpDown5Click(Arrow::Up);
    EXPECT_EQ(up.view.text(Field::Label29), "13.7   ");

    Editing down;
    for (int i = 0; i < 5; ++i) {
        down.editor.UpDown5Click(Arrow::Down);
    }
    EXPECT_NEAR(double(down.design.FreeLen), 12.4999981, 1e-7);
    down.editor.UpDown5Click(Arrow::Down);
    EXPECT_EQ(down.view.text(Field::Label29), "12.3   ");
}

TEST(PressAndHold, MeanDiameterFromExactlyOneEndsJustBelowTheBound) {
    Editing e;
    e.design.MeanDia = 1.0f;
    for (int i = 0; i < 12; ++i) {
        e.editor.UpDown3Click(Arrow::Down);
    }
    EXPECT_NEAR(double(e.design.MeanDia), 0.0999999, 1e-7);
    EXPECT_EQ(e.view.text(Field::Label27), "0.1   ");
}

TEST(PressAndHold, SharedFlagUsesEachFieldsOwnAnchor) {
    Editing e;
    // A press on the free length captures its anchor; without a release, the installed
    // length steps against its own anchor, still 0: far below, so 0.2 at once.
    e.editor.UpDown5Click(Arrow::Up);
    e.editor.UpDown6Click(Arrow::Up);
    EXPECT_EQ(e.view.text(Field::Label30), "12.2   ");
    e.editor.EndPress();
    e.editor.UpDown6Click(Arrow::Up);
    EXPECT_EQ(e.view.text(Field::Label30), "12.3   ");
    // Coarse steps neither read nor change the flag.
    e.editor.UpDown11Click(Arrow::Up);
    EXPECT_EQ(e.design.PressActive, 1);
}

}  // namespace
}  // namespace springcalc
