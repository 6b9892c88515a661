// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/output_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "files/write_all.h"

namespace springcalc {

OutputFolder::~OutputFolder() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool OutputFolder::Open(const std::string& path) {
    path_ = path;
    fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd_ >= 0 && ::faccessat(fd_, ".", W_OK | X_OK, AT_EACCESS) == 0;
}

std::string OutputFolder::PathOf(std::string_view name) const {
    return path_ + (path_.ends_with('/') ? "" : "/") + std::string(name);
}

bool OutputFolder::Write(const std::string& name, std::string_view bytes) const {
    // Never through a link planted in the folder.
    const int fd =
        ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    if (const int error = WriteAll(fd, bytes); error != 0) {
        return Fail(fd, name, error);
    }
    return ::close(fd) == 0 || Fail(-1, name, errno);
}

// No half-written file is left for anyone to pick up.
bool OutputFolder::Fail(int fd, const std::string& name, int error) const {
    if (fd >= 0) {
        ::close(fd);
    }
    ::unlinkat(fd_, name.c_str(), 0);
    errno = error;
    return false;
}

}  // namespace springcalc
