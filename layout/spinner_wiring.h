// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which editor handler each value spinner of the window calls, and which spinners end a held
// press when the mouse goes up: the wiring the desktop window and the web page share.

#include <array>
#include <utility>

#include "engine/design_editor.h"

namespace springcalc::layout {

using ValueHandler = void (DesignEditor::*)(Arrow);

inline constexpr std::array<std::pair<const char*, ValueHandler>, 10> kValueSpinners{{
    {"UpDown3", &DesignEditor::UpDown3Click},
    {"UpDown9", &DesignEditor::UpDown9Click},
    {"UpDown4", &DesignEditor::UpDown4Click},
    {"UpDown14", &DesignEditor::UpDown14Click},
    {"UpDown5", &DesignEditor::UpDown5Click},
    {"UpDown10", &DesignEditor::UpDown10Click},
    {"UpDown6", &DesignEditor::UpDown6Click},
    {"UpDown11", &DesignEditor::UpDown11Click},
    {"UpDown7", &DesignEditor::UpDown7Click},
    {"UpDown12", &DesignEditor::UpDown12Click},
}};

// The fine spinners that accelerate while held; the release of the mouse starts the next press
// afresh.
inline constexpr std::array<const char*, 4> kPressSpinners{"UpDown3", "UpDown5", "UpDown6",
                                                           "UpDown7"};

}  // namespace springcalc::layout
