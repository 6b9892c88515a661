// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// printf-style formatting into a std::string, the way every number on screen and in the
// report is produced.

#include <locale.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace springcalc {

// QApplication sets the C library's locale from the environment, and under de_DE or fr_FR
// "%.2f" writes "88,00". Every number the program writes has a decimal point, so the
// conversions run in the "C" locale, for this thread only, whatever the process has set.
class ClassicLocaleScope {
public:
    ClassicLocaleScope() : previous_(uselocale(Classic())) {}
    ~ClassicLocaleScope() { uselocale(previous_); }
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

private:
    static locale_t Classic() {
        static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t{});
        return classic;
    }
    locale_t previous_;
};

template <typename... Args>
std::string Format(const char* format, Args... args) {
    const ClassicLocaleScope classic;
    char buffer[160];
    // The formats are the program's own literals; none produces more than a few dozen bytes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
#pragma GCC diagnostic pop
    if (length < 0) {
        return {};
    }
    if (static_cast<size_t>(length) < sizeof buffer) {
        return std::string(buffer, static_cast<size_t>(length));
    }
    // Huge values ("%.1f" of 1e30) do not fit the buffer; format again at full size.
    std::string text(static_cast<size_t>(length), '\0');
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    std::snprintf(text.data(), text.size() + 1, format, args...);
#pragma GCC diagnostic pop
    return text;
}

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
