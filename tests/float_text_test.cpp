// SPDX-License-Identifier: GPL-3.0-or-later
// The number text the WebAssembly build writes without floating-point std::to_chars must be the
// text std::to_chars writes here, for every kind of value the program meets and many it does not.

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/text_format.h"
#include "test_support.h"
#include "text/number_text.h"

namespace springcalc {
namespace {

std::string ToCharsFixed(double value, int precision) {
    char buffer[400];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                  precision)
                        .ptr};
}

std::string PortableFixed(double value, int precision) {
    char buffer[400];
    return {buffer, PortableFixedChars(buffer, buffer + sizeof buffer, value, precision)};
}

std::string ToCharsShortest(float value) {
    char buffer[64];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr};
}

std::string PortableShortest(float value) {
    char buffer[64];
    return {buffer, PortableShortestFloatChars(buffer, buffer + sizeof buffer, value)};
}

// Values a design is made of and what the engine works out of them, halfway cases that round
// to even, and the edges of the type.
std::vector<double> EdgeDoubles() {
    std::vector<double> values{0.0,
                               -0.0,
                               0.5,
                               1.5,
                               2.5,
                               0.125,
                               0.375,
                               1e-7,
                               88.0,
                               8.8,
                               205.0,
                               0.05,
                               0.045,
                               1.005,
                               2.675,
                               123456.785,
                               1e15,
                               1e21,
                               1e300,
                               -1e300,
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::denorm_min(),
                               0.1f,
                               4.3f};
    for (int sample = 1; sample <= 100; ++sample) {
        values.push_back(float(sample) * 0.1f);
        values.push_back(-double(sample) / 8.0);
    }
    return values;
}

// Random doubles over every exponent, and random short decimals stored as float as the record
// stores them.
std::vector<double> RandomDoubles(std::mt19937_64& random, int count) {
    std::vector<double> values;
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_real_distribution<double> design(-2000.0, 2000.0);
    for (int i = 0; i < count; ++i) {
        const double value = std::bit_cast<double>(bits(random));
        if (std::isfinite(value) && std::fabs(value) < 1e30) {
            values.push_back(value);
        }
        values.push_back(double(float(design(random))));
        values.push_back(std::round(design(random) * 1000.0) / 1000.0);
    }
    return values;
}

TEST(FloatText, PortableFixedMatchesToCharsAtEveryPrecision) {
    std::mt19937_64 random(20261207);
    std::vector<double> values = EdgeDoubles();
    const std::vector<double> more = RandomDoubles(random, 20000);
    values.insert(values.end(), more.begin(), more.end());
    for (const double value : values) {
        for (int precision = 0; precision <= 6; ++precision) {
            ASSERT_EQ(PortableFixed(value, precision), ToCharsFixed(value, precision))
                << std::hexfloat << value << " at " << precision;
        }
    }
    // The window's formats go through the same path.
    EXPECT_EQ(FixedText(10.0, 1, "   "), "10.0   ");
}

TEST(FloatText, PortableFixedKeepsThePointUnderACommaLocale) {
    const test_support::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    for (const double value : EdgeDoubles()) {
        ASSERT_EQ(PortableFixed(value, 2), ToCharsFixed(value, 2)) << value;
    }
}

TEST(FloatText, PortableFixedWritesNothingPastTheBuffer) {
    char buffer[8];
    EXPECT_EQ(PortableFixedChars(buffer, buffer + sizeof buffer, 123456789.0, 2), buffer);
    EXPECT_EQ(std::string(buffer, PortableFixedChars(buffer, buffer + sizeof buffer, 12.5, 2)),
              "12.50");
}

TEST(FloatText, PortableShortestMatchesToCharsForEveryKindOfFloat) {
    std::vector<float> values{0.0f,
                              -0.0f,
                              1.0f,
                              8.8f,
                              205.0f,
                              0.05f,
                              1e10f,
                              123456792.0f,
                              16777216.0f,
                              1e-7f,
                              std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::min(),
                              std::numeric_limits<float>::denorm_min(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN(),
                              -std::numeric_limits<float>::quiet_NaN()};
    // Powers of two, where the gap below is half the gap above.
    for (int exponent = -149; exponent <= 127; ++exponent) {
        values.push_back(std::ldexp(1.0f, exponent));
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int i = 0; i < 300000; ++i) {
        values.push_back(std::bit_cast<float>(bits(random)));
    }
    for (int tenths = -20000; tenths <= 20000; ++tenths) {
        values.push_back(float(tenths) / 10.0f);
    }
    for (const float value : values) {
        ASSERT_EQ(PortableShortest(value), ToCharsShortest(value))
            << std::hexfloat << value << " bits " << std::bit_cast<std::uint32_t>(value);
    }
}

}  // namespace
}  // namespace springcalc
