// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_io.h"

#include <chrono>
#include <cstring>

#include "files/write_all.h"

namespace springcalc::cli {

std::streamsize FdOutputBuffer::xsputn(const char* text, std::streamsize size) {
    if (error_ == 0) {
        error_ = WriteAll(fd_, std::string_view(text, static_cast<size_t>(size)));
    }
    return error_ == 0 ? size : 0;
}

int FdOutputBuffer::overflow(int c) {
    const char byte = traits_type::to_char_type(c);
    const bool written = traits_type::eq_int_type(c, traits_type::eof()) || xsputn(&byte, 1) == 1;
    return written ? traits_type::not_eof(c) : traits_type::eof();
}

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int TellOutputFailure(CliIo& io, std::string_view consequence) {
    if (!io.outputFailureTold) {
        const auto* buffer = dynamic_cast<const FdOutputBuffer*>(io.out.rdbuf());
        io.err << kProgramName << ": cannot write to standard output: "
               << (buffer && buffer->error() ? std::strerror(buffer->error()) : "write error")
               << consequence << ".\n";
        io.outputFailureTold = true;
    }
    return kExitBadInput;
}

}  // namespace springcalc::cli
