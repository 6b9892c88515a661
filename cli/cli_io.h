#pragma once
// The streams and the clock a command runs with: the process's own in main, strings and a
// fixed clock in tests.

#include <istream>
#include <ostream>

#include "spring_design.h"

namespace springcalc::cli {

struct CliIo {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    Clock clock = SystemLocalTime;
};

// Exit statuses shared by the commands.
inline constexpr int kExitClean = 0;    // check: no warning; search: designs found
inline constexpr int kExitFlagged = 1;  // check: some warning; search: nothing found
inline constexpr int kExitBadInput = 2;

inline constexpr const char* kProgramName = "springcalc-cli";

}  // namespace springcalc::cli
