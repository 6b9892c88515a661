#pragma once
// The result report: one block of text per Save, appended to a file the user names, in code
// page 932 with CR LF line ends, so one file collects many designs.

#include <optional>
#include <string>
#include <string_view>

#include "spring_design.h"

namespace springcalc {

// The block of the current design for its spring kind, UTF-8, with "\n" line ends.
std::string FormatReportBlock(const TSpringDesign& design);

// UTF-8 to code page 932, every "\n" written as CR LF. Empty when a character has no form
// in that code page.
std::optional<std::string> EncodeReport(std::string_view utf8);

struct AppendResult {
    bool ok = true;
    int error = 0;  // errno of the failed step
};

// Appends `bytes` to the file at `path`, creating it when missing. The bytes go out in one
// write; if any step fails, the file is cut back to the length it had before.
AppendResult AppendToFile(const std::string& path, std::string_view bytes);

// A plain-words reason for a failed append, for the user.
std::string DescribeAppendError(int error);

}  // namespace springcalc
