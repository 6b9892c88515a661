// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of springcalc-cli: picks the command and hands it the rest.

#include <string>
#include <vector>

#include "cli/cli_io.h"

namespace springcalc::cli {

// `args` without the program name. Returns the exit status.
int RunCli(const std::vector<std::string>& args, CliIo& io);

}  // namespace springcalc::cli
