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

// Changed only with the signals held, so a handler sees each slot whole.
struct Slot {
    std::atomic<bool> used{false};
    bool temporary = false;
    int dirFd = -1;              // the folder of a temporary file
    const char* name = nullptr;  // the temporary file, removed on a signal
    AppendedBytes appended;      // an appended file
};

Slot slots[kSlots];
std::atomic<const char*> programName{"springcalc"};
std::atomic<const char*> notes[kTakeBackEnds] = {};

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void Say(const char* text) {
    if (text) {
        (void)!::write(STDERR_FILENO, text, std::strlen(text));
    }
}

const char* SignalName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "SIGHUP";
}

void OnSignal(int signal) {
    TakeBackEnd told = TakeBackEnd::Clean;
    for (const Slot& slot : slots) {
        if (!slot.used.load()) {
            continue;
        }
        if (slot.temporary) {
            (void)::unlinkat(slot.dirFd, slot.name, 0);
        } else if (const TakeBack back = TakeBackAppended(slot.appended);
                   told == TakeBackEnd::Clean) {
            told = back.end;
        }
    }
    Say(programName.load());
    Say(": stopped by ");
    Say(SignalName(signal));
    Say(notes[static_cast<int>(told)].load());
    Say(".\n");
    // End as the signal would have ended the process, for the shell's status.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

int Take(bool temporary, int dirFd, const char* name, const AppendedBytes& appended) {
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = slots[i];
        if (!slot.used.load()) {
            slot.temporary = temporary;
            slot.dirFd = dirFd;
            slot.name = name;
            slot.appended = appended;
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

void SetNotes(const char* const* given) {
    for (int i = 0; i < kTakeBackEnds; ++i) {
        notes[i] = given ? given[i] : nullptr;
    }
}

int RegisterAppend(const AppendedBytes& bytes) {
    return Take(false, -1, nullptr, bytes);
}

void UpdateAppend(int slot, const AppendedBytes& bytes) {
    if (slot >= 0) {
        slots[slot].appended = bytes;
    }
}

int RegisterTemporary(int dirFd, const char* name) {
    return Take(true, dirFd, name, {});
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
