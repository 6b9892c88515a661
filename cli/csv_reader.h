#pragma once
// Reads CSV records one at a time from a stream of bytes: commas between fields, a record per
// line, fields in double quotes may hold commas, line breaks and doubled quotes. Blank lines
// are skipped. Only the record being read is held.

#include <string>
#include <vector>

#include "cli_io.h"

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

}  // namespace springcalc::cli
