// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf8_text.h"

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

// Columns a character takes where it is not one: East Asian wide characters and emoji two;
// combining marks, joiners and variation selectors none (drawn on the character before them).
struct WidthRange {
    char32_t first;
    char32_t last;
    int width;
};
// clang-format off
constexpr WidthRange kWidths[] = {
    {0x0300, 0x036F, 0},   {0x0483, 0x0489, 0},   {0x0591, 0x05BD, 0},   {0x0610, 0x061A, 0},
    {0x064B, 0x065F, 0},   {0x1100, 0x115F, 2},   {0x1AB0, 0x1AFF, 0},   {0x1DC0, 0x1DFF, 0},
    {0x200B, 0x200F, 0},   {0x20D0, 0x20FF, 0},   {0x2E80, 0x303E, 2},   {0x3041, 0x3098, 2},
    {0x3099, 0x309A, 0},   {0x309B, 0x33FF, 2},   {0x3400, 0x4DBF, 2},   {0x4E00, 0x9FFF, 2},
    {0xA000, 0xA4CF, 2},   {0xAC00, 0xD7A3, 2},   {0xF900, 0xFAFF, 2},   {0xFE00, 0xFE0F, 0},
    {0xFE20, 0xFE2F, 0},   {0xFE30, 0xFE4F, 2},   {0xFF00, 0xFF60, 2},   {0xFFE0, 0xFFE6, 2},
    {0x1F300, 0x1F64F, 2}, {0x1F900, 0x1F9FF, 2}, {0x20000, 0x3FFFD, 2}, {0xE0100, 0xE01EF, 0},
};
// clang-format on

int Width(char32_t c) {
    for (const WidthRange& range : kWidths) {
        if (c >= range.first && c <= range.last) {
            return range.width;
        }
    }
    return 1;
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
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

}  // namespace springcalc
