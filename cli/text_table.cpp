// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/text_table.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "engine/text_format.h"
#include "text/number_text.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

std::string_view NumberCell(double value, int precision, int width, CellBuffer& buffer) {
    // A small negative value that rounds to zero shows as zero: "0.000", not "-0.000".
    if (std::signbit(value) &&
        FixedText(value, precision).find_first_not_of("-0.") == std::string::npos) {
        value = 0.0;
    }
    if (double(float(value)) == value) {
        char* end = SinglePrecisionFixed(float(value), precision, buffer.data());
        if (end && end - buffer.data() <= width) {
            return {buffer.data(), static_cast<size_t>(end - buffer.data())};
        }
    }
    std::string text = FixedText(value, precision);
    for (int digits = 3; static_cast<int>(text.size()) > width && digits >= 0; --digits) {
        char scientific[32];
        const auto result = std::to_chars(scientific, scientific + sizeof scientific, value,
                                          std::chars_format::scientific, digits);
        text.assign(scientific, result.ptr);
    }
    const size_t size = std::min(text.size(), buffer.size());
    std::copy_n(text.data(), size, buffer.data());
    return {buffer.data(), size};
}

std::string NumberCell(double value, int precision, int width) {
    CellBuffer buffer;
    return std::string(NumberCell(value, precision, width, buffer));
}

TextTable::TextTable(std::vector<TableColumn> columns) : columns_(std::move(columns)) {
    for (TableColumn& column : columns_) {
        column.width =
            std::max({column.width, DisplayWidth(column.title), DisplayWidth(column.unit)});
    }
}

void TextTable::Measure(const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size() && i < columns_.size(); ++i) {
        columns_[i].width = std::max(columns_[i].width, DisplayWidth(cells[i]));
    }
}

void TextTable::AppendHeader(std::string& out) const {
    std::vector<std::string> titles;
    std::vector<std::string> units;
    for (const TableColumn& column : columns_) {
        titles.push_back(column.title);
        units.push_back(column.unit);
    }
    AppendRow(out, titles);
    AppendRow(out, units);
}

void TextTable::AppendRow(std::string& out, const std::vector<std::string>& cells) const {
    const size_t lineStart = out.size();
    for (size_t i = 0; i < columns_.size(); ++i) {
        const std::string_view cell = i < cells.size() ? cells[i] : std::string_view();
        AppendCell(out, i, cell, DisplayWidth(cell));
    }
    // Blank cells at the end of a line leave no trailing blanks behind.
    const size_t end = out.find_last_not_of(' ');
    out.resize(end == std::string::npos || end < lineStart ? lineStart : end + 1);
    out += '\n';
}

}  // namespace springcalc::cli
