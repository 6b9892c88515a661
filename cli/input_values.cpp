// SPDX-License-Identifier: GPL-3.0-or-later
#include "input_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "spring_design.h"
#include "spring_tables.h"

namespace springcalc::cli {

namespace {

// Lower case without any blank, so " sus304-wpb " and "SUS304-WPB" compare equal.
std::string Folded(std::string_view text) {
    std::string folded = Lowered(text);
    std::erase_if(folded, [](char c) { return c == ' ' || c == '\t'; });
    return folded;
}

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

std::optional<std::int32_t> ParseKind(std::string_view text) {
    const std::string folded = Folded(text);
    if (folded == "compression") {
        return kCompression;
    }
    if (folded == "extension") {
        return kExtension;
    }
    return std::nullopt;
}

const char* KindName(std::int32_t springKind) {
    return springKind == kExtension ? "extension" : "compression";
}

std::optional<int> FindMaterial(std::string_view text) {
    // Folded once: every row of a check looks its material up here.
    static const std::array<std::string, kMaterialCount> designations = [] {
        std::array<std::string, kMaterialCount> names;
        for (int m = 0; m < kMaterialCount; ++m) {
            names[m] = Folded(kMaterials[m].name);
        }
        return names;
    }();
    const std::string folded = Folded(text);
    for (int m = 0; m < kMaterialCount && !folded.empty(); ++m) {
        if (folded == designations[m] || (folded.size() == 1 && folded[0] == '0' + m)) {
            return m;
        }
    }
    return std::nullopt;
}

std::string MaterialDesignation(int materialNo) {
    return std::string(Trim(kMaterials[materialNo].name));
}

std::string MaterialList() {
    std::string list;
    for (int m = 0; m < kMaterialCount; ++m) {
        list += (m == 0 ? "" : ", ") + MaterialDesignation(m);
    }
    return list;
}

std::optional<int> FindWire(std::string_view text) {
    const std::optional<float> diameter = ParseFloat(text);
    if (!diameter) {
        return std::nullopt;
    }
    for (int w = 0; w < kWireCount; ++w) {
        if (kWires[w].diameter == *diameter) {
            return w;
        }
    }
    return std::nullopt;
}

std::string WireDesignation(int wireNo) {
    return std::string(Trim(kWires[wireNo].text));
}

std::string NearestWires(double diameter) {
    const auto above = std::find_if(kWires.begin(), kWires.end(),
                                    [&](const WireRow& row) { return row.diameter > diameter; });
    if (above == kWires.begin()) {
        return "the thinnest is " + WireDesignation(0);
    }
    if (above == kWires.end()) {
        return "the thickest is " + WireDesignation(kWireCount - 1);
    }
    const int upper = static_cast<int>(above - kWires.begin());
    return "the nearest are " + WireDesignation(upper - 1) + " and " + WireDesignation(upper);
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
