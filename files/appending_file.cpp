// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/appending_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/interrupt_undo.h"
#include "files/write_all.h"

namespace springcalc {

namespace {

// Open without blocking (a FIFO with no reader would wait for one) and never handing the file to
// a program this one starts. Read too, so that a take-back can look at what its cut left (see
// TakeBackAppended); a file that may only be written is still appended to.
constexpr int kAppendFlags = O_RDWR | O_APPEND | O_CLOEXEC | O_NONBLOCK;
constexpr int kWriteOnlyFlags = (kAppendFlags & ~O_RDWR) | O_WRONLY;

int OpenToAppend(const char* path, int more = 0) {
    const int fd = ::open(path, kAppendFlags | more, 0666);
    return fd < 0 && errno == EACCES ? ::open(path, kWriteOnlyFlags | more, 0666) : fd;
}

// Where a chain of symbolic links ends, for a link to a file not made yet; empty past a depth
// no sensible chain reaches.
std::string LinkTarget(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        std::string target(4096, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            // Not a link (EINVAL) or not there (ENOENT): the end of the chain.
            return errno == EINVAL || errno == ENOENT ? path : std::string();
        }
        target.resize(static_cast<size_t>(length));
        const size_t slash = path.rfind('/');
        path = target.starts_with('/') || slash == std::string::npos
                   ? target
                   : path.substr(0, slash + 1) + target;
    }
    return {};
}

bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

// Tries to make the file first, so that a failed run knows whether it is its own to remove.
int AppendingFile::OpenOnce(const std::string& path) {
    createdPath_.clear();
    int fd = OpenToAppend(path.c_str(), O_CREAT | O_EXCL);
    if (fd >= 0) {
        createdPath_ = path;
        return fd;
    }
    if (errno != EEXIST) {
        return -1;
    }
    fd = OpenToAppend(path.c_str());
    if (fd < 0 && errno == ENOENT) {
        // A symbolic link to a file that does not exist yet: make the file it names.
        const std::string target = LinkTarget(path);
        if (target.empty() || target == path) {
            errno = ENOENT;
            return -1;
        }
        fd = OpenToAppend(target.c_str(), O_CREAT | O_EXCL);
        createdPath_ = fd >= 0 ? target : std::string();
    }
    return fd;
}

AppendResult AppendingFile::Open(const std::string& path, Wait wait) {
    (void)Abandon();
    // The file can be removed or replaced by the writer that held it while this one waited;
    // then the lock is on a file nobody will read, and the name is opened again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct stat opened {};
        {
            // Registered as soon as it is open, so that a signal removes a file made here even
            // before the lock is had.
            interrupt::Hold hold;
            fd_ = OpenOnce(path);
            if (fd_ < 0) {
                return Fail(errno == ENXIO ? kNotARegularFile : errno);  // ENXIO: a lone FIFO
            }
            if (::fstat(fd_, &opened) != 0) {
                return Fail(errno);
            }
            if (!S_ISREG(opened.st_mode)) {
                return Fail(kNotARegularFile);
            }
            Register(opened.st_size);
        }
        if (::flock(fd_, LOCK_EX | (wait == Wait::No ? LOCK_NB : 0)) != 0) {
            const int error = errno == EWOULDBLOCK ? kFileBusy : errno;
            // A file just made and already held: the other writer uses it now, so it stays.
            interrupt::Hold hold;
            createdPath_.clear();
            Register(bytes_.start);
            return Fail(error);
        }
        struct stat named {};
        interrupt::Hold hold;
        if (::stat(path.c_str(), &named) == 0 && SameInode(named, opened)) {
            // The length now that nobody else appends; the position there too, so that the
            // position before each write is where this writer's bytes go on.
            Register(std::max<off_t>(::lseek(fd_, 0, SEEK_END), 0));
            return {};
        }
        interrupt::Unregister(slot_);
        slot_ = -1;
        ::close(fd_);
        fd_ = -1;
    }
    return {false, EAGAIN};
}

// Tells the signal handlers what to take back: everything past `length`, or the whole file
// when it was made here. With the signals held.
void AppendingFile::Register(off_t length) {
    interrupt::Unregister(slot_);
    char last = 0;
    const bool text = length == 0 || (::pread(fd_, &last, 1, length - 1) == 1 && last != '\0');
    bytes_ = {fd_, createdPath_.empty() ? nullptr : createdPath_.c_str(), length, 0, 0, 0, text};
    slot_ = interrupt::RegisterAppend(bytes_);
}

// Hands the signal handlers the writer's bytes as they are now.
void AppendingFile::Update() {
    interrupt::Hold hold;
    interrupt::UpdateAppend(slot_, bytes_);
}

AppendResult AppendingFile::Fail(int error) {
    interrupt::Hold hold;
    interrupt::Unregister(slot_);
    slot_ = -1;
    if (fd_ >= 0) {
        if (!createdPath_.empty()) {
            (void)::unlink(createdPath_.c_str());
        }
        ::close(fd_);
        fd_ = -1;
    }
    createdPath_.clear();
    return {false, error};
}

AppendResult AppendingFile::Append(std::string_view bytes) {
    const auto size = static_cast<off_t>(bytes.size());
    bytes_.pending = size;
    Update();
    const off_t startedAt = ::lseek(fd_, 0, SEEK_CUR);
    const int error = WriteAll(fd_, bytes);
    // An appending write leaves the position at the end of what it wrote, wherever another
    // program put the end of the file meanwhile. A failed write counts whatever part of it got
    // in (the position moved past where it started) as this writer's, to be taken back.
    const off_t end = ::lseek(fd_, 0, SEEK_CUR);
    bytes_.pending = 0;
    if (end >= 0) {
        const off_t got = error == 0 ? size : std::min(size, std::max<off_t>(end - startedAt, 0));
        if (got > 0) {
            NoteAppend(bytes_, end, got);
        }
    } else if (error == 0) {
        bytes_.written += size;
    }
    Update();
    return {error == 0, error};
}

AppendResult AppendingFile::Commit() {
    if (fd_ < 0) {
        return {};
    }
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        return {false, errno};
    }
    interrupt::Hold hold;
    interrupt::Unregister(slot_);
    slot_ = -1;
    const int fd = fd_;
    fd_ = -1;
    createdPath_.clear();
    // The data is on the disk: a failing close cannot take it away any more.
    (void)::close(fd);
    return {};
}

TakeBack AppendingFile::Abandon() {
    if (fd_ < 0) {
        return {};
    }
    interrupt::Hold hold;
    interrupt::Unregister(slot_);
    slot_ = -1;
    const TakeBack result = TakeBackAppended(bytes_);
    ::close(fd_);  // and with it the lock
    fd_ = -1;
    createdPath_.clear();
    return result;
}

bool AppendingFile::IsSameFileAs(int fd) const {
    struct stat mine {
    }, other{};
    return fd_ >= 0 && ::fstat(fd_, &mine) == 0 && ::fstat(fd, &other) == 0 &&
           SameInode(mine, other);
}

}  // namespace springcalc
