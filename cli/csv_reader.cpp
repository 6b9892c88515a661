#include "csv_reader.h"

#include <cerrno>

namespace springcalc::cli {

namespace {

constexpr int kEnd = -1;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool Blank(const std::vector<std::string>& fields) {
    return fields.size() == 1 && fields[0].find_first_not_of(" \t") == std::string::npos;
}

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

}  // namespace springcalc::cli
