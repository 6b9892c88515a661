#pragma once
// `springcalc-cli check [FILE] [--json] [--report FILE] [--units si]`

#include <string>
#include <vector>

#include "cli_io.h"

namespace springcalc::cli {

extern const char* const kCheckHelp;

// `args` are those after the word "check". Returns the exit status.
int RunCheckCommand(const std::vector<std::string>& args, CliIo& io);

}  // namespace springcalc::cli
