// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/input_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <locale>
#include <span>
#include <sstream>
#include <string>

#include "engine/spring_tables.h"

namespace springcalc {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether `text` is a decimal as std::from_chars reads one in full: an optional minus, digits
// with an optional point (at least one digit), an optional exponent. Checked here so that every
// C++ library refuses the same texts, those without a floating-point from_chars included.
bool IsDecimal(std::string_view text) {
    size_t i = 0;
    const auto digits = [&] {
        const size_t start = i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        return i - start;
    };
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (digits() == 0) {
            return false;
        }
    }
    return i == text.size();
}

template <typename Number>
std::optional<Number> ParseDecimal(std::string_view text) {
    text = Trim(text);
    if (!IsDecimal(text)) {
        return std::nullopt;
    }
    Number value{};
#if defined(__cpp_lib_to_chars)
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
#else
    // No floating-point from_chars: a stream in the classic locale reads the same nearest value.
    std::istringstream stream{std::string(text)};
    stream.imbue(std::locale::classic());
    stream >> value;
    if (stream.fail()) {
        return std::nullopt;
    }
#endif
    if (!std::isfinite(value)) {
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

}  // namespace springcalc
