// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/text_table.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "engine/text_format.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

__extension__ using Wide = unsigned __int128;

// The integer `digits` read as a number with `precision` decimals (5 with 2 is "0.05"), after a
// minus sign when `negative`, written from `next`. Returns the end.
char* WithDecimals(std::uint64_t digits, int precision, bool negative, char* next) {
    char buffer[24];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, digits).ptr;
    const int length = static_cast<int>(end - buffer);
    if (negative) {
        *next++ = '-';
    }
    if (length <= precision) {  // a zero before the point, zeros after it
        *next++ = '0';
        *next++ = '.';
        next = std::fill_n(next, precision - length, '0');
        return std::copy(buffer, end, next);
    }
    next = std::copy(buffer, end - precision, next);
    if (precision > 0) {
        *next++ = '.';
        next = std::copy(end - precision, end, next);
    }
    return next;
}

// printf's "%.*f" of a single-precision value, worked out exactly in integers: the value is
// m x 2^-shift, so m x 10^precision x 2^-shift rounded half to even is the digits printf
// writes. A tenth of the cost of the general conversion, which matters over millions of cells.
// The end of the digits written from `first` (32 bytes are enough), or none for values it does
// not cover (huge, not finite, many decimals).
char* SinglePrecisionFixed(float value, int precision, char* first) {
    constexpr std::uint64_t kPowers[] = {1, 10, 100, 1000};
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t exponent = (bits >> 23) & 0xFF;
    if (exponent == 0xFF || precision < 0 || precision > 3) {
        return nullptr;
    }
    const std::uint64_t mantissa = (bits & 0x7FFFFF) | (exponent != 0 ? 1u << 23 : 0);
    const int shift = exponent != 0 ? 150 - static_cast<int>(exponent) : 149;
    const Wide scaled = static_cast<Wide>(mantissa) * kPowers[precision];
    std::uint64_t digits = 0;
    if (shift <= 0) {
        if (shift < -28) {
            return nullptr;
        }
        digits = static_cast<std::uint64_t>(scaled << -shift);
    } else if (shift < 100) {  // beyond, the value is far below half a unit: 0
        const Wide one = 1;
        digits = static_cast<std::uint64_t>(scaled >> shift);
        const Wide rest = scaled & ((one << shift) - 1);
        const Wide half = one << (shift - 1);
        digits += rest > half || (rest == half && (digits & 1)) ? 1 : 0;
    }
    return WithDecimals(digits, precision, (bits >> 31) != 0, first);
}

char* ShortestFloatChars(char* first, char* last, float value) {
    // With at most three decimals and below 100000, the shortest decimal is written without an
    // exponent, and the integer k nearest to value x 10^p is the only one of its decimals that
    // can read back as the value: a float has more than 7 significant digits, k at most 8.
    // k / 10^p is never near enough to a halfway point between floats for the double division
    // to round differently from a direct conversion.
    constexpr double kPowers[] = {1, 10, 100, 1000};
    const double magnitude = std::fabs(double(value));
    if (value != 0.0f && magnitude < 1e5) {
        for (int p = 0; p < 4; ++p) {
            const double k = std::nearbyint(magnitude * kPowers[p]);
            if (float(k / kPowers[p]) != float(magnitude)) {
                continue;
            }
            return WithDecimals(static_cast<std::uint64_t>(k), p, value < 0.0f, first);
        }
    }
    return std::to_chars(first, last, value).ptr;
}

std::string_view NumberCell(double value, int precision, int width, CellBuffer& buffer) {
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
