// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed layout of the main window: every control with its name, place, size, text and
// colours at creation. Coordinates are left, top, width, height of the client area in pixels
// at 100 pixels per inch, and font sizes pixel heights at that resolution; the desktop's
// DesignScale turns them into the screen's pixels, the web page into CSS pixels. Free of any
// toolkit, so the desktop window and the web page are built from this one table.

#include <array>
#include <cmath>

#include "layout/spring_drawings.h"
#include "engine/spring_view.h"
#include "engine/words.h"

namespace springcalc::layout {

// A colour of its own, or none: the label then shows the window's own colour.
inline constexpr TColor kParentColor = 0xFFFFFFFF;

enum class LabelStyle {
    Caption,  // sizes itself to its text, left-aligned
    Value,    // fixed size, right-aligned, 17 pixels
    Fixed,    // fixed size, right-aligned, own font size
};

struct LabelSpec {
    const char* name;
    int x, y, width, height;
    const char* text;
    LabelStyle style;
    TColor background;
    TColor font;
    int fontPixels;
};

using enum LabelStyle;

// clang-format off
inline constexpr std::array kLabels{
    // Head
    LabelSpec{"Label1",    57,  18, 209, 20, Words("titleCompression"),    Caption, kTitleColor, clWindowText, 20},
    LabelSpec{"Label44",  207,  54,  64, 21, "Sample ",                        Fixed,   clBlue,      clWhite,      17},
    LabelSpec{"Labeldate", 48,  49,  60, 15, "Labeldate",                      Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label49",  394,  59,  45, 15, Words("caption.Label49"),     Caption, kParentColor, clWindowText, 15},
    // Input rows: captions
    LabelSpec{"Label2",    40,  97,  70, 15, Words("caption.Label2"),      Caption, clAqua,       clWindowText, 15},
    LabelSpec{"Label3",    40, 127,  70, 15, Words("caption.Label3"),      Caption, clAqua,       clWindowText, 15},
    LabelSpec{"Label4",    40, 157,  70, 15, Words("caption.Label4"),      Caption, clAqua,       clWindowText, 15},
    LabelSpec{"Label5",    40, 215,  70, 15, Words("caption.Label5"),      Caption, clAqua,       clWindowText, 15},
    LabelSpec{"Label6",    40, 245,  70, 15, Words("caption.Label6"),      Caption, clAqua,       clWindowText, 15},
    LabelSpec{"Label7",    40, 275,  70, 15, Words("caption.Label7"),      Caption, clAqua,       clWindowText, 15},
    LabelSpec{"Label8",    40, 305,  70, 15, Words("caption.Label8"),      Caption, clAqua,       clWindowText, 15},
    LabelSpec{"Label46",   36, 335,  75, 15, Words("caption.Label46"),     Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label9",    38, 365,  75, 15, Words("compressionLimit"),    Caption, kParentColor, clWindowText, 15},
    // Input rows: values
    LabelSpec{"Label25",  115,  97, 105, 17, "SUS304-WPB",                     Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label26",  150, 127,  70, 17, "         0.08  ",                Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label27",  150, 157,  70, 17, "       10.0   ",                 Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label28",  150, 215,  70, 17, "       10.0   ",                 Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label29",  150, 245,  70, 17, "       60.0   ",                 Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label30",  150, 275,  70, 17, "       50.0   ",                 Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label31",  150, 305,  70, 17, "       40.0   ",                 Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label48",  150, 335,  70, 17, "  ",                             Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label32",  150, 365,  70, 17, "  ",                             Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label45",   71, 183, 170, 15, Words("caption.Label45"),     Caption, clWhite,      clWindowText, 15},
    // Results: captions
    LabelSpec{"Label10",  264,  97, 105, 15, Words("caption.Label10"),     Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label11",  264, 127, 105, 15, Words("caption.Label11"),     Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label12",  264, 157,  75, 15, Words("caption.Label12"),     Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label13",  264, 187,  59, 15, Words("caption.Label13"),     Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label14",  264, 217,  65, 15, Words("caption.Label14"),     Caption, clBtnFace,    clGray,       15},
    LabelSpec{"Label15",  264, 275,  35, 15, "τset",                          Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label16",  264, 305,  35, 15, "τact",                          Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label17",  264, 335,  40, 15, "τmax",                          Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label18",  399, 275,  31, 15, Words("caption.Label18"),     Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label19",  399, 305,  31, 15, Words("caption.Label19"),     Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label20",  398, 335,  36, 15, Words("caption.Label20"),     Caption, kParentColor, clWindowText, 15},
    // Results: values
    LabelSpec{"Label33",  380,  97,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label34",  380, 127,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label35",  380, 157,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label36",  380, 187,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label37",  380, 217,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label38",  310, 275,  70, 17, "",                               Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label39",  310, 305,  70, 17, "",                               Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label40",  310, 335,  70, 17, "",                               Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label41",  440, 275,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label42",  440, 305,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    LabelSpec{"Label43",  440, 335,  70, 17, "   ",                            Value,   clWhite,      clWindowText, 17},
    // Results: units
    LabelSpec{"Label21",  460,  97,  60, 15, "Kg/mm^2",                        Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label23",  460, 127,  60, 15, "Kg/mm^2",                        Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label22",  460, 187,  46, 15, "Kg/mm",                          Caption, kParentColor, clWindowText, 15},
    LabelSpec{"Label24",  460, 217,  16, 15, "Kg",                             Caption, kParentColor, clWindowText, 15},
    // Warning list caption
    LabelSpec{"Label47",   40, 390,  45, 15, Words("caption.Label47"),     Caption, kParentColor, clGray,       15},
};

struct SpinnerSpec {
    const char* name;
    int x, y, width, height;
    int minimum, maximum, position;
    bool wrap;
    bool tabStop;
    // What a screen reader calls the pair; the arrows add the catalogue's arrowUp and arrowDown.
    const char* spokenName;
};

// In the keyboard's tab order. The coarse spinners step by 10, which their names say.
inline constexpr std::array kSpinners{
    //          name        x    y   w   h    min    max  pos  wrap   tab    spoken
    SpinnerSpec{"UpDown1",  225,  90, 20, 25,     0,     8,  0, true,  true,  Words("spoken.UpDown1")},
    SpinnerSpec{"UpDown2",  225, 121, 20, 25,     0,    45,  0, true,  false, Words("spoken.UpDown2")},
    SpinnerSpec{"UpDown3",  225, 152, 20, 25, -1000,  1000,  0, true,  false, Words("spoken.UpDown3")},
    SpinnerSpec{"UpDown4",  225, 210, 20, 25, -1000,  1000,  9, true,  false, Words("spoken.UpDown4")},
    SpinnerSpec{"UpDown5",  225, 241, 20, 25, -1000,  1000,  0, true,  false, Words("spoken.UpDown5")},
    SpinnerSpec{"UpDown6",  225, 271, 20, 25, -1000,  1000,  0, true,  false, Words("spoken.UpDown6")},
    SpinnerSpec{"UpDown7",  225, 303, 20, 25, -1000,  1000,  0, true,  false, Words("spoken.UpDown7")},
    SpinnerSpec{"UpDown9",  125, 153, 20, 24, -1000,  1000,  1, true,  false, Words("spoken.UpDown9")},
    SpinnerSpec{"UpDown8",  278,  15, 18, 25,     0,     1,  0, true,  false, Words("spoken.UpDown8")},
    SpinnerSpec{"UpDown10", 125, 241, 20, 25, -1000,  1000,  6, true,  false, Words("spoken.UpDown10")},
    SpinnerSpec{"UpDown11", 125, 273, 20, 25, -1000,  1000,  5, true,  false, Words("spoken.UpDown11")},
    SpinnerSpec{"UpDown12", 125, 302, 20, 25, -1000,  1000,  4, true,  false, Words("spoken.UpDown12")},
    SpinnerSpec{"UpDown13", 279,  51, 20, 25,     1,    12,  1, true,  false, Words("spoken.UpDown13")},
    SpinnerSpec{"UpDown14", 124, 210, 20, 25, -1000,  1000,  0, false, false, Words("spoken.UpDown14")},
};

struct ImageSpec {
    const char* name;
    int x, y, width, height;
    springcalc::SpringDrawing drawing;
    bool visible;
    const char* spokenName;
    const char* description;
};

inline constexpr std::array kImages{
    ImageSpec{"Image1", 320, -10, 200, 100, springcalc::SpringDrawing::Compression, true,  Words("spoken.Image1"),
              Words("described.Image1")},
    ImageSpec{"Image2", 320,   0, 200, 100, springcalc::SpringDrawing::Extension,   false, Words("spoken.Image2"),
              Words("described.Image2")},
};

struct Rect {
    int x, y, width, height;
};
inline constexpr Rect kMemo1{91, 391, 373, 66};

// The window: outer size 562 x 508 at (281, 125); the client area below leaves room for a
// sizeable frame and its title bar and still holds every control.
inline constexpr Rect kWindow{281, 125, 554, 477};
inline constexpr const char* kCaption = Words("windowCaption");

// Control names of the engine's fields, in the order of the Field enumeration.
inline constexpr std::array<const char*, kFieldCount> kFieldNames{
    "Label1",  "Label3",  "Label4",  "Label6",  "Label7",  "Label8",  "Label9",
    "Label14", "Label17", "Label25", "Label26", "Label27", "Label28", "Label29",
    "Label30", "Label31", "Label32", "Label33", "Label34", "Label35", "Label36",
    "Label37", "Label38", "Label39", "Label40", "Label41", "Label42", "Label43",
    "Label45", "Label46", "Label47", "Label48", "Labeldate",
};
// clang-format on

// The pop-up menu PopupMenu1: its entries in order, by control name and caption.
struct MenuEntrySpec {
    const char* name;
    const char* caption;
};
inline constexpr std::array kMenu{
    MenuEntrySpec{"N1", Words("menu.N1")},
    MenuEntrySpec{"N2", Words("menu.N2")},
    MenuEntrySpec{"N3", Words("menu.N3")},
    MenuEntrySpec{"Exit2", Words("menu.Exit2")},
};

// SaveDialog1's file types, description then pattern, the first chosen when it opens; "*.*"
// means every file.
struct SaveFilterSpec {
    const char* description;
    const char* pattern;
};
inline constexpr std::array kSaveFilters{
    SaveFilterSpec{Words("filter.txt"), "*.txt"},
    SaveFilterSpec{Words("filter.spr"), "*.spr"},
    SaveFilterSpec{Words("filter.bne"), "*.bne"},
    SaveFilterSpec{Words("filter.all"), "*.*"},
};

// The window is designed at 100 pixels per inch. Shown at another resolution, every length,
// fonts included, is scaled by the same factor and rounded to whole pixels; edges are scaled
// rather than sizes, so controls that touch at 100 dpi still touch.
inline constexpr double kDesignDpi = 100.0;
inline int ScaledLength(int designPixels, double factor) {
    return static_cast<int>(std::lround(designPixels * factor));
}

// The window's proportional Gothic face, asked for by these names in this order: the Windows
// face first, then the free stand-in Debian installs.
inline constexpr std::array<const char*, 3> kFontFamilies{Words("fontWindows"), "MS PGothic",
                                                          "IPAPGothic"};

// A held arrow of a spinner clicks once at the press, again after the first delay and then at
// every interval until it is released: the platform up-down control's timing.
inline constexpr int kRepeatDelayMs = 300;
inline constexpr int kRepeatIntervalMs = 100;

// Where the engine's spin buttons step to: one up or down within [minimum, maximum], over the
// end to the other end when `wrap`, else staying at the end. Positions are 16-bit numbers.
inline constexpr int StepPosition(int position, int minimum, int maximum, bool wrap, bool up) {
    if (up) {
        return position < maximum ? position + 1 : wrap ? minimum : position;
    }
    return position > minimum ? position - 1 : wrap ? maximum : position;
}

}  // namespace springcalc::layout
