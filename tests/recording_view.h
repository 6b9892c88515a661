#pragma once
// A view that remembers what the engine showed, for tests without a window.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "spring_view.h"

namespace springcalc::fakes {

class RecordingView : public SpringView {
public:
    void SetText(Field field, std::string_view text) override { text_[field] = std::string(text); }
    void SetColor(Field field, TColor background) override { background_[field] = background; }
    void SetFontColor(Field field, TColor color) override { font_[field] = color; }
    void SetEnabled(Command command, bool enabled) override {
        enabled_[static_cast<int>(command)] = enabled;
    }
    void SetPosition(Spinner spinner, int position) override {
        position_[static_cast<int>(spinner)] = position;
    }
    void SetSpinnerEnabled(Spinner spinner, bool enabled) override {
        spinnerEnabled_[static_cast<int>(spinner)] = enabled;
    }
    void SetVisible(Image image, bool visible) override {
        visible_[static_cast<int>(image)] = visible;
    }
    void ClearWarningLines() override { warnings.clear(); }
    void AppendWarningLine(std::string_view line) override { warnings.emplace_back(line); }

    // Fields never written read as "<unset>" so a missing write cannot pass for an empty one.
    std::string text(Field field) const {
        auto it = text_.find(field);
        return it == text_.end() ? "<unset>" : it->second;
    }
    TColor background(Field field) const {
        auto it = background_.find(field);
        return it == background_.end() ? kUnset : it->second;
    }
    TColor font(Field field) const {
        auto it = font_.find(field);
        return it == font_.end() ? kUnset : it->second;
    }
    bool enabled(Command command) const { return enabled_[static_cast<int>(command)]; }
    int position(Spinner spinner) const { return position_[static_cast<int>(spinner)]; }
    bool spinnerEnabled(Spinner spinner) const {
        return spinnerEnabled_[static_cast<int>(spinner)];
    }
    bool visible(Image image) const { return visible_[static_cast<int>(image)]; }

    static constexpr TColor kUnset = 0xDEADBEEF;
    std::vector<std::string> warnings;

private:
    std::map<Field, std::string> text_;
    std::map<Field, TColor> background_;
    std::map<Field, TColor> font_;
    // Commands start enabled, as the menu is created.
    std::array<bool, 3> enabled_{true, true, true};
    std::array<int, 4> position_{-1, -1, -1, -1};
    std::array<bool, 4> spinnerEnabled_{true, true, true, true};
    std::array<bool, 2> visible_{true, false};
};

}  // namespace springcalc::fakes
