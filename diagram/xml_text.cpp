// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/xml_text.h"

#include "text/utf8_text.h"

namespace springcalc {

namespace {

// A design's name comes from a file or a form and may hold anything. One character XML forbids
// must not make the whole picture unreadable, so it is replaced rather than refused; U+FFFD
// rather than nothing, so that a reader sees something was there.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The bytes a character starting with `lead` takes if it is UTF-8; 0 for a byte that cannot
// start one.
size_t SequenceLength(unsigned char lead) {
    return lead < 0x80   ? 1
           : lead < 0xC0 ? 0
           : lead < 0xE0 ? 2
           : lead < 0xF0 ? 3
           : lead < 0xF8 ? 4
                         : 0;
}

void AppendAscii(std::string& out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            const bool allowed = static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n';
            out += allowed ? std::string_view(&c, 1) : kReplacement;
    }
}

}  // namespace

std::string XmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = SequenceLength(static_cast<unsigned char>(text[pos]));
        if (length == 1) {
            AppendAscii(out, text[pos++]);
            continue;
        }
        const std::string_view character = text.substr(pos, length);
        // IsValidUtf8 turns away overlong forms, surrogates and values past U+10FFFF.
        const bool valid = length != 0 && character.size() == length && IsValidUtf8(character);
        if (!valid) {
            out += kReplacement;
            ++pos;  // the next byte may start a good character
        } else {
            const bool nonCharacter = character == "\xEF\xBF\xBE" || character == "\xEF\xBF\xBF";
            out += nonCharacter ? kReplacement : character;
            pos += length;
        }
    }
    return out;
}

}  // namespace springcalc
