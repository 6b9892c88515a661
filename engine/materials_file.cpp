// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/materials_file.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/catalogue.h"
#include "engine/input_text.h"

namespace springcalc {

namespace {

using What = MaterialsFileFault::What;

// The ranges a material's numbers may take: wide enough for any spring wire, narrow enough to
// catch a value in the wrong unit (GPa for N/mm², kg/m³ for g/cm³).
struct FieldRange {
    std::string_view name;
    double least;
    double most;
};
constexpr FieldRange kShear{"G", 10000, 150000};
constexpr FieldRange kElastic{"E", 30000, 400000};
constexpr FieldRange kDensity{"density", 1, 25};
constexpr FieldRange kShare{"static-share", 0.05, 1};
constexpr FieldRange kDiameter{"diameter", 0.01, 200};
constexpr FieldRange kStrength{"Rm", 100, 5000};
constexpr FieldRange kExponent{"m", 0, 1};

std::string_view Trim(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) {
        return {};
    }
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

// Decimals as every other input of the program is read.
std::optional<double> Number(std::string_view text) {
    return ParseDouble(Trim(text));
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        parts.push_back(Trim(text.substr(start, at - start)));
        start = at + 1;
    }
    parts.push_back(Trim(text.substr(start)));
    return parts;
}

// One material as it is read, with the line of each field seen.
struct Draft {
    long line = 0;  // of its [NAME]
    WireMaterial material;
    bool shear = false, elastic = false, density = false, share = false, source = false;
    bool points = false, formula = false, range = false, sizes = false, wireClass = false;
    double shearValue = 0, elasticValue = 0;
};

class Reader {
public:
    explicit Reader(std::string_view sourceName) : sourceName_(sourceName) {}

    void Line(long number, std::string_view text) {
        const size_t hash = text.find('#');
        text = Trim(hash == std::string_view::npos ? text : text.substr(0, hash));
        if (text.empty()) {
            return;
        }
        if (text.front() == '[') {
            StartMaterial(number, text);
            return;
        }
        const size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            Fail(number, "", What::BadLine, text);
            return;
        }
        const std::string_view field = Trim(text.substr(0, equals));
        const std::string_view value = Trim(text.substr(equals + 1));
        if (drafts_.empty()) {
            Fail(number, field, What::OutsideSection, text);
            return;
        }
        Field(number, field, value, drafts_.back());
    }

    MaterialsFileReading Finish() {
        if (drafts_.empty() && faults_.empty()) {
            Fail(0, "", What::NoMaterial, "");
        }
        for (Draft& draft : drafts_) {
            Complete(draft);
        }
        MaterialsFileReading reading;
        if (faults_.empty()) {
            for (Draft& draft : drafts_) {
                reading.materials.push_back(
                    std::make_shared<const WireMaterial>(std::move(draft.material)));
            }
        }
        reading.faults = std::move(faults_);
        return reading;
    }

private:
    void Fail(long line, std::string_view field, What what, std::string_view found,
              double least = 0, double most = 0) {
        faults_.push_back({line, std::string(field), what, std::string(found), least, most});
    }

    void StartMaterial(long number, std::string_view text) {
        const std::string_view name =
            text.back() == ']' ? Trim(text.substr(1, text.size() - 2)) : std::string_view();
        if (text.back() != ']') {
            Fail(number, "", What::BadLine, text);
        } else if (name.empty()) {
            Fail(number, "name", What::BadName, text);
        } else {
            const std::string folded = FoldedName(name);
            const bool taken =
                WireStandardNamed(name) != nullptr ||
                std::any_of(drafts_.begin(), drafts_.end(), [&folded](const Draft& draft) {
                    return FoldedName(draft.material.name) == folded;
                });
            if (taken) {
                Fail(number, "name", What::SameName, name);
            }
        }
        Draft draft;
        draft.line = number;
        draft.material.name = std::string(name);
        drafts_.push_back(std::move(draft));
    }

    // False, and told, when the field was seen before in this material.
    bool First(long number, std::string_view field, bool& seen) {
        if (seen) {
            Fail(number, field, What::Repeated, field);
            return false;
        }
        seen = true;
        return true;
    }

    std::optional<double> InRange(long number, std::string_view field, std::string_view text,
                                  const FieldRange& range) {
        const std::optional<double> value = Number(text);
        if (!value || *value < range.least || *value > range.most) {
            Fail(number, field, What::BadNumber, text, range.least, range.most);
            return std::nullopt;
        }
        return value;
    }

    void Field(long number, std::string_view field, std::string_view value, Draft& draft) {
        WireMaterial& m = draft.material;
        if (field == "source") {
            if (First(number, field, draft.source)) {
                m.source = std::string(value) + " (" + std::string(sourceName_) + ")";
            }
        } else if (field == "G") {
            if (First(number, field, draft.shear)) {
                draft.shearValue = InRange(number, field, value, kShear).value_or(0);
            }
        } else if (field == "E") {
            if (First(number, field, draft.elastic)) {
                draft.elasticValue = InRange(number, field, value, kElastic).value_or(0);
            }
        } else if (field == "density") {
            if (First(number, field, draft.density)) {
                m.density = InRange(number, field, value, kDensity).value_or(0);
            }
        } else if (field == "static-share") {
            if (First(number, field, draft.share)) {
                m.staticShare = InRange(number, field, value, kShare).value_or(0);
            }
        } else if (field == "strength") {
            if (First(number, field, draft.points)) {
                Points(number, field, value, m);
            }
        } else if (field == "strength-formula") {
            if (First(number, field, draft.formula)) {
                Formula(number, field, value, m);
            }
        } else if (field == "range") {
            if (First(number, field, draft.range)) {
                Range(number, field, value, m);
            }
        } else if (field == "sizes") {
            if (First(number, field, draft.sizes)) {
                Sizes(number, field, value, m);
            }
        } else if (field == "class") {
            if (First(number, field, draft.wireClass)) {
                if (value == "steel" || value == "stainless") {
                    m.wireClass = value == "steel" ? WireClass::Steel : WireClass::Stainless;
                } else {
                    Fail(number, field, What::BadClass, value);
                }
            }
        } else {
            Fail(number, field, What::UnknownField, field);
        }
    }

    void Points(long number, std::string_view field, std::string_view value, WireMaterial& m) {
        m.law = StrengthLaw::Points;
        for (const std::string_view pair : Split(value, ',')) {
            const std::vector<std::string_view> parts = Split(pair, ':');
            const std::optional<double> d = parts.size() == 2 ? Number(parts[0]) : std::nullopt;
            const std::optional<double> rm = parts.size() == 2 ? Number(parts[1]) : std::nullopt;
            const bool rising = m.points.empty() || (d && *d > m.points.back().diameter);
            if (!d || !rm || *d < kDiameter.least || *d > kDiameter.most || *rm < kStrength.least ||
                *rm > kStrength.most || !rising) {
                Fail(number, field, What::BadPoints, pair, kStrength.least, kStrength.most);
                m.points.clear();
                return;
            }
            m.points.push_back({*d, *rm});
        }
        m.least = m.points.front().diameter;
        m.most = m.points.back().diameter;
    }

    void Formula(long number, std::string_view field, std::string_view value, WireMaterial& m) {
        m.law = StrengthLaw::Power;
        const std::vector<std::string_view> parts = Split(Trim(value), ' ');
        if (parts.size() != 2) {
            Fail(number, field, What::BadNumber, value, kStrength.least, kStrength.most);
            return;
        }
        // One band: it holds over the whole range, wherever that ends.
        m.pieces = {{0.0, InRange(number, field, parts[0], kStrength).value_or(0),
                     InRange(number, field, parts[1], kExponent).value_or(0)}};
    }

    void Range(long number, std::string_view field, std::string_view value, WireMaterial& m) {
        const std::vector<std::string_view> parts = Split(Trim(value), ' ');
        if (parts.size() != 2) {
            Fail(number, field, What::BadNumber, value, kDiameter.least, kDiameter.most);
            return;
        }
        const std::optional<double> least = InRange(number, field, parts[0], kDiameter);
        const std::optional<double> most = InRange(number, field, parts[1], kDiameter);
        if (least && most && *least >= *most) {
            Fail(number, field, What::BadNumber, value, kDiameter.least, kDiameter.most);
        }
        m.least = least.value_or(0);
        m.most = most.value_or(0);
    }

    void Sizes(long number, std::string_view field, std::string_view value, WireMaterial& m) {
        for (const std::string_view size : Split(value, ',')) {
            const std::optional<double> d = InRange(number, field, size, kDiameter);
            if (!d) {
                return;
            }
            m.sizes.push_back(*d);
        }
        std::sort(m.sizes.begin(), m.sizes.end());
    }

    void Complete(Draft& draft) {
        WireMaterial& m = draft.material;
        const auto need = [&](bool seen, std::string_view field) {
            if (!seen) {
                Fail(draft.line, field, What::Missing, m.name);
            }
        };
        need(draft.source, "source");
        need(draft.shear, "G");
        need(draft.elastic, "E");
        need(draft.density, "density");
        need(draft.share, "static-share");
        if (draft.points && draft.formula) {
            Fail(draft.line, "strength-formula", What::BothStrengths, m.name);
        }
        need(draft.points || draft.formula, "strength");
        if (draft.formula) {
            need(draft.range, "range");
        }
        m.moduli = {{std::max(m.most, kDiameter.most), draft.shearValue, draft.elasticValue}};
        if (!draft.sizes && draft.points) {
            for (const StrengthPoint& point : m.points) {
                m.sizes.push_back(point.diameter);
            }
        }
    }

    std::string_view sourceName_;
    std::vector<Draft> drafts_;
    std::vector<MaterialsFileFault> faults_;
};

}  // namespace

MaterialsFileReading ReadMaterialsFile(std::string_view text, std::string_view sourceName) {
    Reader reader(sourceName);
    long number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        const std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        ++number;
        reader.Line(number, line);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return reader.Finish();
}

}  // namespace springcalc
