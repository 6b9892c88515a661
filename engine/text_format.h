#pragma once
// printf-style formatting into a std::string, the way every number on screen and in the
// report is produced.

#include <cstdio>
#include <string>

namespace springcalc {

template <typename... Args>
std::string Format(const char* format, Args... args) {
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

}  // namespace springcalc
