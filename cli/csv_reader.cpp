#include "csv_reader.h"

namespace springcalc::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool Blank(const CsvRecord& record) {
    return record.fields.size() == 1 &&
           record.fields[0].find_first_not_of(" \t") == std::string::npos;
}

class CsvParser {
public:
    explicit CsvParser(std::string_view text) : text_(text) {
        if (text_.starts_with(kByteOrderMark)) {
            pos_ = kByteOrderMark.size();
        }
    }

    CsvContent Parse() {
        CsvContent content;
        while (pos_ < text_.size()) {
            CsvRecord record;
            record.line = line_;
            if (!ReadRecord(record.fields)) {
                content.error = CsvSyntaxError{line_, error_};
                return content;
            }
            if (!Blank(record)) {
                content.records.push_back(std::move(record));
            }
        }
        return content;
    }

private:
    // Reads up to and including the line end; false on a syntax error.
    bool ReadRecord(std::vector<std::string>& fields) {
        while (true) {
            std::string field;
            const bool read = Peek() == '"' ? ReadQuoted(field) : ReadPlain(field);
            if (!read) {
                return false;
            }
            fields.push_back(std::move(field));
            if (pos_ >= text_.size()) {
                return true;
            }
            const char separator = text_[pos_++];
            if (separator == '\n') {
                ++line_;
                return true;
            }
            // Otherwise a comma: another field follows, possibly empty.
        }
    }

    bool ReadPlain(std::string& field) {
        while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n') {
            if (text_[pos_] == '"') {
                error_ = "a double quote inside an unquoted field (quote the whole field)";
                return false;
            }
            field += text_[pos_++];
        }
        if (!field.empty() && field.back() == '\r' && (pos_ >= text_.size() || Peek() == '\n')) {
            field.pop_back();
        }
        return true;
    }

    bool ReadQuoted(std::string& field) {
        const int start = line_;
        ++pos_;  // the opening quote
        while (true) {
            if (pos_ >= text_.size()) {
                line_ = start;
                error_ = "a quoted field is not closed";
                return false;
            }
            const char c = text_[pos_++];
            if (c == '"') {
                if (Peek() != '"') {
                    break;
                }
                ++pos_;
            } else if (c == '\n') {
                ++line_;
            }
            field += c;
        }
        if (Peek() == '\r' && (pos_ + 1 == text_.size() || text_[pos_ + 1] == '\n')) {
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n') {
            error_ = "text after the closing quote of a field";
            return false;
        }
        return true;
    }

    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string error_;
};

}  // namespace

CsvContent ReadCsv(std::string_view text) {
    return CsvParser(text).Parse();
}

}  // namespace springcalc::cli
