// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/label_placement.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "text/utf8_text.h"

namespace springcalc {

namespace {

struct Box {
    double x0, x1, y0, y1;
    bool Overlaps(const Box& other) const {
        return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1;
    }
};

Box BoxOf(const DiagramLabel& label) {
    const double width = LabelWidth(label.text);
    const double x0 = label.anchor == Anchor::End ? label.x - width : label.x;
    return {x0, x0 + width, label.y - 13.0, label.y + 4.0};
}

}  // namespace

// A 13 px DejaVu Sans digit or Latin letter is about 7.6 px wide, a CJK character (two columns)
// about 13 px. Other characters go by their columns too, at half a CJK character each: an accented
// Latin letter or a Greek one is narrower than a kanji, and a combining mark adds nothing. The
// columns come from DisplayWidth, the program's one measure of text, so the diagram and the
// terminal agree on what is wide. ASCII and the rest are measured run by run; a run boundary never
// falls inside a character.
double LabelWidth(std::string_view text) {
    int asciiColumns = 0;
    int otherColumns = 0;
    for (size_t start = 0; start < text.size();) {
        const bool ascii = static_cast<unsigned char>(text[start]) < 0x80;
        size_t end = start;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) < 0x80) == ascii) {
            ++end;
        }
        (ascii ? asciiColumns : otherColumns) += DisplayWidth(text.substr(start, end - start));
        start = end;
    }
    return 7.6 * asciiColumns + 6.5 * otherColumns;
}

void LabelPlacer::PlaceAt(std::initializer_list<DiagramLabel> places) {
    for (int attempt = 0; attempt < 30; ++attempt) {
        for (DiagramLabel label : places) {
            const double start = std::clamp(label.y, plot_.top + 16.0, plot_.bottom - 6.0);
            label.y = start - 18.0 * attempt > plot_.top + 16.0 ? start - 18.0 * attempt
                                                                : start + 18.0 * attempt;
            if (Clear(label)) {
                placed_.push_back(std::move(label));
                return;
            }
        }
    }
    placed_.push_back(*places.begin());
}

void LabelPlacer::PlaceNear(double x, double y, const std::array<Side, 4>& sides, std::string text,
                            Ink ink, std::string key) {
    const double width = LabelWidth(text);
    std::optional<DiagramLabel> fallback;
    for (int away = 0; away < 14; ++away) {
        for (Side side : sides) {
            const bool right = side == Side::UpperRight || side == Side::LowerRight;
            const bool upper = side == Side::UpperRight || side == Side::UpperLeft;
            const double labelX = right ? std::min(x + 9, plot_.right - 3 - width)
                                        : std::max(x - 9, plot_.left + 3 + width);
            DiagramLabel label{labelX,
                               upper ? y - 9 - 18.0 * away : y + 19 + 18.0 * away,
                               right ? Anchor::Start : Anchor::End,
                               text,
                               ink,
                               key};
            if (!fallback) {
                fallback = label;
            }
            if (Clear(label)) {
                AddLeader(x, y, label);
                placed_.push_back(std::move(label));
                return;
            }
        }
    }
    placed_.push_back(std::move(*fallback));
}

bool LabelPlacer::Clear(const DiagramLabel& label) const {
    const Box box = BoxOf(label);
    if (box.x0 < plot_.left + 2 || box.x1 > plot_.right - 2 || box.y0 < plot_.top + 2 ||
        box.y1 > plot_.bottom - 2) {
        return false;
    }
    const auto covers = [&](const Obstacle& o) {
        const Box grown{box.x0 - o.margin, box.x1 + o.margin, box.y0 - o.margin, box.y1 + o.margin};
        // Fine enough steps that no line can slip between two of them.
        const int steps = 1 + int(std::hypot(o.x2 - o.x1, o.y2 - o.y1) / 2.0);
        for (int i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            const double px = o.x1 + (o.x2 - o.x1) * t;
            const double py = o.y1 + (o.y2 - o.y1) * t;
            if (px > grown.x0 && px < grown.x1 && py > grown.y0 && py < grown.y1) {
                return true;
            }
        }
        return false;
    };
    return std::none_of(obstacles_.begin(), obstacles_.end(), covers) &&
           std::none_of(placed_.begin(), placed_.end(),
                        [&](const DiagramLabel& other) { return box.Overlaps(BoxOf(other)); });
}

void LabelPlacer::AddLeader(double x, double y, const DiagramLabel& label) {
    const Box box = BoxOf(label);
    const double nearX = std::clamp(x, box.x0 - 2, box.x1 + 2);
    const double nearY = std::clamp(y, box.y0 - 2, box.y1 + 2);
    const double distance = std::hypot(nearX - x, nearY - y);
    if (distance < 16.0) {
        return;
    }
    // From the rim of the point's circle to the edge of the label.
    leaders_.push_back({x + (nearX - x) / distance * 7.0, y + (nearY - y) / distance * 7.0, nearX,
                        nearY, label.ink});
}

}  // namespace springcalc
