// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the spin buttons do to the design: the material and wire selection, the fine and
// coarse steps of the mean diameter, turns and lengths with press-and-hold acceleration, the
// sample selector and the switch between compression and extension springs. The window's
// click handlers forward here, so every rule can be tested without a window.

#include "engine/spring_engine.h"

namespace springcalc {

// The arrow of a spin button that was pressed.
enum class Arrow { Up = 0, Down = 1 };

class DesignEditor {
public:
    DesignEditor(SpringEngine& engine, SpringView& view);

    // Selection spinners: the position is the material or wire number.
    void UpDown1Click(int position);
    void UpDown2Click(int position);

    // Value spinners: fine (with acceleration) and coarse.
    void UpDown3Click(Arrow arrow);   // mean diameter, fine
    void UpDown9Click(Arrow arrow);   // mean diameter, coarse
    void UpDown4Click(Arrow arrow);   // active turns, fine
    void UpDown14Click(Arrow arrow);  // active turns, coarse
    void UpDown5Click(Arrow arrow);   // free length, fine
    void UpDown10Click(Arrow arrow);  // free length, coarse
    void UpDown6Click(Arrow arrow);   // installed length, fine
    void UpDown11Click(Arrow arrow);  // installed length, coarse
    void UpDown7Click(Arrow arrow);   // operating length, fine
    void UpDown12Click(Arrow arrow);  // operating length, coarse

    // The mouse button went up after a press on a fine spinner: the next press starts afresh.
    void EndPress();

    // The spring type switch: `kind` is its new position, `sampleNumber` the selector's.
    void UpDown8Click(int kind, int sampleNumber);
    // The sample selector, at its new position.
    void UpDown13Click(int sampleNumber);

private:
    enum class FollowUp { Checks, DiametersAndChecks };
    void FineStep(float& value, float& anchor, Arrow arrow);
    static void CoarseStep(float& value, Arrow arrow);
    void Finish(Field field, float value, FollowUp followUp);

    SpringEngine& engine_;
    TSpringDesign& design_;
    SpringView& view_;
};

}  // namespace springcalc
