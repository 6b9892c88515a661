// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result report: one block of text per Save, appended to a file the user names, in code
// page 932 with CR LF line ends, so one file collects many designs.

#include <optional>
#include <string>
#include <string_view>

#include "engine/spring_design.h"
#include "engine/torsion_spring.h"
#include "files/appending_file.h"
#include "report/cp932_encoder.h"

namespace springcalc {

// The block of the current design for its spring kind, UTF-8, with "\n" line ends.
std::string FormatReportBlock(const TSpringDesign& design);

// A torsion spring's block in the same style, for the command line (the window has no torsion
// springs); `result` must have run. `dateText` as a Run stamps it. A spring under repeated load
// gets its bending fatigue safety factor as a last line.
std::string FormatTorsionReportBlock(const TorsionInput& input, const TorsionResult& result,
                                     std::string_view dateText, bool repeated = false);

// UTF-8 to code page 932, every "\n" written as CR LF. Empty when a character has no form
// in that code page.
std::optional<std::string> EncodeReport(std::string_view utf8);

// The report's failure when glibc's code page 932 converter could not be loaded (its gconv
// module missing, or the system short of memory to map it).
inline constexpr int kNoCp932Converter = -5;

struct SaveOutcome {
    AppendResult result;
    TakeBack takeBack;  // what a failure left in the file
};

// Appends `bytes` to the file at `path`, creating it when missing, as one writer among others
// (see AppendingFile): kFileBusy at once when another is writing to it. If any step fails, the
// file is cut back to the length it had before, or removed when this call created it.
SaveOutcome AppendToFile(const std::string& path, std::string_view bytes);

// A plain-words reason for a failed append, for the user, in Japanese.
std::string DescribeAppendError(int error);

// The report blocks of many designs, one after another, appended to a file in pieces of bounded
// size, so that a report of any length needs little memory. Nothing is kept unless Finish
// succeeds: Abandon, or destruction before Finish, takes every piece back.
class ReportStream {
public:
    // Opens the file (creating it when missing); false with the reason in error().
    bool Open(const std::string& path, AppendingFile::Wait wait);
    bool Add(const TSpringDesign& design);
    bool Add(const TorsionInput& input, const TorsionResult& result, std::string_view dateText,
             bool repeated = false);
    // Writes the rest and keeps the file; a file made for a report with no block is removed.
    bool Finish();
    TakeBack Abandon() { return appender_.Abandon(); }
    // errno, a reason of AppendingFile's or kNoCp932Converter, or 0 for text without a code
    // page 932 form.
    int error() const { return error_; }
    bool IsSameFileAs(int fd) const { return appender_.IsSameFileAs(fd); }

private:
    bool Append(const std::string& block);
    bool Flush();

    AppendingFile appender_;
    Cp932Encoder encoder_;
    std::string text_;   // blocks not yet written, UTF-8
    std::string bytes_;  // the same in code page 932
    bool appended_ = false;
    int error_ = 0;
};

}  // namespace springcalc
