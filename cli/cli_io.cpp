#include "cli_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace springcalc::cli {

FdOutputBuffer::FdOutputBuffer(int fd, int error) : fd_(fd), error_(error) {
    setp(buffer_, buffer_ + sizeof buffer_);
}

int FdOutputBuffer::overflow(int c) {
    if (sync() != 0) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int FdOutputBuffer::sync() {
    const char* next = pbase();
    while (next < pptr() && error_ == 0) {
        const ssize_t n = ::write(fd_, next, static_cast<size_t>(pptr() - next));
        if (n < 0 && errno != EINTR) {
            error_ = errno;
        }
        next += n > 0 ? n : 0;
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0 ? 0 : -1;
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
