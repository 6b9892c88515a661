// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Aligned text columns for a terminal: widths set beforehand, or measured over the rows first.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace springcalc::cli {

enum class Align { Left, Right };

struct TableColumn {
    std::string title;
    std::string unit;  // second header line; may be empty
    Align align = Align::Right;
    int width = 0;  // at least this many columns, whatever the cells measure
};

// A number with `precision` decimals, as printf's "%.*f" writes it in any locale; a value too
// wide for `width` columns is written with an exponent instead (1.5e+07), so it still fits.
std::string NumberCell(double value, int precision, int width);
// The same in `buffer`, without a string of its own: a long table has millions of cells.
using CellBuffer = std::array<char, 128>;
std::string_view NumberCell(double value, int precision, int width, CellBuffer& buffer);

class TextTable {
public:
    static constexpr int kGap = 2;  // blanks between two columns

    explicit TextTable(std::vector<TableColumn> columns);

    // Widens the columns to fit the cells of a row.
    void Measure(const std::vector<std::string>& cells);
    // The two header lines (titles, then units), each ending in "\n".
    void AppendHeader(std::string& out) const;
    // One line; missing cells are blank. The last column is never padded.
    void AppendRow(std::string& out, const std::vector<std::string>& cells) const;
    // A column as wide as it is now: its title, its unit and the cells measured all fit.
    const TableColumn& column(size_t index) const { return columns_[index]; }

    // One cell of column `index`, `cellWidth` terminal columns wide, onto `out` (a string, or
    // any buffer with append(count, char) and += text): the gap before it, then the cell padded
    // to the column's width on the side its alignment leaves blank. The last column is never
    // padded after its text. Returns the terminal columns it took, the gap included.
    // Every aligned line goes through here, so a row written cell by cell lines up with one
    // written by AppendRow.
    template <typename Out>
    int AppendCell(Out& out, size_t index, std::string_view cell, int cellWidth) const {
        int late = 0;  // a line in its columns so far: nothing to catch up
        return AppendCellCatchingUp(out, index, cell, cellWidth, late);
    }

    // AppendCell for a line that may run past its columns: `late` is how many terminal columns
    // it runs past them so far. The blanks before the cell shrink by up to that much, one always
    // kept, so that the line falls back into its columns within a cell or two; a cell wider than
    // its column adds to it.
    template <typename Out>
    int AppendCellCatchingUp(Out& out, size_t index, std::string_view cell, int cellWidth,
                             int& late) const {
        const TableColumn& at = columns_[index];
        const int gap = index > 0 ? kGap : 0;
        const int padding = std::max(0, at.width - cellWidth);
        int before = gap + (at.align == Align::Right ? padding : 0);
        const int caughtUp = std::clamp(before - 1, 0, late);
        before -= caughtUp;
        late -= caughtUp;
        int after = at.align == Align::Left && index + 1 < columns_.size() ? padding : 0;
        const int afterCaughtUp = std::min(after, late);
        after -= afterCaughtUp;
        late -= afterCaughtUp;
        late += std::max(0, cellWidth - at.width);
        out.append(static_cast<size_t>(before), ' ');
        out += cell;
        out.append(static_cast<size_t>(after), ' ');
        return before + cellWidth + after;
    }

private:
    std::vector<TableColumn> columns_;
};

}  // namespace springcalc::cli
