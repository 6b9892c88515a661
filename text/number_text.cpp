// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    // memcpy rather than std::bit_cast, which the WebAssembly build's C++ library lacks.
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
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
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value).ptr;
#else
    return PortableShortestFloatChars(first, last, value);
#endif
}

namespace {

// A decimal of `digits` (no trailing zeros) times 10^`exponent` (the exponent of its first
// digit), as text.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// The shortest decimal that reads back as `magnitude` (finite, above zero) and, of those of its
// length, the nearest: the digits std::to_chars writes. printf's "%.*e" gives the nearest of
// each length; where a power of two halves the gap below it, a neighbour of the same length can
// read back when the nearest does not.
Decimal ShortestDecimal(float magnitude) {
    for (int length = 1; length <= 9; ++length) {
        char text[48];
        std::snprintf(text, sizeof text, "%.*e", length - 1, double(magnitude));
        std::string digits;
        const char* c = text;
        for (; *c != 'e'; ++c) {
            if (*c != '.') {
                digits += *c;
            }
        }
        const int exponent = std::atoi(c + 1);
        const long long nearest = std::atoll(digits.c_str());
        // The nearest first: it is the one to_chars writes whenever it reads back.
        const long long options[] = {nearest, nearest - 1, nearest + 1};
        bool found = false;
        long long best = 0;
        double bestDistance = 0;
        for (const long long option : options) {
            const std::string optionDigits = std::to_string(option);
            if (static_cast<int>(optionDigits.size()) != length) {
                continue;
            }
            const std::string candidate =
                optionDigits + "e" + std::to_string(exponent - length + 1);
            if (std::strtof(candidate.c_str(), nullptr) != magnitude) {
                continue;
            }
            if (option == nearest) {
                found = true;
                best = option;
                break;
            }
            const double distance =
                std::fabs(std::strtod(candidate.c_str(), nullptr) - double(magnitude));
            if (!found || distance < bestDistance) {
                found = true;
                best = option;
                bestDistance = distance;
            }
        }
        if (found) {
            std::string bestDigits = std::to_string(best);
            bestDigits.erase(bestDigits.find_last_not_of('0') + 1);
            return {bestDigits, exponent};
        }
    }
    return {};  // not reached: nine digits always read back
}

char* CopyText(std::string_view text, char* first, char* last) {
    if (static_cast<std::ptrdiff_t>(text.size()) > last - first) {
        return last;
    }
    return std::copy(text.begin(), text.end(), first);
}

}  // namespace

char* PortableShortestFloatChars(char* first, char* last, float value) {
    if (std::isnan(value)) {
        return CopyText(std::signbit(value) ? "-nan" : "nan", first, last);
    }
    std::string text = std::signbit(value) ? "-" : "";
    const float magnitude = std::fabs(value);
    if (std::isinf(magnitude)) {
        return CopyText(text + "inf", first, last);
    }
    if (magnitude == 0.0f) {
        return CopyText(text + "0", first, last);
    }
    const auto [digits, exponent] = ShortestDecimal(magnitude);
    const int length = static_cast<int>(digits.size());
    const int exponentDigits = std::abs(exponent) >= 10 ? 2 : 1;
    const int scientificLength = length + (length > 1 ? 1 : 0) + 2 + std::max(2, exponentDigits);
    const int fixedLength = exponent >= length - 1 ? exponent + 1
                            : exponent >= 0        ? length + 1
                                                   : 1 + length - exponent;
    if (fixedLength <= scientificLength) {
        if (exponent >= length - 1) {
            // A whole number: its exact digits, as near as can be and no longer.
            char whole[48];
            std::snprintf(whole, sizeof whole, "%.0f", double(magnitude));
            text += whole;
        } else if (exponent >= 0) {
            text += digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
        } else {
            text += "0." + std::string(-exponent - 1, '0') + digits;
        }
    } else {
        text += digits.substr(0, 1);
        if (length > 1) {
            text += "." + digits.substr(1);
        }
        char tail[16];
        std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        text += tail;
    }
    return CopyText(text, first, last);
}

}  // namespace springcalc
