// SPDX-License-Identifier: GPL-3.0-or-later
#include "budget_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace springcalc::bench {

namespace {

const char* Suffix(Unit unit) {
    switch (unit) {
        case Unit::Microseconds:
            return "µs";
        case Unit::Milliseconds:
            return "ms";
        case Unit::Seconds:
            return "s";
        case Unit::MiB:
            return "MiB";
        case Unit::Ratio:
            return "×";
    }
    return "";
}

std::string Show(double value, Unit unit) {
    char text[32];
    // More decimals for the small figures, so a 0.15 ms click does not read as 0.2.
    const int decimals = unit == Unit::Ratio ? 2 : value < 1 ? 3 : value < 10 ? 2 : 1;
    std::snprintf(text, sizeof text, "%.*f %s", decimals, value, Suffix(unit));
    return text;
}

// Display width of UTF-8 text: the units and arrows are one column each.
int Columns(const std::string& text) {
    int columns = 0;
    for (unsigned char c : text) {
        columns += (c & 0xC0) != 0x80;
    }
    return columns;
}

void PrintPadded(const std::string& text, int width, bool right) {
    const int pad = std::max(0, width - Columns(text));
    if (right) {
        std::printf("%*s%s", pad, "", text.c_str());
    } else {
        std::printf("%s%*s", text.c_str(), pad, "");
    }
}

constexpr int kWhatWidth = 50;
constexpr int kFigureWidth = 11;

}  // namespace

void PrintHeading() {
    PrintPadded("what", kWhatWidth, false);
    PrintPadded("figure", kFigureWidth, true);
    std::printf("   ");
    PrintPadded("budget", kFigureWidth, false);
    std::printf("verdict\n");
    std::printf("%s\n", std::string(kWhatWidth + 2 * kFigureWidth + 3 + 7, '-').c_str());
}

bool PrintLine(const BudgetLine& line) {
    const bool within = line.limit <= 0 || line.value < line.limit;
    PrintPadded(line.what, kWhatWidth, false);
    PrintPadded(Show(line.value, line.unit), kFigureWidth, true);
    std::printf("   ");
    PrintPadded(line.limit > 0 ? "< " + Show(line.limit, line.unit) : std::string("-"),
                kFigureWidth, false);
    std::printf("%s\n", line.limit <= 0 ? "" : within ? "ok" : "OVER");
    std::fflush(stdout);
    return within;
}

bool PrintLines(const std::vector<BudgetLine>& lines) {
    bool all = true;
    for (const BudgetLine& line : lines) {
        all = PrintLine(line) && all;
    }
    return all;
}

double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double Quantile(std::vector<double> samples, double fraction) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(fraction * static_cast<double>(samples.size()));
    const size_t index = static_cast<size_t>(std::clamp(rank, 1.0, double(samples.size()))) - 1;
    return samples[index];
}

}  // namespace springcalc::bench
