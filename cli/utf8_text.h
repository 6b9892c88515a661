#pragma once
// Measuring and checking UTF-8 text for terminal output.

#include <string>
#include <string_view>

namespace springcalc::cli {

bool IsValidUtf8(std::string_view text);

// Columns the text takes on a terminal: East Asian wide characters count two, so Japanese
// names and warnings keep a table aligned.
int DisplayWidth(std::string_view text);

// The text in double quotes for a message, control characters and bytes that are not UTF-8
// written as \xNN so a bad file cannot garble the terminal.
std::string QuotedForMessage(std::string_view text);

}  // namespace springcalc::cli
