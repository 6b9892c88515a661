// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the page tells a screen reader of the window's value fields; the words themselves are
// the catalogue's (engine/words.h), like every other word of the page, named here by their keys
// so the page says them in its language.

namespace springcalc::web {

// clang-format off
// What a screen reader calls each value field of the window: the key of its caption as said
// aloud (the window spaces some captions out, and some fields have none), and the label beside
// it that gives its unit, if any.
struct SpokenField {
    const char* name;
    const char* spokenKey;
    const char* unit;
};
inline constexpr SpokenField kSpokenFields[] = {
    {"Label25", "spoken.UpDown1", ""},
    {"Label26", "spoken.UpDown2", ""},
    {"Label27", "spoken.UpDown3", ""},
    {"Label28", "spoken.UpDown4", ""},
    {"Label29", "spoken.UpDown5", ""},
    {"Label30", "spoken.UpDown6", ""},
    {"Label31", "spoken.UpDown7", ""},
    {"Label48", "spoken.Label48", ""},
    {"Label32", "spoken.Label32", ""},
    {"Label45", "spoken.Label45", ""},
    {"Label33", "spoken.Label33", "Label21"},
    {"Label34", "spoken.Label34", "Label23"},
    {"Label35", "spoken.Label35", ""},
    {"Label36", "spoken.Label36", "Label22"},
    {"Label37", "spoken.Label37", "Label24"},
    {"Label38", "spoken.Label38", ""},
    {"Label39", "spoken.Label39", ""},
    {"Label40", "spoken.Label40", ""},
    {"Label41", "caption.Label18", ""},
    {"Label42", "caption.Label19", ""},
    {"Label43", "caption.Label20", ""},
};
// clang-format on

}  // namespace springcalc::web
