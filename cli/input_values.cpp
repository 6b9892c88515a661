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

std::optional<double> ParseForce(std::string_view text, ForceKind kind) {
    struct Unit {
        std::string_view name;
        double newtons;  // per unit
    };
    static constexpr Unit kLoadUnits[] = {
        {"kgf", kNewtonsPerKgf}, {"kg", kNewtonsPerKgf}, {"N", 1.0}};
    static constexpr Unit kRateUnits[] = {
        {"kgf/mm", kNewtonsPerKgf}, {"kg/mm", kNewtonsPerKgf}, {"N/mm", 1.0}};
    text = Trim(text);
    for (const Unit& unit : kind == ForceKind::Load ? std::span<const Unit>(kLoadUnits)
                                                    : std::span<const Unit>(kRateUnits)) {
        if (text.ends_with(unit.name)) {
            const std::optional<double> value =
                ParseDouble(text.substr(0, text.size() - unit.name.size()));
            if (!value) {
                return std::nullopt;
            }
            // Kilograms-force stay as typed, to the last bit.
            return unit.newtons == kNewtonsPerKgf ? *value : *value / kNewtonsPerKgf;
        }
    }
    return ParseDouble(text);
}

std::optional<LoadAtLength> ParseLoadAtLength(std::string_view text) {
    const size_t at = text.find('@');
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<double> load = ParseForce(text.substr(0, at), ForceKind::Load);
    const std::optional<double> length = ParseDouble(text.substr(at + 1));
    if (!load || !length) {
        return std::nullopt;
    }
    return LoadAtLength{*load, *length};
}

std::optional<double> Range::Admit(double value) const {
    constexpr double kRounding = 8 * std::numeric_limits<double>::epsilon();
    if (Holds(value)) {
        return value;
    }
    if (std::fabs(value - min) <= kRounding * std::fabs(min)) {
        return min;
    }
    if (std::fabs(value - max) <= kRounding * std::fabs(max)) {
        return max;
    }
    return std::nullopt;
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
