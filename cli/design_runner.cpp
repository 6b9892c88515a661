// SPDX-License-Identifier: GPL-3.0-or-later
#include "design_runner.h"

#include <algorithm>
#include <utility>

namespace springcalc::cli {

DesignRunner::DesignRunner(Clock clock) : engine_(outcome_.record, view_, std::move(clock)) {
    FillTables(blank_);
    // The window sets its warning colour at start-up; captions painted later use it.
    blank_.WarnColor = kWarnColor;
}

const Outcome& DesignRunner::Run(const DesignInput& input) {
    // A fresh record per design, so nothing of the previous one (such as the initial tension of
    // an extension spring) carries over into the next.
    TSpringDesign& design = outcome_.record;
    design = blank_;
    design.SpringKind = input.springKind;
    design.MaterialNo = input.materialNo;
    design.WireNo = input.wireNo;
    design.MeanDia = input.meanDia;
    design.Turns = input.turns;
    design.FreeLen = input.springKind == kCompression ? input.freeLen : 0.0f;
    design.SetLen = input.setLen;
    design.WorkLen = input.workLen;

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

}  // namespace springcalc::cli
