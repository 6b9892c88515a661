// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/load_diagram.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "engine/catalogue.h"
#include "engine/spring_formulas.h"
#include "engine/text_format.h"

namespace springcalc {

namespace {

// Canvas and plot area, in SVG user units (pixels at 100 %).
constexpr double kWidth = 900;
constexpr double kHeight = 640;
constexpr double kLeft = 96;
constexpr double kRight = kWidth - 40;
constexpr double kTop = 92;
constexpr double kBottom = kHeight - 78;

constexpr std::string_view kFont = "DejaVu Sans, Arial, IPAPGothic, sans-serif";
constexpr std::string_view kLineColour = "#1f5fa8";
constexpr std::string_view kSetColour = "#2a8a46";
constexpr std::string_view kWorkColour = "#c96a12";
constexpr std::string_view kAllowColour = "#c0392b";
constexpr std::string_view kMarkColour = "#555555";

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Coordinates with two decimals: exact enough for a picture, short enough to read.
std::string Px(double value) {
    return FixedText(value, 2);
}

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

// A text with a white halo, so grid lines and the spring line never cut through it.
struct Label {
    double x;
    double y;            // baseline
    std::string anchor;  // "start" or "end"
    std::string text;
    std::string_view colour;
    std::string id;
};

// Rough extent of a 13 px label: wide enough for digits and Latin letters, and for CJK names.
double LabelWidth(const std::string& text) {
    double width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            width += 7.6;
        } else if (c >= 0xC0) {
            width += 13.0;  // one wide character per UTF-8 lead byte
        }
    }
    return width;
}

struct Box {
    double x0, x1, y0, y1;
    bool Overlaps(const Box& other) const {
        return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1;
    }
};

Box BoxOf(const Label& label) {
    const double width = LabelWidth(label.text);
    const double x0 = label.anchor == "end" ? label.x - width : label.x;
    return {x0, x0 + width, label.y - 13.0, label.y + 4.0};
}

enum class Side { UpperRight, LowerRight, UpperLeft, LowerLeft };

class Plot {
public:
    Plot(Axis x, Axis y) : x_(x), y_(y) {}

    double X(double length) const {
        return kLeft + (length - x_.first) / (x_.last() - x_.first) * (kRight - kLeft);
    }
    double Y(double load) const {
        return kBottom - (load - y_.first) / (y_.last() - y_.first) * (kBottom - kTop);
    }

    // Something a label must not cover: a line of the picture, or a point (a zero-length line
    // with a wider margin).
    void AddObstacle(double x1, double y1, double x2, double y2, double margin = 2.0) {
        obstacles_.push_back({x1, y1, x2, y2, margin});
    }

    // A label at one of a few fixed places, moved up a line at a time (down near the top) until
    // it is clear; the first place when none is.
    void PlaceAt(std::initializer_list<Label> places) {
        for (int attempt = 0; attempt < 30; ++attempt) {
            for (Label label : places) {
                const double start = std::clamp(label.y, kTop + 16.0, kBottom - 6.0);
                label.y = start - 18.0 * attempt > kTop + 16.0 ? start - 18.0 * attempt
                                                               : start + 18.0 * attempt;
                if (Clear(label)) {
                    placed_.push_back(std::move(label));
                    return;
                }
            }
        }
        placed_.push_back(*places.begin());
    }

    // A label beside a point: the first clear place among the sides asked for, nearest first;
    // near an edge the label slides along it. A label that ends up away from its point gets a
    // thin leader line to it.
    void PlaceNear(double x, double y, const std::array<Side, 4>& sides, std::string text,
                   std::string_view colour, std::string id) {
        const double width = LabelWidth(text);
        std::optional<Label> fallback;
        for (int away = 0; away < 14; ++away) {
            for (Side side : sides) {
                const bool right = side == Side::UpperRight || side == Side::LowerRight;
                const bool upper = side == Side::UpperRight || side == Side::UpperLeft;
                const double labelX = right ? std::min(x + 9, kRight - 3 - width)
                                            : std::max(x - 9, kLeft + 3 + width);
                Label label{labelX,
                            upper ? y - 9 - 18.0 * away : y + 19 + 18.0 * away,
                            right ? "start" : "end",
                            text,
                            colour,
                            id};
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

    void AppendLabels(std::string& svg) const {
        svg += leaders_;
        for (const Label& label : placed_) {
            svg += "<text";
            if (!label.id.empty()) {
                svg += " id=\"" + label.id + "\"";
            }
            svg += " x=\"" + Px(label.x) + "\" y=\"" + Px(label.y) + "\" text-anchor=\"" +
                   label.anchor + "\" fill=\"" + std::string(label.colour) +
                   "\" font-size=\"13\" stroke=\"#ffffff\" stroke-width=\"4\" "
                   "stroke-linejoin=\"round\" paint-order=\"stroke\">" +
                   Escaped(label.text) + "</text>\n";
        }
    }

private:
    struct Obstacle {
        double x1, y1, x2, y2, margin;
    };

    bool Clear(const Label& label) const {
        const Box box = BoxOf(label);
        if (box.x0 < kLeft + 2 || box.x1 > kRight - 2 || box.y0 < kTop + 2 ||
            box.y1 > kBottom - 2) {
            return false;
        }
        const auto covers = [&](const Obstacle& o) {
            const Box grown{box.x0 - o.margin, box.x1 + o.margin, box.y0 - o.margin,
                            box.y1 + o.margin};
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
                            [&](const Label& other) { return box.Overlaps(BoxOf(other)); });
    }

    void AddLeader(double x, double y, const Label& label) {
        const Box box = BoxOf(label);
        const double nearX = std::clamp(x, box.x0 - 2, box.x1 + 2);
        const double nearY = std::clamp(y, box.y0 - 2, box.y1 + 2);
        const double distance = std::hypot(nearX - x, nearY - y);
        if (distance < 16.0) {
            return;
        }
        // From the rim of the point's circle to the edge of the label.
        const double startX = x + (nearX - x) / distance * 7.0;
        const double startY = y + (nearY - y) / distance * 7.0;
        leaders_ += "<line class=\"leader\" x1=\"" + Px(startX) + "\" y1=\"" + Px(startY) +
                    "\" x2=\"" + Px(nearX) + "\" y2=\"" + Px(nearY) + "\" stroke=\"" +
                    std::string(label.colour) + "\" stroke-width=\"0.8\"/>\n";
    }

    Axis x_;
    Axis y_;
    std::string leaders_;
    std::vector<Obstacle> obstacles_;
    std::vector<Label> placed_;
};

void AppendLine(std::string& svg, std::string_view id, double x1, double y1, double x2, double y2,
                std::string_view colour, double width, std::string_view dash = {}) {
    svg += "<line";
    if (!id.empty()) {
        svg += " id=\"" + std::string(id) + "\"";
    }
    svg += " x1=\"" + Px(x1) + "\" y1=\"" + Px(y1) + "\" x2=\"" + Px(x2) + "\" y2=\"" + Px(y2) +
           "\" stroke=\"" + std::string(colour) + "\" stroke-width=\"" + Px(width) + "\"";
    if (!dash.empty()) {
        svg += " stroke-dasharray=\"" + std::string(dash) + "\"";
    }
    svg += "/>\n";
}

void AppendPoint(std::string& svg, const std::string& id, double x, double y,
                 std::string_view colour, bool filled) {
    svg += "<circle id=\"" + id + "\" cx=\"" + Px(x) + "\" cy=\"" + Px(y) + "\" r=\"5\" fill=\"" +
           std::string(filled ? colour : "#ffffff") + "\" stroke=\"" + std::string(colour) +
           "\" stroke-width=\"2\"/>\n";
}

std::string Mm(double value) {
    return FixedText(value, 1) + " mm";
}

std::string Kg(double value) {
    return FixedText(value, 2) + " kg";
}

// What the picture shows of a design, in double.
struct DiagramValues {
    std::int32_t springKind = kCompression;
    std::string name;
    std::string material;
    double wireDia, meanDia, turns, freeLen, setLen, workLen, solidLen, limitLen;
    double springRate, initTension, pset, pact, pmax, allowStress;
};

DiagramValues ValuesOf(const TSpringDesign& d, std::string_view name) {
    return {d.SpringKind,
            std::string(name),
            MaterialDesignation(d.MaterialNo),
            WireDiameterOf(d),
            d.MeanDia,
            d.Turns,
            d.FreeLen,
            d.SetLen,
            d.WorkLen,
            d.SolidLen,
            d.LimitLen,
            d.SpringRate,
            d.SpringKind == kExtension ? double(d.InitTension) : 0.0,
            d.Pset,
            d.Pact,
            d.Pmax,
            StaticAllowable(d)};
}

}  // namespace

std::string LoadDiagramSvg(const TSpringDesign& design, std::string_view name) {
    const DiagramValues input = ValuesOf(design, name);
    const bool compression = input.springKind == kCompression;
    const double freeLoad = input.initTension;  // none for a compression spring
    const double allowLoad =
        formulas::LoadAtStress(input.allowStress, input.meanDia, input.wireDia);

    std::vector<double> lengths{input.freeLen, input.setLen, input.workLen, input.limitLen};
    if (compression) {
        lengths.push_back(input.solidLen);
    }
    double lowLength = *std::min_element(lengths.begin(), lengths.end());
    double highLength = *std::max_element(lengths.begin(), lengths.end());
    // Start at zero when the springs' lengths reach down towards it anyway: a designer reads
    // the travel against the whole length then.
    const double margin = 0.06 * (highLength - lowLength) + 0.5;
    lowLength = lowLength < 0.4 * highLength ? std::min(0.0, lowLength) : lowLength - margin;
    highLength += margin;
    const Axis xAxis = RoundAxis(lowLength, highLength, 8);

    const std::initializer_list<double> loads{0.0,        freeLoad,   input.pset,
                                              input.pact, input.pmax, allowLoad};
    const double lowLoad = std::min(loads);
    const double highLoad = std::max(loads);
    // Headroom above the highest load for its label.
    const Axis yAxis = RoundAxis(lowLoad, highLoad + 0.1 * (highLoad - lowLoad), 6);
    Plot plot(xAxis, yAxis);

    std::string svg;
    svg.reserve(12000);
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Px(kWidth) + "\" height=\"" +
           Px(kHeight) + "\" viewBox=\"0 0 " + Px(kWidth) + " " + Px(kHeight) +
           "\" font-family=\"" + std::string(kFont) + "\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";

    // Title: the name and the material, then the figures that fix the line.
    std::string title = input.name.empty() ? std::string() : input.name + " — ";
    title += input.material + (compression ? ", compression spring" : ", extension spring");
    svg += "<text id=\"title\" x=\"" + Px(kLeft) +
           "\" y=\"36\" font-size=\"20\" font-weight=\"bold\" fill=\"#222222\">" + Escaped(title) +
           "</text>\n";
    const std::string subtitle =
        "d " + FixedText(input.wireDia, 2) + " mm · D " + FixedText(input.meanDia, 1) + " mm · n " +
        FixedText(input.turns, 1) + " · k " + FixedText(input.springRate, 3) + " kg/mm · τa " +
        FixedText(input.allowStress, 2) + " kg/mm²";
    svg += "<text x=\"" + Px(kLeft) + "\" y=\"62\" font-size=\"14\" fill=\"#555555\">" +
           Escaped(subtitle) + "</text>\n";

    // Grid, ticks and tick labels.
    for (int i = 0; i <= xAxis.count; ++i) {
        const double x = plot.X(xAxis.tick(i));
        svg += "<g class=\"x-tick\">";
        AppendLine(svg, {}, x, kTop, x, kBottom, "#e4e4e4", 1);
        svg += "<line x1=\"" + Px(x) + "\" y1=\"" + Px(kBottom) + "\" x2=\"" + Px(x) + "\" y2=\"" +
               Px(kBottom + 6) + "\" stroke=\"#333333\" stroke-width=\"1\"/>";
        svg += "<text x=\"" + Px(x) + "\" y=\"" + Px(kBottom + 22) +
               "\" font-size=\"13\" text-anchor=\"middle\" fill=\"#333333\">" + TickText(xAxis, i) +
               "</text></g>\n";
    }
    for (int i = 0; i <= yAxis.count; ++i) {
        const double y = plot.Y(yAxis.tick(i));
        svg += "<g class=\"y-tick\">";
        AppendLine(svg, {}, kLeft, y, kRight, y, "#e4e4e4", 1);
        svg += "<line x1=\"" + Px(kLeft - 6) + "\" y1=\"" + Px(y) + "\" x2=\"" + Px(kLeft) +
               "\" y2=\"" + Px(y) + "\" stroke=\"#333333\" stroke-width=\"1\"/>";
        svg += "<text x=\"" + Px(kLeft - 10) + "\" y=\"" + Px(y + 4.5) +
               "\" font-size=\"13\" text-anchor=\"end\" fill=\"#333333\">" + TickText(yAxis, i) +
               "</text></g>\n";
    }
    svg += "<rect x=\"" + Px(kLeft) + "\" y=\"" + Px(kTop) + "\" width=\"" + Px(kRight - kLeft) +
           "\" height=\"" + Px(kBottom - kTop) +
           "\" fill=\"none\" stroke=\"#333333\" stroke-width=\"1\"/>\n";
    svg += "<text x=\"" + Px((kLeft + kRight) / 2) + "\" y=\"" + Px(kHeight - 28) +
           "\" font-size=\"14\" text-anchor=\"middle\" fill=\"#222222\">length (mm)</text>\n";
    svg += "<text x=\"0\" y=\"0\" transform=\"translate(32 " + Px((kTop + kBottom) / 2) +
           ") rotate(-90)\" font-size=\"14\" text-anchor=\"middle\" fill=\"#222222\">load "
           "(kg)</text>\n";

    // Lines first, then the points on top; every line and point is an obstacle for the labels,
    // which are placed last.
    const double allowY = plot.Y(allowLoad);
    AppendLine(svg, "allowable-line", kLeft, allowY, kRight, allowY, kAllowColour, 1.5, "8 5");
    plot.AddObstacle(kLeft, allowY, kRight, allowY);

    const double solidX = plot.X(input.solidLen);
    const double tensionY = plot.Y(input.initTension);
    if (compression) {
        AppendLine(svg, "solid-line", solidX, kTop, solidX, kBottom, kMarkColour, 1.5, "3 4");
        plot.AddObstacle(solidX, kTop, solidX, kBottom);
    } else {
        AppendLine(svg, "initial-tension-line", kLeft, tensionY, plot.X(input.freeLen), tensionY,
                   kMarkColour, 1.5, "3 4");
        plot.AddObstacle(kLeft, tensionY, plot.X(input.freeLen), tensionY);
    }

    const double freeX = plot.X(input.freeLen);
    const double freeY = plot.Y(freeLoad);
    const double limitX = plot.X(input.limitLen);
    const double limitY = plot.Y(input.pmax);
    AppendLine(svg, "spring-line", freeX, freeY, limitX, limitY, kLineColour, 2.5);
    plot.AddObstacle(freeX, freeY, limitX, limitY);

    struct Point {
        std::string_view id;
        double length;
        double load;
        std::string text;
        std::string_view colour;
        bool filled;
    };
    const Point points[] = {
        {"free", input.freeLen, freeLoad, "free " + Mm(input.freeLen), kLineColour, false},
        {"installed", input.setLen, input.pset,
         "installed " + Mm(input.setLen) + ", " + Kg(input.pset), kSetColour, true},
        {"operating", input.workLen, input.pact,
         "operating " + Mm(input.workLen) + ", " + Kg(input.pact), kWorkColour, true},
        {"limit", input.limitLen, input.pmax, "limit " + Mm(input.limitLen) + ", " + Kg(input.pmax),
         kLineColour, true},
    };
    for (const Point& point : points) {
        const double x = plot.X(point.length);
        const double y = plot.Y(point.load);
        AppendPoint(svg, std::string(point.id) + "-point", x, y, point.colour, point.filled);
        plot.AddObstacle(x, y, x, y, 7.0);
    }

    const std::string allowText = "load at the static allowable stress " + Kg(allowLoad);
    const Label allowRight{kRight - 6, allowY - 7,   "end",
                           allowText,  kAllowColour, "allowable-label"};
    const Label allowLeft{kLeft + 6, allowY - 7,   "start",
                          allowText, kAllowColour, "allowable-label"};
    const Label allowRightBelow{kRight - 6, allowY + 17,  "end",
                                allowText,  kAllowColour, "allowable-label"};
    if (compression) {
        plot.PlaceAt({allowRight, allowRightBelow, allowLeft});
        const std::string solidText = "solid length " + Mm(input.solidLen);
        plot.PlaceAt({{solidX - 6, kTop + 16, "end", solidText, kMarkColour, "solid-label"},
                      {solidX + 6, kTop + 16, "start", solidText, kMarkColour, "solid-label"}});
    } else {
        plot.PlaceAt({allowLeft, allowRight, allowRightBelow});
        const std::string tensionText = "initial tension " + Kg(input.initTension);
        const auto tensionLabel = [&](double y) {
            return Label{kLeft + 6, y, "start", tensionText, kMarkColour, "initial-tension-label"};
        };
        plot.PlaceAt(
            {tensionLabel(tensionY - 7), tensionLabel(tensionY + 17), tensionLabel(tensionY + 35)});
    }
    // The line falls to the right for a compression spring and rises for an extension spring:
    // a label goes first where the line leaves room, above and right of a falling line, below
    // and right of a rising one.
    constexpr std::array<Side, 4> kFallingSides{Side::UpperRight, Side::LowerLeft, Side::UpperLeft,
                                                Side::LowerRight};
    constexpr std::array<Side, 4> kRisingSides{Side::LowerRight, Side::UpperLeft, Side::UpperRight,
                                               Side::LowerLeft};
    for (const Point& point : points) {
        const std::array<Side, 4>& sides = compression ? kFallingSides : kRisingSides;
        plot.PlaceNear(plot.X(point.length), plot.Y(point.load), sides, point.text, point.colour,
                       std::string(point.id) + "-label");
    }
    plot.AppendLabels(svg);
    svg += "</svg>\n";
    return svg;
}

std::string DiagramFileName(std::size_t row, std::string_view name) {
    std::string file = fmt::format(FMT_COMPILE("{:03}"), row);
    if (!name.empty()) {
        file += '-';
        // Room for the row and ".svg" within the 255 bytes a file name may have.
        for (char c : name.substr(0, kMaxNameInFileName)) {
            const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                              (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
            file += kept ? c : '_';
        }
    }
    return file + ".svg";
}

}  // namespace springcalc
