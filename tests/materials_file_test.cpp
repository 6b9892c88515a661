// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own materials file: a sound file read into materials, and every kind of bad file
// told by line and field, with no material given back.

#include "engine/materials_file.h"

#include <gtest/gtest.h>

#include <string>

namespace springcalc {
namespace {

using What = MaterialsFileFault::What;

constexpr const char* kSound = R"(# a hot-coiled bar and a formula wire
[BAR-54SICR6]
source = certificate 4711
G = 78500
E = 206000
density = 7.85
static-share = 0.5
strength = 14:1500, 20:1450   # N/mm² at mm
class = steel

[OWN-MUSIC]
source = maker's sheet
G = 81000
E = 200000
density = 7.85
static-share = 0.45
strength-formula = 2000 0.15
range = 0.5 6
sizes = 2, 1, 0.5
)";

TEST(MaterialsFile, SoundFileGivesEachMaterial) {
    const MaterialsFileReading reading = ReadMaterialsFile(kSound, "own.mat");
    ASSERT_TRUE(reading.faults.empty());
    ASSERT_EQ(reading.materials.size(), 2u);
    const WireMaterial& bar = *reading.materials[0];
    EXPECT_EQ(bar.name, "BAR-54SICR6");
    EXPECT_EQ(bar.source, "certificate 4711 (own.mat)");
    // Between the points by hand: 1500 − (2 / 6) · 50 = 1483.33 at 16 mm.
    EXPECT_NEAR(*bar.MinTensileStrength(16.0), 1483.333, 1e-3);
    EXPECT_FALSE(bar.MinTensileStrength(13.9));
    EXPECT_EQ(bar.ModuliAt(16.0).shear, 78500.0);
    EXPECT_EQ(bar.sizes, (std::vector<double>{14, 20}));
    const WireMaterial& music = *reading.materials[1];
    // 2000 / 2^0.15 = 2000 / 1.109569 = 1802.5.
    EXPECT_NEAR(*music.MinTensileStrength(2.0), 1802.5, 0.1);
    EXPECT_FALSE(music.MinTensileStrength(6.5));
    EXPECT_EQ(music.sizes, (std::vector<double>{0.5, 1, 2}));
}

// The lines every bad file below keeps, so that each tests one fault.
constexpr const char* kHead = "[W]\nsource = s\nG = 78500\nE = 206000\ndensity = 7.85\n";

TEST(MaterialsFile, EachBadFileIsToldByLineAndField) {
    struct Case {
        std::string text;
        long line;
        const char* field;
        What what;
    };
    const std::string head = kHead;
    const std::string tail = "static-share = 0.5\nstrength = 1:2000\n";
    const Case cases[] = {
        {"G = 78500\n" + head + tail, 1, "G", What::OutsideSection},
        {head + tail + "just words\n", 8, "", What::BadLine},
        {head + tail + "colour = blue\n", 8, "colour", What::UnknownField},
        {head + tail + "G = 79000\n", 8, "G", What::Repeated},
        // G in GPa instead of N/mm²
        {"[W]\nsource = s\nG = 78.5\nE = 206000\ndensity = 7.85\n" + tail, 3, "G", What::BadNumber},
        // density in kg/m³
        {"[W]\nsource = s\nG = 78500\nE = 206000\ndensity = 7850\n" + tail, 5, "density",
         What::BadNumber},
        {head + "static-share = 50%\nstrength = 1:2000\n", 6, "static-share", What::BadNumber},
        {head + "static-share = 0.5\nstrength = 2:2000, 1:2100\n", 7, "strength", What::BadPoints},
        {head + "static-share = 0.5\nstrength = 2=2000\n", 7, "strength", What::BadPoints},
        {head + "static-share = 0.5\n", 1, "strength", What::Missing},
        {head + tail + "strength-formula = 2000 0.15\nrange = 1 5\n", 1, "strength-formula",
         What::BothStrengths},
        {head + "static-share = 0.5\nstrength-formula = 2000 0.15\n", 1, "range", What::Missing},
        {head + "static-share = 0.5\nstrength-formula = 2000 0.15\nrange = 5 1\n", 8, "range",
         What::BadNumber},
        {head + tail + "[w]\nsource = s\n", 8, "name", What::SameName},
        {"[EN10270-1-SM]\n", 1, "name", What::SameName},
        {"[ ]\n", 1, "name", What::BadName},
        {head + tail + "class = brass\n", 8, "class", What::BadClass},
        {"# nothing\n", 0, "", What::NoMaterial},
    };
    for (const Case& c : cases) {
        const MaterialsFileReading reading = ReadMaterialsFile(c.text, "f");
        EXPECT_TRUE(reading.materials.empty()) << c.text;
        ASSERT_FALSE(reading.faults.empty()) << c.text;
        const MaterialsFileFault& fault = reading.faults.front();
        EXPECT_EQ(fault.line, c.line) << c.text;
        EXPECT_EQ(fault.field, c.field) << c.text;
        EXPECT_EQ(fault.what, c.what) << c.text;
    }
}

}  // namespace
}  // namespace springcalc
