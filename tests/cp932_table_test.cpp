// SPDX-License-Identifier: GPL-3.0-or-later
// The code page 932 table of the WebAssembly build encodes every character as glibc's iconv
// does, and refuses what iconv refuses: text that is not UTF-8 and characters without a form.

#include "report/cp932_table.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

namespace springcalc {
namespace {

std::string Utf8(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

class Iconv {
public:
    Iconv() : converter_(iconv_open("CP932", "UTF-8")) {}
    ~Iconv() { iconv_close(converter_); }
    std::optional<std::string> operator()(const std::string& utf8) {
        iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        std::string input = utf8;
        std::string output(utf8.size() * 2 + 16, '\0');
        char* in = input.data();
        size_t inLeft = input.size();
        char* out = output.data();
        size_t outLeft = output.size();
        if (iconv(converter_, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
            return std::nullopt;
        }
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    iconv_t converter_;
};

std::optional<std::string> Table(const std::string& utf8) {
    std::string out;
    return EncodeCp932Run(utf8, out) ? std::optional(out) : std::nullopt;
}

TEST(Cp932Table, EncodesEveryCharacterAsIconvDoes) {
    Iconv iconv;
    int encoded = 0;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code < 0xE000) {
            continue;
        }
        const std::string utf8 = Utf8(code);
        const std::optional<std::string> expected = iconv(utf8);
        ASSERT_EQ(Table(utf8), expected) << "U+" << std::hex << static_cast<unsigned>(code);
        encoded += expected ? 1 : 0;
    }
    EXPECT_GT(encoded, 7000);
    // The report's own words, several characters at once.
    EXPECT_EQ(Table("ｺｲﾙ平均径 (内径 1.00)"), iconv("ｺｲﾙ平均径 (内径 1.00)"));
}

TEST(Cp932Table, RefusesTextThatIsNotUtf8) {
    for (const std::string bad : {"\x80", "\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                                  "\xF4\x90\x80\x80", "\xE3\x81", "\xFF", "a\xE3\x81"}) {
        EXPECT_EQ(Table(bad), std::nullopt) << bad.size();
    }
}

}  // namespace
}  // namespace springcalc
