// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a run must undo when a signal (Ctrl+C, a hang-up, kill) ends it in the middle: the bytes
// it appended to a report and the picture it was writing. The handlers do the undoing
// themselves, with async-signal-safe calls only, so it happens wherever the run was blocked.

#include <signal.h>
#include <sys/types.h>

#include "files/take_back.h"

namespace springcalc::interrupt {

// Handlers for SIGINT, SIGTERM and SIGHUP: they undo what is registered, write one line to
// standard error ("PROGRAM: stopped by SIGINT" and the note that applies) and end the process
// by the same signal, so that its status is the conventional one (130, 143, 129).
// `program` must live as long as the process.
void InstallHandlers(const char* program);

// The text after "stopped by SIGxxx" for each way taking the report back can end, indexed by
// TakeBackEnd; each must stay valid until changed (null: nothing is added). Null clears them.
void SetNotes(const char* const* notes);

// An appended file, taken back on a signal by TakeBackAppended. Returns a slot number for the
// calls below, or -1 when all are taken. With the signals held (see Hold).
int RegisterAppend(const AppendedBytes& bytes);
// Where the file's bytes are now, before and after each write. With the signals held.
void UpdateAppend(int slot, const AppendedBytes& bytes);
// A file being written in a folder under a name of its own, removed on a signal.
int RegisterTemporary(int dirFd, const char* name);
void Unregister(int slot);

// Holds the three signals off for its lifetime, so that a handler never sees a registration
// half made or undone.
class Hold {
public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    sigset_t saved_;
};

}  // namespace springcalc::interrupt
