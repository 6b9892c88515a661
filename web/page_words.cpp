// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/page_words.h"

#include <string>

namespace springcalc::web {

namespace {

// One page, one language: each instance of the module (the page's, the search worker's) is told
// it once it has loaded, and again when the page switches.
Language& CurrentLanguage() {
    static Language language = Language::Japanese;
    return language;
}

}  // namespace

void SetPageLanguage(Language language) {
    CurrentLanguage() = language;
}

Language PageLanguage() {
    return CurrentLanguage();
}

const char* Words(WordKey key) {
    return WordIn(CurrentLanguage(), key.key);
}

const char* WordOf(std::string_view key) {
    return WordIn(CurrentLanguage(), key);
}

const char* WarningWords(int number) {
    return WordOf("warning" + std::to_string(number));
}

}  // namespace springcalc::web
