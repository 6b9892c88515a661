// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two drawings of the window's head: a compression spring (190 × 118 design pixels) and an
// extension spring (200 × 93), in three colours only, grey background, black lines and white
// wire faces. They are drawn, not stored: at any number of device pixels per design pixel each
// edge is worked out afresh, so every screen gets them sharp and in their three colours, and at
// one device pixel per design pixel they are the window's own bitmaps to the pixel.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace springcalc {

enum class SpringDrawing { Compression, Extension };

inline constexpr std::uint32_t kDrawingGrey = 0xC0C0C0;
inline constexpr std::uint32_t kDrawingBlack = 0x000000;
inline constexpr std::uint32_t kDrawingWhite = 0xFFFFFF;

struct DrawnImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB, row by row from the top

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The drawing at `scale` device pixels per design pixel (from 0.5 to 8).
DrawnImage DrawSpring(SpringDrawing drawing, double scale);

}  // namespace springcalc
