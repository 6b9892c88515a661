// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page's words in the page's language. Inside springcalc::web these Words and WordOf stand
// in for the catalogue's own (engine/words.h), which are Japanese only: the panel, the search's
// faults and the address's notes then speak the language the page chose, with no language
// passed down through every function. A key written in the code is still checked when it
// compiles.

#include <string_view>

#include "engine/words_english.h"

namespace springcalc::web {

void SetPageLanguage(Language language);
Language PageLanguage();

// A key written in the code, checked against the catalogue when it compiles.
struct WordKey {
    consteval WordKey(const char* name) : key(name) {
        if (*springcalc::WordOf(name) == '\0') {
            throw "no such key in kWords";
        }
    }
    std::string_view key;
};

const char* Words(WordKey key);
// For a key the code puts together; empty when there is no such key.
const char* WordOf(std::string_view key);
// The words of warning `number` (1 to 14, and a torsion spring's 21 to 23), as the window's
// list and the command line number them.
const char* WarningWords(int number);

}  // namespace springcalc::web
