#include "utf8_text.h"

#include <algorithm>
#include <cstdint>

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
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Combining marks, joiners and variation selectors: drawn on the character before them.
bool IsZeroWidth(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0483 && c <= 0x0489) ||
           (c >= 0x0591 && c <= 0x05BD) || (c >= 0x0610 && c <= 0x061A) ||
           (c >= 0x064B && c <= 0x065F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0x3099 && c <= 0x309A) ||
           (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F) ||
           (c >= 0xE0100 && c <= 0xE01EF);
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

int Width(char32_t c) {
    return IsZeroWidth(c) ? 0 : IsWide(c) ? 2 : 1;
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
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
        return static_cast<int>(text.size());  // the common case: plain ASCII
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
    std::string escaped;
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Decode(text, pos, codePoint);
        if (length == 0 || IsControl(codePoint)) {
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
    std::string shortened;
    int used = 0;
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = std::max<size_t>(1, Decode(text, pos, codePoint));
        const int next = DisplayWidth(text.substr(pos, length));
        if (used + next > width - 1) {
            break;
        }
        shortened += text.substr(pos, length);
        used += next;
        pos += length;
    }
    return shortened + "…";
}

}  // namespace springcalc::cli
