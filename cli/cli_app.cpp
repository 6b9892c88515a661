// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_app.h"

#include "cli/check.h"
#include "cli/search.h"

namespace springcalc::cli {

constexpr const char* kProgramHelp = R"(Usage: springcalc-cli COMMAND [OPTIONS]

The spring calculator's engine on the command line: the same numbers as the window.

Commands:
  check [FILE]   check a list of designs (CSV) and print their results and warnings
  search         find designs with standard wire sizes that give the loads asked for

"springcalc-cli COMMAND --help" tells more about each.
Units: mm and kgf (loads in kg, stresses in kg/mm², spring rate in kg/mm).

Options:
  -h, --help     show this text
  --version      show the program's version

Exit status:
  0  check: no design has a warning; search: designs were found
  1  check: some design has a warning; search: none meets the requirements
  2  bad input, input that cannot be read, or output that cannot be written
)";

int RunCli(const std::vector<std::string>& args, CliIo& io) {
    if (args.empty()) {
        io.err << kProgramHelp;
        return kExitBadInput;
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "check") {
        return RunCheckCommand(rest, io);
    }
    if (command == "search") {
        return RunSearchCommand(rest, io);
    }
    if (command == "-h" || command == "--help" || command == "help") {
        io.out << kProgramHelp;
        return kExitClean;
    }
    if (command == "--version") {
        io.out << kProgramName << " " << SPRINGCALC_VERSION << "\n";
        return kExitClean;
    }
    io.err << kProgramName << ": unknown command \"" << command
           << "\"; the commands are check and search.\nTry \"" << kProgramName << " --help\".\n";
    return kExitBadInput;
}

}  // namespace springcalc::cli
