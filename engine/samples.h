// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 24 built-in sample designs, numbered 1..12 within each kind.

#include <array>

#include "engine/design_input.h"

namespace springcalc {

inline constexpr int kSampleCount = 12;

// The window's samples have no given initial tension: each row leaves that last member out.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// clang-format off
inline constexpr std::array<DesignInput, kSampleCount> kCompressionSamples{{
    //            material       wire          D      n      free    set     work
    {kCompression, 2 /* SWPA  */, 19 /*  0.70 */,  4.3f,  9.5f,  13.0f,  12.0f,  10.0f},
    {kCompression, 2 /* SWPA  */, 23 /*  1.20 */,  8.8f,  7.0f,  23.0f,  20.0f,  18.0f},
    {kCompression, 2 /* SWPA  */, 25 /*  1.60 */, 14.4f,  5.0f,  24.0f,  20.0f,  18.0f},
    {kCompression, 2 /* SWPA  */, 28 /*  2.30 */, 17.7f,  8.0f,  44.0f,  40.0f,  38.0f},
    {kCompression, 2 /* SWPA  */, 29 /*  2.60 */, 21.4f, 14.5f,  95.0f,  90.0f,  85.0f},
    {kCompression, 2 /* SWPA  */, 31 /*  3.20 */, 24.8f, 13.5f, 102.0f,  83.0f,  80.0f},
    {kCompression, 2 /* SWPA  */, 34 /*  4.50 */, 35.5f, 12.0f, 120.0f,  95.0f,  90.0f},
    {kCompression, 2 /* SWPA  */, 35 /*  5.00 */, 40.0f, 11.0f, 120.0f,  90.0f,  85.0f},
    {kCompression, 4 /* SWO-A */, 39 /*  7.00 */, 44.0f, 11.0f, 130.0f, 103.0f,  95.0f},
    {kCompression, 4 /* SWO-A */, 40 /*  8.00 */, 52.0f, 12.0f, 160.0f, 140.0f, 135.0f},
    {kCompression, 4 /* SWO-A */, 41 /*  9.00 */, 56.0f, 12.0f, 170.0f, 140.0f, 135.0f},
    {kCompression, 4 /* SWO-A */, 42 /* 10.00 */, 60.0f, 11.5f, 180.0f, 145.0f, 140.0f},
}};

// Extension springs carry no free length (0 here): it is always derived from D, n and d.
inline constexpr std::array<DesignInput, kSampleCount> kExtensionSamples{{
    //          material            wire          D      n      free  set     work
    {kExtension, 2 /* SWPA       */, 11 /* 0.32 */,  4.6f,  18.5f,  0.0f,  20.0f,  30.0f},
    {kExtension, 2 /* SWPA       */, 15 /* 0.50 */,  5.8f,  17.5f,  0.0f,  25.0f,  35.0f},
    {kExtension, 2 /* SWPA       */, 19 /* 0.70 */,  7.3f,  17.5f,  0.0f,  30.0f,  40.0f},
    {kExtension, 2 /* SWPA       */, 21 /* 0.90 */,  7.1f,  17.0f,  0.0f,  35.0f,  40.0f},
    {kExtension, 2 /* SWPA       */, 22 /* 1.00 */,  7.0f,  63.5f,  0.0f,  80.0f, 100.0f},
    {kExtension, 2 /* SWPA       */, 23 /* 1.20 */,  8.8f,  17.0f,  0.0f,  40.0f,  50.0f},
    {kExtension, 2 /* SWPA       */, 24 /* 1.40 */,  8.6f,  16.5f,  0.0f,  45.0f,  50.0f},
    {kExtension, 2 /* SWPA       */, 25 /* 1.60 */, 10.4f,  17.5f,  0.0f,  50.0f,  60.0f},
    {kExtension, 2 /* SWPA       */, 27 /* 2.00 */, 14.0f,  16.5f,  0.0f,  65.0f,  75.0f},
    {kExtension, 4 /* SWO-A      */, 27 /* 2.00 */, 18.0f,  17.0f,  0.0f,  75.0f,  90.0f},
    {kExtension, 7 /* SUS316-WPA */, 23 /* 1.20 */,  8.0f,  84.0f,  0.0f, 177.0f, 182.0f},
    {kExtension, 7 /* SUS316-WPA */, 23 /* 1.20 */,  8.5f, 190.0f,  0.0f, 365.0f, 375.0f},
}};
// clang-format on
#pragma GCC diagnostic pop

}  // namespace springcalc
