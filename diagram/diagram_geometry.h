// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The load–length diagram as a plain description of the picture: where every tick, line, point,
// label and leader stands, in SVG user units (pixels at 100 %), and what each label says. It
// knows nothing of any picture format, so the command line's SVG and a web page can both be drawn
// from it; which colour and stroke an ink gets is the writer's choice.

#include <string>
#include <string_view>
#include <vector>

#include "diagram/diagram_texts.h"
#include "engine/spring_design.h"
#include "engine/strength_checks.h"
#include "engine/torsion_spring.h"

namespace springcalc {

// What a mark belongs to; the writer gives each its colour.
enum class Ink { Spring, Installed, Operating, Allowable, Mark };

// The kind of a straight line, which fixes its ink, width and dashes.
enum class LineKind { Spring, Allowable, Mark };

enum class Anchor { Start, End };

struct DiagramRect {
    double left, right, top, bottom;
};

struct DiagramTick {
    double at;         // x of an x tick, y of a y tick
    std::string text;  // the value as printed
};

// `key` names a mark for whoever reads the picture ("installed", "solid", ...); the same key
// may name a line or point and its label.
struct DiagramLine {
    std::string key;
    LineKind kind;
    double x1, y1, x2, y2;
};

struct DiagramPoint {
    std::string key;
    Ink ink;
    bool filled;
    double x, y;
};

// A label's text starts or ends at x; y is its baseline.
struct DiagramLabel {
    double x, y;
    Anchor anchor;
    std::string text;
    Ink ink;
    std::string key;
};

// A thin line from a point's rim to a label that had to stand away from it.
struct DiagramLeader {
    double x1, y1, x2, y2;
    Ink ink;
};

struct DiagramGeometry {
    double width = 0, height = 0;
    DiagramRect plot{};
    std::string title;     // the name and the material
    std::string subtitle;  // the figures that fix the line
    std::string xTitle, yTitle;
    std::vector<DiagramTick> xTicks, yTicks;
    // In drawing order; the points go on top of the lines, the labels on top of everything.
    std::vector<DiagramLine> lines;
    std::vector<DiagramPoint> points;
    std::vector<DiagramLeader> leaders;
    std::vector<DiagramLabel> labels;
};

// The picture of a design after Run; `name` may be empty. `strength`: as LoadDiagramSvg takes it.
DiagramGeometry LayOutDiagram(const TSpringDesign& design, std::string_view name,
                              const DiagramTexts& texts, const StrengthFigures* strength = nullptr);

// A torsion spring's moment–angle diagram, drawn by the same axes, marks and labels: angles from
// free on x, moments on y. `result` must have run.
DiagramGeometry LayOutTorsionDiagram(const TorsionInput& input, const TorsionResult& result,
                                     std::string_view name, const DiagramTexts& texts);

}  // namespace springcalc
