// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/design_address.h"

#include <array>
#include <utility>

#include "engine/catalogue.h"
#include "engine/input_text.h"
#include "text/number_text.h"

namespace springcalc::web {

namespace {

enum Key { kVersion, kKind, kMaterial, kWire, kMeanDia, kTurns, kFreeLen, kSetLen, kWorkLen };
constexpr std::array<std::string_view, 9> kKeys{
    "v", "kind", "material", "wire", "mean_dia", "turns", "free_len", "set_len", "work_len"};
// Keys of the page's own that share the fragment with the design: the date stamp's fixed time,
// the page's language, and the panel's choices, which the page reads itself (its wire, the own
// materials' text and its torsion form): a part of these that the page cannot read leaves the
// design as it is.
constexpr std::array<std::string_view, 5> kPageKeys{"time", "lang", "panel_wire", "own", "torsion"};

std::string Number(float value) {
    char text[32];
    return std::string(text, ShortestFloatChars(text, text + sizeof text, value));
}

AddressReading Fault(AddressFault fault, Key key) {
    return {std::nullopt, fault, std::string(kKeys[key])};
}

}  // namespace

std::string DesignFragment(const TSpringDesign& design) {
    std::string fragment = "v=" + std::string(kAddressVersion);
    const auto add = [&fragment](Key key, const std::string& value) {
        fragment += '&';
        fragment += kKeys[key];
        fragment += '=';
        fragment += value;
    };
    add(kKind, KindName(design.SpringKind));
    add(kMaterial, MaterialDesignation(design.MaterialNo));
    add(kWire, WireDesignation(design.WireNo));
    add(kMeanDia, Number(design.MeanDia));
    add(kTurns, Number(design.Turns));
    if (design.SpringKind != kExtension) {
        add(kFreeLen, Number(design.FreeLen));
    }
    add(kSetLen, Number(design.SetLen));
    add(kWorkLen, Number(design.WorkLen));
    return fragment;
}

AddressReading ReadDesignFragment(std::string_view fragment) {
    std::array<std::optional<std::string_view>, kKeys.size()> values;
    bool designKeys = false;
    bool unknown = false;
    while (!fragment.empty()) {
        const size_t end = fragment.find('&');
        const std::string_view pair = fragment.substr(0, end);
        fragment = end == std::string_view::npos ? std::string_view() : fragment.substr(end + 1);
        const size_t equals = pair.find('=');
        const std::string_view key = pair.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
        bool known = false;
        for (const std::string_view pageKey : kPageKeys) {
            known = known || key == pageKey;
        }
        for (size_t k = 0; k < kKeys.size() && !known; ++k) {
            if (key == kKeys[k]) {
                known = true;
                designKeys = true;
                if (values[k] || equals == std::string_view::npos) {
                    return Fault(AddressFault::Unreadable, static_cast<Key>(k));
                }
                values[k] = value;
            }
        }
        unknown = unknown || !known;
    }
    if (!designKeys) {
        return {};
    }
    // The version first: an address of another form may name its fields otherwise.
    if (values[kVersion] != kAddressVersion) {
        return Fault(AddressFault::OtherVersion, kVersion);
    }
    if (unknown) {
        return {std::nullopt, AddressFault::Unreadable, ""};
    }

    DesignInput design;
    const std::optional<std::int32_t> kind = KindNamed(values[kKind].value_or(""));
    if (!kind) {
        return Fault(AddressFault::Unreadable, kKind);
    }
    design.springKind = *kind;
    const std::optional<int> material = MaterialNamed(values[kMaterial].value_or(""));
    if (!material) {
        return Fault(AddressFault::Unreadable, kMaterial);
    }
    design.materialNo = *material;
    const std::optional<float> diameter = ParseFloat(values[kWire].value_or(""));
    const std::optional<int> wire = diameter ? WireOfDiameter(*diameter) : std::nullopt;
    if (!wire) {
        return Fault(AddressFault::Unreadable, kWire);
    }
    design.wireNo = *wire;

    // The spinners step down no further than their smallest step and are never needed beyond
    // sizes no coil spring reaches: the same ranges the command line reads a design file with.
    struct Input {
        Key key;
        float DesignInput::*field;
        Range range;
    };
    const std::array inputs{
        Input{kMeanDia, &DesignInput::meanDia, kLengthRange},
        Input{kTurns, &DesignInput::turns, kTurnsRange},
        Input{kFreeLen, &DesignInput::freeLen, kLengthRange},
        Input{kSetLen, &DesignInput::setLen, kLengthRange},
        Input{kWorkLen, &DesignInput::workLen, kLengthRange},
    };
    for (const Input& input : inputs) {
        // An extension spring's free length follows from the rest; a stray one is passed over.
        if (input.key == kFreeLen && design.springKind == kExtension) {
            continue;
        }
        const std::optional<float> value =
            values[input.key] ? ParseFloat(*values[input.key]) : std::nullopt;
        if (!value || Trim(*values[input.key]) != *values[input.key]) {
            return Fault(AddressFault::Unreadable, input.key);
        }
        if (!input.range.Holds(*value)) {
            return Fault(AddressFault::OutOfRange, input.key);
        }
        design.*input.field = *value;
    }
    return {design, AddressFault::NoDesign, ""};
}

}  // namespace springcalc::web
