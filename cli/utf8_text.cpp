#include "utf8_text.h"

#include <cstdint>
#include <cstdio>

namespace springcalc::cli {

namespace {

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

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
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
    int width = 0;
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Decode(text, pos, codePoint);
        if (length == 0) {
            ++width;  // shown as one replacement character
            ++pos;
            continue;
        }
        width += IsWide(codePoint) ? 2 : 1;
        pos += length;
    }
    return width;
}

std::string QuotedForMessage(std::string_view text) {
    std::string quoted = "\"";
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Decode(text, pos, codePoint);
        if (length == 0 || codePoint < 0x20 || codePoint == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[pos]));
            quoted += escape;
            ++pos;
            continue;
        }
        quoted += text.substr(pos, length);
        pos += length;
    }
    return quoted + "\"";
}

}  // namespace springcalc::cli
