// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_calculator.h"

#include <algorithm>
#include <cstring>

#include "layout/spinner_wiring.h"
#include "report/report_writer.h"

namespace springcalc::web {

struct WebCalculator::State {
    TSpringDesign design;
    WebView view;
    SpringEngine engine;
    DesignEditor editor{engine, view};

    explicit State(Clock clock) : engine(design, view, std::move(clock)) {}
};

WebCalculator::WebCalculator() = default;
WebCalculator::~WebCalculator() = default;

void WebCalculator::Start() {
    state_ = std::make_unique<State>(
        [this] { return fixedTime_.year != 0 ? fixedTime_ : SystemLocalTime(); });
    for (size_t i = 0; i < layout::kSpinners.size(); ++i) {
        positions_[i] = layout::kSpinners[i].position;
    }
    state_->view.onPosition = [this](const char* spinner, int position) {
        PositionOf(spinner) = position;
    };
    analysed_ = false;
    // The commands as the window makes them: all offered, until the checks and the first change
    // decide otherwise.
    for (const Command command : {Command::N1, Command::N2, Command::N3}) {
        state_->view.SetEnabled(command, true);
    }
    state_->engine.StartUp();
}

int& WebCalculator::PositionOf(const char* spinner) {
    const auto found = std::find_if(layout::kSpinners.begin(), layout::kSpinners.end(),
                                    [spinner](const layout::SpinnerSpec& spec) {
                                        return std::strcmp(spec.name, spinner) == 0;
                                    });
    return positions_[static_cast<size_t>(found - layout::kSpinners.begin())];
}

int WebCalculator::position(const std::string& spinner) const {
    for (size_t i = 0; i < layout::kSpinners.size(); ++i) {
        if (spinner == layout::kSpinners[i].name) {
            return positions_[i];
        }
    }
    return 0;
}

bool WebCalculator::Click(const std::string& spinner, bool up) {
    const auto spec =
        std::find_if(layout::kSpinners.begin(), layout::kSpinners.end(),
                     [&spinner](const layout::SpinnerSpec& s) { return spinner == s.name; });
    if (spec == layout::kSpinners.end()) {
        return false;
    }
    int& position = PositionOf(spec->name);
    position = layout::StepPosition(position, spec->minimum, spec->maximum, spec->wrap, up);
    const Arrow arrow = up ? Arrow::Up : Arrow::Down;
    DesignEditor& editor = state_->editor;
    for (const auto& [name, handler] : layout::kValueSpinners) {
        if (spinner == name) {
            (editor.*handler)(arrow);
            return true;
        }
    }
    if (spinner == "UpDown1") {
        editor.UpDown1Click(position);
    } else if (spinner == "UpDown2") {
        editor.UpDown2Click(position);
    } else if (spinner == "UpDown8") {
        editor.UpDown8Click(position, PositionOf("UpDown13"));
    } else if (spinner == "UpDown13") {
        editor.UpDown13Click(position);
    }
    return true;
}

void WebCalculator::MouseUp(const std::string& spinner) {
    for (const char* name : layout::kPressSpinners) {
        if (spinner == name) {
            state_->editor.EndPress();
        }
    }
}

void WebCalculator::Run() {
    state_->engine.AnalyseDesign();
    analysed_ = true;
}

std::string WebCalculator::ReportBytes() const {
    return EncodeReport(FormatReportBlock(state_->design)).value_or(std::string());
}

void WebCalculator::LoadDesign(const DesignInput& input) {
    if (input.springKind != state_->design.SpringKind) {
        int& kind = PositionOf("UpDown8");
        kind = input.springKind;
        state_->editor.UpDown8Click(kind, PositionOf("UpDown13"));
    }
    SpringEngine& engine = state_->engine;
    engine.EnterInputs(input);
    // Sample number 0 enters nothing: the loads show the inputs just entered.
    if (input.springKind == kCompression) {
        engine.LoadCompressionSample(0);
    } else {
        engine.LoadExtensionSample(0);
    }
    engine.RefreshAfterSampleLoad();
}

const TSpringDesign& WebCalculator::design() const {
    return state_->design;
}

}  // namespace springcalc::web
