// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf8_text.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdint>

namespace springcalc {

namespace {

bool IsPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// Decodes the character at `pos`; returns its length, or 0 when the bytes are not UTF-8.
size_t Decode(std::string_view text, size_t pos, char32_t& codePoint) {
    const auto byte = [&](size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos);
    size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(pos + i) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
        return 0;
    }
    codePoint = value;
    return length;
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The marks and overrides that turn the order text is shown in: shown raw, a name could make the
// rest of its line read backwards.
bool IsBidiControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// Widths as utf8proc gives them for its Unicode version, but a control character keeps counting
// one column, as it always has here (utf8proc counts none): what measures raw text must not see
// its widths change, and what shows text escapes controls first.
int Width(char32_t c) {
    return IsControl(c) ? 1 : utf8proc_charwidth(static_cast<utf8proc_int32_t>(c));
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Decode(text, pos, codePoint);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

int DisplayWidth(std::string_view text) {
    if (IsPrintableAscii(text)) {
        return static_cast<int>(text.size());  // the common case
    }
    int width = 0;
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Decode(text, pos, codePoint);
        width += length == 0 ? 1 : Width(codePoint);  // a bad byte shows as one replacement
        pos += length == 0 ? 1 : length;
    }
    return width;
}

std::string Escaped(std::string_view text) {
    if (IsPrintableAscii(text)) {
        return std::string(text);  // the common case: nothing to escape
    }
    std::string escaped;
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Decode(text, pos, codePoint);
        if (length == 0 || IsControl(codePoint) || IsBidiControl(codePoint)) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(text[pos]);
            escaped += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
            ++pos;
            continue;
        }
        escaped += text.substr(pos, length);
        pos += length;
    }
    return escaped;
}

std::string QuotedForMessage(std::string_view text) {
    return "\"" + Escaped(text) + "\"";
}

std::string Shortened(std::string_view text, int width) {
    if (DisplayWidth(text) <= width) {
        return std::string(text);
    }
    size_t keep = 0;  // whole characters, leaving a column for the "…"
    char32_t codePoint = 0;
    for (int used = 0; keep < text.size();) {
        const size_t length = std::max<size_t>(1, Decode(text, keep, codePoint));
        if ((used += DisplayWidth(text.substr(keep, length))) > width - 1) {
            break;
        }
        keep += length;
    }
    return std::string(text.substr(0, keep)) + "…";
}

std::string JsonString(std::string_view text) {
    if (std::none_of(text.begin(), text.end(), [](char c) {
            return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
        })) {
        std::string out;
        out.reserve(text.size() + 2);
        out += '"';
        out += text;
        out += '"';
        return out;
    }
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += {'\\', c};
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += {'\\', c == '\n' ? 'n' : c == '\r' ? 'r' : 't'};
        } else if (byte < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace springcalc
