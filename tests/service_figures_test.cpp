// Buckling, surge frequency, energy and active mass of a design, and its load–length diagram.

#include "service_figures.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_app.h"
#include "design_runner.h"
#include "load_diagram.h"
#include "samples.h"

namespace springcalc {
namespace {

using cli::DesignInput;
using cli::DesignRunner;
using cli::Outcome;

LocalDateTime FixedClock() {
    return {2024, 4, 1, 9, 30};
}

// Runs a built-in sample through the engine as the window's Run does; `name` goes with it.
const TSpringDesign& RunSample(DesignRunner& runner, std::int32_t kind, int sample,
                               std::string name = {}) {
    DesignInput input;
    input.row = 1;
    input.name = std::move(name);
    input.springKind = kind;
    if (kind == kCompression) {
        const CompressionSample& s = kCompressionSamples[sample - 1];
        input.materialNo = s.materialNo;
        input.wireNo = s.wireNo;
        input.meanDia = s.meanDia;
        input.turns = s.turns;
        input.freeLen = s.freeLen;
        input.setLen = s.setLen;
        input.workLen = s.workLen;
    } else {
        const ExtensionSample& s = kExtensionSamples[sample - 1];
        input.materialNo = s.materialNo;
        input.wireNo = s.wireNo;
        input.meanDia = s.meanDia;
        input.turns = s.turns;
        input.setLen = s.setLen;
        input.workLen = s.workLen;
    }
    const Outcome& outcome = runner.Run(input);
    EXPECT_TRUE(outcome.analysed);
    return outcome.record;
}

// E in kgf/mm² must sit with G as steel and stainless do: Poisson's ratio E/(2G) − 1 is about
// 0.3. A modulus left in N/mm² (ratio near 12) or a G taken for E (ratio −0.5) fails.
TEST(MaterialTable, ModulusAndDensityFitEachMaterial) {
    for (const MaterialRow& row : kMaterials) {
        SCOPED_TRACE(std::string(row.name));
        const bool stainless = row.name.starts_with("SUS");
        const double poisson = double(row.elasticModulus) / (2.0 * double(row.shearModulus)) - 1;
        EXPECT_GT(poisson, 0.28);
        EXPECT_LT(poisson, 0.36);
        // 206 000 and 186 000 N/mm² at 9.80665 N per kgf.
        EXPECT_NEAR(row.elasticModulus, stainless ? 18966.72 : 21006.15, 0.01);
        EXPECT_FLOAT_EQ(row.density, stainless ? 7.93f : 7.85f);
    }
}

// For steel (G 8000, E 21006.15 kgf/mm²) the root of the buckling method stays real up to
// ν·L0/D = π·√((1 − G/E)/(0.5 + G/E)) = 2.634, the figure "about 2.63" of published calculators
// for spring steel. Just below that a spring cannot buckle; just above it the critical
// deflection comes out at nearly L0·0.5/(1 − G/E) = 0.8075·L0, where the root is zero.
TEST(Buckling, EachEndConditionHasItsNoBucklingLimit) {
    struct Case {
        const char* name;
        double seating;
    };
    const Case cases[] = {
        {"fixed-fixed", 0.5},  {"fixed-guided", 1.0}, {"pinned-pinned", 1.0},
        {"fixed-pinned", 0.7}, {"fixed-free", 2.0},
    };
    const double steelE = kMaterials[0].elasticModulus;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<EndCondition> ends = EndConditionNamed(c.name);
        ASSERT_TRUE(ends);
        EXPECT_EQ(EndConditionOf(*ends).seating, c.seating);
        const double limitSlenderness = 2.6339 / c.seating;
        const double D = 10.0;
        EXPECT_FALSE(CriticalDeflection(0.99 * limitSlenderness * D, D, 8000, steelE, c.seating));
        const double L0 = 1.01 * limitSlenderness * D;
        const std::optional<double> s = CriticalDeflection(L0, D, 8000, steelE, c.seating);
        ASSERT_TRUE(s);
        EXPECT_GT(*s, 0.6 * L0);
        EXPECT_LT(*s, 0.8075 * L0);
    }
    EXPECT_FALSE(EndConditionNamed("fixed"));
    EXPECT_FALSE(EndConditionNamed("Fixed-Fixed"));
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
    DesignRunner runner(FixedClock);
    const ServiceInput input = ServiceInputOf(RunSample(runner, kCompression, 1));

    const ServiceFigures free = ComputeServiceFigures(input, EndCondition::FixedFree);
    ASSERT_TRUE(free.compression);
    EXPECT_NEAR(free.compression->slenderness, 3.0233, 1e-4);
    ASSERT_TRUE(free.compression->criticalDeflection);
    EXPECT_NEAR(*free.compression->criticalDeflection, 1.04839, 1e-4);
    EXPECT_DOUBLE_EQ(free.compression->workDeflection, 3.0);
    EXPECT_TRUE(free.compression->bucklingRisk);
    EXPECT_NEAR(free.compression->surgeFrequency, 1417.8, 0.1);

    const ServiceFigures plates = ComputeServiceFigures(input);
    EXPECT_FALSE(plates.compression->criticalDeflection);
    EXPECT_FALSE(plates.compression->bucklingRisk);
}

// Energy ∫P ds between the installed and operating deflections s1 and s2, and the mass of the
// active wire ρ·π²·d²·D·n/4:
//   compression, k 0.5, L0 30, L1 25, L2 20: s 5 → 10, ½·0.5·(100 − 25) = 18.75 kgf·mm
//   extension, k 0.1, Pi 0.5, L0 20, L1 25, L2 35: s 5 → 15,
//     0.5·10 + ½·0.1·(225 − 25) = 5 + 10 = 15 kgf·mm
//   d 1, D 10, n 8: π²·80/4 = 197.392 mm³; steel 7.85 g/cm³ → 1.54953 g, SUS 7.93 → 1.56532 g
TEST(ServiceFigures, EnergyAndActiveMass) {
    struct Case {
        std::int32_t kind;
        int materialNo;
        double freeLen, setLen, workLen, springRate, initTension;
        double energy, mass;
    };
    const Case cases[] = {
        {kCompression, 2, 30, 25, 20, 0.5, 0.0, 18.75, 1.54953},
        {kExtension, 6, 20, 25, 35, 0.1, 0.5, 15.0, 1.56532},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ServiceInput input;
        input.springKind = c.kind;
        input.materialNo = c.materialNo;
        input.wireDia = 1;
        input.meanDia = 10;
        input.turns = 8;
        input.freeLen = c.freeLen;
        input.setLen = c.setLen;
        input.workLen = c.workLen;
        input.springRate = c.springRate;
        input.initTension = c.initTension;
        input.shearModulus = 8000;
        const ServiceFigures figures = ComputeServiceFigures(input);
        EXPECT_NEAR(figures.energy, c.energy, 1e-9);
        EXPECT_NEAR(figures.activeMass, c.mass, 1e-5);
        EXPECT_EQ(figures.compression.has_value(), c.kind == kCompression);
    }
}

// The loads rise linearly, so the energy is the mean of Pset and Pact times the travel. A
// compression record still holding the initial tension of an earlier extension design must
// not count it.
TEST(ServiceFigures, EnergyOfARunDesignIsTheAreaUnderItsLine) {
    DesignRunner runner(FixedClock);
    for (std::int32_t kind : {kCompression, kExtension}) {
        TSpringDesign design = RunSample(runner, kind, 3);
        if (kind == kCompression) {
            design.InitTension = 0.7f;
        }
        const double trapezoid = 0.5 * (double(design.Pset) + double(design.Pact)) *
                                 std::fabs(double(design.WorkLen) - double(design.SetLen));
        EXPECT_NEAR(ComputeServiceFigures(ServiceInputOf(design)).energy, trapezoid,
                    1e-5 * trapezoid);
    }
}

// --- the diagram ---

struct ParsedSvg {
    tinyxml2::XMLDocument document;
    std::map<std::string, const tinyxml2::XMLElement*> byId;
    // Tick value (as printed) to its pixel position, per axis.
    std::vector<std::pair<double, double>> xTicks, yTicks;
};

void Collect(const tinyxml2::XMLElement* element, ParsedSvg& svg) {
    for (; element; element = element->NextSiblingElement()) {
        if (const char* id = element->Attribute("id")) {
            svg.byId[id] = element;
        }
        const char* cls = element->Attribute("class");
        if (cls && (std::string(cls) == "x-tick" || std::string(cls) == "y-tick")) {
            const bool x = std::string(cls) == "x-tick";
            const tinyxml2::XMLElement* mark = element->FirstChildElement("line");
            const double position = mark->DoubleAttribute(x ? "x1" : "y1");
            const double value = std::stod(element->FirstChildElement("text")->GetText());
            (x ? svg.xTicks : svg.yTicks).emplace_back(value, position);
        }
        Collect(element->FirstChildElement(), svg);
    }
}

// Reads the axes as a person would, from the printed tick values and where they stand, and
// checks they are evenly spaced round numbers (1, 2 or 5 times a power of ten).
std::pair<double, double> Scale(const std::vector<std::pair<double, double>>& ticks) {
    EXPECT_GE(ticks.size(), 4u);
    const double step = ticks[1].first - ticks[0].first;
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                std::fabs(mantissa - 5) < 1e-6)
        << step;
    const double perUnit =
        (ticks.back().second - ticks.front().second) / (ticks.back().first - ticks.front().first);
    const double offset = ticks.front().second - ticks.front().first * perUnit;
    for (size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_NEAR(ticks[i].first - ticks[i - 1].first, step, 1e-9 * step);
        EXPECT_NEAR(ticks[i].second, offset + ticks[i].first * perUnit, 0.02);
    }
    return {perUnit, offset};
}

TEST(LoadDiagram, PointsAndLinesSitWhereTheirValuesPutThem) {
    DesignRunner runner(FixedClock);
    for (std::int32_t kind : {kCompression, kExtension}) {
        SCOPED_TRACE(kind);
        const TSpringDesign& design = RunSample(runner, kind, 1, "<valve> & \"stop\"");
        const cli::DiagramInput input = cli::DiagramInputOf(design, "<valve> & \"stop\"");
        ParsedSvg svg;
        ASSERT_EQ(svg.document.Parse(cli::LoadDiagramSvg(input).c_str()), tinyxml2::XML_SUCCESS);
        Collect(svg.document.RootElement(), svg);
        const auto [xPerMm, x0] = Scale(svg.xTicks);
        const auto [yPerKg, y0] = Scale(svg.yTicks);
        EXPECT_GT(xPerMm, 0);
        EXPECT_LT(yPerKg, 0);  // loads rise up the page
        const auto X = [&](float mm) { return x0 + double(mm) * xPerMm; };
        const auto Y = [&](double kg) { return y0 + kg * yPerKg; };

        const float freeLoad = kind == kCompression ? 0.0f : design.InitTension;
        const struct {
            const char* id;
            float length;
            double load;
        } points[] = {
            {"free-point", design.FreeLen, freeLoad},
            {"installed-point", design.SetLen, design.Pset},
            {"operating-point", design.WorkLen, design.Pact},
            {"limit-point", design.LimitLen, design.Pmax},
        };
        for (const auto& point : points) {
            SCOPED_TRACE(point.id);
            ASSERT_TRUE(svg.byId.count(point.id));
            EXPECT_NEAR(svg.byId[point.id]->DoubleAttribute("cx"), X(point.length), 0.02);
            EXPECT_NEAR(svg.byId[point.id]->DoubleAttribute("cy"), Y(point.load), 0.02);
        }
        const tinyxml2::XMLElement* line = svg.byId["spring-line"];
        EXPECT_NEAR(line->DoubleAttribute("x1"), X(design.FreeLen), 0.02);
        EXPECT_NEAR(line->DoubleAttribute("y2"), Y(design.Pmax), 0.02);

        // π·d³·τa/(8·D): compression sample 1, 0.7³·88/4.3 → 2.7557 kg; extension sample 1,
        // 0.32³·78.4/4.6 → 0.2193 kg (the Pmax the engine stores).
        const double allowLoad = kind == kCompression ? 2.7557 : 0.2193;
        EXPECT_NEAR(svg.byId["allowable-line"]->DoubleAttribute("y1"), Y(allowLoad), 0.3);
        if (kind == kCompression) {
            EXPECT_NEAR(svg.byId["solid-line"]->DoubleAttribute("x1"), X(design.SolidLen), 0.02);
            EXPECT_FALSE(svg.byId.count("initial-tension-line"));
        } else {
            EXPECT_NEAR(svg.byId["initial-tension-line"]->DoubleAttribute("y1"),
                        Y(design.InitTension), 0.02);
            EXPECT_FALSE(svg.byId.count("solid-line"));
        }
        const std::string title = svg.byId["title"]->GetText();
        EXPECT_EQ(title, std::string("<valve> & \"stop\" — SWPA, ") +
                             (kind == kCompression ? "compression" : "extension") + " spring");
        EXPECT_STREQ(svg.byId["installed-label"]->GetText(), kind == kCompression
                                                                 ? "installed 12.0 mm, 0.32 kg"
                                                                 : "installed 20.0 mm, 0.05 kg");
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

// check --plot: one picture per design that ran, as it runs, each a whole SVG document, named
// after its row and design inside the folder; none for a design whose Run is withheld.
TEST(LoadDiagram, CheckPlotWritesOnePicturePerDesignThatRan) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("springcalc_plot_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "plots");
    const std::string csv =
        "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
        "../valve,compression,SWPA,1.20,8.8,7,23,20,18\n"
        "not made,compression,SWO-A,0.50,4.3,9.5,13,12,10\n"
        ",extension,SUS304-WPB,0.50,5.8,17.5,,25,35\n";
    size_t offset = 0;
    std::ostringstream out, err;
    cli::CliIo io{[&](char* buffer, size_t size) -> ssize_t {
                      const size_t count = std::min(size, csv.size() - offset);
                      offset += csv.copy(buffer, count, offset);
                      return static_cast<ssize_t>(count);
                  },
                  out, err, FixedClock};
    EXPECT_EQ(cli::RunCli({"check", "--plot", (dir / "plots").string()}, io), 1) << err.str();

    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "plots")) {
        files.insert(entry.path().filename().string());
        tinyxml2::XMLDocument svg;
        ASSERT_EQ(svg.LoadFile(entry.path().c_str()), tinyxml2::XML_SUCCESS) << entry.path();
        EXPECT_STREQ(svg.RootElement()->Name(), "svg");
    }
    EXPECT_EQ(files, (std::set<std::string>{"001-.._valve.svg", "003.svg"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1)
        << "nothing beside the folder";
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace springcalc
