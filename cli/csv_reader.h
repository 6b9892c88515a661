#pragma once
// Splits CSV text into records: commas between fields, a record per line, fields in double
// quotes may hold commas, line breaks and doubled quotes. Blank lines are skipped.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace springcalc::cli {

struct CsvRecord {
    int line = 0;  // where the record starts, counting from 1
    std::vector<std::string> fields;
};

struct CsvSyntaxError {
    int line = 0;
    std::string message;
};

struct CsvContent {
    std::vector<CsvRecord> records;
    std::optional<CsvSyntaxError> error;  // set: records holds those before it
};

// Accepts LF or CR LF line ends and a UTF-8 byte-order mark.
CsvContent ReadCsv(std::string_view text);

}  // namespace springcalc::cli
