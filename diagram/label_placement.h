// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding each label of the diagram a place where it covers no line, no point and no other
// label, inside the plot area.

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "diagram/diagram_geometry.h"

namespace springcalc {

// Rough extent of a 13 px label's text, in pixels, for keeping labels apart.
double LabelWidth(std::string_view text);

enum class Side { UpperRight, LowerRight, UpperLeft, LowerLeft };

class LabelPlacer {
public:
    explicit LabelPlacer(DiagramRect plot) : plot_(plot) {}

    // Something a label must not cover: a line of the picture, or a point (a zero-length line
    // with a wider margin).
    void AddObstacle(double x1, double y1, double x2, double y2, double margin = 2.0) {
        obstacles_.push_back({x1, y1, x2, y2, margin});
    }

    // A label at one of a few fixed places, moved up a line at a time (down near the top) until
    // it is clear; the first place when none is.
    void PlaceAt(std::initializer_list<DiagramLabel> places);

    // A label beside a point: the first clear place among the sides asked for, nearest first;
    // near an edge the label slides along it. A label that ends up away from its point gets a
    // thin leader line to it.
    void PlaceNear(double x, double y, const std::array<Side, 4>& sides, std::string text, Ink ink,
                   std::string key);

    const std::vector<DiagramLabel>& Placed() const { return placed_; }
    const std::vector<DiagramLeader>& Leaders() const { return leaders_; }

private:
    struct Obstacle {
        double x1, y1, x2, y2, margin;
    };

    bool Clear(const DiagramLabel& label) const;
    void AddLeader(double x, double y, const DiagramLabel& label);

    DiagramRect plot_;
    std::vector<Obstacle> obstacles_;
    std::vector<DiagramLabel> placed_;
    std::vector<DiagramLeader> leaders_;
};

}  // namespace springcalc
