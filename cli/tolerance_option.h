// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --tolerance-grade, as `check` and `search` take it, and the line of a design's tolerances as
// a drawing gives them ("Pact 2.06 ± 0.21 kg").

#include <optional>
#include <string>
#include <string_view>

#include "engine/spring_design.h"
#include "engine/tolerance_grades.h"

namespace springcalc::cli {

// What is wrong with the option's value, or nothing.
std::string ToleranceGradeProblem(std::string_view text);

// The six grades as the help and the messages list them: "JIS-1, JIS-2, ..., EN-3".
std::string ToleranceGradeList();

// "JIS-2: Pset 0.97 ± 0.10 kg, Pact 2.06 ± 0.21 kg, OD 4.70 ± 0.20 mm, ...", each figure the
// grade gives a tolerance for; the others named once at the end as the buyer's and the maker's
// to agree.
// `t`: the grade's tolerances of `design`.
std::string ToleranceLine(ToleranceGrade grade, const TSpringDesign& design,
                          const SpringTolerances& t);

}  // namespace springcalc::cli
