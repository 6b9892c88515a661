// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/diagram_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

#include "diagram/label_placement.h"
#include "engine/catalogue.h"
#include "engine/maker_checks.h"
#include "engine/spring_formulas.h"
#include "engine/text_format.h"

namespace springcalc {

namespace {

// Canvas and plot area.
constexpr double kWidth = 900;
constexpr double kHeight = 640;
constexpr DiagramRect kPlot{96, kWidth - 40, 92, kHeight - 78};

// A round-number axis: ticks every 1, 2 or 5 times a power of ten, covering [low, high].
struct Axis {
    double first = 0;  // value of the first tick, also the start of the axis
    double step = 1;
    int count = 1;  // intervals
    int decimals = 0;

    double last() const { return first + step * count; }
    double tick(int i) const { return first + step * i; }
};

Axis RoundAxis(double low, double high, int wantedIntervals) {
    if (!(high > low)) {
        high = low + 1.0;
    }
    const double raw = (high - low) / wantedIntervals;
    const int exponent = int(std::floor(std::log10(raw)));
    const double scale = std::pow(10.0, exponent);
    const double fraction = raw / scale;
    const double mantissa = fraction <= 1.0   ? 1.0
                            : fraction <= 2.0 ? 2.0
                            : fraction <= 5.0 ? 5.0
                                              : 10.0;
    Axis axis;
    axis.step = mantissa * scale;
    // A tiny allowance keeps a value that sits on a tick from adding an empty interval.
    const double firstIndex = std::floor(low / axis.step + 1e-9);
    const double lastIndex = std::ceil(high / axis.step - 1e-9);
    axis.first = firstIndex * axis.step;
    axis.count = std::max(1, int(lastIndex - firstIndex));
    axis.decimals = std::max(0, mantissa == 10.0 ? -exponent - 1 : -exponent);
    return axis;
}

std::string TickText(const Axis& axis, int i) {
    double value = axis.tick(i);
    if (std::fabs(value) < axis.step * 1e-6) {
        value = 0.0;  // no "-0.0"
    }
    return FixedText(value, axis.decimals);
}

// The values, the axes they are drawn against and the words they are told in.
struct Scaled {
    const DiagramTexts& t;
    const TSpringDesign& d;
    std::string_view name;
    bool compression;
    double freeLoad;
    double allowLoad;
    std::optional<BindingLimit> limit;  // a strength check that binds first
    // A compression spring's shortest working length with the coils' clearance, where it lies
    // between the solid and the free length.
    std::optional<double> shortestClear;
    Axis x, y;

    double X(double length) const {
        return kPlot.left + (length - x.first) / (x.last() - x.first) * (kPlot.right - kPlot.left);
    }
    double Y(double load) const {
        return kPlot.bottom - (load - y.first) / (y.last() - y.first) * (kPlot.bottom - kPlot.top);
    }
    std::string Mm(double value) const { return FixedText(value, 1) + " " + t.mm; }
    std::string Kg(double value) const { return FixedText(value, 2) + " " + t.kg; }
};

Axis LengthAxis(const TSpringDesign& d, bool compression) {
    std::vector<double> lengths{d.FreeLen, d.SetLen, d.WorkLen, d.LimitLen};
    if (compression) {
        lengths.push_back(d.SolidLen);
    }
    double lowLength = *std::min_element(lengths.begin(), lengths.end());
    double highLength = *std::max_element(lengths.begin(), lengths.end());
    // Start at zero when the springs' lengths reach down towards it anyway: a designer reads
    // the travel against the whole length then.
    const double margin = 0.06 * (highLength - lowLength) + 0.5;
    lowLength = lowLength < 0.4 * highLength ? std::min(0.0, lowLength) : lowLength - margin;
    highLength += margin;
    return RoundAxis(lowLength, highLength, 8);
}

Axis LoadAxis(const TSpringDesign& d, double freeLoad, double allowLoad, double limitLoad) {
    const std::initializer_list<double> loads{0.0,    freeLoad,  d.Pset,   d.Pact,
                                              d.Pmax, allowLoad, limitLoad};
    const double lowLoad = std::min(loads);
    const double highLoad = std::max(loads);
    // Headroom above the highest load for its label.
    return RoundAxis(lowLoad, highLoad + 0.1 * (highLoad - lowLoad), 6);
}

Scaled ScaledOf(const TSpringDesign& design, std::string_view name, const DiagramTexts& texts,
                const StrengthFigures* strength) {
    const bool compression = design.SpringKind == kCompression;
    const double freeLoad = InitialTensionOf(design);  // none for a compression spring
    const double allowLoad =
        formulas::LoadAtStress(StaticAllowable(design), design.MeanDia, WireDiameterOf(design));
    const std::optional<BindingLimit> limit =
        strength ? BindingLimitOf(design, *strength) : std::nullopt;
    std::optional<double> shortestClear;
    if (const std::optional<CoilFigures> coils = ComputeMakerFigures(design).coils;
        coils && coils->shortestClear < design.FreeLen) {
        shortestClear = coils->shortestClear;
    }
    const Axis x = LengthAxis(design, compression);
    const Axis y = LoadAxis(design, freeLoad, allowLoad, limit ? limit->load : 0.0);
    return {texts, design, name, compression, freeLoad, allowLoad, limit, shortestClear, x, y};
}

const char* LimitKey(LimitKind kind) {
    return kind == LimitKind::Hook ? "hook-limit" : "set-limit";
}

void AddTitles(const Scaled& s, DiagramGeometry& g) {
    const DiagramTexts& t = s.t;
    g.title = s.name.empty() ? std::string() : std::string(s.name) + t.nameSeparator;
    g.title += (s.d.Wire ? s.d.Wire->material->name : MaterialDesignation(s.d.MaterialNo)) +
               (s.compression ? t.compressionSpring : t.extensionSpring);
    g.subtitle = "d " + FixedText(WireDiameterOf(s.d), 2) + " " + t.mm + " · D " +
                 FixedText(s.d.MeanDia, 1) + " " + t.mm + " · n " + FixedText(s.d.Turns, 1) +
                 " · k " + FixedText(s.d.SpringRate, 3) + " " + t.kgPerMm + " · τa " +
                 FixedText(StaticAllowable(s.d), 2) + " " + t.kgPerMm2;
    g.xTitle = t.lengthAxis;
    g.yTitle = t.loadAxis;
    for (int i = 0; i <= s.x.count; ++i) {
        g.xTicks.push_back({s.X(s.x.tick(i)), TickText(s.x, i)});
    }
    for (int i = 0; i <= s.y.count; ++i) {
        g.yTicks.push_back({s.Y(s.y.tick(i)), TickText(s.y, i)});
    }
}

// Lines first, then the points on top; every line and point is an obstacle for the labels.
void AddMarks(const Scaled& s, DiagramGeometry& g, LabelPlacer& placer) {
    const double allowY = s.Y(s.allowLoad);
    g.lines.push_back({"allowable", LineKind::Allowable, kPlot.left, allowY, kPlot.right, allowY});
    if (s.limit) {
        const double limitY = s.Y(s.limit->load);
        g.lines.push_back({LimitKey(s.limit->kind), LineKind::Allowable, kPlot.left, limitY,
                           kPlot.right, limitY});
    }
    if (s.compression) {
        const double solidX = s.X(s.d.SolidLen);
        g.lines.push_back({"solid", LineKind::Mark, solidX, kPlot.top, solidX, kPlot.bottom});
    } else {
        const double tensionY = s.Y(s.freeLoad);
        g.lines.push_back(
            {"initial-tension", LineKind::Mark, kPlot.left, tensionY, s.X(s.d.FreeLen), tensionY});
    }
    g.lines.push_back({"spring", LineKind::Spring, s.X(s.d.FreeLen), s.Y(s.freeLoad),
                       s.X(s.d.LimitLen), s.Y(s.d.Pmax)});
    for (const DiagramLine& line : g.lines) {
        placer.AddObstacle(line.x1, line.y1, line.x2, line.y2);
    }
    // The shortest length with the coils' clearance lies among the working points: labels may
    // cross its dotted line rather than stand far from their points.
    if (s.shortestClear) {
        const double clearX = s.X(*s.shortestClear);
        g.lines.push_back(
            {"shortest-clear", LineKind::Mark, clearX, kPlot.top, clearX, kPlot.bottom});
    }
    g.points = {
        {"free", Ink::Spring, false, s.X(s.d.FreeLen), s.Y(s.freeLoad)},
        {"installed", Ink::Installed, true, s.X(s.d.SetLen), s.Y(s.d.Pset)},
        {"operating", Ink::Operating, true, s.X(s.d.WorkLen), s.Y(s.d.Pact)},
        {"limit", Ink::Spring, true, s.X(s.d.LimitLen), s.Y(s.d.Pmax)},
    };
    for (const DiagramPoint& point : g.points) {
        placer.AddObstacle(point.x, point.y, point.x, point.y, 7.0);
    }
}

// The allowable load's label and the solid length's or the initial tension's, along their lines.
void PlaceLineLabels(const Scaled& s, LabelPlacer& placer) {
    const double allowY = s.Y(s.allowLoad);
    const std::string allowText = s.t.allowableLoad + " " + s.Kg(s.allowLoad);
    const auto allowLabel = [&](double x, double y, Anchor anchor) {
        return DiagramLabel{x, y, anchor, allowText, Ink::Allowable, "allowable"};
    };
    const DiagramLabel allowRight = allowLabel(kPlot.right - 6, allowY - 7, Anchor::End);
    const DiagramLabel allowLeft = allowLabel(kPlot.left + 6, allowY - 7, Anchor::Start);
    const DiagramLabel allowRightBelow = allowLabel(kPlot.right - 6, allowY + 17, Anchor::End);
    if (s.limit) {
        // The hooks' limit lies below the allowable load, the solid load above it: each label on
        // the side away from the other line first.
        const double limitY = s.Y(s.limit->load);
        const std::string limitText =
            (s.limit->kind == LimitKind::Hook ? s.t.hookLimit : s.t.setLimit) + " " +
            s.Kg(s.limit->load);
        const std::string key = LimitKey(s.limit->kind);
        const double away = s.limit->kind == LimitKind::Hook ? 17 : -7;
        const double toward = s.limit->kind == LimitKind::Hook ? -7 : 17;
        placer.PlaceAt(
            {{kPlot.right - 6, limitY + away, Anchor::End, limitText, Ink::Allowable, key},
             {kPlot.left + 6, limitY + away, Anchor::Start, limitText, Ink::Allowable, key},
             {kPlot.right - 6, limitY + toward, Anchor::End, limitText, Ink::Allowable, key}});
    }
    if (s.compression) {
        placer.PlaceAt({allowRight, allowRightBelow, allowLeft});
        const std::string solidText = s.t.solidLength + " " + s.Mm(s.d.SolidLen);
        const double solidX = s.X(s.d.SolidLen);
        placer.PlaceAt(
            {{solidX - 6, kPlot.top + 16, Anchor::End, solidText, Ink::Mark, "solid"},
             {solidX + 6, kPlot.top + 16, Anchor::Start, solidText, Ink::Mark, "solid"}});
    } else {
        placer.PlaceAt({allowLeft, allowRight, allowRightBelow});
        const std::string tensionText = s.t.initialTension + " " + s.Kg(s.freeLoad);
        const double tensionY = s.Y(s.freeLoad);
        const auto tensionLabel = [&](double y) {
            return DiagramLabel{kPlot.left + 6, y,         Anchor::Start,
                                tensionText,    Ink::Mark, "initial-tension"};
        };
        placer.PlaceAt(
            {tensionLabel(tensionY - 7), tensionLabel(tensionY + 17), tensionLabel(tensionY + 35)});
    }
}

// The line falls to the right for a compression spring and rises for an extension spring: a
// label goes first where the line leaves room, above and right of a falling line, below and
// right of a rising one.
void PlacePointLabels(const Scaled& s, const DiagramGeometry& g, LabelPlacer& placer) {
    constexpr std::array<Side, 4> kFallingSides{Side::UpperRight, Side::LowerLeft, Side::UpperLeft,
                                                Side::LowerRight};
    constexpr std::array<Side, 4> kRisingSides{Side::LowerRight, Side::UpperLeft, Side::UpperRight,
                                               Side::LowerLeft};
    const DiagramTexts& t = s.t;
    const std::string& between = t.figureSeparator;
    const std::string texts[] = {
        t.free + " " + s.Mm(s.d.FreeLen),
        t.installed + " " + s.Mm(s.d.SetLen) + between + s.Kg(s.d.Pset),
        t.operating + " " + s.Mm(s.d.WorkLen) + between + s.Kg(s.d.Pact),
        t.limit + " " + s.Mm(s.d.LimitLen) + between + s.Kg(s.d.Pmax),
    };
    for (size_t i = 0; i < g.points.size(); ++i) {
        const DiagramPoint& point = g.points[i];
        placer.PlaceNear(point.x, point.y, s.compression ? kFallingSides : kRisingSides, texts[i],
                         point.ink, point.key);
    }
}

// A compression spring's shortest length with the coils' clearance: its label goes last, below
// the solid length's, into whatever room the points' labels leave along its line.
void PlaceClearLabel(const Scaled& s, LabelPlacer& placer) {
    if (!s.shortestClear) {
        return;
    }
    const std::string clearText = s.t.shortestClear + " " + s.Mm(*s.shortestClear);
    const double clearX = s.X(*s.shortestClear);
    const auto clearLabel = [&](double dx, double y, Anchor anchor) {
        return DiagramLabel{clearX + dx, y, anchor, clearText, Ink::Mark, "shortest-clear"};
    };
    placer.PlaceAt({clearLabel(6, kPlot.top + 34, Anchor::Start),
                    clearLabel(-6, kPlot.top + 34, Anchor::End)});
}

// The angle at which a body winding up on its mandrel closes to the least clearance allowed,
// from D' − d = (1 + c)·m with D' = nb·D/(nb + α/360); none without a mandrel or when it is
// already that close at rest.
std::optional<double> MandrelAngle(const TorsionInput& input, double d) {
    if (!(input.mandrel > 0.0)) {
        return std::nullopt;
    }
    const double closed = (1.0 + torsion::kMandrelClearance) * input.mandrel + d;
    const double angle = 360.0 * (input.bodyTurns * input.meanDia / closed - input.bodyTurns);
    return angle > 0.0 ? std::optional<double>(angle) : std::nullopt;
}

}  // namespace

DiagramGeometry LayOutTorsionDiagram(const TorsionInput& input, const TorsionResult& r,
                                     std::string_view name, const DiagramTexts& t) {
    const TorsionPoint& first = r.points[0];
    const TorsionPoint& second = r.points[1];
    const std::optional<double> mandrelAngle = MandrelAngle(input, r.d);
    // The line runs from free to the allowable moment, or on to the working point past it.
    const double lastAngle = std::max({first.angle, second.angle, r.allowableAngle});
    const double lastMoment = r.ratePerDegree * lastAngle;
    double highAngle = lastAngle;
    // A mandrel's limit far beyond the working range would squeeze the working points together.
    if (mandrelAngle && *mandrelAngle < 1.5 * lastAngle) {
        highAngle = std::max(highAngle, *mandrelAngle);
    }
    const Axis x = RoundAxis(0.0, highAngle * 1.06, 8);
    const Axis y = RoundAxis(0.0, lastMoment * 1.1, 6);
    const auto X = [&](double angle) {
        return kPlot.left + (angle - x.first) / (x.last() - x.first) * (kPlot.right - kPlot.left);
    };
    const auto Y = [&](double moment) {
        return kPlot.bottom -
               (moment - y.first) / (y.last() - y.first) * (kPlot.bottom - kPlot.top);
    };
    const auto Deg = [&](double angle) { return FixedText(angle, 1) + t.degree; };
    const auto KgMm = [&](double moment) { return FixedText(moment, 2) + " " + t.kgMm; };

    DiagramGeometry g;
    g.width = kWidth;
    g.height = kHeight;
    g.plot = kPlot;
    g.title = name.empty() ? std::string() : std::string(name) + t.nameSeparator;
    g.title += MaterialDesignation(input.materialNo) + t.torsionSpring;
    g.subtitle = "d " + FixedText(r.d, 2) + " " + t.mm + " · D " + FixedText(input.meanDia, 1) +
                 " " + t.mm + " · n " + FixedText(r.activeTurns, 2) + " · k " +
                 FixedText(r.ratePerDegree, 4) + " " + t.kgMmPerDegree + " · σa " +
                 FixedText(r.allowableStress, 2) + " " + t.kgPerMm2;
    g.xTitle = t.angleAxis;
    g.yTitle = t.momentAxis;
    for (int i = 0; i <= x.count; ++i) {
        g.xTicks.push_back({X(x.tick(i)), TickText(x, i)});
    }
    for (int i = 0; i <= y.count; ++i) {
        g.yTicks.push_back({Y(y.tick(i)), TickText(y, i)});
    }

    LabelPlacer placer(kPlot);
    const double allowY = Y(r.allowableMoment);
    g.lines.push_back({"allowable", LineKind::Allowable, kPlot.left, allowY, kPlot.right, allowY});
    if (mandrelAngle && *mandrelAngle <= x.last()) {
        const double mandrelX = X(*mandrelAngle);
        g.lines.push_back({"mandrel", LineKind::Mark, mandrelX, kPlot.top, mandrelX, kPlot.bottom});
    }
    g.lines.push_back({"spring", LineKind::Spring, X(0.0), Y(0.0), X(lastAngle), Y(lastMoment)});
    for (const DiagramLine& line : g.lines) {
        placer.AddObstacle(line.x1, line.y1, line.x2, line.y2);
    }
    g.points = {
        {"free", Ink::Spring, false, X(0.0), Y(0.0)},
        {"installed", Ink::Installed, true, X(first.angle), Y(first.moment)},
        {"operating", Ink::Operating, true, X(second.angle), Y(second.moment)},
        {"limit", Ink::Spring, true, X(r.allowableAngle), Y(r.allowableMoment)},
    };
    for (const DiagramPoint& point : g.points) {
        placer.AddObstacle(point.x, point.y, point.x, point.y, 7.0);
    }

    const std::string allowText = t.allowableMoment + " " + KgMm(r.allowableMoment);
    placer.PlaceAt(
        {{kPlot.left + 6, allowY - 7, Anchor::Start, allowText, Ink::Allowable, "allowable"},
         {kPlot.left + 6, allowY + 17, Anchor::Start, allowText, Ink::Allowable, "allowable"},
         {kPlot.right - 6, allowY + 17, Anchor::End, allowText, Ink::Allowable, "allowable"}});
    if (mandrelAngle && *mandrelAngle <= x.last()) {
        const std::string mandrelText = t.mandrelClearance + " " + Deg(*mandrelAngle);
        const double mandrelX = X(*mandrelAngle);
        placer.PlaceAt(
            {{mandrelX - 6, kPlot.top + 16, Anchor::End, mandrelText, Ink::Mark, "mandrel"},
             {mandrelX + 6, kPlot.top + 16, Anchor::Start, mandrelText, Ink::Mark, "mandrel"}});
    }
    // The line rises to the right: labels below and right of it first, as an extension
    // spring's.
    constexpr std::array<Side, 4> kRisingSides{Side::LowerRight, Side::UpperLeft, Side::UpperRight,
                                               Side::LowerLeft};
    const std::string& between = t.figureSeparator;
    const std::string texts[] = {
        t.free + " " + Deg(0.0),
        t.installed + " " + Deg(first.angle) + between + KgMm(first.moment),
        t.operating + " " + Deg(second.angle) + between + KgMm(second.moment),
        t.limit + " " + Deg(r.allowableAngle) + between + KgMm(r.allowableMoment),
    };
    for (size_t i = 0; i < g.points.size(); ++i) {
        const DiagramPoint& point = g.points[i];
        placer.PlaceNear(point.x, point.y, kRisingSides, texts[i], point.ink, point.key);
    }
    g.leaders = placer.Leaders();
    g.labels = placer.Placed();
    return g;
}

DiagramGeometry LayOutDiagram(const TSpringDesign& design, std::string_view name,
                              const DiagramTexts& texts, const StrengthFigures* strength) {
    const Scaled s = ScaledOf(design, name, texts, strength);
    DiagramGeometry g;
    g.width = kWidth;
    g.height = kHeight;
    g.plot = kPlot;
    AddTitles(s, g);
    LabelPlacer placer(kPlot);
    AddMarks(s, g, placer);
    PlaceLineLabels(s, placer);
    PlacePointLabels(s, g, placer);
    PlaceClearLabel(s, placer);
    g.leaders = placer.Leaders();
    g.labels = placer.Placed();
    return g;
}

}  // namespace springcalc
