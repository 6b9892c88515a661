// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/design_runner.h"

#include <algorithm>
#include <utility>

namespace springcalc {

DesignRunner::DesignRunner(Clock clock) : engine_(outcome_.record, view_, std::move(clock)) {
    FillTables(outcome_.record);
}

const Outcome& DesignRunner::Run(const DesignInput& input) {
    // Everything but the tables starts afresh for each design, so nothing of the previous one
    // (such as the initial tension of an extension spring) carries over into the next.
    TSpringDesign& design = outcome_.record;
    static_cast<SpringValues&>(design) = SpringValues{};
    // The window sets its warning colour at start-up; captions painted later use it.
    design.WarnColor = kWarnColor;
    design.SpringKind = input.springKind;
    engine_.EnterInputs(input);

    engine_.UpdateDiameters();
    engine_.LookupStrength(design.MaterialNo);
    engine_.MarkResultsStale();
    outcome_.analysed = engine_.RunOffered();
    if (outcome_.analysed) {
        engine_.AnalyseDesign();
    }
    outcome_.warnings = engine_.Warnings();
    return outcome_;
}

std::vector<int> DistinctWarnings(const std::vector<int>& warnings) {
    std::vector<int> distinct;
    for (int number : warnings) {
        if (std::find(distinct.begin(), distinct.end(), number) == distinct.end()) {
            distinct.push_back(number);
        }
    }
    return distinct;
}

}  // namespace springcalc
