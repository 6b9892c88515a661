// springcalc-cli: the calculator's engine for lists of designs and for load requirements.

#include <iostream>
#include <string>
#include <vector>

#include "cli_app.h"

int main(int argc, char** argv) {
    // Output runs to hundreds of thousands of lines for a long file.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    springcalc::cli::CliIo io{std::cin, std::cout, std::cerr};
    const int status = springcalc::cli::RunCli(args, io);
    std::cout.flush();
    return status;
}
