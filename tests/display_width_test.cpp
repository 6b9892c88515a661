// SPDX-License-Identifier: GPL-3.0-or-later
// DisplayWidth against the Unicode data itself: every code point's expected width is worked out
// from Debian's copy of the Unicode Character Database (the unicode-data package), never from
// the program's own function, and a few strings show how characters and bad bytes add up.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
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
    return static_cast<Code>(value.empty() ? 0 : value[0] << 8 | (value.size() > 1 ? value[1] : 0));
}
std::string FromCode(Code code) {
    return code & 0xFF ? std::string{char(code >> 8), char(code & 0xFF)}
                       : std::string{char(code >> 8)};
}

std::string ReadDataFile(const char* name) {
    std::ifstream file(std::string(kDataDir) + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream parts(line.substr(0, line.find('#')));
    for (std::string field; std::getline(parts, field, ';');) {
        field.erase(0, field.find_first_not_of(' '));
        field.erase(field.find_last_not_of(' ') + 1);
        fields.push_back(field);
    }
    return fields;
}

// Calls `take(first, last, fields)` for each record of a UCD file, with its code point or its
// range "XXXX..YYYY" read.
template <typename Take>
void ForEachRecord(const std::string& text, Take take) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() < 2) {
            continue;
        }
        const size_t dots = fields[0].find("..");
        const auto first = static_cast<char32_t>(std::stoul(fields[0], nullptr, 16));
        const auto last =
            dots == std::string::npos
                ? first
                : static_cast<char32_t>(std::stoul(fields[0].substr(dots + 2), nullptr, 16));
        take(first, last, fields);
    }
}

struct UnicodeTables {
    std::vector<Code> category = std::vector<Code>(kCodePoints, ToCode("Cn"));
    std::vector<Code> eastAsianWidth = std::vector<Code>(kCodePoints, ToCode("N"));
    std::string version;  // the first line of EastAsianWidth.txt, for a failure's message
};

UnicodeTables LoadTables() {
    UnicodeTables tables;
    char32_t rangeStart = 0;  // UnicodeData.txt gives large blocks as "<..., First>" and Last
    ForEachRecord(ReadDataFile("UnicodeData.txt"),
                  [&](char32_t c, char32_t, const std::vector<std::string>& fields) {
                      if (fields.size() < 3 || fields[1].ends_with(", First>")) {
                          rangeStart = c;
                          return;
                      }
                      const char32_t from = fields[1].ends_with(", Last>") ? rangeStart : c;
                      std::fill(&tables.category[from], &tables.category[c] + 1, ToCode(fields[2]));
                  });
    const std::string widths = ReadDataFile("EastAsianWidth.txt");
    tables.version = widths.substr(0, widths.find('\n'));
    ForEachRecord(widths,
                  [&](char32_t first, char32_t last, const std::vector<std::string>& fields) {
                      std::fill(&tables.eastAsianWidth[first], &tables.eastAsianWidth[last] + 1,
                                ToCode(fields[1]));
                  });
    return tables;
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
    if (c == 0xAD) {
        return 1;
    }
    if (gc == ToCode("Cc")) {
        return 1;
    }
    if (gc == ToCode("Mn") || gc == ToCode("Cf")) {
        return 0;
    }
    if (gc == ToCode("Co") || gc == ToCode("Cn")) {
        return 1;
    }
    if (eaw == ToCode("W") || eaw == ToCode("F")) {
        return 2;
    }
    if (eaw == ToCode("Na") || eaw == ToCode("H")) {
        return 1;
    }
    return gc == ToCode("Mc") || gc == ToCode("Me") || gc == ToCode("Zl") || gc == ToCode("Zp") ? 0
                                                                                                : 1;
}

std::string Utf8(char32_t c) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    const auto tail = [&](int shift) { return byte(0x80 | ((c >> shift) & 0x3F)); };
    if (c < 0x80) {
        return {byte(c)};
    }
    if (c < 0x800) {
        return {byte(0xC0 | c >> 6), tail(0)};
    }
    if (c < 0x10000) {
        return {byte(0xE0 | c >> 12), tail(6), tail(0)};
    }
    return {byte(0xF0 | c >> 18), tail(12), tail(6), tail(0)};
}

TEST(DisplayWidth, EveryCodePointAsTheUnicodeDataGivesIt) {
    const UnicodeTables tables = LoadTables();
    ASSERT_EQ(tables.category[0x5F13], ToCode("Lo"))
        << kDataDir << "UnicodeData.txt is missing or unreadable: run scripts/ensure-deps";
    ASSERT_EQ(tables.eastAsianWidth[0x5F13], ToCode("W"))
        << kDataDir << "EastAsianWidth.txt is missing or unreadable: run scripts/ensure-deps";
    int wrong = 0;
    for (char32_t c = 0; c < kCodePoints; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const int expected = ExpectedWidth(c, tables.category[c], tables.eastAsianWidth[c]);
        const int width = DisplayWidth(Utf8(c));
        if (width != expected && ++wrong <= 20) {
            ADD_FAILURE() << std::hex << "U+" << static_cast<std::uint32_t>(c) << " ("
                          << FromCode(tables.category[c]) << ", "
                          << FromCode(tables.eastAsianWidth[c]) << ") is " << width
                          << " columns, not " << expected << "; data " << tables.version;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Each worked out by hand from the data files, and the ways characters and bytes add up.
TEST(DisplayWidth, NamedCharactersAndStrings) {
    const struct {
        const char* text;
        int width;
    } kCases[] = {
        {"spring", 6},                 // printable ASCII: one a byte
        {"✅⌚☔🚀🀄", 10},                 // emoji with Emoji_Presentation: W
        {"\u093F", 0},                 // DEVANAGARI VOWEL SIGN I: Mc
        {"कि", 1},                     // KA and the sign
        {"弁𠀋힣", 6},                 // ideographs in and beyond the first plane, Hangul
        {"ｺｲﾙ", 3},                    // halfwidth katakana: H
        {"e\u0301\u20DD", 1},          // a combining accent (Mn), an enclosing circle (Me)
        {"°±×", 3},                    // ambiguous width counts as narrow
        {"\u2764\uFE0F", 1},           // emoji presentation asked for: the heart's own width
        {"👨\u200D👩\u200D👧", 6},        // a ZWJ family: its parts added up
        {"ab\u00ADc", 4},              // the soft hyphen shows
        {"\u200B\u2028", 0},           // zero width space (Cf), line separator (Zl)
        {"\U000F0000\U0003A000", 2},   // private use; unassigned in a wide block
        {"\x1B[1m\t\r\x7F\u0085", 8},  // controls, C0, DEL and C1: one each
        {"a\xFF\xC0\xAF\xED\xA0\x80\xE5\xBC", 9},  // bad bytes, overlong, surrogate, cut: one each
    };
    for (const auto& [text, width] : kCases) {
        EXPECT_EQ(DisplayWidth(text), width) << text;
    }
}

}  // namespace
}  // namespace springcalc
