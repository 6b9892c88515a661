// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Single-precision numbers as text, fast and in no locale: a long table or JSON stream writes
// millions of them.

namespace springcalc {

// printf's "%.*f" of a single-precision value, worked out exactly in integers, written from
// `first` (32 bytes are enough); the end, or none for values it does not cover (huge, not
// finite, more than three decimals), which the general conversion must write.
char* SinglePrecisionFixed(float value, int precision, char* first);

// The shortest decimal that reads back as `value`, as std::to_chars(float) writes it, into
// [first, last) (32 bytes are enough); returns the end. Quicker than the general conversion for
// the short decimals designs are made of (8.8, 205, 0.05), which are most of a record.
char* ShortestFloatChars(char* first, char* last, float value);

// The same through printf and strtof, for C++ libraries whose std::to_chars has no
// floating-point overloads (the WebAssembly build's): the same text, slower.
char* PortableShortestFloatChars(char* first, char* last, float value);

}  // namespace springcalc
