// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/output_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/appending_file.h"
#include "files/interrupt_undo.h"
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

int OutputFolder::Write(const std::string& name, std::string_view bytes) const {
    struct stat old {};
    if (::fstatat(fd_, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(old.st_mode) &&
        !S_ISLNK(old.st_mode)) {
        return kNotARegularFile;  // a FIFO would hang a viewer, a folder cannot be replaced
    }
    // Unique within the folder and hidden from a listing; a link planted there is replaced
    // by the rename, never followed.
    static unsigned serial = 0;
    std::string temporary;
    int error = EEXIST;
    int slot = -1;  // a signal removes the temporary file until it has its name
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temporary = "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(++serial);
        error = WriteTemporary(temporary, bytes, slot);
    }
    if (error == 0 && ::renameat(fd_, temporary.c_str(), fd_, name.c_str()) != 0) {
        error = errno;
        ::unlinkat(fd_, temporary.c_str(), 0);
    }
    interrupt::Hold hold;
    interrupt::Unregister(slot);
    return error;
}

// Writes the new file under its temporary name, registered in `slot` for the signals.
int OutputFolder::WriteTemporary(const std::string& temporary, std::string_view bytes,
                                 int& slot) const {
    int fd = -1;
    {
        // Made and registered at once, so that no signal comes between.
        interrupt::Hold hold;
        fd = ::openat(fd_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
        if (fd < 0) {
            return errno;
        }
        slot = interrupt::RegisterTemporary(fd_, temporary.c_str());
    }
    int error = WriteAll(fd, bytes);
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(fd_, temporary.c_str(), 0);
    }
    return error;
}

}  // namespace springcalc
