// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed-point numbers as text, for the window, the tables and the diagrams. std::to_chars takes
// no locale: QApplication sets the C library's locale from the environment, and under de_DE
// printf's "%.2f" would write "88,00" where the program means "88.00".

#include <charconv>
#include <string>
#include <string_view>

namespace springcalc {

// printf's "%.<precision>f" followed by `tail`, to the same text: std::to_chars is defined to
// round as printf does, at a fraction of its cost. The window shows a dozen numbers at every Run
// and several at every click of a held arrow.
inline std::string FixedText(double value, int precision, std::string_view tail = {}) {
    // The longest fixed form of a double: sign, 309 digits, point and the decimals asked for.
    char buffer[320 + 16];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    std::string text(buffer, result.ptr);
    text += tail;
    return text;
}

}  // namespace springcalc
