// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Appending to a file that others may append to as well (the window and any number of command
// line runs share one report file), so that what is taken back is this writer's own bytes only.

#include <sys/types.h>

#include <string>
#include <string_view>

#include "files/take_back.h"

namespace springcalc {

// Reasons beside errno's, for what the system has no number of its own.
inline constexpr int kNotARegularFile = -2;  // a FIFO, a device or a socket
inline constexpr int kFileBusy = -3;         // another writer is appending to it now

struct AppendResult {
    bool ok = true;
    int error = 0;  // errno of the failed step, or one of the reasons above
};

// An exclusive advisory lock (flock) on the file is held from Open to Commit or Abandon, and
// every writer of reports takes it, so no other writer's bytes can come between this writer's
// and the end of the file. A program that writes without the lock (or empties, moves or
// replaces the file) meanwhile is noticed, and taking back then follows TakeBackAppended's
// rule: nothing but this writer's own bytes is ever removed. Only regular files are written: a
// FIFO or a device is refused at once, without blocking on it.
class AppendingFile {
public:
    enum class Wait { No, Yes };

    AppendingFile() = default;
    AppendingFile(const AppendingFile&) = delete;
    AppendingFile& operator=(const AppendingFile&) = delete;
    ~AppendingFile() { (void)Abandon(); }

    // Opens the file for appending, creating it when missing (also where a symbolic link points
    // to a file that is not there yet), and takes the lock: kFileBusy at once when another
    // writer holds it and `wait` is No, otherwise after that writer is done.
    AppendResult Open(const std::string& path, Wait wait);
    // A failed Append or Commit leaves the file open: Abandon then takes the bytes back and
    // tells whether it could.
    AppendResult Append(std::string_view bytes);
    // Flushes to the disk, closes and lets go of the lock.
    AppendResult Commit();
    // Takes back everything appended since Open: cuts the file back to its old length, or
    // removes it when Open created it, as far as other programs let it (see TakeBackAppended).
    // Nothing to do when the file is not open.
    TakeBack Abandon();

    // Whether `fd` (standard output, say) is open on this same file.
    bool IsSameFileAs(int fd) const;

private:
    int OpenOnce(const std::string& path);
    void Register(off_t length);
    void Update();
    AppendResult Fail(int error);

    int fd_ = -1;
    int slot_ = -1;            // the registration that undoes the writes on a signal
    std::string createdPath_;  // the file Open made (a link's target perhaps), else empty
    AppendedBytes bytes_;      // where this writer's bytes are
};

}  // namespace springcalc
