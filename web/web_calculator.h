// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of the page: the design record, the engine and the spinner rules behind the page's
// controls, as the desktop window holds them. The page forwards clicks and commands here by
// control name; everything shown comes back through the WebView.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/design_editor.h"
#include "engine/spring_search.h"
#include "layout/window_layout.h"
#include "web/web_view.h"

namespace springcalc::web {

class WebCalculator {
public:
    WebCalculator();
    ~WebCalculator();

    // A fresh record brought up as the program starts: every control at its design-time
    // position and text (the page rebuilds those from the layout), compression sample 1, Save
    // and Print offered. The page's Exit: a page cannot end its process, so it starts afresh.
    void Start();

    // A press or held repeat of a spinner's arrow, by control name; false for no such spinner.
    bool Click(const std::string& spinner, bool up);
    // The mouse button went up after a press on the spinner.
    void MouseUp(const std::string& spinner);
    void Run();

    // The Save block of the current record in code page 932 with CR LF, as the desktop writes
    // it; empty when the text has no code page 932 form.
    std::string ReportBytes() const;

    // Enters a design as a sample is loaded: the kind switched first when it differs.
    void LoadDesign(const DesignInput& input);

    // Date stamps from a fixed time instead of the computer's clock (0 year: the clock again),
    // so that a report can be made again to the byte.
    void SetFixedTime(const LocalDateTime& when) { fixedTime_ = when; }

    const TSpringDesign& design() const;
    int position(const std::string& spinner) const;
    // Whether a Run took place since the last start: the panel has figures to show.
    bool analysed() const { return analysed_; }

private:
    struct State;
    int& PositionOf(const char* spinner);

    std::unique_ptr<State> state_;
    std::array<int, layout::kSpinners.size()> positions_{};
    LocalDateTime fixedTime_{};
    bool analysed_ = false;
};

}  // namespace springcalc::web
