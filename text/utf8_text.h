// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Measuring and checking UTF-8 text for terminal output.

#include <string>
#include <string_view>

namespace springcalc {

bool IsValidUtf8(std::string_view text);

// Columns the text takes on a terminal: East Asian wide characters and emoji count two,
// combining marks none, so Japanese names and warnings keep a table aligned. A control character
// or a byte that is not UTF-8 counts one.
int DisplayWidth(std::string_view text);

// The text with control characters (ESC, BEL, CR, LF, NUL, ...), the bidirectional marks and
// overrides (U+202E, ...) and bytes that are not UTF-8 written as \xNN, byte by byte, so that a
// bad file cannot garble the terminal.
std::string Escaped(std::string_view text);
// The same in double quotes, for a message.
std::string QuotedForMessage(std::string_view text);
// At most `width` columns: a longer text is cut and ends in "…".
std::string Shortened(std::string_view text, int width);

// `text` as a JSON string, quotes included: UTF-8 passes through; quotes, backslashes and
// control characters are escaped.
std::string JsonString(std::string_view text);

}  // namespace springcalc
