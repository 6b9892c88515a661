#include "collecting_view.h"

#include "spring_design.h"

namespace springcalc::cli {

void CollectingView::SetEnabled(Command command, bool enabled) {
    if (command == Command::N1) {
        runOffered_ = enabled;
    }
}

void CollectingView::AppendWarningLine(std::string_view line) {
    warnings_.push_back(WarningNumber(line));
}

int WarningNumber(std::string_view text) {
    for (size_t i = 0; i < kWarningTexts.size(); ++i) {
        if (text == kWarningTexts[i]) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

}  // namespace springcalc::cli
