#pragma once
// The JSON `check --json` prints: an array with one object per design, one object per line.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "checked_design.h"

namespace springcalc::cli {

void WriteCheckJson(std::ostream& out, const std::vector<CheckedDesign>& designs, bool withNames,
                    Units units);

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view text);
// The shortest decimal that reads back as the same float; null for a value that is not finite.
std::string JsonNumber(float value);

}  // namespace springcalc::cli
