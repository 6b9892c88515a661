// SPDX-License-Identifier: GPL-3.0-or-later
// DisplayWidth against the Unicode data itself: every code point's expected width is worked out
// from Debian's copy of the Unicode Character Database (the unicode-data package), never from
// the program's own function, and a few strings show how characters and bad bytes add up.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/utf8_text.h"

namespace springcalc {
namespace {

constexpr char32_t kCodePoints = 0x110000;
constexpr const char* kDataDir = "/usr/share/unicode/";

// A property value of one or two letters ("Mn", "W", "Na") as a number, to keep two tables of
// a million entries small.
using Code = std::uint16_t;
constexpr Code ToCode(std::string_view value) {
    return static_cast<Code>(value[0] << 8 | (value.size() > 1 ? value[1] : 0));
}

// One property of every code point, from a UCD file of "XXXX;Value" and "XXXX..YYYY ; Value"
// lines; the code points the file leaves out have `missing`.
std::vector<Code> LoadProperty(const char* name, Code missing) {
    std::vector<Code> table(kCodePoints, missing);
    std::ifstream file(std::string(kDataDir) + name);
    for (std::string line; std::getline(file, line);) {
        unsigned first = 0, last = 0;
        char value[3] = {};
        // A single code point leaves `last` at 0; comments and blank lines match neither.
        if (std::sscanf(line.c_str(), "%x..%x ; %2[A-Za-z]", &first, &last, value) == 3 ||
            std::sscanf(line.c_str(), "%x ; %2[A-Za-z]", &first, value) == 2) {
            std::fill(&table[first], &table[std::max(first, last)] + 1, ToCode(value));
        }
    }
    return table;
}

// utf8proc 2.8's rules for a code point's width, in order of precedence, as its generator
// (data/charwidths.jl) sets them and as the installed library gives them for every code point:
//  - U+00AD SOFT HYPHEN is 1: terminals print it as a hyphen, though it is Cf.
//  - Mn (non-spacing marks) and Cf (format characters: joiners, bidi marks) are 0.
//  - Co and Cn (private use, unassigned) are 1, even inside blocks EastAsianWidth.txt gives W,
//    as they would show as one replacement character.
//  - East Asian Width W or F is 2; Na or H is 1 (so halfwidth katakana is 1).
//  - Mc (spacing marks, e.g. Devanagari vowel signs), Me (enclosing marks), Zl and Zp are 0.
//  - Everything else is 1; ambiguous width (A) counts as narrow, as outside East Asian locales.
// Emoji need no rule of their own: EastAsianWidth.txt gives Emoji_Presentation characters W.
// The width is per code point: a text-default character followed by U+FE0F (emoji
// presentation) keeps its own width, and a ZWJ sequence adds up its parts.
// Cc (control characters) is 0 in utf8proc, but DisplayWidth deliberately keeps counting one
// column for each, so that is the rule here. Surrogates (Cs) cannot be written in UTF-8.
int ExpectedWidth(char32_t c, Code gc, Code eaw) {
    const auto is = [](Code code, std::initializer_list<const char*> values) {
        return std::ranges::any_of(values, [&](const char* v) { return code == ToCode(v); });
    };
    if (c != 0xAD && is(gc, {"Mn", "Cf"})) {
        return 0;
    }
    if (c == 0xAD || is(gc, {"Cc", "Co", "Cn"})) {
        return 1;
    }
    if (is(eaw, {"W", "F"})) {
        return 2;
    }
    return is(eaw, {"Na", "H"}) || !is(gc, {"Mc", "Me", "Zl", "Zp"}) ? 1 : 0;
}

std::string Utf8(char32_t c) {
    if (c < 0x80) {
        return std::string(1, char(c));
    }
    // The lead byte has as many high bits set as the sequence has bytes, the rest 10xxxxxx.
    const int tails = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    std::string bytes(1, char(0xF0 << (3 - tails) | c >> 6 * tails));
    for (int shift = 6 * (tails - 1); shift >= 0; shift -= 6) {
        bytes += char(0x80 | (c >> shift & 0x3F));
    }
    return bytes;
}

TEST(DisplayWidth, EveryCodePointAsTheUnicodeDataGivesIt) {
    // DerivedGeneralCategory.txt gives the categories in the same form as EastAsianWidth.txt.
    const std::vector<Code> category =
        LoadProperty("extracted/DerivedGeneralCategory.txt", ToCode("Cn"));
    const std::vector<Code> eastAsianWidth = LoadProperty("EastAsianWidth.txt", ToCode("N"));
    ASSERT_TRUE(category[0x5F13] == ToCode("Lo") && eastAsianWidth[0x5F13] == ToCode("W"))
        << kDataDir << " is missing or unreadable: run scripts/ensure-deps";
    int wrong = 0;
    for (char32_t c = 0; c < kCodePoints; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const int expected = ExpectedWidth(c, category[c], eastAsianWidth[c]);
        const int width = DisplayWidth(Utf8(c));
        if (width != expected && ++wrong <= 20) {
            ADD_FAILURE() << std::hex << "U+" << static_cast<std::uint32_t>(c) << " ("
                          << char(category[c] >> 8) << char(category[c]) << ") is " << width
                          << " columns, not " << expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// How characters and bad bytes add up; each code point alone is the test above's.
TEST(DisplayWidth, StringsAddUpTheirCharacters) {
    const std::pair<const char*, int> kCases[] = {
        {"कि", 1},                                 // KA and a vowel sign (Mc)
        {"e\u0301\u20DD", 1},                      // combining accent (Mn), enclosing circle (Me)
        {"\u2764\uFE0F", 1},                       // emoji presentation: the heart's own width
        {"👨\u200D👩\u200D👧", 6},                    // a ZWJ family: its parts added up
        {"ab\u00ADc", 4},                          // the soft hyphen shows
        {"a\xFF\xC0\xAF\xED\xA0\x80\xE5\xBC", 9},  // bad, overlong, surrogate, cut: one each
    };
    for (const auto& [text, width] : kCases) {
        EXPECT_EQ(DisplayWidth(text), width) << text;
    }
}

}  // namespace
}  // namespace springcalc
