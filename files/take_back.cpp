// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/take_back.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace springcalc {

namespace {

TakeBack Left(TakeBackEnd end, off_t bytesLeft, int error = 0) {
    return {false, bytesLeft, error, end};
}

// Where the NUL bytes at the end of the first `length` bytes begin (`length` when there are
// none).
off_t StartOfNulTail(int fd, off_t length) {
    char buffer[4096];
    while (length > 0) {
        const off_t from = length > off_t(sizeof buffer) ? length - off_t(sizeof buffer) : 0;
        const ssize_t got = ::pread(fd, buffer, static_cast<size_t>(length - from), from);
        if (got != length - from) {
            return length;  // cannot tell: leave it
        }
        for (ssize_t i = got; i > 0; --i) {
            if (buffer[i - 1] != '\0') {
                return from + i;
            }
        }
        length = from;
    }
    return 0;
}

// Cuts the file to `start`. Another program may cut it shorter between the look at its length
// and the cut, and the cut would then fill the gap with NUL bytes: those are taken off again.
// True when that happened.
bool CutTo(const AppendedBytes& bytes, int& error) {
    if (::ftruncate(bytes.fd, bytes.start) != 0) {
        error = errno;
        return false;
    }
    if (bytes.start == 0 || !bytes.textBeforeStart) {
        return false;
    }
    const off_t end = StartOfNulTail(bytes.fd, bytes.start);
    if (end == bytes.start) {
        return false;
    }
    (void)::ftruncate(bytes.fd, end);
    return true;
}

}  // namespace

TakeBack TakeBackAppended(const AppendedBytes& given) {
    AppendedBytes bytes = given;
    // A signal can come between a write and the note of where it went: the file position says
    // whether it got in, and where (after a cut by another program, not where the note expects).
    if (bytes.pending > 0) {
        const off_t position = ::lseek(bytes.fd, 0, SEEK_CUR);
        if (position >= 0) {
            if (position != bytes.start + bytes.written && position >= bytes.pending) {
                NoteAppend(bytes, position, bytes.pending);
            }
            bytes.pending = 0;
        }
    }
    const off_t mine = bytes.written + bytes.pending;
    if (mine == 0 && bytes.earlier == 0 && !bytes.createdPath) {
        return {};  // nothing of this writer's ever got in
    }
    struct stat now {};
    if (::fstat(bytes.fd, &now) != 0) {
        return Left(TakeBackEnd::Failed, mine + bytes.earlier, errno);
    }
    if (now.st_nlink == 0) {
        return {};  // removed from every folder: gone with whatever it held
    }
    const off_t end = bytes.start + bytes.written;
    if (now.st_size > end + bytes.pending) {
        // Bytes after this writer's are another program's: cutting would take them too.
        return mine + bytes.earlier == 0 ? TakeBack{}
                                         : Left(TakeBackEnd::OtherWriter, mine + bytes.earlier);
    }
    if (now.st_size < end) {
        // Cut short by another program: whatever of this writer's is left is not at the end it
        // knows of, so the file stays as that program left it. Never lengthened.
        const off_t left = std::clamp<off_t>(now.st_size - bytes.start, 0, bytes.written) +
                           std::min<off_t>(bytes.earlier, now.st_size);
        return Left(TakeBackEnd::Shortened, left);
    }
    // This writer's bytes are the file's last ones, from `start` on.
    if (bytes.createdPath && bytes.start == 0 && bytes.earlier == 0) {
        struct stat named {};
        if (::stat(bytes.createdPath, &named) == 0 && named.st_dev == now.st_dev &&
            named.st_ino == now.st_ino) {
            if (::unlink(bytes.createdPath) == 0) {
                return {};
            }
            // Cannot be removed (the folder read-only now, say): emptied instead.
        } else if (mine == 0) {
            return {};  // moved away before anything was written: nothing to take out
        } else {
            // Moved away, and perhaps another file made under the name: that one is not this
            // writer's. Its own file, wherever it is now, loses this writer's bytes.
            if (::ftruncate(bytes.fd, 0) != 0) {
                return Left(TakeBackEnd::Failed, now.st_size, errno);
            }
            return Left(TakeBackEnd::Replaced, 0);
        }
    }
    if (now.st_size > bytes.start) {
        int error = 0;
        const bool cutShorter = CutTo(bytes, error);
        if (error != 0) {
            return Left(TakeBackEnd::Failed, now.st_size - bytes.start + bytes.earlier, error);
        }
        if (cutShorter) {
            return Left(TakeBackEnd::Shortened, 0);
        }
    }
    return bytes.earlier == 0 ? TakeBack{} : Left(TakeBackEnd::OtherWriter, bytes.earlier);
}

void NoteAppend(AppendedBytes& bytes, off_t end, off_t size) {
    const off_t begin = end - size;
    const off_t runEnd = bytes.start + bytes.written;
    if (begin == runEnd) {
        bytes.written += size;
    } else if (begin > runEnd) {
        // Another program's bytes came between: this run's earlier ones stay where they are.
        bytes.earlier += bytes.written;
        bytes.start = begin;
        bytes.written = size;
    } else if (begin >= bytes.start) {
        // Cut within this run's bytes, then written on from there: one run still.
        bytes.written = end - bytes.start;
    } else {
        // Cut below this run: of the earlier bytes, at most what lies below the cut is left.
        bytes.earlier = std::min(bytes.earlier, begin);
        bytes.start = begin;
        bytes.written = size;
    }
}

}  // namespace springcalc
