// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/date_stamp.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <string_view>

#include "engine/words.h"

namespace springcalc {

LocalDateTime LocalTimeOf(std::time_t instant) {
    std::tm local{};
    localtime_r(&instant, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

LocalDateTime SystemLocalTime() {
    return LocalTimeOf(std::time(nullptr));
}

std::string FormatDateStamp(const LocalDateTime& when) {
    // The year, month and day each followed by its word, then "%2d:%2d"; without printf: the
    // command line stamps every design it runs.
    std::string text;
    const auto number = [&text](int value, int width, std::string_view tail) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        text.append(static_cast<size_t>(std::max(0L, width - (end - digits))), ' ');
        text.append(digits, end);
        text += tail;
    };
    number(when.year, 0, Words("year"));
    number(when.month, 0, Words("month"));
    number(when.day, 0, Words("day"));
    number(when.hour, 2, ":");
    number(when.minute, 2, "");
    return text;
}

}  // namespace springcalc
