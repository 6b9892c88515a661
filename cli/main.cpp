// SPDX-License-Identifier: GPL-3.0-or-later
// springcalc-cli: the calculator's engine for lists of designs and for load requirements.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "files/interrupt_undo.h"

int main(int argc, char** argv) {
    using namespace springcalc::cli;
    // A closed pipe or a file-size limit is a write error to tell, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // Ctrl+C, a closed terminal or kill take back this run's report blocks and half a picture.
    springcalc::interrupt::InstallHandlers(kProgramName);
    // Started without standard input, output or error, hold their numbers anyway, so that no
    // file opened later (the report) takes the place of standard output.
    int missing[3] = {};
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            missing[fd] = EBADF;
            (void)::open("/dev/null", O_RDWR);
        }
    }
    FdOutputBuffer outBuffer(STDOUT_FILENO, missing[STDOUT_FILENO]);
    std::ostream out(&outBuffer);
    // A standard input that was closed reads as what it is, not as the empty placeholder.
    const int inFd = missing[STDIN_FILENO] != 0 ? -1 : STDIN_FILENO;
    CliIo io{[inFd](char* buffer, size_t size) { return ::read(inFd, buffer, size); }, out,
             std::cerr};
    io.errIsTerminal = missing[STDERR_FILENO] == 0 && ::isatty(STDERR_FILENO) == 1;
    int status = kExitBadInput;
    try {
        status = RunCli(std::vector<std::string>(argv + 1, argv + argc), io);
    } catch (const std::bad_alloc&) {
        // check tells it itself, with what became of its report; this is for the rest.
        std::cerr << kProgramName << ": out of memory.\n";
        return kExitBadInput;
    }
    if (!out.flush()) {
        return TellOutputFailure(io);
    }
    return status;
}
