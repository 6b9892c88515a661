// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/input_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <span>

#include "engine/catalogue.h"
#include "engine/spring_tables.h"
#include "engine/text_format.h"

namespace springcalc::cli {

std::string Lowered(std::string_view text) {
    std::string lowered(Trim(text));
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lowered;
}

std::optional<int> FindWire(std::string_view text) {
    const std::optional<float> diameter = ParseFloat(text);
    return diameter ? WireOfDiameter(*diameter) : std::nullopt;
}

std::optional<EndCondition> EndsNamed(std::string_view text, std::string& problem) {
    const std::optional<EndCondition> ends = EndConditionNamed(text);
    if (!ends) {
        problem = "--ends takes " + EndConditionNames() + ", not \"" + std::string(text) + "\"";
    }
    return ends;
}

std::string RangeText(Range range) {
    return "from " + ShortestText(range.min) + " to " + ShortestText(range.max);
}

std::string ReadableFixed(double value, int precision, std::string_view tail) {
    const double magnitude = std::fabs(value);
    int decimals = precision;
    if (magnitude > 0 && magnitude < std::pow(10.0, -precision)) {
        // Three significant digits: as many decimals as put the first one third.
        decimals = std::max(precision, 2 - static_cast<int>(std::floor(std::log10(magnitude))));
    }
    std::string text = FixedText(value, decimals);
    if (decimals > precision) {
        const size_t point = text.find('.');
        const size_t keep = std::max(text.find_last_not_of('0') + 1, point + 1 + precision);
        text.resize(keep);
    }
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text.append(tail);
}

std::string ShortestText(double value) {
    char buffer[32];
    // Fixed, not the shorter of fixed and exponent: "100000" and "0.0001" read better than
    // "1e+05" and "1e-04", and every value shown here is within a range of plain sizes.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

}  // namespace springcalc::cli
