#include "design_input.h"

#include <array>
#include <optional>

#include "input_values.h"
#include "spring_tables.h"
#include "utf8_text.h"

namespace springcalc::cli {

namespace {

enum Column { kName, kKind, kMaterial, kWire, kMeanDia, kTurns, kFreeLen, kSetLen, kWorkLen };
constexpr std::array<std::string_view, 9> kColumnNames{
    "name", "kind", "material", "wire", "mean_dia", "turns", "free_len", "set_len", "work_len"};

}  // namespace

std::string DescribeInputError(const InputError& error, std::string_view source) {
    std::string text(source);
    if (error.row > 0) {
        text += ": row " + std::to_string(error.row) + " (line " + std::to_string(error.line) + ")";
    } else if (error.line > 0) {
        text += ": line " + std::to_string(error.line);
    }
    if (!error.column.empty()) {
        text += ", column \"" + error.column + "\"";
    }
    if (!error.message.empty()) {
        return text + ": " + error.message;
    }
    const std::string found =
        Trim(error.value).empty() ? "nothing found" : "found " + QuotedForMessage(error.value);
    return text + ": " + found + ", expected " + error.expected;
}

void DesignReader::AddError(InputError error) {
    if (errors_.size() < kErrorsKept) {
        errors_.push_back(std::move(error));
    }
    ++errorCount_;
}

bool DesignReader::ReadHeader() {
    headerRead_ = true;
    if (!csv_.Next(record_)) {
        if (csv_.error.empty() && csv_.readError == 0) {
            AddError({0, 0, "", "", "", "no header line: expected " + std::string(kDesignHeader)});
        }
        return false;
    }
    const size_t before = errorCount_;
    const auto headerError = [&](std::string message) {
        AddError({0, record_.line, "", "", "", std::move(message)});
    };
    for (size_t i = 0; i < record_.fields.size(); ++i) {
        const std::string title = Lowered(record_.fields[i]);
        int found = -1;
        for (int c = 0; c < static_cast<int>(kColumnNames.size()); ++c) {
            found = kColumnNames[c] == title ? c : found;
        }
        if (found < 0) {
            headerError("unknown column " + QuotedForMessage(record_.fields[i]) +
                        "; the columns are " + std::string(kDesignHeader) + " (name is optional)");
        } else if (positions_[found] >= 0) {
            headerError("column \"" + title + "\" appears twice");
        } else {
            positions_[found] = static_cast<int>(i);
        }
    }
    for (int c = kKind; c < static_cast<int>(kColumnNames.size()); ++c) {
        if (positions_[c] < 0) {
            headerError("column \"" + std::string(kColumnNames[c]) + "\" is missing");
        }
    }
    columnCount_ = record_.fields.size();
    return errorCount_ == before;
}

bool DesignReader::Next(DesignInput& design) {
    if (headerRead_ || ReadHeader()) {
        while (csv_.Next(record_)) {
            if (ReadRow(design)) {
                return true;
            }
        }
    }
    if (!csv_.error.empty()) {
        AddError({0, csv_.errorLine, "", "", "", csv_.error});
        csv_.error.clear();
        csv_.readError = -1;  // told: the reading is over
    }
    return false;
}

bool DesignReader::ReadRow(DesignInput& design) {
    {
        const long row = ++rows_;
        if (record_.fields.size() != columnCount_) {
            AddError({row, record_.line, "", "", "",
                      std::to_string(record_.fields.size()) + " values where the header has " +
                          std::to_string(columnCount_)});
            return false;
        }
        const size_t before = errorCount_;
        const auto text = [&](Column c) {
            return positions_[c] < 0 ? std::string_view()
                                     : std::string_view(record_.fields[positions_[c]]);
        };
        const auto fail = [&](Column c, std::string expected) {
            AddError({row, record_.line, std::string(kColumnNames[c]), std::string(text(c)),
                      std::move(expected), ""});
        };
        // A length, a diameter or a number of turns, within its range.
        const auto number = [&](Column c, Range range) {
            const std::optional<float> value = ParseFloat(text(c));
            if (!value || !range.Holds(*value)) {
                fail(c, "a number " + RangeText(range) + ", such as 12.5");
                return 0.0f;
            }
            return *value;
        };
        design = DesignInput{};
        design.row = row;
        design.line = record_.line;
        design.name = std::string(Trim(text(kName)));
        if (!IsValidUtf8(design.name)) {
            fail(kName, "UTF-8 text");
        }
        if (const auto kind = ParseKind(text(kKind))) {
            design.springKind = *kind;
        } else {
            fail(kKind, "\"compression\" or \"extension\"");
        }
        if (const auto material = FindMaterial(text(kMaterial))) {
            design.materialNo = *material;
        } else {
            fail(kMaterial,
                 "a material designation (" + MaterialList() + ") or a material number 0 to 8");
        }
        if (const auto wire = FindWire(text(kWire))) {
            design.wireNo = *wire;
        } else if (const auto diameter = ParseDouble(text(kWire))) {
            fail(kWire,
                 "one of the 46 standard wire sizes in mm (" + NearestWires(*diameter) + ")");
        } else {
            fail(kWire, "a wire diameter in mm, one of the 46 standard sizes " +
                            WireDesignation(0) + " to " + WireDesignation(kWireCount - 1));
        }
        design.meanDia = number(kMeanDia, kLengthRange);
        design.turns = number(kTurns, kTurnsRange);
        if (design.springKind == kCompression) {
            design.freeLen = number(kFreeLen, kLengthRange);
        } else if (!Trim(text(kFreeLen)).empty()) {
            fail(kFreeLen,
                 "an empty field: an extension spring's free length follows from D, n and d");
        }
        design.setLen = number(kSetLen, kLengthRange);
        design.workLen = number(kWorkLen, kLengthRange);
        return errorCount_ == before;
    }
}

}  // namespace springcalc::cli
