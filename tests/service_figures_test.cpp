// Buckling, surge frequency, energy and active mass of a design, each against a worked example,
// and its load–length diagram, read back with a real XML parser.

#include "service_figures.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "load_diagram.h"
#include "test_support.h"
#include "text_format.h"

namespace springcalc {
namespace {

// A sample after the window's Run; with `setLen`, its installed and operating lengths changed.
TSpringDesign RunSample(std::int32_t kind, int number, float setLen = 0, float workLen = 0) {
    test_support::Calculator window;
    kind == kExtension ? window.editor.UpDown8Click(kExtension, number)
                       : window.editor.UpDown13Click(number);
    if (setLen > 0) {
        window.design.SetLen = setLen;
        window.design.WorkLen = workLen;
        window.Recheck();
    }
    window.engine.AnalyseDesign();
    return window.design;
}

// E in kgf/mm² must sit with G as steel and stainless do: Poisson's ratio E/(2G) − 1 is about
// 0.3. A modulus left in N/mm² (ratio near 12) or a G taken for E (ratio −0.5) fails.
TEST(MaterialTable, ModulusFitsEachMaterial) {
    for (const MaterialRow& row : kMaterials) {
        const double poisson = double(row.elasticModulus) / (2.0 * double(row.shearModulus)) - 1;
        EXPECT_TRUE(poisson > 0.28 && poisson < 0.36) << row.name << ": " << poisson;
    }
}

// Compression sample 1 (SWPA, d 0.7, D 4.3, n 9.5, L0 13, L2 10), one end clamped, one free
// (ν = 2), G/E = 8000/21006.15 = 0.380841:
//   (1 − G/E)/(0.5 + G/E) = 0.619159/0.880841 = 0.702918
//   (π·D/(ν·L0))² = (13.5088/26)² = 0.269950;  root = √(1 − 0.702918·0.269950) = 0.900136
//   s_K = 13 · 0.5/0.619159 · (1 − 0.900136) = 13 · 0.807547 · 0.099864 = 1.04839 mm
// The operating deflection, 3 mm, is beyond it: warning 8. Between parallel plates (ν = 0.5)
// the root has no real value: no buckling, no warning.
// Surge frequency, both ends fixed, from the standard's numeric form
//   f = 3.56·10³ · d/(n·D²) · √(G/ρ)  (d, D mm; G N/mm²; ρ kg/dm³)
//     = 3560 · 0.7/175.655 · √(78453.2/7.85) = 3560 · 0.00398509 · 99.9702 = 1418.3 Hz;
// the constant 3.56·10³ is 10³·√10³/(2π·√2) = 3558.8 rounded, so the exact figure is 1417.8 Hz.
// Slenderness 13/4.3 = 3.0233.
TEST(ServiceFigures, CompressionSampleOne) {
    const ServiceInput input = ServiceInputOf(RunSample(kCompression, 1));
    const CompressionFigures free =
        *ComputeServiceFigures(input, EndCondition::FixedFree).compression;
    EXPECT_NEAR(free.slenderness, 3.0233, 1e-4);
    EXPECT_NEAR(free.criticalDeflection.value_or(0), 1.04839, 1e-4);
    EXPECT_DOUBLE_EQ(free.workDeflection, 3.0);
    EXPECT_TRUE(free.bucklingRisk);
    EXPECT_NEAR(free.surgeFrequency, 1417.8, 0.1);

    const CompressionFigures plates = *ComputeServiceFigures(input).compression;
    EXPECT_FALSE(plates.criticalDeflection);
    EXPECT_FALSE(plates.bucklingRisk);
}

// Energy ∫P ds between the installed and operating deflections s1 and s2, and the mass of the
// active wire ρ·π²·d²·D·n/4:
//   compression, k 0.5, L0 30, L1 25, L2 20: s 5 → 10, ½·0.5·(100 − 25) = 18.75 kgf·mm; the
//     initial tension an earlier extension design left in the record does not count
//   extension, k 0.1, Pi 0.5, L0 20, L1 25, L2 35: s 5 → 15,
//     0.5·10 + ½·0.1·(225 − 25) = 5 + 10 = 15 kgf·mm
//   d 1, D 10, n 8: π²·80/4 = 197.392 mm³; steel 7.85 g/cm³ → 1.54953 g, SUS 7.93 → 1.56532 g
TEST(ServiceFigures, EnergyAndActiveMass) {
    TSpringDesign compression = RunSample(kCompression, 1);
    compression.InitTension = 0.7f;
    ASSERT_EQ(ServiceInputOf(compression).initTension, 0.0);
    const std::pair<ServiceInput, std::pair<double, double>> cases[] = {
        {{kCompression, 2, 1, 10, 8, 30, 25, 20, 0.5, 0.0, 8000}, {18.75, 1.54953}},
        {{kExtension, 6, 1, 10, 8, 20, 25, 35, 0.1, 0.5, 8000}, {15.0, 1.56532}},
    };
    for (const auto& [input, expected] : cases) {
        const ServiceFigures figures = ComputeServiceFigures(input);
        EXPECT_NEAR(figures.energy, expected.first, 1e-9);
        EXPECT_NEAR(figures.activeMass, expected.second, 1e-5);
        EXPECT_EQ(figures.compression.has_value(), input.springKind == kCompression);
    }
}

// --- the diagram ---

// Every element of the document, depth first.
void Collect(const tinyxml2::XMLElement* element, std::vector<const tinyxml2::XMLElement*>& all) {
    for (; element; element = element->NextSiblingElement()) {
        all.push_back(element);
        Collect(element->FirstChildElement(), all);
    }
}

// Reads an axis as a person would, from the printed tick values and where they stand, and
// checks they are evenly spaced round numbers (1, 2 or 5 times a power of ten).
std::pair<double, double> Scale(const std::vector<std::pair<double, double>>& ticks) {
    EXPECT_GE(ticks.size(), 4u);
    const double step = ticks[1].first - ticks[0].first;
    EXPECT_TRUE(std::regex_match(Format("%g", step), std::regex("(0\\.0*)?[125]0*"))) << step;
    const double perUnit =
        (ticks.back().second - ticks.front().second) / (ticks.back().first - ticks.front().first);
    const double offset = ticks.front().second - ticks.front().first * perUnit;
    for (size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_NEAR(ticks[i].first - ticks[i - 1].first, step, 1e-9 * step);
        EXPECT_NEAR(ticks[i].second, offset + ticks[i].first * perUnit, 0.02);
    }
    return {perUnit, offset};
}

// Compression sample 1, extension sample 1, and the first with its installed and operating
// points crowded together, so that their labels stand away with leader lines.
TEST(LoadDiagram, PointsLinesAndLabelsSitWhereTheirValuesPutThem) {
    const struct {
        std::int32_t kind;
        float setLen, workLen;
        const char* installed;
    } cases[] = {{kCompression, 0, 0, "installed 12.0 mm, 0.32 kg"},
                 {kExtension, 0, 0, "installed 20.0 mm, 0.05 kg"},
                 {kCompression, 9.0f, 8.9f, "installed 9.0 mm, 1.27 kg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed);
        const TSpringDesign design = RunSample(c.kind, 1, c.setLen, c.workLen);
        tinyxml2::XMLDocument svg;
        ASSERT_EQ(
            svg.Parse(
                cli::LoadDiagramSvg(cli::DiagramInputOf(design, "<valve> & \"stop\"")).c_str()),
            tinyxml2::XML_SUCCESS);
        std::vector<const tinyxml2::XMLElement*> all;
        Collect(svg.RootElement(), all);
        // The elements by id, each axis's ticks (value as printed, pixel) and where leaders start.
        std::map<std::string, const tinyxml2::XMLElement*> byId;
        std::vector<std::pair<double, double>> ticks[2], leaders;
        for (const tinyxml2::XMLElement* e : all) {
            const std::string id = e->Attribute("id") ? e->Attribute("id") : "";
            const std::string cls = e->Attribute("class") ? e->Attribute("class") : "";
            byId[id] = e;
            if (cls == "x-tick" || cls == "y-tick") {
                ticks[cls[0] == 'y'].emplace_back(
                    std::stod(e->FirstChildElement("text")->GetText()),
                    e->FirstChildElement("line")->DoubleAttribute(cls[0] == 'x' ? "x1" : "y1"));
            }
            if (cls == "leader") {
                leaders.emplace_back(e->DoubleAttribute("x1"), e->DoubleAttribute("y1"));
            }
        }
        const auto [xPerMm, x0] = Scale(ticks[0]);
        const auto [yPerKg, y0] = Scale(ticks[1]);
        EXPECT_GT(xPerMm, 0);
        EXPECT_LT(yPerKg, 0);  // loads rise up the page
        // The lengths of extension sample 1 reach below 40 % of the longest: from zero.
        EXPECT_EQ(ticks[0][0].first == 0, c.kind == kExtension);
        const auto X = [&](double mm) { return x0 + mm * xPerMm; };
        const auto Y = [&](double kg) { return y0 + kg * yPerKg; };
        const auto expectAt = [&](const char* id, const char* attribute, double where) {
            ASSERT_TRUE(byId.contains(id)) << id;
            EXPECT_NEAR(byId[id]->DoubleAttribute(attribute), where, 0.02) << id;
        };
        const struct {
            const char* id;
            float length, load;
        } points[] = {
            {"free-point", design.FreeLen, c.kind == kCompression ? 0.0f : design.InitTension},
            {"installed-point", design.SetLen, design.Pset},
            {"operating-point", design.WorkLen, design.Pact},
            {"limit-point", design.LimitLen, design.Pmax},
        };
        for (const auto& point : points) {
            expectAt(point.id, "cx", X(point.length));
            expectAt(point.id, "cy", Y(point.load));
            // The free point, which carries no load, is hollow; the loaded ones are filled.
            EXPECT_EQ(std::string(byId[point.id]->Attribute("fill")) ==
                          byId[point.id]->Attribute("stroke"),
                      point.id != std::string("free-point"));
        }
        // A leader starts on the rim of its point: 5 px of circle and 2 px clear of it.
        EXPECT_EQ(leaders.empty(), c.setLen == 0);
        for (const auto& [x, y] : leaders) {
            EXPECT_TRUE(std::any_of(
                std::begin(points), std::end(points),
                [&](const auto& p) {
                    return std::fabs(std::hypot(x - X(p.length), y - Y(p.load)) - 7.0) < 0.05;
                }))
                << x << ", " << y;
        }
        expectAt("spring-line", "x1", X(design.FreeLen));
        expectAt("spring-line", "y2", Y(design.Pmax));
        // π·d³·τa/(8·D): compression sample 1, 0.7³·88/4.3 → 2.7557 kg; extension sample 1,
        // 0.32³·78.4/4.6 → 0.2193 kg (the Pmax the engine stores).
        EXPECT_NEAR(byId["allowable-line"]->DoubleAttribute("y1"),
                    Y(c.kind == kCompression ? 2.7557 : 0.2193), 0.3);
        if (c.kind == kCompression) {
            expectAt("solid-line", "x1", X(design.SolidLen));
            EXPECT_FALSE(byId.contains("initial-tension-line"));
        } else {
            expectAt("initial-tension-line", "y1", Y(design.InitTension));
            EXPECT_FALSE(byId.contains("solid-line"));
        }
        EXPECT_EQ(std::string(byId["title"]->GetText()),
                  std::string("<valve> & \"stop\" — SWPA, ") +
                      (c.kind == kCompression ? "compression" : "extension") + " spring");
        EXPECT_STREQ(byId["installed-label"]->GetText(), c.installed);
    }
}

TEST(LoadDiagram, FileNamesStayInTheirFolder) {
    EXPECT_EQ(cli::DiagramFileName(7, "valve"), "007-valve.svg");
    EXPECT_EQ(cli::DiagramFileName(12, ""), "012.svg");
    EXPECT_EQ(cli::DiagramFileName(3, "../etc/a b"), "003-.._etc_a_b.svg");
    EXPECT_EQ(cli::DiagramFileName(1234, "弁"), "1234-___.svg");
    // A name of any length still makes a file name the system takes (255 bytes at most).
    EXPECT_EQ(cli::DiagramFileName(999999999, std::string(60000, 'a')).size(), 9u + 1 + 200 + 4);
}

}  // namespace
}  // namespace springcalc
