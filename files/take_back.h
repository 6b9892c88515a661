// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Taking a writer's appended bytes back out of a file that other programs may touch meanwhile.
// One rule for a failed run and for a signal handler alike: it only ever shortens, only the
// file the writer holds open, only down to where the writer's own bytes begin and only while
// they are still the file's last bytes; a file the writer made is removed only while it is still
// the file under that name and holds nothing but the writer's bytes. Anything else is left as it
// is found, and the outcome says what was left.

#include <sys/types.h>

namespace springcalc {

// How a take-back ended.
enum class TakeBackEnd {
    Clean,        // nothing of the writer's is in the file any more (or it was removed)
    OtherWriter,  // another program wrote after or among the writer's bytes without waiting
    Shortened,    // another program cut the file short while the writer was at it
    Replaced,     // the file the writer made is no longer under its name; emptied, not removed
    Failed,       // the cut or the look at the file failed; `error` says why
};
inline constexpr int kTakeBackEnds = 5;

// What taking back a writer's bytes left behind.
struct TakeBack {
    bool clean = true;    // nothing of the writer's left, and nothing unusual to tell
    off_t bytesLeft = 0;  // the writer's bytes that are still in the file
    int error = 0;        // errno of the step that failed (TakeBackEnd::Failed)
    TakeBackEnd end = TakeBackEnd::Clean;
};

// Where one writer's bytes are in a file it appends to.
struct AppendedBytes {
    int fd = -1;
    const char* createdPath = nullptr;  // the name the writer made the file under, or null
    off_t start = 0;                    // where the writer's latest unbroken run of bytes begins
    off_t written = 0;                  // its length
    off_t pending = 0;                  // more that may be arriving just now (a write in progress)
    off_t earlier = 0;  // the writer's bytes before `start`, parted from it by another program
    // The byte before `start` was not NUL when the writer began (or there was none): a report is
    // text, so NUL bytes found there after a cut can only be the cut's own doing.
    bool textBeforeStart = true;
};

// Takes the bytes back by the rule above. Uses async-signal-safe calls only. A write still
// pending is found in the file, or not, by the file position: for a signal handler that comes
// between a write and its NoteAppend.
TakeBack TakeBackAppended(const AppendedBytes& bytes);

// Where the writer's bytes are after a write of `size` bytes that ended at offset `end` (the
// file position after an appending write): the same run when it follows on, a new run when
// another program wrote between or cut the file.
void NoteAppend(AppendedBytes& bytes, off_t end, off_t size);

}  // namespace springcalc
