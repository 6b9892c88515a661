#pragma once
// A SpringView with no display. Of all the engine shows it keeps what a run's outcome needs:
// the warning list, by number, and whether the window would offer Run.

#include <vector>

#include "spring_view.h"

namespace springcalc::cli {

class CollectingView final : public SpringView {
public:
    void SetText(Field, std::string_view) override {}
    void SetColor(Field, TColor) override {}
    void SetFontColor(Field, TColor) override {}
    void SetEnabled(Command command, bool enabled) override;
    void SetPosition(Spinner, int) override {}
    void SetSpinnerEnabled(Spinner, bool) override {}
    void SetVisible(Image, bool) override {}
    void ClearWarningLines() override { warnings_.clear(); }
    void AppendWarningLine(std::string_view line) override;

    bool runOffered() const { return runOffered_; }
    // In the order the window lists them, repeats included.
    const std::vector<int>& warnings() const { return warnings_; }

private:
    bool runOffered_ = true;
    std::vector<int> warnings_;
};

// The number 1..7 of a warning text, 0 for a text that is none of them.
int WarningNumber(std::string_view text);

}  // namespace springcalc::cli
