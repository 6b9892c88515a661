// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the page tells a screen reader of the window's value fields; the words themselves are
// the catalogue's (engine/words.h), like every other word of the page.

#include "engine/words.h"

namespace springcalc::web {

// clang-format off
// What a screen reader calls each value field of the window: its caption as said aloud (the
// window spaces some captions out, and some fields have none), and the label beside it that
// gives its unit, if any.
struct SpokenField {
    const char* name;
    const char* spoken;
    const char* unit;
};
inline constexpr SpokenField kSpokenFields[] = {
    {"Label25", Words("spoken.UpDown1"), ""},
    {"Label26", Words("spoken.UpDown2"), ""},
    {"Label27", Words("spoken.UpDown3"), ""},
    {"Label28", Words("spoken.UpDown4"), ""},
    {"Label29", Words("spoken.UpDown5"), ""},
    {"Label30", Words("spoken.UpDown6"), ""},
    {"Label31", Words("spoken.UpDown7"), ""},
    {"Label48", Words("spoken.Label48"), ""},
    {"Label32", Words("compressionLimit"), ""},
    {"Label45", Words("spoken.Label45"), ""},
    {"Label33", Words("caption.Label10"), "Label21"},
    {"Label34", Words("caption.Label11"), "Label23"},
    {"Label35", Words("caption.Label12"), ""},
    {"Label36", Words("caption.Label13"), "Label22"},
    {"Label37", Words("spoken.Label37"), "Label24"},
    {"Label38", Words("spoken.Label38"), ""},
    {"Label39", Words("spoken.Label39"), ""},
    {"Label40", Words("spoken.Label40"), ""},
    {"Label41", Words("caption.Label18"), ""},
    {"Label42", Words("caption.Label19"), ""},
    {"Label43", Words("caption.Label20"), ""},
};
// clang-format on

}  // namespace springcalc::web
