// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/wire_standards.h"

#include <algorithm>
#include <cmath>

#include "engine/catalogue.h"
#include "engine/spring_formulas.h"
#include "engine/text_format.h"

namespace springcalc {

namespace {

// 1 in = 25.4 mm, for the moduli published by inch bands.
constexpr double kMmPerInch = 25.4;
// 0.284 lb/in³ (high-carbon spring wire, Optimum Spring, "Comparison of High Carbon - Spring
// Wire Properties", optimumspring.com/technical_resources/materials) in g/cm³:
// 0.284 · 453.59237 g / 16.387064 cm³.
constexpr double kHighCarbonDensity = 0.284 * 453.59237 / 16.387064;

// Preferred metric wire diameters, mm: "Table 1.1(b) Preferred wire diameters", Computer Aided
// Engineering Design, ch. 1 p. 19 (issuhub.com/view/index?id=5593&pageIndex=37).
constexpr double kPreferredMetric[] = {
    0.10, 0.12, 0.16, 0.20, 0.25, 0.30, 0.35, 0.40, 0.45, 0.50, 0.55, 0.60, 0.65, 0.70, 0.80,
    0.90, 1.00, 1.10, 1.20, 1.40, 1.60, 1.80, 2.00, 2.20, 2.50, 2.80, 3.00, 3.50, 4.00, 4.50,
    5.00, 5.50, 6.00, 6.50, 7.00, 8.00, 9.00, 10.0, 11.0, 12.0, 13.0, 14.0, 15.0, 16.0,
};

std::vector<double> PreferredWithin(double least, double most) {
    std::vector<double> sizes;
    for (const double d : kPreferredMetric) {
        if (d >= least && d <= most) {
            sizes.push_back(d);
        }
    }
    return sizes;
}

// EN 10270-1 grade SM, the least of each size's range of Rm, N/mm², as Mollificio Modenese
// publishes the standard's table ("Carbon steel wire EN 10270-1", mollificiomodenese.it/en/
// glossary). 15.0 mm is listed there at 1160, above 14 mm's 1130, which no drawn wire does: a
// slip in the page, so the size is left out and 14 to 16 mm is read along the line between them.
// clang-format off
const std::vector<StrengthPoint> kEn10270SmPoints{
    {0.3, 2370}, {0.4, 2270}, {0.5, 2200}, {0.6, 2140}, {0.7, 2090}, {0.8, 2050}, {0.9, 2010},
    {1.0, 1980}, {1.1, 1950}, {1.2, 1920}, {1.3, 1900}, {1.4, 1870}, {1.5, 1850}, {1.6, 1830},
    {1.7, 1810}, {1.8, 1790}, {1.9, 1770}, {2.0, 1760}, {2.1, 1740}, {2.4, 1700}, {2.5, 1690},
    {2.6, 1670}, {2.8, 1650}, {3.0, 1630}, {3.2, 1610}, {3.4, 1590}, {3.5, 1580}, {3.6, 1570},
    {3.8, 1550}, {4.0, 1530}, {4.5, 1500}, {5.0, 1460}, {5.5, 1430}, {6.0, 1400}, {6.5, 1380},
    {7.0, 1350}, {7.5, 1330}, {8.0, 1310}, {8.5, 1290}, {9.0, 1270}, {9.5, 1260}, {10.0, 1240},
    {10.5, 1220}, {11.0, 1210}, {12.0, 1180}, {12.5, 1170}, {13.0, 1160}, {14.0, 1130},
    {16.0, 1090}, {17.0, 1070}, {18.0, 1050}, {19.0, 1030}, {20.0, 1020},
};
// clang-format on

// EN 10270-1 SL, SH and DH and the EN 10270-2 grades as melchiorrecaruso/springone publishes
// them (SpringLIB/database/MATERIAL.csv, GPL): a straight line in log10(d) through each grade's
// table, Rm = A − B · log10(d), at most the table's first size's Rm, over the grade's sizes,
// with E, G and the density. Its lines keep within 0.6 % of the EN 10270-1 table's least
// figures (Hengming, "Patented cold drawn unalloyed spring steel wire",
// hengmingsteelwire.com): the tests hold them to it.
WireMaterial LogLineRow(std::string name, std::string source, double least, double most, double a,
                        double b, double cap, double shear, double staticShare) {
    WireMaterial row;
    row.name = std::move(name);
    row.source = std::move(source);
    row.law = StrengthLaw::LogLine;
    row.coefficient = a;
    row.slope = b;
    row.cap = cap;
    row.least = least;
    row.most = most;
    row.moduli = {{most, shear, 206000.0}};
    row.density = 7.85;
    row.staticShare = staticShare;
    row.sizes = PreferredWithin(least, most);
    return row;
}

// Rm = A / d^m by band over [least, most], with the moduli by size.
WireMaterial PowerRow(std::string name, std::string source, std::vector<PowerPiece> pieces,
                      double least, double most, std::vector<ModulusBand> moduli, double density,
                      double staticShare, WireClass wireClass = WireClass::Steel) {
    WireMaterial row;
    row.name = std::move(name);
    row.source = std::move(source);
    row.law = StrengthLaw::Power;
    row.pieces = std::move(pieces);
    row.least = least;
    row.most = most;
    row.moduli = std::move(moduli);
    row.density = density;
    row.staticShare = staticShare;
    row.wireClass = wireClass;
    row.sizes = PreferredWithin(least, most);
    return row;
}

// The program's own static shares of Rm (0.8 of its JIS factor): patented cold-drawn wire
// 0.8 · 0.5, oil-tempered 0.8 · 0.55. EN 10270-1 is the former, EN 10270-2 and A401 the latter.
constexpr double kDrawnShare = 0.40;
constexpr double kOilTemperedShare = 0.44;
// Stainless: 0.8 · 0.45, as the program's SUS grades.
constexpr double kStainlessShare = 0.36;

std::vector<WireMaterial> BuiltIn() {
    std::vector<WireMaterial> rows;

    // EN 10270-1 SM: points above; G 81.5 kN/mm², E 206 kN/mm², 7.85 kg/dm³ from the same page.
    // The static share is the one this program gives its patented cold-drawn JIS grades
    // (0.8 · 0.5 of Rm): SM is sold as SWC's counterpart (Hengming, "Patented cold drawn
    // unalloyed spring steel wire", hengmingsteelwire.com, grade cross-reference).
    WireMaterial sm;
    sm.name = "EN10270-1-SM";
    sm.source = "EN 10270-1 SM (Rm table: mollificiomodenese.it; G, E, density: same)";
    sm.law = StrengthLaw::Points;
    sm.points = kEn10270SmPoints;
    sm.least = 0.3;
    sm.most = 20.0;
    sm.moduli = {{20.0, 81500.0, 206000.0}};
    sm.density = 7.85;
    sm.staticShare = 0.4;
    for (const StrengthPoint& point : kEn10270SmPoints) {
        sm.sizes.push_back(point.diameter);
    }
    rows.push_back(sm);

    // ASTM: Rm = A / d^m with A in MPa·mm^m (ncalculators.com, "Spring Material Minimum Tensile
    // Strength", table of A and m; engineeringprep.com problems 141 and 387 work them). Moduli
    // by Shigley's Mechanical Engineering Design, 9th ed., Table 10-5, whose inch bands are
    // < 0.032, to 0.063, to 0.125 and over. Static shares: "Design Stress % Minimum Tensile" of
    // the Optimum Spring comparison (45 % music wire and oil tempered, 40 % hard drawn).
    const double a228Most = 0.250 * kMmPerInch;
    rows.push_back(PowerRow("ASTM-A228",
                            "ASTM A228 music wire (Rm = 2060/d^0.163: ncalculators.com; G, E: "
                            "Shigley Table 10-5)",
                            {{a228Most, 2060.0, 0.163}}, 0.004 * kMmPerInch, a228Most,
                            {{0.032 * kMmPerInch, 82700.0, 203400.0},
                             {0.063 * kMmPerInch, 81700.0, 200000.0},
                             {0.125 * kMmPerInch, 81000.0, 196500.0},
                             {a228Most, 80000.0, 193000.0}},
                            7.85, 0.45));

    // The diameter ranges of A227 and A229, 0.5 to 16 mm: Table 1.2 of the book the preferred
    // sizes come from.
    rows.push_back(PowerRow("ASTM-A227",
                            "ASTM A227 hard-drawn (Rm = 1510/d^0.201: ncalculators.com; G, E: "
                            "Shigley Table 10-5)",
                            {{16.0, 1510.0, 0.201}}, 0.5, 16.0,
                            {{0.032 * kMmPerInch, 80700.0, 198600.0},
                             {0.063 * kMmPerInch, 80000.0, 197900.0},
                             {0.125 * kMmPerInch, 79300.0, 197200.0},
                             {16.0, 78600.0, 196500.0}},
                            kHighCarbonDensity, 0.40));

    rows.push_back(PowerRow("ASTM-A229",
                            "ASTM A229 oil-tempered (Rm = 1610/d^0.193: ncalculators.com; G, E: "
                            "Shigley Table 10-5)",
                            {{16.0, 1610.0, 0.193}}, 0.5, 16.0, {{16.0, 77200.0, 196500.0}},
                            kHighCarbonDensity, 0.45));

    // EN 10270-1 DM: the same least Rm as SM at every size of Hengming's table (its SM and DM
    // columns), and the same line in springone's data; G, E and density those of the part.
    WireMaterial dm = sm;
    dm.name = "EN10270-1-DM";
    dm.source =
        "EN 10270-1 DM (Rm as SM: hengmingsteelwire.com; G, E, density: "
        "mollificiomodenese.it)";
    rows.push_back(dm);

    const char* const kSpringOne = "Rm line, range, G, E, density: springone MATERIAL.csv";
    rows.push_back(LogLineRow("EN10270-1-SL", std::string("EN 10270-1 SL (") + kSpringOne + ")",
                              0.95, 10.0, 1712.0, 660.0, 1720.0, 81500.0, kDrawnShare));
    rows.push_back(LogLineRow("EN10270-1-SH", std::string("EN 10270-1 SH (") + kSpringOne + ")",
                              0.28, 20.0, 2220.0, 820.0, 2660.0, 81500.0, kDrawnShare));
    rows.push_back(LogLineRow("EN10270-1-DH", std::string("EN 10270-1 DH (") + kSpringOne + ")",
                              0.05, 20.0, 2218.0, 817.0, 2800.0, 81500.0, kDrawnShare));
    struct OilTempered {
        const char* grade;
        double most, a, b, cap;
    };
    // FD (static) up to 17 mm, TD and VD (dynamic, valve) up to 10 mm, from 0.5 mm.
    const OilTempered kOilTempered[] = {
        {"FDC", 17.0, 1834.0, 488.0, 1900.0},    {"TDC", 10.0, 1781.0, 391.0, 1850.0},
        {"VDC", 10.0, 1781.0, 391.0, 1850.0},    {"FDSiCr", 17.0, 2103.0, 435.0, 2100.0},
        {"TDSiCr", 10.0, 2125.0, 466.0, 2080.0}, {"VDSiCr", 10.0, 2125.0, 466.0, 2080.0},
    };
    for (const OilTempered& grade : kOilTempered) {
        rows.push_back(
            LogLineRow(std::string("EN10270-2-") + grade.grade,
                       std::string("EN 10270-2 ") + grade.grade + " (" + kSpringOne + ")", 0.5,
                       grade.most, grade.a, grade.b, grade.cap, 79500.0, kOilTemperedShare));
    }

    // ASTM A401 chrome-silicon: Rm = 1960 / d^0.091 (ncalculators.com, the table of A and m).
    // The sizes are those over which the formula stays inside the 1620 to 2069 MPa that the
    // "Data Spring Design" sheet gives A401 (scribd.com/document/365649209), which also gives
    // E 30 Mpsi (207 GPa) and G 11.5 Mpsi (79.3 GPa); density as EN 10270-2's Si-Cr grades.
    const double a401Most = std::pow(1960.0 / 1620.0, 1.0 / 0.091);
    rows.push_back(PowerRow("ASTM-A401",
                            "ASTM A401 chrome-silicon (Rm = 1960/d^0.091: ncalculators.com; G, E, "
                            "range of Rm: Data Spring Design sheet)",
                            {{a401Most, 1960.0, 0.091}}, std::pow(1960.0 / 2069.0, 1.0 / 0.091),
                            a401Most, {{a401Most, 79300.0, 207000.0}}, 7.85, kOilTemperedShare));

    // EN 10270-3, stainless spring wire, the least Rm of each band of sizes as the standard's
    // tables print them (a < d <= b). The static share is the one this program gives its JIS
    // stainless grades, 0.8 · 0.45 of Rm, within the 30 to 40 % "Design Stress % Minimum
    // Tensile" the Diamond Wire table gives 302 (diamondwire.com/material-properties.aspx).
    const auto stainless = [](std::string name, std::string source,
                              std::vector<StrengthPoint> bands, double shear, double elastic,
                              double density) {
        WireMaterial row;
        row.name = std::move(name);
        row.source = std::move(source);
        row.law = StrengthLaw::Bands;
        row.points = std::move(bands);
        // The first band reads "d <= 0.20" with no least size: from the least preferred one.
        row.least = kPreferredMetric[0];
        row.most = row.points.back().diameter;
        row.moduli = {{row.most, shear, elastic}};
        row.density = density;
        row.staticShare = kStainlessShare;
        row.wireClass = WireClass::Stainless;
        row.sizes = PreferredWithin(row.least, row.most);
        return row;
    };
    // 1.4310 (X10CrNi18-8, AISI 302), grade NS: Stahlbecker, "Tensile strength (Rm) of spring
    // steel wire X10CrNi18-8 (NS)", stahlbecker.com; the same bands in Cecchi's "Materials
    // used" (cecchi.com), which gives G 73 and E 185 kN/mm² and 8.0 kg/dm³.
    // clang-format off
    rows.push_back(stainless(
        "EN10270-3-1.4310",
        "EN 10270-3 1.4310 NS (Rm bands: stahlbecker.com; G, E, density: cecchi.com)",
        {{0.20, 2200}, {0.30, 2150}, {0.40, 2100}, {0.50, 2050}, {0.65, 2000}, {0.80, 1950},
         {1.00, 1900}, {1.25, 1850}, {1.50, 1800}, {1.75, 1750}, {2.00, 1700}, {2.50, 1650},
         {3.00, 1600}, {3.50, 1550}, {4.25, 1500}, {5.00, 1450}, {6.00, 1400}, {7.00, 1350},
         {8.50, 1300}, {10.0, 1250}},
        73000.0, 185000.0, 8.0));
    // 1.4401 (X5CrNiMo17-12-2, AISI 316): Cecchi's table (cecchi.com, "Materials used"), G 71,
    // E 180 kN/mm², 8.0 kg/dm³. The page prints the band after 3.5 mm as "2.5 < d <= 4.25", a
    // slip for 3.5; its copy breaks off after 6.0 mm, so the row ends there, and it leaves out
    // 1.0 < d <= 1.5, where the row takes the next band's 1450: Rm falls as d grows, so the
    // standard's figure there is no less.
    rows.push_back(stainless(
        "EN10270-3-1.4401",
        "EN 10270-3 1.4401 (Rm bands, G, E, density: cecchi.com; 1.0-1.5 mm as 1.75 mm)",
        {{0.20, 1725}, {0.30, 1700}, {0.40, 1675}, {0.50, 1650}, {0.65, 1625}, {0.80, 1600},
         {1.00, 1575}, {1.50, 1450}, {1.75, 1450}, {2.00, 1400}, {2.50, 1350}, {3.00, 1300},
         {3.50, 1250}, {4.25, 1225}, {5.00, 1200}, {6.00, 1150}},
        71000.0, 180000.0, 8.0));
    // 1.4568 (X7CrNiAl17-7, 17-7 PH), as drawn: DIN EN 10270-3:2012's table as lyhttz.com
    // prints it; Suzuki Garphyttan's GARBA 177 PH sheet (suzuki-garphyttan.com) gives the same
    // bands from 0.30 to 8.00 mm, and G 73, E 190 kN/mm² drawn (78 and 200 after the spring's
    // 480 °C precipitation treatment, which also raises Rm by about 300: a maker's own figures
    // go in a materials file). Density 7.7 g/cm³: makeitfrom.com, "EN 1.4568".
    rows.push_back(stainless(
        "EN10270-3-1.4568",
        "EN 10270-3 1.4568 as drawn (Rm bands: lyhttz.com, Suzuki Garphyttan GARBA 177 PH; G, "
        "E: the same; density: makeitfrom.com)",
        {{0.20, 1975}, {0.30, 1950}, {0.40, 1925}, {0.50, 1900}, {0.65, 1850}, {0.80, 1825},
         {1.00, 1800}, {1.25, 1750}, {1.50, 1700}, {1.75, 1650}, {2.00, 1600}, {2.50, 1550},
         {3.00, 1500}, {3.50, 1450}, {4.25, 1400}, {5.00, 1350}, {6.00, 1300}, {7.00, 1250},
         {8.50, 1250}, {10.0, 1240}},
        73000.0, 190000.0, 7.7));
    // clang-format on

    // ASTM A313 type 302: Rm = A / d^m by band, Shigley's Table 10-4 as transcribed in
    // OmriStein/MEtoolbox (me_toolbox/springs/tables/A_and_m.csv): 0.3 to 2.5 mm A 1867,
    // m 0.146; to 5 mm 2065, 0.263; to 10 mm 2911, 0.478. G 10 Mpsi (69.0 GPa) and E 28 Mpsi
    // (193 GPa): the Diamond Wire table; density as EN 10270-3's 1.4310, the same alloy.
    rows.push_back(PowerRow("ASTM-A313",
                            "ASTM A313 type 302 (Rm = A/d^m by band: Shigley Table 10-4; G, E: "
                            "diamondwire.com; density: cecchi.com)",
                            {{2.5, 1867.0, 0.146}, {5.0, 2065.0, 0.263}, {10.0, 2911.0, 0.478}},
                            0.3, 10.0, {{10.0, 69000.0, 193000.0}}, 8.0, kStainlessShare,
                            WireClass::Stainless));
    return rows;
}

}  // namespace

std::optional<double> WireMaterial::MinTensileStrength(double d) const {
    if (!(d >= least && d <= most)) {
        return std::nullopt;
    }
    if (law == StrengthLaw::LogLine) {
        return std::min(cap, coefficient - slope * std::log10(d));
    }
    if (law == StrengthLaw::Power) {
        for (const PowerPiece& piece : pieces) {
            if (d <= piece.upTo || &piece == &pieces.back()) {
                return piece.coefficient / std::pow(d, piece.exponent);
            }
        }
        return std::nullopt;
    }
    if (law == StrengthLaw::Bands) {
        // The record keeps d in single precision: 0.8 arrives as 0.80000001, which is still
        // the band that ends at 0.8.
        constexpr double kSizeSlack = 1e-6;  // mm
        for (const StrengthPoint& band : points) {
            if (d <= band.diameter + kSizeSlack) {
                return band.strength;
            }
        }
        return std::nullopt;
    }
    if (points.empty()) {
        return std::nullopt;
    }
    if (d <= points.front().diameter) {
        return points.front().strength;
    }
    for (size_t i = 1; i < points.size(); ++i) {
        const StrengthPoint& low = points[i - 1];
        const StrengthPoint& high = points[i];
        if (d <= high.diameter) {
            const double share = (d - low.diameter) / (high.diameter - low.diameter);
            return low.strength + share * (high.strength - low.strength);
        }
    }
    return points.back().strength;
}

const ModulusBand& WireMaterial::ModuliAt(double d) const {
    for (const ModulusBand& band : moduli) {
        if (d <= band.upTo) {
            return band;
        }
    }
    return moduli.back();
}

const std::vector<WireMaterial>& WireStandards() {
    static const std::vector<WireMaterial> rows = BuiltIn();
    return rows;
}

namespace {

// A built-in row by its folded name: every row of a check file looks its material up here.
const WireMaterial* StandardFolded(std::string_view folded) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> folded;
        for (const WireMaterial& row : WireStandards()) {
            folded.push_back(FoldedName(row.name));
        }
        return folded;
    }();
    for (size_t i = 0; i < names.size(); ++i) {
        if (!folded.empty() && names[i] == folded) {
            return &WireStandards()[i];
        }
    }
    return nullptr;
}

}  // namespace

const WireMaterial* WireStandardNamed(std::string_view name) {
    return StandardFolded(FoldedName(name));
}

std::shared_ptr<const WireMaterial> WireMaterialNamed(
    std::string_view name, std::span<const std::shared_ptr<const WireMaterial>> own) {
    const std::string folded = FoldedName(name);
    for (const auto& material : own) {
        if (!folded.empty() && FoldedName(material->name) == folded) {
            return material;
        }
    }
    if (const WireMaterial* standard = StandardFolded(folded)) {
        // The built-in rows live as long as the program: shared without an owner.
        return std::shared_ptr<const WireMaterial>(std::shared_ptr<const WireMaterial>(), standard);
    }
    return nullptr;
}

std::string WireStandardList() {
    std::string list;
    for (const WireMaterial& row : WireStandards()) {
        list += (list.empty() ? "" : ", ") + row.name;
    }
    return list;
}

double ModulusTemperatureCoefficient(WireClass wireClass) {
    // EN 13906-1's mean values, as springone's EN10270.pas quotes them: 0.25 ‰ per kelvin for
    // EN 10270-1 and -2 wire, 0.40 ‰ for the stainless wire of EN 10270-3.
    return wireClass == WireClass::Stainless ? 0.40e-3 : 0.25e-3;
}

std::shared_ptr<const WireMaterial> AtTemperature(std::shared_ptr<const WireMaterial> material,
                                                  double celsius) {
    if (!material || celsius == kRoomTemperature) {
        return material;
    }
    auto warm = std::make_shared<WireMaterial>(*material);
    const double share =
        1.0 - ModulusTemperatureCoefficient(material->wireClass) * (celsius - kRoomTemperature);
    for (ModulusBand& band : warm->moduli) {
        band.shear *= share;
        band.elastic *= share;
    }
    // Two decimals at most, trailing zeros dropped: "120", "12.5". (The web edition's library
    // has no shortest to_chars for doubles.)
    std::string degrees = FixedText(celsius, 2);
    degrees.erase(degrees.find_last_not_of('0') + 1);
    if (degrees.back() == '.') {
        degrees.pop_back();
    }
    warm->source += "; G and E at " + degrees + " °C, × " + FixedText(share, 4) + " (EN 13906-1)";
    return warm;
}

std::vector<std::shared_ptr<const WireMaterial>> MaterialsAtTemperature(
    std::span<const std::shared_ptr<const WireMaterial>> own, double celsius) {
    std::vector<std::shared_ptr<const WireMaterial>> all;
    for (const auto& material : own) {
        all.push_back(AtTemperature(material, celsius));
    }
    for (const WireMaterial& row : WireStandards()) {
        all.push_back(AtTemperature(std::make_shared<WireMaterial>(row), celsius));
    }
    return all;
}

std::shared_ptr<const WireSelection> SelectWire(std::shared_ptr<const WireMaterial> material,
                                                double d) {
    const std::optional<double> strength =
        material ? material->MinTensileStrength(d) : std::nullopt;
    if (!strength || material->moduli.empty()) {
        return nullptr;
    }
    auto selection = std::make_shared<WireSelection>();
    const ModulusBand& moduli = material->ModuliAt(d);
    selection->diameter = static_cast<float>(d);
    selection->row.name = material->name;
    selection->row.strengthTable = -1;
    selection->row.allowFactor =
        static_cast<float>(material->staticShare / formulas::kCompressionAllowable);
    selection->row.shearModulus = KgfPerMm2(moduli.shear);
    selection->row.elasticModulus = KgfPerMm2(moduli.elastic);
    selection->row.density = material->density;
    selection->row.wireClass = material->wireClass;
    selection->strength = KgfPerMm2(*strength);
    selection->material = std::move(material);
    return selection;
}

std::shared_ptr<const WireSelection> SelectPreferredWire(
    std::shared_ptr<const WireMaterial> material, double d) {
    if (!material || !material->MinTensileStrength(d)) {
        return nullptr;
    }
    // A maker draws the sizes the standard prefers; ties go to the thicker, the safer wire.
    double chosen = d;
    double nearest = -1;
    for (const double size : material->sizes) {
        const double distance = std::fabs(size - d);
        if (material->MinTensileStrength(size) && (nearest < 0 || distance <= nearest)) {
            chosen = size;
            nearest = distance;
        }
    }
    return SelectWire(std::move(material), chosen);
}

}  // namespace springcalc
