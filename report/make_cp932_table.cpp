// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the code page 932 table of builds without iconv (report/cp932_table.cpp): every
// character that glibc's "CP932" converter encodes, with its bytes, and those it passes over
// without a byte (0xFFFF). Run on the build machine, never shipped.
//
//   make_cp932_table OUTPUT

#include <iconv.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_cp932_table OUTPUT\n");
        return 2;
    }
    const iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        std::perror("make_cp932_table: iconv_open CP932");
        return 1;
    }
    std::string table = "// Written by make_cp932_table from glibc's CP932 converter.\n";
    int count = 0;
    for (unsigned code = 0x80; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code < 0xE000) {
            continue;
        }
        char utf8[4];
        size_t length = 0;
        if (code < 0x800) {
            utf8[0] = static_cast<char>(0xC0 | (code >> 6));
            utf8[1] = static_cast<char>(0x80 | (code & 0x3F));
            length = 2;
        } else if (code < 0x10000) {
            utf8[0] = static_cast<char>(0xE0 | (code >> 12));
            utf8[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8[2] = static_cast<char>(0x80 | (code & 0x3F));
            length = 3;
        } else {
            utf8[0] = static_cast<char>(0xF0 | (code >> 18));
            utf8[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            utf8[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8[3] = static_cast<char>(0x80 | (code & 0x3F));
            length = 4;
        }
        char encoded[8];
        char* in = utf8;
        char* out = encoded;
        size_t inLeft = length;
        size_t outLeft = sizeof encoded;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
            continue;
        }
        const size_t written = sizeof encoded - outLeft;
        unsigned bytes = 0;
        if (written == 0) {
            bytes = 0xFFFF;  // passed over
        } else if (written == 1) {
            bytes = static_cast<unsigned char>(encoded[0]);
        } else if (written == 2) {
            bytes = static_cast<unsigned char>(encoded[0]) * 256u +
                    static_cast<unsigned char>(encoded[1]);
        } else {
            continue;
        }
        char line[40];
        std::snprintf(line, sizeof line, "{0x%05X, 0x%04X},\n", code, bytes);
        table += line;
        ++count;
    }
    iconv_close(converter);
    if (count < 7000) {
        std::fprintf(stderr, "make_cp932_table: only %d characters: not glibc's CP932?\n", count);
        return 1;
    }
    FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(table.data(), 1, table.size(), file) != table.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
