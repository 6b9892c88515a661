// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A view that remembers what the engine showed, for tests without a window.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "engine/spring_view.h"

namespace springcalc::fakes {

class RecordingView : public SpringView {
public:
    void SetText(Field field, std::string_view text) override { text_[field] = std::string(text); }
    void SetColor(Field field, TColor background) override { background_[field] = background; }
    void SetFontColor(Field field, TColor color) override { font_[field] = color; }
    void SetEnabled(Command command, bool on) override { enabled_[int(command)] = on; }
    void SetPosition(Spinner spinner, int position) override { position_[int(spinner)] = position; }
    void SetSpinnerEnabled(Spinner spinner, bool on) override { spinnerOn_[int(spinner)] = on; }
    void SetVisible(Image image, bool visible) override { visible_[int(image)] = visible; }
    void ClearWarningLines() override { warnings.clear(); }
    void AppendWarningLine(std::string_view line) override { warnings.emplace_back(line); }

    // Fields never written read as "<unset>" so a missing write cannot pass for an empty one.
    std::string text(Field field) const { return Get(text_, field, std::string("<unset>")); }
    TColor background(Field field) const { return Get(background_, field, kUnset); }
    TColor font(Field field) const { return Get(font_, field, kUnset); }
    bool enabled(Command command) const { return enabled_[int(command)]; }
    int position(Spinner spinner) const { return position_[int(spinner)]; }
    bool spinnerEnabled(Spinner spinner) const { return spinnerOn_[int(spinner)]; }
    bool visible(Image image) const { return visible_[int(image)]; }

    static constexpr TColor kUnset = 0xDEADBEEF;
    std::vector<std::string> warnings;

private:
    template <typename Value>
    static Value Get(const std::map<Field, Value>& map, Field field, Value unset) {
        const auto it = map.find(field);
        return it == map.end() ? unset : it->second;
    }

    std::map<Field, std::string> text_;
    std::map<Field, TColor> background_;
    std::map<Field, TColor> font_;
    // As the window creates them: commands and spinners enabled, the compression drawing shown.
    std::array<bool, 3> enabled_{true, true, true};
    std::array<int, 4> position_{-1, -1, -1, -1};
    std::array<bool, 4> spinnerOn_{true, true, true, true};
    std::array<bool, 2> visible_{true, false};
};

}  // namespace springcalc::fakes
