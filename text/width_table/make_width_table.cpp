// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the character widths of builds without utf8proc, read by width_table.cpp beside this
// file: the ranges of code points utf8proc does not count as one column, with their width. Run
// on the build machine with the utf8proc the native build uses, so both builds measure text alike.
//
//   make_width_table OUTPUT

#include <utf8proc.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_width_table OUTPUT\n");
        return 2;
    }
    std::string table =
        "// Written by make_width_table from utf8proc " + std::string(utf8proc_version()) + ".\n";
    long first = -1;
    int width = 1;
    const auto close = [&](long last) {
        if (first >= 0 && width != 1) {
            char line[48];
            std::snprintf(line, sizeof line, "{0x%05lX, 0x%05lX, %d},\n", first, last, width);
            table += line;
        }
    };
    for (long code = 0; code <= 0x110000; ++code) {
        const int next =
            code <= 0x10FFFF ? utf8proc_charwidth(static_cast<utf8proc_int32_t>(code)) : 1;
        if (code == 0x110000 || next != width || first < 0) {
            close(code - 1);
            first = code;
            width = next;
        }
    }
    FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(table.data(), 1, table.size(), file) != table.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
