// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed-point numbers as text, for the window, the tables and the diagrams. std::to_chars takes
// no locale: QApplication sets the C library's locale from the environment, and under de_DE
// printf's "%.2f" would write "88,00" where the program means "88.00".

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace springcalc {

// printf's "%.<precision>f" into [first, last), in any locale: for C++ libraries whose
// std::to_chars has no floating-point overloads (the WebAssembly build's). printf rounds exactly
// as std::to_chars is defined to; only the locale's decimal point needs putting back to '.'.
inline char* PortableFixedChars(char* first, char* last, double value, int precision) {
    const int length =
        std::snprintf(first, static_cast<std::size_t>(last - first), "%.*f", precision, value);
    if (length < 0 || length >= last - first) {
        return first;
    }
    char* end = first + length;
    const char* point = std::localeconv()->decimal_point;
    const std::size_t pointLength = point ? std::strlen(point) : 0;
    if (pointLength > 0 && std::strcmp(point, ".") != 0) {
        if (char* found = std::search(first, end, point, point + pointLength); found != end) {
            *found = '.';
            end = std::copy(found + pointLength, end, found + 1);
        }
    }
    return end;
}

// printf's "%.<precision>f" followed by `tail`, to the same text: std::to_chars is defined to
// round as printf does, at a fraction of its cost. The window shows a dozen numbers at every Run
// and several at every click of a held arrow.
inline std::string FixedText(double value, int precision, std::string_view tail = {}) {
    // The longest fixed form of a double: sign, 309 digits, point and the decimals asked for.
    char buffer[320 + 16];
#if defined(__cpp_lib_to_chars)
    char* const end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision)
            .ptr;
#else
    char* const end = PortableFixedChars(buffer, buffer + sizeof buffer, value, precision);
#endif
    std::string text(buffer, end);
    text += tail;
    return text;
}

}  // namespace springcalc
