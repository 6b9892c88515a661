// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's view in the page: every field, colour, command, spinner, drawing and warning line
// the engine writes goes to the page's elements of the same control names (page.js builds them
// from the layout table and carries the calls out), its words in the page's language.

#include <functional>
#include <string>

#include "engine/spring_view.h"

namespace springcalc::web {

// A colour as CSS: the system colours as CSS system colours, the window's "no colour of its
// own" as transparent, so the label shows the window behind it.
std::string CssColor(TColor color);

class WebView : public SpringView {
public:
    void SetText(Field field, std::string_view text) override;
    void SetNumberPair(Field field, std::string_view head, double first, std::string_view middle,
                       double second, int precision) override;
    void SetColor(Field field, TColor background) override;
    void SetFontColor(Field field, TColor color) override;
    void SetEnabled(Command command, bool enabled) override;
    void SetPosition(Spinner spinner, int position) override;
    void SetSpinnerEnabled(Spinner spinner, bool enabled) override;
    void SetVisible(Image image, bool visible) override;
    void ClearWarningLines() override;
    void AppendWarningLine(std::string_view line) override;

    // Where the engine's spinner moves go: the calculator keeps every spinner's position.
    std::function<void(const char* spinner, int position)> onPosition;
};

// The control name of a spinner the engine moves.
const char* SpinnerName(Spinner spinner);

}  // namespace springcalc::web
