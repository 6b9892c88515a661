// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a page file with the catalogue's words in place of its {{key}} marks: the words the
// page shows before its engine has loaded (its title, "loading", what it says without script).
// Built and run on the build machine, never shipped.
//
//   fill_words INPUT OUTPUT
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "engine/words.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: fill_words INPUT OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in) {
        std::cerr << "fill_words: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::string out;
    size_t at = 0;
    for (size_t open; (open = text.find("{{", at)) != std::string::npos;) {
        const size_t close = text.find("}}", open);
        if (close == std::string::npos) {
            break;
        }
        const std::string key = text.substr(open + 2, close - open - 2);
        const std::string word = springcalc::WordOf(key);
        // The words go in as they are, in HTML and in JSON alike: none may need escaping.
        if (word.empty() || word.find_first_of("&<>\"\\") != std::string::npos) {
            std::cerr << argv[1] << ": no word to write for {{" << key << "}}\n";
            return 1;
        }
        out.append(text, at, open - at);
        out += word;
        at = close + 2;
    }
    out.append(text, at);
    std::ofstream(argv[2], std::ios::binary) << out;
    return 0;
}
