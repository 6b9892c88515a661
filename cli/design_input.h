#pragma once
// The designs of a check file, read one CSV row at a time into the inputs of the design record,
// with every fault told by row, column, value and what was expected.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "csv_reader.h"
#include "spring_design.h"

namespace springcalc::cli {

struct DesignInput {
    long row = 0;   // 1 for the first design after the header
    long line = 0;  // where its row starts in the file
    std::string name;
    std::int32_t springKind = kCompression;
    int materialNo = 0;
    int wireNo = 0;
    float meanDia = 0;
    float turns = 0;
    float freeLen = 0;  // 0 for an extension spring: the engine derives it
    float setLen = 0;
    float workLen = 0;
};

struct InputError {
    long row = 0;   // 0: the header or the file as a whole
    long line = 0;  // 0: the file as a whole
    std::string column;
    std::string value;
    std::string expected;
    std::string message;  // set instead of value and expected for faults of a whole row
};

// One line: where (file, row, line, column), the value found and what was expected.
std::string DescribeInputError(const InputError& error, std::string_view source);

// The header a check file starts with.
inline constexpr std::string_view kDesignHeader =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len";

class DesignReader {
public:
    explicit DesignReader(ReadInput read) : csv_(std::move(read)) {}

    // The next sound design. A faulty row is counted and skipped, so that one run tells every
    // fault; false at the end of the input or when it cannot be read on (no header, a syntax
    // error, a read error).
    bool Next(DesignInput& design);

    bool hasNames() const { return positions_[0] >= 0; }
    // The first faults, up to kErrorsKept, and how many there were in all.
    const std::vector<InputError>& errors() const { return errors_; }
    size_t errorCount() const { return errorCount_; }
    // errno of a failed read of the input, or 0.
    int readError() const { return csv_.readError > 0 ? csv_.readError : 0; }

    static constexpr size_t kErrorsKept = 20;

private:
    bool ReadHeader();
    bool ReadRow(DesignInput& design);
    void AddError(InputError error);

    CsvReader csv_;
    CsvRecord record_;
    bool headerRead_ = false;
    long rows_ = 0;
    int positions_[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};  // header position of each column
    size_t columnCount_ = 0;
    std::vector<InputError> errors_;
    size_t errorCount_ = 0;
};

}  // namespace springcalc::cli
