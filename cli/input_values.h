// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the command line adds to reading what a user types (engine/input_text.h): standard wire
// sizes, end conditions, and numbers and ranges written back in its messages.

#include <optional>
#include <string>
#include <string_view>

#include "engine/input_text.h"
#include "engine/service_figures.h"

namespace springcalc::cli {

// Trimmed, with ASCII letters in lower case.
std::string Lowered(std::string_view text);

// A diameter in mm that is one of the standard sizes: "0.7", "0.70" and "7e-1" all name 0.70.
std::optional<int> FindWire(std::string_view text);

// The end condition `--ends` names; none, with the problem told in `problem`, for a name it
// does not know.
std::optional<EndCondition> EndsNamed(std::string_view text, std::string& problem);

// "from 0.1 to 10000"
std::string RangeText(Range range);
// The shortest decimal without an exponent that reads back as the same double; never depends
// on the locale.
std::string ShortestText(double value);
// printf's "%.<precision>f" followed by `tail`, for a value asked for or worked out from one;
// one too small to show in that many decimals (below 10^-precision) gets three
// significant digits, trailing zeros beyond `precision` dropped: 0.003 kg as "0.003", not
// "0.00". Never "-0.00".
std::string ReadableFixed(double value, int precision, std::string_view tail = {});

}  // namespace springcalc::cli
