// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/cp932_table.h"

#include <algorithm>
#include <cstdint>

namespace springcalc {

namespace {

struct Cp932Entry {
    std::uint32_t unicode;
    std::uint16_t bytes;  // one byte below 0x100, else lead byte * 256 + trail byte
};
// A character iconv passes over without writing a byte (the Unicode tag characters).
constexpr std::uint16_t kPassedOver = 0xFFFF;

// Sorted by code point, written by make_cp932_table.
constexpr Cp932Entry kCp932Table[] = {
#include "cp932_table.inc"
};

// The code point of the UTF-8 sequence at `pos`, moving `pos` past it; -1 for bytes that are
// not a shortest-form sequence of a scalar value.
long NextCodePoint(std::string_view text, size_t& pos) {
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned lead = byte(pos);
    const int length = lead < 0x80                   ? 1
                       : lead >= 0xC2 && lead < 0xE0 ? 2
                       : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5 ? 4
                                                     : 0;
    if (length == 0 || pos + length > text.size()) {
        return -1;
    }
    long code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            return -1;
        }
        code = (code << 6) | (next & 0x3F);
    }
    constexpr long kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
        return -1;
    }
    pos += length;
    return code;
}

}  // namespace

bool EncodeCp932Run(std::string_view utf8, std::string& out) {
    for (size_t pos = 0; pos < utf8.size();) {
        const long code = NextCodePoint(utf8, pos);
        if (code < 0) {
            return false;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
            continue;
        }
        const auto found = std::lower_bound(
            std::begin(kCp932Table), std::end(kCp932Table), code,
            [](const Cp932Entry& entry, long wanted) { return long(entry.unicode) < wanted; });
        if (found == std::end(kCp932Table) || long(found->unicode) != code) {
            return false;
        }
        if (found->bytes == kPassedOver) {
            continue;
        }
        if (found->bytes > 0xFF) {
            out += static_cast<char>(found->bytes >> 8);
        }
        out += static_cast<char>(found->bytes & 0xFF);
    }
    return true;
}

}  // namespace springcalc
