#include "design_input.h"

#include <algorithm>
#include <array>
#include <optional>

#include "csv_reader.h"
#include "input_values.h"
#include "spring_tables.h"
#include "utf8_text.h"

namespace springcalc::cli {

namespace {

enum class Column { Name, Kind, Material, Wire, MeanDia, Turns, FreeLen, SetLen, WorkLen };
constexpr int kColumnCount = 9;

constexpr std::array<std::string_view, kColumnCount> kColumnNames{
    "name", "kind", "material", "wire", "mean_dia", "turns", "free_len", "set_len", "work_len"};

constexpr std::string_view ColumnName(Column column) {
    return kColumnNames[static_cast<int>(column)];
}

// Header position of each column, -1 where the file has none.
using ColumnPositions = std::array<int, kColumnCount>;

std::string Lowered(std::string_view text) {
    std::string lowered(Trim(text));
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lowered;
}

std::optional<ColumnPositions> ReadHeader(const CsvRecord& header,
                                          std::vector<InputError>& errors) {
    ColumnPositions positions;
    positions.fill(-1);
    const size_t errorsBefore = errors.size();
    const auto headerError = [&](std::string message) {
        errors.push_back({0, header.line, "", "", "", std::move(message)});
    };
    for (size_t i = 0; i < header.fields.size(); ++i) {
        const std::string title = Lowered(header.fields[i]);
        int found = -1;
        for (int c = 0; c < kColumnCount; ++c) {
            if (kColumnNames[c] == title) {
                found = c;
            }
        }
        if (found < 0) {
            headerError("unknown column " + QuotedForMessage(header.fields[i]) +
                        "; the columns are " + std::string(kDesignHeader) + " (name is optional)");
        } else if (positions[found] >= 0) {
            headerError("column \"" + title + "\" appears twice");
        } else {
            positions[found] = static_cast<int>(i);
        }
    }
    for (int c = 1; c < kColumnCount; ++c) {
        if (positions[c] < 0) {
            headerError("column \"" + std::string(kColumnNames[c]) + "\" is missing");
        }
    }
    if (errors.size() != errorsBefore) {
        return std::nullopt;
    }
    return positions;
}

class RowReader {
public:
    RowReader(const CsvRecord& record, int row, const ColumnPositions& positions,
              std::vector<InputError>& errors)
        : record_(record), row_(row), positions_(positions), errors_(errors) {}

    std::string_view Text(Column column) const {
        const int position = positions_[static_cast<int>(column)];
        return position < 0 ? std::string_view() : std::string_view(record_.fields[position]);
    }

    void Fail(Column column, std::string expected) {
        errors_.push_back({row_, record_.line, std::string(ColumnName(column)),
                           std::string(Text(column)), std::move(expected), ""});
    }

    // A length, a diameter or a number of turns: present and above zero, as the window's own
    // spinners keep them.
    float Positive(Column column) {
        const std::optional<float> value = ParseFloat(Text(column));
        if (!value || *value <= 0.0f) {
            Fail(column, "a number above 0, such as 12.5");
            return 0.0f;
        }
        return *value;
    }

private:
    const CsvRecord& record_;
    int row_;
    const ColumnPositions& positions_;
    std::vector<InputError>& errors_;
};

void ReadRow(const CsvRecord& record, int row, const ColumnPositions& positions, DesignFile& file) {
    const size_t expectedCount = static_cast<size_t>(
        std::count_if(positions.begin(), positions.end(), [](int p) { return p >= 0; }));
    if (record.fields.size() != expectedCount) {
        file.errors.push_back({row, record.line, "", "", "",
                               std::to_string(record.fields.size()) +
                                   " values where the header has " +
                                   std::to_string(expectedCount)});
        return;
    }
    const size_t errorsBefore = file.errors.size();
    RowReader reader(record, row, positions, file.errors);
    DesignInput design;
    design.row = row;
    design.line = record.line;

    design.name = std::string(Trim(reader.Text(Column::Name)));
    if (!IsValidUtf8(design.name)) {
        reader.Fail(Column::Name, "UTF-8 text");
    }

    if (const auto kind = ParseKind(reader.Text(Column::Kind))) {
        design.springKind = *kind;
    } else {
        reader.Fail(Column::Kind, "\"compression\" or \"extension\"");
    }

    if (const auto material = FindMaterial(reader.Text(Column::Material))) {
        design.materialNo = *material;
    } else {
        reader.Fail(Column::Material,
                    "a material designation (" + MaterialList() + ") or a material number 0 to 8");
    }

    const std::string_view wireText = reader.Text(Column::Wire);
    if (const auto wire = FindWire(wireText)) {
        design.wireNo = *wire;
    } else if (const auto diameter = ParseDouble(wireText)) {
        reader.Fail(Column::Wire,
                    "one of the 46 standard wire sizes in mm (" + NearestWires(*diameter) + ")");
    } else {
        reader.Fail(Column::Wire, "a wire diameter in mm, one of the 46 standard sizes " +
                                      WireDesignation(0) + " to " +
                                      WireDesignation(kWireCount - 1));
    }

    design.meanDia = reader.Positive(Column::MeanDia);
    design.turns = reader.Positive(Column::Turns);
    if (design.springKind == kCompression) {
        design.freeLen = reader.Positive(Column::FreeLen);
    } else if (!Trim(reader.Text(Column::FreeLen)).empty()) {
        reader.Fail(Column::FreeLen,
                    "an empty field: an extension spring's free length follows from D, n and d");
    }
    design.setLen = reader.Positive(Column::SetLen);
    design.workLen = reader.Positive(Column::WorkLen);

    if (file.errors.size() == errorsBefore) {
        file.designs.push_back(std::move(design));
    }
}

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

DesignFile ParseDesigns(std::string_view csvText) {
    DesignFile file;
    const CsvContent content = ReadCsv(csvText);
    if (content.records.empty() && !content.error) {
        file.errors.push_back(
            {0, 0, "", "", "", "no header line: expected " + std::string(kDesignHeader)});
        return file;
    }
    if (!content.records.empty()) {
        const std::optional<ColumnPositions> positions =
            ReadHeader(content.records.front(), file.errors);
        if (positions) {
            file.hasNames = (*positions)[static_cast<int>(Column::Name)] >= 0;
            for (size_t i = 1; i < content.records.size(); ++i) {
                ReadRow(content.records[i], static_cast<int>(i), *positions, file);
            }
        }
    }
    if (content.error) {
        file.errors.push_back({0, content.error->line, "", "", "", content.error->message});
    }
    return file;
}

}  // namespace springcalc::cli
