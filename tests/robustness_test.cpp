// SPDX-License-Identifier: GPL-3.0-or-later
// Everything a user can reach gives finite numbers or a flagged design: every material with
// every wire size in both kinds from every sample, and a long seeded random walk through the
// spinner rules, with long runs that drive values below zero and far above 1000 (engine only,
// no window).
// SPRINGCALC_FUZZ_SEED and SPRINGCALC_FUZZ_EVENTS replay or lengthen the walk.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "engine/samples.h"
#include "test_support.h"

namespace springcalc {
namespace {

using test_support::Calculator;
using Click = void (DesignEditor::*)(Arrow);

std::string Problems(const Calculator& calc, bool fresh) {
    return test_support::Problems(calc.design, test_support::ShownOn(calc.view), fresh);
}

TEST(Robustness, EveryMaterialWireKindAndSampleGivesFiniteResults) {
    // The sizes each material is made in: one unbroken run, by material number.
    const std::pair<int, int> made[kMaterialCount] = {{0, 42},  {0, 42}, {0, 37}, {0, 37}, {27, 44},
                                                      {25, 40}, {0, 40}, {0, 40}, {0, 42}};
    int analysed = 0;
    for (int kind : {kCompression, kExtension}) {
        for (int sample = 1; sample <= kSampleCount; ++sample) {
            Calculator calc;
            calc.editor.UpDown8Click(kind, sample);
            for (int material = 0; material < kMaterialCount; ++material) {
                for (int wire = 0; wire < kWireCount; ++wire) {
                    calc.Select(material, wire);
                    const float strength = calc.design.TensileStrength;
                    const bool offered =
                        wire >= made[material].first && wire <= made[material].second;
                    ASSERT_TRUE(offered ? strength >= 100.0f && strength <= 325.0f
                                        : strength == 1.0f)
                        << "material " << material << " wire " << wire;
                    const bool run = calc.view.enabled(Command::N1);
                    if (run) {
                        calc.engine.AnalyseDesign();
                        ++analysed;
                    }
                    ASSERT_EQ(Problems(calc, run), "")
                        << "kind " << kind << " sample " << sample << " material " << material
                        << " wire " << wire;
                }
            }
        }
    }
    EXPECT_GT(analysed, 1000);
}

TEST(Robustness, LongRandomWalkThroughTheSpinnerRules) {
    const unsigned seed = test_support::EnvOr("SPRINGCALC_FUZZ_SEED", 7u);
    const unsigned events = test_support::EnvOr("SPRINGCALC_FUZZ_EVENTS", 50000u);
    std::mt19937 random(seed);
    Calculator calc;
    int kind = kCompression;
    int sample = 1;
    bool fresh = true;
    const Click values[] = {&DesignEditor::UpDown3Click, &DesignEditor::UpDown9Click,
                            &DesignEditor::UpDown4Click, &DesignEditor::UpDown14Click,
                            &DesignEditor::UpDown5Click, &DesignEditor::UpDown10Click,
                            &DesignEditor::UpDown6Click, &DesignEditor::UpDown11Click,
                            &DesignEditor::UpDown7Click, &DesignEditor::UpDown12Click};
    for (unsigned event = 0; event < events; ++event) {
        const Arrow arrow = random() % 2 ? Arrow::Up : Arrow::Down;
        const unsigned choice = random() % 20;
        if (choice < 12) {
            const Click click = values[choice % std::size(values)];
            const bool freeLength =
                click == &DesignEditor::UpDown5Click || click == &DesignEditor::UpDown10Click;
            if (freeLength && !calc.view.spinnerEnabled(Spinner::UpDown5)) {
                continue;  // disabled for extension springs
            }
            // Now and then a long run one way, which takes values below zero and far above 1000.
            for (unsigned times = random() % 50 ? 1 : 300; times > 0; --times) {
                (calc.editor.*click)(arrow);
            }
        } else if (choice == 12) {
            calc.editor.EndPress();
            continue;
        } else if (choice == 13 || choice == 14) {  // a selection spinner, wrapping at its ends
            const int step = arrow == Arrow::Up ? 1 : -1;
            choice == 13
                ? calc.Select((calc.design.MaterialNo + step + 9) % 9, calc.design.WireNo)
                : calc.Select(calc.design.MaterialNo, (calc.design.WireNo + step + 46) % 46);
        } else if (choice == 15) {
            sample = (sample + (arrow == Arrow::Up ? 0 : 10)) % kSampleCount + 1;
            calc.editor.UpDown13Click(sample);
        } else if (choice == 16) {
            kind = 1 - kind;
            calc.editor.UpDown8Click(kind, sample);
        } else if (calc.view.enabled(Command::N1)) {
            calc.engine.AnalyseDesign();
        }
        fresh = choice > 16 && (fresh || calc.view.enabled(Command::N1));
        ASSERT_EQ(Problems(calc, fresh), "") << "seed " << seed << ", event " << event;
    }
}

}  // namespace
}  // namespace springcalc
