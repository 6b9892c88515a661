// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/spring_drawings.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <optional>
#include <utility>

namespace springcalc {

namespace {

// Round half away from zero.
int Round(double v) {
    return v >= 0 ? static_cast<int>(v + 0.5) : -static_cast<int>(-v + 0.5);
}

// Long dash 7, gap 2, dot 1, gap 2.
bool DashDotOn(int i) {
    const int phase = i % 12;
    return phase <= 6 || phase == 9;
}

// Design pixels from left to right and top to bottom, both edges included.
struct DesignBox {
    int left, top, right, bottom;
};

// Pixels drawn in design coordinates, `k` device pixels to a design pixel. Slanted and round
// edges are worked out per device pixel, so a larger copy is finer, not just bigger. A 180°
// turn (`turn`, twice the centre) repeats one half of a symmetric drawing.
class Canvas {
public:
    Canvas(int width, int height, double k)
        : k_(k), line_(std::max(1, static_cast<int>(std::lround(k)))) {
        image_.width = Edge(width);
        image_.height = Edge(height);
        image_.pixels.assign(static_cast<size_t>(image_.width) * image_.height, kDrawingGrey);
    }

    DrawnImage Take() { return std::move(image_); }
    void Turn(std::optional<std::pair<int, int>> twiceCentre) { turn_ = twiceCentre; }

    // The device pixel where design coordinate x begins.
    int Edge(double x) const { return static_cast<int>(std::floor(x * k_ + 0.5)); }

    // Where a device pixel of the half being drawn lands, turned or not.
    std::pair<int, int> Turned(int x, int y) const {
        if (!turn_) {
            return {x, y};
        }
        return {Edge(turn_->first + 1) - 1 - x, Edge(turn_->second + 1) - 1 - y};
    }

    void PutDevice(int deviceX, int deviceY, std::uint32_t colour) {
        const auto [x, y] = Turned(deviceX, deviceY);
        if (x >= 0 && x < image_.width && y >= 0 && y < image_.height) {
            image_.pixels[static_cast<size_t>(y) * image_.width + x] = colour;
        }
    }

    void Put(int x, int y, std::uint32_t colour) {
        for (int dy = Edge(y); dy < Edge(y + 1); ++dy) {
            for (int dx = Edge(x); dx < Edge(x + 1); ++dx) {
                PutDevice(dx, dy, colour);
            }
        }
    }

    std::uint32_t Get(int x, int y) const {
        const auto [deviceX, deviceY] = Turned(Edge(x), Edge(y));
        return image_.at(deviceX, deviceY);
    }

    void HLine(int y, int x0, int x1) {
        for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) {
            Put(x, y, kDrawingBlack);
        }
    }

    void VLine(int x, int y0, int y1) {
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) {
            Put(x, y, kDrawingBlack);
        }
    }

    // A centre line from (x0, y0) along a row (horizontal) or a column; it passes behind the
    // wire, never painting over white.
    void DashDot(int x0, int y0, int length, bool horizontal) {
        for (int i = 0; i <= length; ++i) {
            const int x = horizontal ? x0 + i : x0, y = horizontal ? y0 : y0 + i;
            if (DashDotOn(i) && Get(x, y) != kDrawingWhite) {
                Put(x, y, kDrawingBlack);
            }
        }
    }

    // One turn of wire seen from the side: a white slanted band outlined one design pixel wide
    // in black. lt and rt are the outline columns on the top row, lb and rb on the bottom row;
    // the edges are interpolated per device row, so bands sharing an edge share its pixels.
    // Corners are clipped by one pixel to suggest the round wire, except on the left where that
    // edge is a ground end face.
    void Band(int top, int bottom, int lt, int rt, int lb, int rb, bool squareLeft = false) {
        for (int y = Edge(top); y < Edge(bottom + 1); ++y) {
            const double design = (y + 0.5) / k_ - 0.5;
            const double t = std::clamp((design - top) / (bottom - top), 0.0, 1.0);
            const int xl = Round((lt + (lb - lt) * t) * k_);
            const int xr = Round((rt + (rb - rt) * t) * k_);
            const int row = RowOf(y);
            const bool edge = row == top || row == bottom;
            for (int x = xl; x < xr + line_; ++x) {
                const bool left = x < xl + line_, right = x >= xr;
                if (edge && (right || (left && !squareLeft))) {
                    continue;
                }
                PutDevice(x, y, edge || left || right ? kDrawingBlack : kDrawingWhite);
            }
        }
    }

    // A white region, given as a test of a point in design coordinates, outlined one design
    // pixel wide in black. The test is asked only inside `box`, in design coordinates, which
    // must hold the whole region: asked over the whole drawing, the test took nine tenths of
    // the time of the window's start-up drawings.
    void Blob(const DesignBox& box, const std::function<bool(double, double)>& inside) {
        const int w = image_.width, h = image_.height;
        // One device pixel beyond the box's edges each way, so rounding never cuts the region.
        const int x0 = std::max(0, Edge(box.left) - 1), x1 = std::min(w, Edge(box.right + 1) + 1);
        const int y0 = std::max(0, Edge(box.top) - 1), y1 = std::min(h, Edge(box.bottom + 1) + 1);
        std::vector<char> in(static_cast<size_t>(w) * h);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                in[static_cast<size_t>(y) * w + x] =
                    inside((x + 0.5) / k_ - 0.5, (y + 0.5) / k_ - 0.5);
            }
        }
        const auto isIn = [&](int x, int y) {
            return x >= 0 && x < w && y >= 0 && y < h && in[static_cast<size_t>(y) * w + x];
        };
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (!isIn(x, y)) {
                    continue;
                }
                bool inner = true;
                for (int d = 1; d <= line_ && inner; ++d) {
                    inner = isIn(x - d, y) && isIn(x + d, y) && isIn(x, y - d) && isIn(x, y + d);
                }
                PutDevice(x, y, inner ? kDrawingWhite : kDrawingBlack);
            }
        }
    }

    // A dimension line between extension lines at x0 and x1, with arrowheads touching them
    // (their half heights from the tip backwards).
    void Dimension(int y, int x0, int x1) {
        HLine(y, x0 + 1, x1 - 1);
        const int head[] = {0, 1, 1, 2, 2, 2};
        for (int i = 0; i < 6; ++i) {
            VLine(x0 + 1 + i, y - head[i], y + head[i]);
            VLine(x1 - 1 - i, y - head[i], y + head[i]);
        }
    }

private:
    // The design row a device row belongs to.
    int RowOf(int y) const {
        int row = static_cast<int>(std::floor(y / k_));
        while (Edge(row + 1) <= y) {
            ++row;
        }
        while (Edge(row) > y) {
            --row;
        }
        return row;
    }

    double k_;
    int line_;  // device pixels of a one-pixel line
    std::optional<std::pair<int, int>> turn_;
    DrawnImage image_;
};

DrawnImage CompressionSpring(double k) {
    Canvas c(190, 118, k);
    const int top = 27, bottom = 61, axis = 44, left = 12, right = 185;
    const int s = 5;  // how far a band leans from its top to its bottom
    const auto endGroup = [&] {
        // The closed and ground end turn, with its vertical end face; the next turn touches
        // it, then three turns at the working pitch.
        c.Band(top, bottom, left, left + 5, left, left + 5 + s, true);
        for (const int lt : {left + 5, left + 15, left + 25, left + 35}) {
            c.Band(top, bottom, lt, lt + 5, lt + s, lt + 5 + s);
        }
    };
    endGroup();
    c.Turn(std::pair{left + right, top + bottom});
    endGroup();
    c.Turn(std::nullopt);
    for (const int y : {top, axis, bottom}) {
        c.DashDot(left + 47, y, right - 47 - (left + 47), true);
    }
    // The free length.
    c.VLine(left, bottom + 3, 93);
    c.VLine(right, bottom + 3, 93);
    c.Dimension(91, left, right);
    return c.Take();
}

DrawnImage ExtensionSpring(double k) {
    Canvas c(200, 93, k);
    const int top = 17, bottom = 49, axis = 33;
    const int hookX = 27;                     // the centre of the left hook
    const double innerR = 13, outerR = 17.5;  // the hook's ring, its inside face at hookX - 13
    const int coil0 = 42;                     // the first close-wound turn
    const int s = 3;
    const int mirrorX2 = 194;  // the right half is the left one turned about x = 97
    // The ring and its leg, with a pixel to spare for the rounding of the design coordinates.
    const int reach = static_cast<int>(std::ceil(outerR)) + 1;
    const DesignBox hookBox{hookX - reach, axis - reach, std::max(hookX + reach, coil0 + 2),
                            axis + reach};
    const auto endGroup = [&] {
        // The hook: a ring open towards the coils at the lower right, joined to the first turn
        // by a straight leg along the top outline.
        c.Blob(hookBox, [&](double xf, double yf) {
            const double dx = xf - hookX, dy = yf - axis;
            const double d2 = dx * dx + dy * dy;
            if (innerR * innerR <= d2 && d2 <= outerR * outerR) {
                // Open from 90° down to -40° (y up); the top goes on as the straight leg.
                const double a = std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
                if (!(-40 < a && a < 90)) {
                    return true;
                }
            }
            const double x = std::floor(xf + 0.5), y = std::floor(yf + 0.5);
            return top - 1 <= y && y <= top + 3 && hookX <= x && x < coil0 + (y >= top ? 2 : -1);
        });
        for (int turn = 0; turn < 5; ++turn) {
            const int lt = coil0 + 5 * turn;
            c.Band(top, bottom, lt, lt + 5, lt + s, lt + 5 + s);
        }
        c.DashDot(hookX, axis - 22, 44, false);
    };
    endGroup();
    c.Turn(std::pair{mirrorX2, 2 * axis});
    endGroup();
    c.Turn(std::nullopt);
    const int gap0 = coil0 + 25 + s + 3;
    for (const int y : {top, axis, bottom}) {
        c.DashDot(gap0, y, mirrorX2 - 2 * gap0, true);
    }
    // The free length, between the inside faces of the hooks.
    const int innerLeft = hookX - static_cast<int>(innerR);
    const int innerRight = mirrorX2 - hookX + static_cast<int>(innerR);
    c.VLine(innerLeft, axis + 14, 79);
    c.VLine(innerRight, axis + 14, 79);
    c.Dimension(77, innerLeft, innerRight);
    return c.Take();
}

}  // namespace

DrawnImage DrawSpring(SpringDrawing drawing, double scale) {
    scale = std::clamp(scale, 0.5, 8.0);
    return drawing == SpringDrawing::Compression ? CompressionSpring(scale)
                                                 : ExtensionSpring(scale);
}

}  // namespace springcalc
