// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The date stamp of a Run: the local date and time, and its text.

#include <ctime>
#include <functional>
#include <string>

namespace springcalc {

struct LocalDateTime {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
};
using Clock = std::function<LocalDateTime()>;
LocalDateTime SystemLocalTime();
// The local date and time of an instant, in the time zone of TZ.
LocalDateTime LocalTimeOf(std::time_t instant);

// The year, the month and the day, each followed by the catalogue's word for it, then the hour
// and the minute as "%2d:%2d".
std::string FormatDateStamp(const LocalDateTime& when);

}  // namespace springcalc
