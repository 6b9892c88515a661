// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code page 932 without iconv, for builds whose C library has no converter with the mapping
// Windows uses (the WebAssembly build). The table holds every character glibc's "CP932"
// converter encodes; make_cp932_table writes it from that converter at build time, so it is the
// same mapping, never a hand-made one.

#include <string>
#include <string_view>

namespace springcalc {

// Appends the code page 932 form of the UTF-8 text `utf8` to `out`. False when the text is not
// UTF-8 or a character has no form in code page 932; `out` then holds a part.
bool EncodeCp932Run(std::string_view utf8, std::string& out);

}  // namespace springcalc
