// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/interrupt_undo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace springcalc::interrupt {

namespace {

// A run has one report and one picture in the making at a time; a few more slots cost nothing.
constexpr int kSlots = 8;

struct Slot {
    std::atomic<bool> used{false};
    int fd = -1;  // the appended file, or the folder of a temporary one
    bool temporary = false;
    off_t lengthBefore = 0;
    std::atomic<off_t> written{0};
    std::atomic<off_t> pending{0};
    const char* path = nullptr;  // removed on a signal: the created file or the temporary one
};

Slot slots[kSlots];
std::atomic<const char*> programName{"springcalc"};
std::atomic<const char*> undoneNote{nullptr};
std::atomic<const char*> leftNote{nullptr};

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void Say(const char* text) {
    if (text) {
        (void)!::write(STDERR_FILENO, text, std::strlen(text));
    }
}

const char* SignalName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "SIGHUP";
}

// Takes an appended file back; false when its bytes had to stay.
bool UndoAppend(const Slot& slot) {
    struct stat now {};
    if (::fstat(slot.fd, &now) != 0) {
        return false;
    }
    const off_t mine = slot.written.load() + slot.pending.load();
    if (!slot.path && now.st_size == slot.lengthBefore) {
        return true;  // nothing of this run's got in
    }
    if (now.st_size > slot.lengthBefore + mine) {
        return false;  // somebody else wrote after this run: their bytes are not ours to cut
    }
    if (slot.path && ::unlink(slot.path) == 0) {
        return true;
    }
    return ::ftruncate(slot.fd, slot.lengthBefore) == 0;
}

void OnSignal(int signal) {
    bool clean = true;
    for (const Slot& slot : slots) {
        if (!slot.used.load()) {
            continue;
        }
        if (slot.temporary) {
            (void)::unlinkat(slot.fd, slot.path, 0);
        } else {
            clean = UndoAppend(slot) && clean;
        }
    }
    Say(programName.load());
    Say(": stopped by ");
    Say(SignalName(signal));
    Say(clean ? undoneNote.load() : leftNote.load());
    Say(".\n");
    // End as the signal would have ended the process, for the shell's status.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

int Take(int fd, bool temporary, off_t lengthBefore, const char* path) {
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = slots[i];
        if (!slot.used.load()) {
            slot.fd = fd;
            slot.temporary = temporary;
            slot.lengthBefore = lengthBefore;
            slot.written = 0;
            slot.pending = 0;
            slot.path = path;
            slot.used = true;  // last: a handler sees the slot whole or not at all
            return i;
        }
    }
    return -1;
}

}  // namespace

void InstallHandlers(const char* program) {
    programName = program;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) {
        sigaddset(&action.sa_mask, signal);  // one handler at a time
    }
    for (const int signal : kSignals) {
        (void)::sigaction(signal, &action, nullptr);
    }
}

void SetNotes(const char* undone, const char* left) {
    undoneNote = undone;
    leftNote = left;
}

int RegisterAppend(int fd, off_t lengthBefore, const char* createdPath) {
    return Take(fd, false, lengthBefore, createdPath);
}

void SetWritten(int slot, off_t written, off_t pending) {
    if (slot >= 0) {
        // In this order the sum a handler reads never falls short of what is in the file.
        slots[slot].written = written;
        slots[slot].pending = pending;
    }
}

int RegisterTemporary(int dirFd, const char* name) {
    return Take(dirFd, true, 0, name);
}

void Unregister(int slot) {
    if (slot >= 0) {
        slots[slot].used = false;
    }
}

Hold::Hold() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kSignals) {
        sigaddset(&held, signal);
    }
    (void)::sigprocmask(SIG_BLOCK, &held, &saved_);
}

Hold::~Hold() {
    (void)::sigprocmask(SIG_SETMASK, &saved_, nullptr);
}

}  // namespace springcalc::interrupt
