// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace springcalc::cli {

std::streamsize FdOutputBuffer::xsputn(const char* text, std::streamsize size) {
    for (std::streamsize done = 0; done < size && error_ == 0;) {
        const ssize_t n = ::write(fd_, text + done, static_cast<size_t>(size - done));
        if (n < 0 && errno != EINTR) {
            error_ = errno;
        }
        done += n > 0 ? n : 0;
    }
    return error_ == 0 ? size : 0;
}

int FdOutputBuffer::overflow(int c) {
    const char byte = traits_type::to_char_type(c);
    const bool written = traits_type::eq_int_type(c, traits_type::eof()) || xsputn(&byte, 1) == 1;
    return written ? traits_type::not_eof(c) : traits_type::eof();
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
