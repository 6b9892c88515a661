#pragma once
// The aligned table `check` prints: inputs, derived length, results and warnings per design.

#include <ostream>
#include <vector>

#include "checked_design.h"

namespace springcalc::cli {

void WriteCheckTable(std::ostream& out, const std::vector<CheckedDesign>& designs, bool withNames,
                     Units units);

}  // namespace springcalc::cli
