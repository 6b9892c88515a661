#pragma once
// Runs a design through the window's engine in the window's order, one design after another on
// a fresh record each time, and keeps what came out.

#include <cstdint>
#include <string>
#include <vector>

#include "collecting_view.h"
#include "design_input.h"
#include "spring_design.h"

namespace springcalc::cli {

// The numbers of the design record after a run, named as in the record. Left out: the constant
// tables (the chosen entries are here as MaterialNo, WireNo and WireDia) and the window's
// interaction state (press-and-hold anchors, press flag, warning colour). Small enough to keep
// for every row of a long file.
struct DesignValues {
    std::int32_t SpringKind = kCompression;
    std::int32_t MaterialNo = 0;
    std::int32_t WireNo = 0;
    float WireDia = 0;
    float MeanDia = 0;
    float InnerDia = 0;
    float OuterDia = 0;
    float Turns = 0;
    float FreeLen = 0;
    float SetLen = 0;
    float WorkLen = 0;
    float SolidLen = 0;
    float LimitLen = 0;
    float Tset = 0;
    float Tact = 0;
    float Tmax = 0;
    float AllowStatic = 0;
    float AllowStaticExt = 0;
    float AllowFatigue = 0;
    float InitTension = 0;
    float Pset = 0;
    float Pact = 0;
    float Pmax = 0;
    float TensileStrength = 0;
    float ShearModulus = 0;
    float SpringRate = 0;
    std::string DateText;
};

DesignValues CaptureValues(const TSpringDesign& design);

struct DesignOutcome {
    // False where the window withholds Run (warning 1 or 5): only the checks ran, and every
    // result is still as a fresh record has it.
    bool analysed = false;
    std::vector<int> warnings;  // as the window lists them, repeats included
    DesignValues values;
};

class DesignRunner {
public:
    explicit DesignRunner(Clock clock);
    DesignRunner(const DesignRunner&) = delete;
    DesignRunner& operator=(const DesignRunner&) = delete;

    // Enters the design as the window's sample load does (selection, diameters, strength lookup
    // with its checks), then chooses Run when the window offers it.
    DesignOutcome Run(const DesignInput& input);

    // The record after the last Run, for its report block.
    const TSpringDesign& design() const { return design_; }

private:
    TSpringDesign blank_;  // tables filled, everything else as at start
    TSpringDesign design_;
    CollectingView view_;
    SpringEngine engine_;
};

}  // namespace springcalc::cli
