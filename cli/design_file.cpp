// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/design_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include "cli/input_values.h"
#include "engine/catalogue.h"
#include "engine/spring_tables.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

namespace {

constexpr int kEnd = -1;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kUtf16 =
    "this is UTF-16 text, not UTF-8; save the file as UTF-8 (in Excel: \"CSV UTF-8\") and try "
    "again";
constexpr const char* kBinary =
    "this is not a CSV text file (binary data, such as a spreadsheet or ZIP file); save it as "
    "CSV in UTF-8";

// UTF-16 text in ASCII, without its byte-order mark: a NUL at every other byte (the first or
// the second of each pair), printable text at the others. A spreadsheet or any other binary
// file has NULs too, but not in that pattern.
bool LooksLikeUtf16(std::string_view bytes) {
    for (size_t nulAt : {0, 1}) {
        bool pattern = bytes.size() >= 2;
        for (size_t i = 0; i < bytes.size() && pattern; ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            pattern = i % 2 == nulAt ? c == 0 : (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r';
        }
        if (pattern) {
            return true;
        }
    }
    return false;
}

// Control bytes no CSV header holds: a NUL or any other but tab and carriage return.
bool HasControlBytes(std::string_view bytes) {
    return std::ranges::any_of(bytes, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\r') || byte == 0x7F;
    });
}

bool Blank(const std::vector<std::string>& fields) {
    return fields.size() == 1 && fields[0].find_first_not_of(" \t") == std::string::npos;
}

// The columns a file must have run from kKind to kWorkLen; name and initial_tension may be left
// out.
enum Column {
    kName,
    kKind,
    kMaterial,
    kWire,
    kMeanDia,
    kTurns,
    kFreeLen,
    kSetLen,
    kWorkLen,
    kInitialTension,
    // A torsion spring's: the legs, the free angle, each position by angle or moment, the
    // mandrel. A file with a leg1 column may leave out free_len, set_len and work_len.
    kLeg1,
    kLeg2,
    kFreeAngle,
    kAngle1,
    kAngle2,
    kMoment1,
    kMoment2,
    kMandrel
};
constexpr std::array<std::string_view, 18> kColumnNames{
    "name",    "kind",     "material",        "wire",   "mean_dia", "turns",      "free_len",
    "set_len", "work_len", "initial_tension", "leg1",   "leg2",     "free_angle", "angle1",
    "angle2",  "moment1",  "moment2",         "mandrel"};
constexpr std::string_view kTorsionKind = "torsion";
constexpr const Range& kAngleRange = kTorsionAngleRange;
constexpr const Range& kFreeAngleRange = kTorsionFreeAngleRange;
constexpr const Range& kMomentRange = kTorsionMomentRange;

}  // namespace

CsvReader::CsvReader(ReadInput read) : read_(std::move(read)), buffer_(1 << 16) {}

int CsvReader::Refill() {
    while (pos_ == end_ && !atEnd_) {
        const ssize_t n = read_(buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            readError = errno;
        }
        atEnd_ = n <= 0;
        pos_ = 0;
        end_ = n > 0 ? static_cast<size_t>(n) : 0;
    }
    return pos_ < end_ ? static_cast<unsigned char>(buffer_[pos_]) : kEnd;
}

bool CsvReader::Fail(std::string message) {
    if (error.empty() && readError == 0) {
        error = std::move(message);
        errorLine = line_;
    }
    return false;
}

bool CsvReader::Next(CsvRecord& record) {
    if (!started_) {
        started_ = true;
        for (char mark : kByteOrderMark) {
            if (Peek() != static_cast<unsigned char>(mark)) {
                break;
            }
            Get();
        }
        // Bytes no UTF-8 text has: the byte-order mark of UTF-16 (Excel's "Unicode text"),
        // or else binary data.
        if (Peek() == 0xFF || Peek() == 0xFE) {
            const int first = Get();
            return Fail(Peek() == (first == 0xFF ? 0xFE : 0xFF) ? kUtf16 : kBinary);
        }
        // The header line as the first read brought it: a CSV parse of binary data would only
        // tell of a stray quote. (A whole buffer without a line end is told as too long a
        // line.)
        if (Peek() != kEnd) {
            const std::string_view read(buffer_.data() + pos_, end_ - pos_);
            const size_t lineEnd = read.find('\n');
            const std::string_view header = read.substr(0, lineEnd);
            const bool tooLong = lineEnd == std::string_view::npos && read.size() == buffer_.size();
            if (!tooLong && HasControlBytes(header)) {
                return Fail(LooksLikeUtf16(header) ? kUtf16 : kBinary);
            }
        }
    }
    while (error.empty() && readError == 0 && Peek() != kEnd) {
        record.line = line_;
        record.fields.clear();
        recordBytes_ = 0;
        if (!ReadRecord(record.fields)) {
            return false;
        }
        if (!Blank(record.fields)) {
            return true;
        }
    }
    return false;
}

bool CsvReader::ReadRecord(std::vector<std::string>& fields) {
    while (true) {
        std::string field;
        if (!(Peek() == '"' ? ReadQuoted(field) : ReadPlain(field))) {
            return false;
        }
        fields.push_back(std::move(field));
        const int separator = Get();
        if (readError != 0) {
            return false;
        }
        if (separator == kEnd || separator == '\n') {
            line_ += separator == '\n';
            return true;
        }
        // Otherwise a comma: another field follows, possibly empty.
    }
}

bool CsvReader::ReadPlain(std::string& field) {
    for (int c = Peek(); c != kEnd && c != ',' && c != '\n'; c = Peek()) {
        if (!field.empty() && field.back() == '\r') {
            return Fail(
                "lines that end in a carriage return alone (as old Mac programs write them); "
                "save the file with LF or CR LF line ends and try again");
        }
        if (c == '"') {
            return Fail("a double quote inside an unquoted field (quote the whole field)");
        }
        if (recordBytes_ >= kMaxRecordBytes) {
            return Fail("a line longer than " + std::to_string(kMaxRecordBytes) +
                        " bytes; is this a CSV file?");
        }
        field += static_cast<char>(Get());
    }
    if (!field.empty() && field.back() == '\r' && Peek() != ',') {
        field.pop_back();
    }
    return readError == 0;
}

bool CsvReader::ReadQuoted(std::string& field) {
    const long start = line_;
    Get();  // the opening quote
    while (true) {
        const int c = Get();
        if (c == kEnd || recordBytes_ > kMaxRecordBytes) {
            line_ = start;
            return readError == 0 && Fail(c == kEnd ? "a quoted field is not closed"
                                                    : "a quoted field longer than " +
                                                          std::to_string(kMaxRecordBytes) +
                                                          " bytes; is a quote not closed?");
        }
        if (c == '"') {
            if (Peek() != '"') {
                break;
            }
            Get();
        } else if (c == '\n') {
            ++line_;
        }
        field += static_cast<char>(c);
    }
    const bool carriageReturn = Peek() == '\r';
    if (carriageReturn) {
        Get();
    }
    const int next = Peek();
    if (next != kEnd && next != '\n' && (carriageReturn || next != ',')) {
        return Fail("text after the closing quote of a field");
    }
    return readError == 0;
}

void DesignReader::AddError(long row, long line, const std::string& what) {
    if (++errorCount_ > kErrorsKept) {
        return;
    }
    const std::string where =
        row > 0    ? "row " + std::to_string(row) + " (line " + std::to_string(line) + ")"
        : line > 0 ? "line " + std::to_string(line)
                   : "";
    errors_.push_back(where.empty() || what.starts_with(",") ? where + what : where + ": " + what);
}

bool DesignReader::ReadHeader() {
    headerRead_ = true;
    if (!csv_.Next(record_)) {
        if (csv_.error.empty() && csv_.readError == 0) {
            AddError(0, 0, "no header line: expected " + std::string(kDesignHeader));
        }
        return false;
    }
    std::string header;
    for (const std::string& field : record_.fields) {
        header += (header.empty() ? "" : ",") + field;
    }
    if (HasControlBytes(header)) {
        AddError(0, record_.line, LooksLikeUtf16(header) ? kUtf16 : kBinary);
        return false;
    }
    const size_t before = errorCount_;
    const auto headerError = [&](const std::string& message) {
        AddError(0, record_.line, message);
    };
    for (size_t i = 0; i < record_.fields.size(); ++i) {
        const std::string title = Lowered(record_.fields[i]);
        int found = -1;
        for (int c = 0; c < static_cast<int>(kColumnNames.size()); ++c) {
            found = kColumnNames[c] == title ? c : found;
        }
        if (found < 0) {
            // Every column the reader knows, from its own table, so a new one is never left
            // out of the message.
            std::string columns;
            for (const std::string_view name : kColumnNames) {
                columns += (columns.empty() ? "" : ",") + std::string(name);
            }
            headerError("unknown column " + QuotedForMessage(record_.fields[i]) +
                        "; the columns are " + columns +
                        " (name and initial_tension are optional; a torsion spring's row fills "
                        "in leg1 to mandrel, which a file of compression and extension springs "
                        "leaves out)");
        } else if (positions_[found] >= 0) {
            headerError("column \"" + title + "\" appears twice");
        } else {
            positions_[found] = static_cast<int>(i);
        }
    }
    for (int c = kKind; c <= kWorkLen; ++c) {
        const bool torsionFile = positions_[kLeg1] >= 0 && c >= kFreeLen;
        if (positions_[c] < 0 && !torsionFile) {
            headerError("column \"" + std::string(kColumnNames[c]) + "\" is missing");
        }
    }
    columnCount_ = record_.fields.size();
    return errorCount_ == before;
}

bool DesignReader::Next(DesignRow& design) {
    if (headerRead_ || ReadHeader()) {
        while (csv_.Next(record_)) {
            if (ReadRow(design)) {
                return true;
            }
        }
    }
    if (!csv_.error.empty()) {
        AddError(0, csv_.errorLine, csv_.error);
        csv_.error.clear();
        csv_.readError = -1;  // told: the reading is over
    }
    return false;
}

std::string_view DesignReader::Field(int column) const {
    return positions_[column] < 0 ? std::string_view()
                                  : std::string_view(record_.fields[positions_[column]]);
}

void DesignReader::FailField(int column, const std::string& expected) {
    const std::string_view value = Field(column);
    AddError(rows_, record_.line,
             ", column \"" + std::string(kColumnNames[column]) + "\": " +
                 (Trim(value).empty() ? "nothing found" : "found " + QuotedForMessage(value)) +
                 ", expected " + expected);
}

// A length, a diameter or a number of turns, within its range.
float DesignReader::Number(int column, const Range& range) {
    const std::optional<float> value = ParseFloat(Field(column));
    if (!value || !range.Holds(*value)) {
        FailField(column, "a number " + RangeText(range) + ", such as 12.5");
        return 0.0f;
    }
    return *value;
}

// A row of wire by a standard or the user's own: false when the material is none of those.
bool DesignReader::ReadWireMaterial(DesignRow& row) {
    const std::string_view text = Trim(Field(kMaterial));
    std::shared_ptr<const WireMaterial> material =
        text.empty() ? defaultMaterial_ : WireMaterialNamed(text, ownMaterials_);
    if (!material) {
        return false;
    }
    const std::optional<double> diameter = ParseDouble(Field(kWire));
    row.wire = diameter ? SelectWire(material, *diameter) : nullptr;
    if (!row.wire) {
        FailField(kWire, "a wire diameter in mm from " + ShortestText(material->least) + " to " +
                             ShortestText(material->most) + ", the sizes " + material->name +
                             "'s tensile strength is given for");
    }
    row.design.wire = row.wire.get();
    return true;
}

void DesignReader::ReadSelection(DesignRow& row) {
    DesignInput& design = row.design;
    if (const auto kind = KindNamed(Field(kKind))) {
        design.springKind = *kind;
    } else {
        FailField(kKind, "\"compression\", \"extension\" or \"torsion\"");
    }
    if (ReadWireMaterial(row)) {
        return;
    }
    ReadTableWire(design.materialNo, design.wireNo);
}

// One of the window's nine materials and 46 wire sizes, for a coil or a torsion spring.
void DesignReader::ReadTableWire(std::int32_t& materialNo, std::int32_t& wireNo) {
    if (const auto material = MaterialNamed(Field(kMaterial))) {
        materialNo = *material;
    } else {
        FailField(kMaterial,
                  "a material designation (" + MaterialList() + ") or a material number 0 to 8");
    }
    if (const auto wire = FindWire(Field(kWire))) {
        wireNo = *wire;
    } else if (const auto diameter = ParseDouble(Field(kWire))) {
        FailField(kWire,
                  "one of the 46 standard wire sizes in mm (" + NearestWires(*diameter) + ")");
    } else {
        FailField(kWire, "a wire diameter in mm, one of the 46 standard sizes " +
                             WireDesignation(0) + " to " + WireDesignation(kWireCount - 1));
    }
}

// The row's own initial tension, or else the one given for every extension row. A stress turns
// into a load for the row's d and D, known only when the rest of the row was sound.
void DesignReader::ReadInitialTension(DesignInput& design, bool sound) {
    const std::string_view text = Trim(Field(kInitialTension));
    std::optional<GivenInitialTension> given = defaultInitialTension_;
    if (!text.empty() && design.springKind == kCompression) {
        FailField(kInitialTension, "an empty field: a compression spring has no initial tension");
        return;
    }
    if (!text.empty()) {
        given = springcalc::ReadInitialTension(text).given;
        if (!given) {
            FailField(kInitialTension, InitialTensionRangeText());
            return;
        }
    }
    if (given && sound && design.springKind == kExtension) {
        design.initialTension = InitialTensionFor(*given, design);
    }
}

bool DesignReader::ReadRow(DesignRow& out) {
    const long row = ++rows_;
    if (record_.fields.size() != columnCount_) {
        AddError(row, record_.line,
                 std::to_string(record_.fields.size()) + " values where the header has " +
                     std::to_string(columnCount_));
        return false;
    }
    const size_t before = errorCount_;
    out = DesignRow{row, record_.line, std::string(Trim(Field(kName))), {}, nullptr, std::nullopt};
    DesignInput& design = out.design;
    if (!IsValidUtf8(out.name)) {
        FailField(kName, "UTF-8 text");
    }
    if (Lowered(Field(kKind)) == kTorsionKind) {
        ReadTorsion(out);
        return errorCount_ == before;
    }
    FailTorsionColumns();
    ReadSelection(out);
    design.meanDia = Number(kMeanDia, kLengthRange);
    design.turns = Number(kTurns, kTurnsRange);
    if (design.springKind == kCompression) {
        design.freeLen = Number(kFreeLen, kLengthRange);
    } else if (!Trim(Field(kFreeLen)).empty()) {
        FailField(kFreeLen,
                  "an empty field: an extension spring's free length follows from D, n and d");
    }
    design.setLen = Number(kSetLen, kLengthRange);
    design.workLen = Number(kWorkLen, kLengthRange);
    ReadInitialTension(design, errorCount_ == before);
    return errorCount_ == before;
}

// The columns only a torsion spring fills in, for a row of another kind.
void DesignReader::FailTorsionColumns() {
    for (int c = kLeg1; c <= kMandrel; ++c) {
        if (!Trim(Field(c)).empty()) {
            FailField(c, "an empty field: only a torsion spring's row fills it in");
        }
    }
}

// A working position: its angle from free or its moment, one of the two.
std::optional<TorsionPosition> DesignReader::Position(int angleColumn, int momentColumn) {
    const bool angle = !Trim(Field(angleColumn)).empty();
    const bool moment = !Trim(Field(momentColumn)).empty();
    if (angle == moment) {
        const std::string other = "\"" + std::string(kColumnNames[momentColumn]) + "\"";
        FailField(angleColumn, angle ? "this angle or a moment in " + other + ", not both"
                                     : "an angle in degrees here or a moment in " + other);
        return std::nullopt;
    }
    const int column = angle ? angleColumn : momentColumn;
    const float value = Number(column, angle ? kAngleRange : kMomentRange);
    return TorsionPosition{angle ? TorsionPosition::By::Angle : TorsionPosition::By::Moment, value};
}

void DesignReader::ReadTorsion(DesignRow& out) {
    TorsionInput torsion;
    DesignInput& design = out.design;
    ReadTableWire(torsion.materialNo, torsion.wireNo);
    torsion.meanDia = Number(kMeanDia, kLengthRange);
    torsion.bodyTurns = Number(kTurns, kTurnsRange);
    for (int c : {kFreeLen, kSetLen, kWorkLen, kInitialTension}) {
        if (!Trim(Field(c)).empty()) {
            FailField(c, "an empty field: a torsion spring is set by its angles or moments");
        }
    }
    torsion.leg1 = Trim(Field(kLeg1)).empty() ? 0.0f : Number(kLeg1, kLengthRange);
    torsion.leg2 = Trim(Field(kLeg2)).empty() ? 0.0f : Number(kLeg2, kLengthRange);
    torsion.freeAngle =
        Trim(Field(kFreeAngle)).empty() ? 0.0f : Number(kFreeAngle, kFreeAngleRange);
    torsion.mandrel = Trim(Field(kMandrel)).empty() ? 0.0f : Number(kMandrel, kLengthRange);
    const std::optional<TorsionPosition> first = Position(kAngle1, kMoment1);
    const std::optional<TorsionPosition> second = Position(kAngle2, kMoment2);
    torsion.first = first.value_or(TorsionPosition{});
    torsion.second = second.value_or(TorsionPosition{});
    design.materialNo = torsion.materialNo;
    design.wireNo = torsion.wireNo;
    out.torsion = torsion;
}

}  // namespace springcalc::cli
