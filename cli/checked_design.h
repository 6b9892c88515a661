#pragma once
// A design of a check file together with what the engine made of it, and the unit choice of
// the output.

#include "design_input.h"
#include "design_runner.h"

namespace springcalc::cli {

struct CheckedDesign {
    DesignInput input;
    DesignOutcome outcome;
};

enum class Units { Kgf, KgfAndSi };

// Standard gravity: 1 kgf = 9.80665 N.
inline constexpr double kNewtonsPerKgf = 9.80665;

inline double Newtons(float kgf) {
    return double(kgf) * kNewtonsPerKgf;
}

}  // namespace springcalc::cli
