// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one utf8proc function the text library uses, for builds without utf8proc (the WebAssembly
// build): widths from the table make_width_table writes from the real library at build time.

#include <cstdint>

using utf8proc_int32_t = std::int32_t;

int utf8proc_charwidth(utf8proc_int32_t code);
