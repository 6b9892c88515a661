// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text of any origin made fit for an XML 1.0 document's content or attribute values.

#include <string>
#include <string_view>

namespace springcalc {

// The text with the markup characters written as entities, and whatever XML 1.0 cannot hold at
// all (control characters other than tab, line feed and carriage return, U+FFFE, U+FFFF, and
// bytes that are not UTF-8) replaced by U+FFFD, one per character or stray byte. A carriage
// return is written as a character reference, since a parser would otherwise turn it into a
// line feed.
std::string XmlText(std::string_view text);

}  // namespace springcalc
