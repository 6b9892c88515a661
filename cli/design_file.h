// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The designs of a check file, read one CSV row at a time into the inputs of the design record,
// with every fault told by row, column, value and what was expected.
//
// The CSV: commas between fields, a record per line, fields in double quotes may hold commas,
// line breaks and doubled quotes. Blank lines are skipped. Only the record being read is held.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_io.h"
#include "cli/input_values.h"
#include "engine/design_input.h"
#include "engine/initial_tension.h"
#include "engine/torsion_spring.h"

namespace springcalc::cli {

struct CsvRecord {
    long line = 0;  // where the record starts, counting from 1
    std::vector<std::string> fields;
};

// No record of a design file comes near this; input without line ends (a binary file,
// /dev/zero) stops here instead of filling the memory.
inline constexpr size_t kMaxRecordBytes = 1 << 16;

class CsvReader {
public:
    // Accepts LF or CR LF line ends and a UTF-8 byte-order mark.
    explicit CsvReader(ReadInput read);

    // The next record that is not blank. False at the end of the input, or at a fault (then
    // `error` is set and the reading is over).
    bool Next(CsvRecord& record);

    std::string error;  // what went wrong, for a message
    long errorLine = 0;
    int readError = 0;  // errno of a failed read; `error` is empty then

private:
    int Peek() { return pos_ < end_ ? static_cast<unsigned char>(buffer_[pos_]) : Refill(); }
    int Get() {
        const int c = Peek();
        pos_ += c >= 0;
        recordBytes_ += c >= 0;
        return c;
    }
    int Refill();
    bool Fail(std::string message);
    bool ReadRecord(std::vector<std::string>& fields);
    bool ReadQuoted(std::string& field);
    bool ReadPlain(std::string& field);

    ReadInput read_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    long line_ = 1;
    size_t recordBytes_ = 0;
};

// One design of the file: where it stands, its name and what to enter for it.
struct DesignRow {
    long row = 0;   // 1 for the first design after the header
    long line = 0;  // where its row starts in the file
    std::string name;
    DesignInput design;  // an extension spring's free length stays 0: the engine derives it
    // What design.wire points at, for a row of wire by a standard or the user's own.
    std::shared_ptr<const WireSelection> wire;
    // A torsion spring's row: `design` is left as it was made then.
    std::optional<TorsionInput> torsion;
};

// The header a check file starts with.
inline constexpr std::string_view kDesignHeader =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len";

class DesignReader {
public:
    explicit DesignReader(ReadInput read) : csv_(std::move(read)) {}

    // The next sound design. A faulty row is counted and skipped, so that one run tells every
    // fault; false at the end of the input or when it cannot be read on (no header, a syntax
    // error, a read error).
    bool Next(DesignRow& design);

    // The initial tension of every extension row whose initial_tension field is empty or
    // missing; none: the formula's.
    void SetInitialTension(std::optional<GivenInitialTension> given) {
        defaultInitialTension_ = given;
    }

    // Materials the rows may name besides the window's nine and the built-in standards (those of
    // --materials-file, found first), and the one for rows whose material field is empty
    // (--materials); none: such a row is a fault.
    void SetMaterials(std::vector<std::shared_ptr<const WireMaterial>> own,
                      std::shared_ptr<const WireMaterial> byDefault) {
        ownMaterials_ = std::move(own);
        defaultMaterial_ = std::move(byDefault);
    }

    bool hasNames() const { return positions_[0] >= 0; }
    // The first faults, up to kErrorsKept, each where (row, line, column) and what was found
    // and expected; and how many there were in all.
    const std::vector<std::string>& errors() const { return errors_; }
    size_t errorCount() const { return errorCount_; }
    // errno of a failed read of the input, or 0.
    int readError() const { return csv_.readError > 0 ? csv_.readError : 0; }

    static constexpr size_t kErrorsKept = 20;

private:
    bool ReadHeader();
    bool ReadRow(DesignRow& design);
    // The parts of a row, by column number; a fault is told for the row being read.
    std::string_view Field(int column) const;
    void FailField(int column, const std::string& expected);
    float Number(int column, const Range& range);
    void ReadSelection(DesignRow& row);
    void ReadTableWire(std::int32_t& materialNo, std::int32_t& wireNo);
    bool ReadWireMaterial(DesignRow& row);
    void ReadInitialTension(DesignInput& design, bool sound);
    void ReadTorsion(DesignRow& out);
    void FailTorsionColumns();
    std::optional<TorsionPosition> Position(int angleColumn, int momentColumn);
    void AddError(long row, long line, const std::string& what);

    CsvReader csv_;
    CsvRecord record_;
    bool headerRead_ = false;
    long rows_ = 0;
    int positions_[18] = {-1, -1, -1, -1, -1, -1, -1, -1, -1,
                          -1, -1, -1, -1, -1, -1, -1, -1, -1};  // of each column in the header
    size_t columnCount_ = 0;
    std::vector<std::string> errors_;
    size_t errorCount_ = 0;
    std::optional<GivenInitialTension> defaultInitialTension_;
    std::vector<std::shared_ptr<const WireMaterial>> ownMaterials_;
    std::shared_ptr<const WireMaterial> defaultMaterial_;
};

}  // namespace springcalc::cli
