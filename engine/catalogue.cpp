// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue.h"

#include <algorithm>
#include <array>

#include "engine/spring_design.h"
#include "engine/spring_tables.h"

namespace springcalc {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Unpadded(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string FoldedName(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (char c : text) {
        if (!IsBlank(c)) {
            folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return folded;
}

std::optional<std::int32_t> KindNamed(std::string_view text) {
    const std::string folded = FoldedName(text);
    if (folded == "compression") {
        return kCompression;
    }
    if (folded == "extension") {
        return kExtension;
    }
    return std::nullopt;
}

bool NamesTorsion(std::string_view text) {
    return FoldedName(text) == "torsion";
}

const char* KindName(std::int32_t springKind) {
    return springKind == kExtension ? "extension" : "compression";
}

std::optional<int> MaterialNamed(std::string_view text) {
    // Folded once: every row of a check looks its material up here.
    static const std::array<std::string, kMaterialCount> designations = [] {
        std::array<std::string, kMaterialCount> names;
        for (int m = 0; m < kMaterialCount; ++m) {
            names[m] = FoldedName(kMaterials[m].name);
        }
        return names;
    }();
    const std::string folded = FoldedName(text);
    for (int m = 0; m < kMaterialCount && !folded.empty(); ++m) {
        if (folded == designations[m] || (folded.size() == 1 && folded[0] == '0' + m)) {
            return m;
        }
    }
    return std::nullopt;
}

std::string MaterialDesignation(int materialNo) {
    return std::string(Unpadded(kMaterials[materialNo].name));
}

std::string MaterialList() {
    std::string list;
    for (int m = 0; m < kMaterialCount; ++m) {
        list += (m == 0 ? "" : ", ") + MaterialDesignation(m);
    }
    return list;
}

std::optional<int> WireOfDiameter(float diameter) {
    for (int w = 0; w < kWireCount; ++w) {
        if (kWires[w].diameter == diameter) {
            return w;
        }
    }
    return std::nullopt;
}

std::string WireDesignation(int wireNo) {
    return std::string(Unpadded(kWires[wireNo].text));
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

}  // namespace springcalc
