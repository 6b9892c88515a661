// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <iterator>

#include "utf8proc.h"

namespace {

struct WidthRange {
    utf8proc_int32_t first, last;
    int width;
};

// Ranges that are not one column wide, in order, written by make_width_table.
constexpr WidthRange kWidths[] = {
#include "width_table.inc"
};

}  // namespace

int utf8proc_charwidth(utf8proc_int32_t code) {
    const auto found = std::upper_bound(
        std::begin(kWidths), std::end(kWidths), code,
        [](utf8proc_int32_t wanted, const WidthRange& range) { return wanted < range.first; });
    if (found == std::begin(kWidths) || code > std::prev(found)->last) {
        return 1;
    }
    return std::prev(found)->width;
}
