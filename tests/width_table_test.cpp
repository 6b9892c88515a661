// SPDX-License-Identifier: GPL-3.0-or-later
// The character widths of the WebAssembly build, a table written from utf8proc at build time,
// are utf8proc's for every code point.

#include <gtest/gtest.h>
#include <utf8proc.h>

#include <cstdint>

// The table's look-up, built here under this name beside the real library.
int TableCharWidth(std::int32_t code);

namespace {

TEST(WidthTable, GivesUtf8procsWidthForEveryCodePoint) {
    int wide = 0;
    int zero = 0;
    for (std::int32_t code = 0; code <= 0x10FFFF; ++code) {
        const int expected = utf8proc_charwidth(code);
        ASSERT_EQ(TableCharWidth(code), expected) << "U+" << std::hex << code;
        wide += expected == 2 ? 1 : 0;
        zero += expected == 0 ? 1 : 0;
    }
    // Both kinds are there: CJK and emoji wide, combining marks and controls none.
    EXPECT_GT(wide, 10000);
    EXPECT_GT(zero, 1000);
}

}  // namespace
