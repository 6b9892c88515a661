// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's window onto the screen. The engine writes what it shows into named display
// fields and never reads them back; the main window implements this over its widgets, tests
// implement it with a recording fake. Nothing here depends on a GUI toolkit.

#include <cstdint>
#include <string_view>

#include "engine/text_format.h"

namespace springcalc {

// Colours as 0x00BBGGRR, or a system colour 0x80000000 + index.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clAqua = 0x00FFFF00;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clWindowText = 0x80000008;
// Orange: red 0xFF, green 0x80, blue 0x40. Paints the caption of an input that fails a check.
inline constexpr TColor kWarnColor = 0x004080FF;
// Light yellow behind the title.
inline constexpr TColor kTitleColor = 0x0080FFFF;

// The display fields and captions that change at run time, by control name.
enum class Field {
    Label1,   // title
    Label3,   // caption: wire diameter
    Label4,   // caption: mean diameter
    Label6,   // caption: free length
    Label7,   // caption: installed length
    Label8,   // caption: operating length
    Label9,   // caption: allowable (limit) length
    Label14,  // caption: initial tension
    Label17,  // caption: tau max
    Label25,  // material
    Label26,  // wire diameter
    Label27,  // mean diameter
    Label28,  // active turns
    Label29,  // free length
    Label30,  // installed length
    Label31,  // operating length
    Label32,  // limit length
    Label33,  // static-load allowable stress
    Label34,  // repeated-load allowable stress
    Label35,  // transverse elastic modulus
    Label36,  // spring constant
    Label37,  // initial tension
    Label38,  // tau set
    Label39,  // tau act
    Label40,  // tau max
    Label41,  // P set
    Label42,  // P act
    Label43,  // P max
    Label45,  // inner and outer diameter
    Label46,  // caption: solid length
    Label47,  // caption of the warning list
    Label48,  // solid length
    Labeldate,
};
inline constexpr int kFieldCount = static_cast<int>(Field::Labeldate) + 1;

// Pop-up menu commands the engine switches.
enum class Command { N1, N2, N3 };

// Spin buttons the engine moves (the material and the wire number) or switches (the two
// free-length spinners, which only a compression spring uses).
enum class Spinner { UpDown1, UpDown2, UpDown5, UpDown10 };

// The two drawings: a compression spring and an extension spring.
enum class Image { Image1, Image2 };

class SpringView {
public:
    virtual ~SpringView() = default;
    // Texts are UTF-8.
    virtual void SetText(Field field, std::string_view text) = 0;
    // A number shown as printf's "%.<precision>f" followed by `tail`. A view that shows nothing
    // skips the formatting, which is most of the cost of a design run without a screen.
    virtual void SetNumber(Field field, double value, int precision, std::string_view tail) {
        SetText(field, FixedText(value, precision, tail));
    }
    // Two numbers in one text: `head`, the first, `middle`, the second, both "%.<precision>f".
    virtual void SetNumberPair(Field field, std::string_view head, double first,
                               std::string_view middle, double second, int precision) {
        SetText(field, std::string(head) + FixedText(first, precision, middle) +
                           FixedText(second, precision));
    }
    virtual void SetColor(Field field, TColor background) = 0;
    virtual void SetFontColor(Field field, TColor color) = 0;
    virtual void SetEnabled(Command command, bool enabled) = 0;
    // Moves a spinner without running its click handler.
    virtual void SetPosition(Spinner spinner, int position) = 0;
    virtual void SetSpinnerEnabled(Spinner spinner, bool enabled) = 0;
    virtual void SetVisible(Image image, bool visible) = 0;
    // The warning list Memo1.
    virtual void ClearWarningLines() = 0;
    virtual void AppendWarningLine(std::string_view line) = 0;
};

// Shows nothing: for running designs where no one looks, such as the command line and the
// benchmarks. Numbers are not even formatted.
class NullView : public SpringView {
public:
    void SetText(Field, std::string_view) override {}
    void SetNumber(Field, double, int, std::string_view) override {}
    void SetNumberPair(Field, std::string_view, double, std::string_view, double, int) override {}
    void SetColor(Field, TColor) override {}
    void SetFontColor(Field, TColor) override {}
    void SetEnabled(Command, bool) override {}
    void SetPosition(Spinner, int) override {}
    void SetSpinnerEnabled(Spinner, bool) override {}
    void SetVisible(Image, bool) override {}
    void ClearWarningLines() override {}
    void AppendWarningLine(std::string_view) override {}
};

}  // namespace springcalc
