// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a command runs with: standard input, output and error, and the clock. The process's own
// in main; strings and a fixed clock in tests.

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string_view>

#include "engine/date_stamp.h"

namespace springcalc::cli {

// Reads up to `size` bytes of standard input: the count, 0 at its end, -1 with errno set.
using ReadInput = std::function<ssize_t(char* buffer, size_t size)>;
// Seconds on a clock that only runs forward: how long a command has been at work.
using Stopwatch = std::function<double()>;
double SteadySeconds();

struct CliIo {
    ReadInput in;
    std::ostream& out;
    std::ostream& err;
    Clock clock = SystemLocalTime;
    bool outputFailureTold = false;
    Stopwatch seconds = SteadySeconds;
    // Standard error is a terminal: a long search shows how far it has got there.
    bool errIsTerminal = false;
};

// Exit statuses shared by the commands.
inline constexpr int kExitClean = 0;     // check: no warning; search: designs found
inline constexpr int kExitFlagged = 1;   // check: some warning; search: nothing found
inline constexpr int kExitBadInput = 2;  // also every failure to read or write

inline constexpr const char* kProgramName = "springcalc-cli";

// Standard output written straight to its file descriptor, unbuffered (the commands write in
// pieces of their own), keeping the reason of the first failed write: a closed pipe, a full
// disk, a file-size limit.
class FdOutputBuffer final : public std::streambuf {
public:
    // `error`: an errno value when the descriptor is known to be unusable from the start.
    FdOutputBuffer(int fd, int error) : fd_(fd), error_(error) {}
    int error() const { return error_; }

protected:
    std::streamsize xsputn(const char* text, std::streamsize size) override;
    int overflow(int c) override;

private:
    int fd_;
    int error_;
};

// Tells, once, that standard output could not be written and why, followed by `consequence`
// (such as "; nothing was appended to r.txt"). Returns kExitBadInput.
int TellOutputFailure(CliIo& io, std::string_view consequence = {});

}  // namespace springcalc::cli
