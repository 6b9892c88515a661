#include "text_table.h"

#include <algorithm>
#include <charconv>

#include "text_format.h"
#include "utf8_text.h"

namespace springcalc::cli {

namespace {
constexpr std::string_view kGap = "  ";
}

std::string NumberCell(double value, int precision, int width) {
    std::string text = FixedText(value, precision);
    for (int digits = 3; static_cast<int>(text.size()) > width && digits >= 0; --digits) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::scientific, digits);
        text.assign(buffer, result.ptr);
    }
    return text;
}

TextTable::TextTable(std::vector<TableColumn> columns) : columns_(std::move(columns)) {
    for (const TableColumn& column : columns_) {
        widths_.push_back(
            std::max({column.width, DisplayWidth(column.title), DisplayWidth(column.unit)}));
    }
}

void TextTable::Measure(const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size() && i < widths_.size(); ++i) {
        widths_[i] = std::max(widths_[i], DisplayWidth(cells[i]));
    }
}

void TextTable::AppendHeader(std::string& out) const {
    std::vector<std::string_view> titles;
    std::vector<std::string_view> units;
    for (const TableColumn& column : columns_) {
        titles.push_back(column.title);
        units.push_back(column.unit);
    }
    AppendLine(out, titles);
    AppendLine(out, units);
}

void TextTable::AppendRow(std::string& out, const std::vector<std::string>& cells) const {
    AppendLine(out, std::vector<std::string_view>(cells.begin(), cells.end()));
}

void TextTable::AppendLine(std::string& out, const std::vector<std::string_view>& cells) const {
    const size_t lineStart = out.size();
    for (size_t i = 0; i < columns_.size(); ++i) {
        const std::string_view cell = i < cells.size() ? cells[i] : std::string_view();
        const bool last = i + 1 == columns_.size();
        const int padding = std::max(0, widths_[i] - DisplayWidth(cell));
        if (i > 0) {
            out += kGap;
        }
        if (columns_[i].align == Align::Right) {
            out.append(static_cast<size_t>(padding), ' ');
            out += cell;
        } else {
            out += cell;
            if (!last) {
                out.append(static_cast<size_t>(padding), ' ');
            }
        }
    }
    // Blank cells at the end of a line leave no trailing blanks behind.
    const size_t end = out.find_last_not_of(' ');
    out.resize(end == std::string::npos || end < lineStart ? lineStart : end + 1);
    out += '\n';
}

}  // namespace springcalc::cli
