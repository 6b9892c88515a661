// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/input_values.h"

#include <charconv>
#include <cmath>

#include "engine/catalogue.h"

namespace springcalc::cli {

namespace {

template <typename Number>
std::optional<Number> ParseDecimal(std::string_view text) {
    text = Trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

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

std::optional<float> ParseFloat(std::string_view text) {
    return ParseDecimal<float>(text);
}

std::optional<double> ParseDouble(std::string_view text) {
    return ParseDecimal<double>(text);
}

std::string RangeText(Range range) {
    return "from " + ShortestText(range.min) + " to " + ShortestText(range.max);
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
