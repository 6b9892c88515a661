// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/diagram_svg.h"

#include <string_view>

#include "diagram/xml_text.h"
#include "engine/text_format.h"

namespace springcalc {

namespace {

constexpr std::string_view kFont = "DejaVu Sans, Arial, IPAPGothic, sans-serif";
constexpr std::string_view kFrameColour = "#333333";
constexpr std::string_view kGridColour = "#e4e4e4";

std::string_view Colour(Ink ink) {
    switch (ink) {
        case Ink::Spring:
            return "#1f5fa8";
        case Ink::Installed:
            return "#2a8a46";
        case Ink::Operating:
            return "#c96a12";
        case Ink::Allowable:
            return "#c0392b";
        case Ink::Mark:
            break;
    }
    return "#555555";
}

// Coordinates with two decimals: exact enough for a picture, short enough to read.
std::string Px(double value) {
    return FixedText(value, 2);
}

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

void AppendHeader(std::string& svg, const DiagramGeometry& g) {
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Px(g.width) + "\" height=\"" +
           Px(g.height) + "\" viewBox=\"0 0 " + Px(g.width) + " " + Px(g.height) +
           "\" font-family=\"" + std::string(kFont) + "\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += "<text id=\"title\" x=\"" + Px(g.plot.left) +
           "\" y=\"36\" font-size=\"20\" font-weight=\"bold\" fill=\"#222222\">" +
           XmlText(g.title) + "</text>\n";
    svg += "<text x=\"" + Px(g.plot.left) + "\" y=\"62\" font-size=\"14\" fill=\"#555555\">" +
           XmlText(g.subtitle) + "</text>\n";
}

// Grid lines, ticks and their values, the frame and the axes' titles.
void AppendAxes(std::string& svg, const DiagramGeometry& g) {
    const DiagramRect& p = g.plot;
    const std::string frame = "\" stroke=\"" + std::string(kFrameColour) + "\" stroke-width=\"1\"";
    for (const DiagramTick& tick : g.xTicks) {
        const std::string x = Px(tick.at);
        svg += "<g class=\"x-tick\">";
        AppendLine(svg, {}, tick.at, p.top, tick.at, p.bottom, kGridColour, 1);
        svg += "<line x1=\"" + x + "\" y1=\"" + Px(p.bottom) + "\" x2=\"" + x + "\" y2=\"" +
               Px(p.bottom + 6) + frame + "/>";
        svg += "<text x=\"" + x + "\" y=\"" + Px(p.bottom + 22) +
               "\" font-size=\"13\" text-anchor=\"middle\" fill=\"#333333\">" + XmlText(tick.text) +
               "</text></g>\n";
    }
    for (const DiagramTick& tick : g.yTicks) {
        const std::string y = Px(tick.at);
        svg += "<g class=\"y-tick\">";
        AppendLine(svg, {}, p.left, tick.at, p.right, tick.at, kGridColour, 1);
        svg += "<line x1=\"" + Px(p.left - 6) + "\" y1=\"" + y + "\" x2=\"" + Px(p.left) +
               "\" y2=\"" + y + frame + "/>";
        svg += "<text x=\"" + Px(p.left - 10) + "\" y=\"" + Px(tick.at + 4.5) +
               "\" font-size=\"13\" text-anchor=\"end\" fill=\"#333333\">" + XmlText(tick.text) +
               "</text></g>\n";
    }
    svg += "<rect x=\"" + Px(p.left) + "\" y=\"" + Px(p.top) + "\" width=\"" +
           Px(p.right - p.left) + "\" height=\"" + Px(p.bottom - p.top) + "\" fill=\"none" + frame +
           "/>\n";
    svg += "<text x=\"" + Px((p.left + p.right) / 2) + "\" y=\"" + Px(g.height - 28) +
           "\" font-size=\"14\" text-anchor=\"middle\" fill=\"#222222\">" + XmlText(g.xTitle) +
           "</text>\n";
    svg += "<text x=\"0\" y=\"0\" transform=\"translate(32 " + Px((p.top + p.bottom) / 2) +
           ") rotate(-90)\" font-size=\"14\" text-anchor=\"middle\" fill=\"#222222\">" +
           XmlText(g.yTitle) + "</text>\n";
}

void AppendMarks(std::string& svg, const DiagramGeometry& g) {
    for (const DiagramLine& line : g.lines) {
        const std::string id = line.key + "-line";
        switch (line.kind) {
            case LineKind::Spring:
                AppendLine(svg, id, line.x1, line.y1, line.x2, line.y2, Colour(Ink::Spring), 2.5);
                break;
            case LineKind::Allowable:
                AppendLine(svg, id, line.x1, line.y1, line.x2, line.y2, Colour(Ink::Allowable), 1.5,
                           "8 5");
                break;
            case LineKind::Mark:
                AppendLine(svg, id, line.x1, line.y1, line.x2, line.y2, Colour(Ink::Mark), 1.5,
                           "3 4");
                break;
        }
    }
    for (const DiagramPoint& point : g.points) {
        const std::string colour(Colour(point.ink));
        svg += "<circle id=\"" + point.key + "-point\" cx=\"" + Px(point.x) + "\" cy=\"" +
               Px(point.y) + "\" r=\"5\" fill=\"" + (point.filled ? colour : "#ffffff") +
               "\" stroke=\"" + colour + "\" stroke-width=\"2\"/>\n";
    }
}

// Each label with a white halo, so grid lines and the spring line never cut through it.
void AppendLabels(std::string& svg, const DiagramGeometry& g) {
    for (const DiagramLeader& leader : g.leaders) {
        svg += "<line class=\"leader\" x1=\"" + Px(leader.x1) + "\" y1=\"" + Px(leader.y1) +
               "\" x2=\"" + Px(leader.x2) + "\" y2=\"" + Px(leader.y2) + "\" stroke=\"" +
               std::string(Colour(leader.ink)) + "\" stroke-width=\"0.8\"/>\n";
    }
    for (const DiagramLabel& label : g.labels) {
        svg += "<text";
        if (!label.key.empty()) {
            svg += " id=\"" + label.key + "-label\"";
        }
        svg += " x=\"" + Px(label.x) + "\" y=\"" + Px(label.y) + "\" text-anchor=\"" +
               (label.anchor == Anchor::End ? "end" : "start") + "\" fill=\"" +
               std::string(Colour(label.ink)) +
               "\" font-size=\"13\" stroke=\"#ffffff\" stroke-width=\"4\" "
               "stroke-linejoin=\"round\" paint-order=\"stroke\">" +
               XmlText(label.text) + "</text>\n";
    }
}

}  // namespace

std::string DiagramSvg(const DiagramGeometry& geometry) {
    std::string svg;
    svg.reserve(12000);
    AppendHeader(svg, geometry);
    AppendAxes(svg, geometry);
    AppendMarks(svg, geometry);
    AppendLabels(svg, geometry);
    svg += "</svg>\n";
    return svg;
}

}  // namespace springcalc
