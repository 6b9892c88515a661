// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs designs through the window's engine in the window's order, one after another, each on
// a record that starts afresh.

#include <vector>

#include "engine/design_input.h"
#include "engine/spring_engine.h"

namespace springcalc {

// What the engine made of a design: the record after the run, and the warning list by number.
struct Outcome {
    // False where the window withholds Run (warning 1 or 5): only the checks ran, and every
    // result is still as a fresh record has it.
    bool analysed = false;
    std::vector<int> warnings;  // as the window lists them, repeats included
    TSpringDesign record;
};

class DesignRunner {
public:
    explicit DesignRunner(Clock clock = SystemLocalTime);
    DesignRunner(const DesignRunner&) = delete;
    DesignRunner& operator=(const DesignRunner&) = delete;

    // Enters the design as the window's sample load does (selection, diameters, strength lookup
    // with its checks), then chooses Run when the window offers it. The outcome stays until the
    // next Run.
    const Outcome& Run(const DesignInput& input);

private:
    Outcome outcome_;
    NullView view_;  // the outcome is read from the record and the engine
    SpringEngine engine_;
};

// The window repeats a warning for each length or load that trips it; tables say each once, in
// the order of first appearance.
std::vector<int> DistinctWarnings(const std::vector<int>& warnings);

}  // namespace springcalc
