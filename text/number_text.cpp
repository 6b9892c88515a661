// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace springcalc {

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

}  // namespace springcalc
