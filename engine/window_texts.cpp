// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/window_texts.h"

#include <algorithm>
#include <vector>

namespace springcalc {

std::string WarningListNote(std::string_view lines, Language language) {
    std::vector<std::string> explained;
    while (!lines.empty()) {
        const size_t end = std::min(lines.find('\n'), lines.size());
        std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        while (!line.empty() && (line.front() == ' ' || line.front() == '\r')) {
            line.remove_prefix(1);
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        for (size_t i = 0; i < kWarningTexts.size(); ++i) {
            const std::string number = std::to_string(i + 1);
            const std::string_view warning = WordIn(language, "warning" + number);
            if (line != warning) {
                continue;
            }
            std::string text = std::string(warning) + WordIn(language, "warningNoteSeparator") +
                               WordIn(language, "warningNote" + number);
            if (std::find(explained.begin(), explained.end(), text) == explained.end()) {
                explained.push_back(std::move(text));
            }
        }
    }
    if (explained.empty()) {
        return WordIn(language, "noWarningsNote");
    }
    std::string note;
    for (const std::string& text : explained) {
        note += note.empty() ? "" : "\n";
        note += text;
    }
    return note;
}

}  // namespace springcalc
