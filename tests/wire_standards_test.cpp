// SPDX-License-Identifier: GPL-3.0-or-later
// Wire by its standard: the strengths and moduli of the rows against figures published with
// them, and designs of such wire run through the engine against published springs.

#include "engine/wire_standards.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/design_runner.h"

namespace springcalc {
namespace {

const WireMaterial& Row(const char* name) {
    const WireMaterial* row = WireStandardNamed(name);
    EXPECT_NE(row, nullptr) << name;
    return *row;
}

TEST(WireStandards, MinimumTensileStrengthMatchesPublishedFigures) {
    struct Case {
        const char* material;
        double d;         // mm
        double strength;  // N/mm²
        double within;    // N/mm²: the rounding of the published figure
        const char* source;
    };
    const Case cases[] = {
        // engineeringprep.com problem 387: oil-tempered, 10 mm, 1610 / 10^0.193 = 1032 MPa.
        {"ASTM-A229", 10.0, 1032.0, 0.5, "engineeringprep 387"},
        // Hard-drawn A227 at 7 mm, by hand: 7^0.201 = exp(0.201 · 1.945910) = 1.478612, and
        // 1510 / 1.478612 = 1021.2 MPa. (ncalculators.com's own worked example divides the kpsi
        // constant by 7^0.201 with d in mm and gets 92.65 kpsi; that mixes inches and mm and is
        // not a figure to test against.)
        {"ASTM-A227", 7.0, 1021.2, 0.05, "hand, A227"},
        // A table point of EN 10270-1 SM: 5.0 mm, 1460 to 1650 N/mm² (Mollificio Modenese).
        {"EN10270-1-SM", 5.0, 1460.0, 1e-9, "EN 10270-1 SM at 5.0"},
        // Between two points, by hand: 2.1 mm 1740, 2.4 mm 1700, so 2.2 mm gives
        // 1740 − (0.1 / 0.3) · 40 = 1726.67.
        {"EN10270-1-SM", 2.2, 1726.6667, 1e-3, "EN 10270-1 SM between 2.1 and 2.4"},
        // 14 to 16 mm across the 15 mm slip of the page: 1130 − 0.5 · 40 = 1110 at 15 mm.
        {"EN10270-1-SM", 15.0, 1110.0, 1e-9, "EN 10270-1 SM at 15"},
        // Music wire at 1 mm: 2060 / 1^0.163 = 2060.
        {"ASTM-A228", 1.0, 2060.0, 1e-9, "A = Sut at 1 mm"},
        // DM is SM's table: 5.0 mm, 1460 N/mm² (Hengming lists the two columns alike).
        {"EN10270-1-DM", 5.0, 1460.0, 1e-9, "EN 10270-1 DM at 5.0"},
        // springone's lines against the least of Hengming's EN 10270-1 table (the size band's
        // upper end), within 0.6 %: SH 0.28–0.30 mm 2660, 0.30–0.32 2640, 0.32–0.34 2610; DH
        // 0.2 mm 2800, 0.20–0.22 2770, 0.22–0.25 2720, 0.25–0.28 2680.
        {"EN10270-1-SH", 0.30, 2660.0, 2660.0 * 0.006, "Hengming SH 0.30"},
        {"EN10270-1-SH", 0.32, 2640.0, 2640.0 * 0.006, "Hengming SH 0.32"},
        {"EN10270-1-SH", 0.34, 2610.0, 2610.0 * 0.006, "Hengming SH 0.34"},
        {"EN10270-1-DH", 0.20, 2800.0, 2800.0 * 0.006, "Hengming DH 0.20"},
        {"EN10270-1-DH", 0.22, 2770.0, 2770.0 * 0.006, "Hengming DH 0.22"},
        {"EN10270-1-DH", 0.25, 2720.0, 2720.0 * 0.006, "Hengming DH 0.25"},
        {"EN10270-1-DH", 0.28, 2680.0, 2680.0 * 0.006, "Hengming DH 0.28"},
        // The lines by hand: SL at 10 mm, 1712 − 660 · 1 = 1052; TDC at 2 mm,
        // 1781 − 391 · 0.30103 = 1663.30; DH below 0.06 mm would pass 2800 and is held to it.
        {"EN10270-1-SL", 10.0, 1052.0, 1e-9, "SL line at 10"},
        {"EN10270-2-TDC", 2.0, 1663.297, 1e-3, "TDC line at 2"},
        {"EN10270-1-DH", 0.05, 2800.0, 1e-9, "DH held to its first size's Rm"},
        // FDSiCr at 1 mm: the line's 2103 is above the cap of 2100.
        {"EN10270-2-FDSICR", 1.0, 2100.0, 1e-9, "FDSiCr capped"},
        // Chrome-silicon at 1 mm: A itself, 1960 (ncalculators.com).
        {"ASTM-A401", 1.0, 1960.0, 1e-9, "A401 at 1 mm"},
        // EN 10270-3's bands hold to their upper end: 1.4310 0.80 < d <= 1.00 is 1900, the
        // next 1850 (Stahlbecker). The record's single-precision 0.8f is still 1.4568's
        // 0.65 < d <= 0.80 band, 1825, not the next one's 1800.
        {"EN10270-3-1.4310", 1.0, 1900.0, 1e-9, "1.4310 at 1.00"},
        {"EN10270-3-1.4310", 1.01, 1850.0, 1e-9, "1.4310 past 1.00"},
        {"EN10270-3-1.4568", double(0.8f), 1825.0, 1e-9, "1.4568 at 0.8f"},
        {"EN10270-3-1.4568", 10.0, 1240.0, 1e-9, "1.4568 at 10"},
        // 1.4401 between 1.0 and 1.5 mm, which Cecchi's copy leaves out: the next band's 1450.
        {"EN10270-3-1.4401", 1.2, 1450.0, 1e-9, "1.4401 at 1.2"},
        // A313 by Shigley's bands, by hand: 3^0.263 = exp(0.263 · 1.098612) = 1.335004, and
        // 2065 / 1.335004 = 1546.81.
        {"ASTM-A313", 3.0, 1546.81, 0.01, "A313 at 3 mm"},
        // Shigley's fit against A313's own table for type 302 (Interwire, "300 Series
        // Spring", interwiregroup.com; 1 ksi = 6.894757 MPa), within 1.5 %:
        // 0.018–0.020 in 300 ksi at 0.5 mm, 0.028–0.031 in 285 ksi at 0.762 mm, 0.070–0.075 in
        // 250 ksi at 1.9 mm.
        {"ASTM-A313", 0.5, 2068.43, 2068.43 * 0.015, "Interwire 0.020 in"},
        {"ASTM-A313", 0.762, 1965.01, 1965.01 * 0.015, "Interwire 0.030 in"},
        {"ASTM-A313", 1.9, 1723.69, 1723.69 * 0.015, "Interwire 0.075 in"},
    };
    for (const Case& c : cases) {
        const std::optional<double> strength = Row(c.material).MinTensileStrength(c.d);
        ASSERT_TRUE(strength) << c.source;
        EXPECT_NEAR(*strength, c.strength, c.within) << c.source;
    }
}

// A slip in copying a table shows as a size out of order or a thicker wire drawn stronger (the
// EN 10270-1 SM page's own 15 mm slip was found so): the sizes rise, the strengths never do.
TEST(WireStandards, TablesRiseInSizeAndNeverGainStrength) {
    for (const WireMaterial& row : WireStandards()) {
        SCOPED_TRACE(row.name);
        for (size_t i = 1; i < row.points.size(); ++i) {
            EXPECT_GT(row.points[i].diameter, row.points[i - 1].diameter) << i;
            EXPECT_LE(row.points[i].strength, row.points[i - 1].strength) << i;
        }
        for (size_t i = 1; i < row.pieces.size(); ++i) {
            EXPECT_GT(row.pieces[i].upTo, row.pieces[i - 1].upTo) << i;
        }
        for (size_t i = 0; i < row.sizes.size(); ++i) {
            EXPECT_TRUE(row.MinTensileStrength(row.sizes[i])) << row.sizes[i];
            if (i > 0) {
                EXPECT_GT(row.sizes[i], row.sizes[i - 1]);
                EXPECT_LE(*row.MinTensileStrength(row.sizes[i]),
                          *row.MinTensileStrength(row.sizes[i - 1]) + 1e-9)
                    << row.sizes[i];
            }
        }
    }
}

TEST(WireStandards, StrengthHoldsOnlyOverItsRangeOfDiameters) {
    struct Case {
        const char* material;
        double d;
        bool given;
    };
    const Case cases[] = {
        // engineeringprep.com problem 141 works music wire at 7.25 mm, beyond the 0.250 in
        // (6.35 mm) that A228's own size table ends at: the formula is not stretched to it.
        {"ASTM-A228", 7.25, false},
        {"ASTM-A228", 6.35, true},
        {"ASTM-A228", 0.1016, true},
        {"ASTM-A228", 0.1, false},
        {"EN10270-1-SM", 0.29, false},
        {"EN10270-1-SM", 0.3, true},
        {"EN10270-1-SM", 20.0, true},
        {"EN10270-1-SM", 20.01, false},
        {"ASTM-A229", 0.49, false},
        {"ASTM-A229", 16.0, true},
        // A401 over the sizes whose Rm stays within 1620 to 2069 MPa: 0.552 to 8.110 mm.
        {"ASTM-A401", 0.55, false},
        {"ASTM-A401", 0.56, true},
        {"ASTM-A401", 8.1, true},
        {"ASTM-A401", 8.2, false},
        {"EN10270-2-TDC", 10.0, true},
        {"EN10270-2-TDC", 10.5, false},
        {"EN10270-2-FDC", 17.0, true},
        {"EN10270-1-SL", 0.9, false},
        {"EN10270-3-1.4310", 0.1, true},
        {"EN10270-3-1.4310", 10.0, true},
        {"EN10270-3-1.4310", 10.01, false},
        {"EN10270-3-1.4401", 6.01, false},
        {"ASTM-A313", 0.29, false},
        {"ASTM-A313", 10.0, true},
        {"ASTM-A313", 10.01, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Row(c.material).MinTensileStrength(c.d).has_value(), c.given)
            << c.material << " " << c.d;
        EXPECT_EQ(SelectWire(std::make_shared<WireMaterial>(Row(c.material)), c.d) != nullptr,
                  c.given)
            << c.material << " " << c.d;
    }
}

TEST(WireStandards, ModuliFollowTheInchBandsOfTheTable) {
    struct Case {
        const char* material;
        double d;
        double shear;  // N/mm²
    };
    // Shigley Table 10-5, music wire: < 0.032 in 82.7 GPa, to 0.063 in 81.7, to 0.125 in 81.0,
    // over 80.0; 0.032 in is 0.8128 mm, 0.063 in 1.6002 mm, 0.125 in 3.175 mm.
    const Case cases[] = {
        {"ASTM-A228", 0.8, 82700.0},    {"ASTM-A228", 0.9, 81700.0}, {"ASTM-A228", 1.6, 81700.0},
        {"ASTM-A228", 1.61, 81000.0},   {"ASTM-A228", 3.2, 80000.0}, {"ASTM-A229", 5.0, 77200.0},
        {"EN10270-1-SM", 5.0, 81500.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Row(c.material).ModuliAt(c.d).shear, c.shear) << c.material << " " << c.d;
    }
}

TEST(WireStandards, NamesFoldCaseAndBlanksAndTheListNamesEveryRow) {
    EXPECT_EQ(WireStandardNamed(" en10270-1-sm "), WireStandardNamed("EN10270-1-SM"));
    EXPECT_EQ(WireStandardNamed("astm-a 228"), WireStandardNamed("ASTM-A228"));
    EXPECT_EQ(WireStandardNamed("SWPB"), nullptr);
    EXPECT_EQ(WireStandardNamed(""), nullptr);
    EXPECT_EQ(WireStandardList(),
              "EN10270-1-SM, ASTM-A228, ASTM-A227, ASTM-A229, EN10270-1-DM, EN10270-1-SL, "
              "EN10270-1-SH, EN10270-1-DH, EN10270-2-FDC, EN10270-2-TDC, EN10270-2-VDC, "
              "EN10270-2-FDSiCr, EN10270-2-TDSiCr, EN10270-2-VDSiCr, ASTM-A401, "
              "EN10270-3-1.4310, EN10270-3-1.4401, EN10270-3-1.4568, ASTM-A313");
}

// A design of standard wire run as the window runs its own: the rate with the standard's G.
TEST(WireStandards, DesignsRunWithTheStandardsShearModulus) {
    struct Case {
        const char* material;
        float d, D, n;
        double rate;     // N/mm
        double within;   // share
        double density;  // g/cm³, as the row's source publishes it
        const char* source;
    };
    const Case cases[] = {
        // HeliSpring's published compression example, EN 10270-1 DM, d 5, D 34.6, n 9.5:
        // 16.18 N/mm, 81500 · 5⁴ / (8 · 9.5 · 34.6³) = 16.181.
        {"EN10270-1-DM", 5.0f, 34.6f, 9.5f, 16.18, 0.005, 7.85, "HeliSpring"},
        // EN 10270-2 wire, G 79.5 kN/mm²: 79500 · 3⁴ / (8 · 8 · 24³) = 7.2784.
        {"EN10270-2-VDSICR", 3.0f, 24.0f, 8.0f, 7.2784, 0.0005, 7.85, "hand"},
        // By hand, music wire over 0.125 in, G 80.0 GPa: 80000 · 4⁴ / (8 · 6 · 30³) = 15.802.
        {"ASTM-A228", 4.0f, 30.0f, 6.0f, 15.802, 0.0005, 7.85, "hand"},
        // Oil-tempered, G 77.2 GPa: 77200 · 2⁴ / (8 · 10 · 16³) = 3.7695. Density 0.284 lb/in³
        // (Optimum Spring) = 0.284 · 27.6799 = 7.861 g/cm³.
        {"ASTM-A229", 2.0f, 16.0f, 10.0f, 3.7695, 0.0005, 7.861, "hand"},
        // Stainless, by hand: 1.4310, G 73 kN/mm²: 73000 · 1 / (8 · 8 · 8³) = 2.2278;
        // A313 302, G 69.0 GPa: 69000 · 2⁴ / (8 · 10 · 16³) = 3.3691.
        {"EN10270-3-1.4310", 1.0f, 8.0f, 8.0f, 2.2278, 0.0005, 8.0, "hand"},
        {"ASTM-A313", 2.0f, 16.0f, 10.0f, 3.3691, 0.0005, 8.0, "hand"},
        {"EN10270-3-1.4568", 1.0f, 8.0f, 8.0f, 2.2278, 0.0005, 7.7, "hand, G as 1.4310"},
    };
    DesignRunner runner;
    for (const Case& c : cases) {
        const auto selection = SelectWire(std::make_shared<WireMaterial>(Row(c.material)), c.d);
        ASSERT_NE(selection, nullptr);
        DesignInput input;
        input.springKind = kCompression;
        input.wire = selection.get();
        input.meanDia = c.D;
        input.turns = c.n;
        input.freeLen = 10.0f * c.d * c.n;
        input.setLen = 9.5f * c.d * c.n;
        input.workLen = 9.0f * c.d * c.n;
        const Outcome& outcome = runner.Run(input);
        ASSERT_TRUE(outcome.analysed) << c.source;
        const double rate = double(outcome.record.SpringRate) * kNewtonsPerKgf;
        EXPECT_NEAR(rate, c.rate, c.rate * c.within) << c.source;
        EXPECT_NEAR(selection->row.density, c.density, 0.0005) << c.material;
        // The strength and the allowable stress are the standard's, not a table's.
        const WireMaterial& row = Row(c.material);
        EXPECT_FLOAT_EQ(outcome.record.TensileStrength, KgfPerMm2(*row.MinTensileStrength(c.d)));
        EXPECT_NEAR(outcome.record.AllowStatic,
                    row.staticShare * *row.MinTensileStrength(c.d) / kNewtonsPerKgf, 1e-3);
    }
}

// EN 13906-1's relation, G(t) = G20 · (1 − k · (t − 20)), through to a design's rate.
TEST(WireStandards, TemperatureLowersTheModuliAndSaysSo) {
    struct Case {
        const char* material;
        WireClass wireClass;
        double celsius;
        double shear;  // N/mm²
    };
    const Case cases[] = {
        // Steel, k = 0.25 ‰: 81500 · (1 − 0.00025 · 100) = 79462.5.
        {"EN10270-1-DM", WireClass::Steel, 120.0, 79462.5},
        // Below room temperature G rises: 79500 · (1 + 0.00025 · 60) = 80692.5.
        {"EN10270-2-FDC", WireClass::Steel, -40.0, 80692.5},
        // Room temperature: the row itself.
        {"ASTM-A228", WireClass::Steel, 20.0, 80000.0},
        // A stainless own material, k = 0.40 ‰: 70000 · (1 − 0.0004 · 180) = 64960.
        {nullptr, WireClass::Stainless, 200.0, 64960.0},
    };
    for (const Case& c : cases) {
        auto material = std::make_shared<WireMaterial>();
        if (c.material) {
            *material = Row(c.material);
        } else {
            material->name = "OWN";
            material->law = StrengthLaw::Power;
            material->pieces = {{5.0, 1800.0, 0.0}};
            material->least = 0.5;
            material->most = 5.0;
            material->moduli = {{5.0, 70000.0, 180000.0}};
            material->wireClass = c.wireClass;
        }
        const auto warm = AtTemperature(material, c.celsius);
        EXPECT_NEAR(warm->ModuliAt(4.0).shear, c.shear, 1e-6) << c.celsius;
        EXPECT_EQ(warm->source.find("EN 13906-1") != std::string::npos, c.celsius != 20.0)
            << warm->source;
        // The strength is the standard's at any temperature.
        EXPECT_EQ(warm->MinTensileStrength(4.0), material->MinTensileStrength(4.0));
    }
    // HeliSpring's spring at 120 °C: 16.181 · 0.975 = 15.776 N/mm.
    const auto warm = AtTemperature(std::make_shared<WireMaterial>(Row("EN10270-1-DM")), 120.0);
    const auto selection = SelectWire(warm, 5.0);
    ASSERT_NE(selection, nullptr);
    DesignInput input;
    input.springKind = kCompression;
    input.wire = selection.get();
    input.meanDia = 34.6f;
    input.turns = 9.5f;
    input.freeLen = 475.0f;
    input.setLen = 451.25f;
    input.workLen = 427.5f;
    DesignRunner runner;
    const Outcome& outcome = runner.Run(input);
    ASSERT_TRUE(outcome.analysed);
    EXPECT_NEAR(double(outcome.record.SpringRate) * kNewtonsPerKgf, 15.776, 15.776 * 0.0005);
}

TEST(WireStandards, TemperatureListKeepsOwnMaterialsFirst) {
    auto own = std::make_shared<WireMaterial>(Row("EN10270-1-SM"));
    own->moduli = {{20.0, 80000.0, 200000.0}};
    const std::vector<std::shared_ptr<const WireMaterial>> mine{own};
    const auto all = MaterialsAtTemperature(mine, 60.0);
    ASSERT_EQ(all.size(), 1 + WireStandards().size());
    // The file's SM, 80000 · 0.99, found before the built-in SM's 81500 · 0.99.
    EXPECT_DOUBLE_EQ(WireMaterialNamed("EN10270-1-SM", all)->ModuliAt(1.0).shear, 79200.0);
    EXPECT_DOUBLE_EQ(WireMaterialNamed("ASTM-A229", all)->ModuliAt(1.0).shear, 77200.0 * 0.99);
}

}  // namespace
}  // namespace springcalc
