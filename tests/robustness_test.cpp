// Everything a user can reach gives finite numbers or a flagged design: every material with
// every wire size in both kinds from every sample, values driven below zero and far above
// 1000, and a long seeded random walk through the spinner rules (engine only, no window).
// SPRINGCALC_FUZZ_SEED and SPRINGCALC_FUZZ_EVENTS replay or lengthen the walk.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "design_editor.h"
#include "recording_view.h"
#include "samples.h"

namespace springcalc {
namespace {

unsigned EnvOr(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

struct Session {
    TSpringDesign design;
    fakes::RecordingView view;
    SpringEngine engine{design, view, [] { return LocalDateTime{2026, 12, 5, 9, 5}; }};
    DesignEditor editor{engine, view};
    Session() { engine.StartUp(); }

    bool runnable() const {
        const float index = float(double(design.MeanDia) / double(design.WireDia[design.WireNo]));
        return design.TensileStrength != 1.0f && index >= 4.0f;
    }
    // What is wrong with the record and the fields, or empty.
    std::string problems() const {
        const TSpringDesign& d = design;
        for (float value :
             {d.MeanDia,     d.InnerDia, d.OuterDia,    d.Turns,          d.FreeLen,
              d.SetLen,      d.WorkLen,  d.SolidLen,    d.LimitLen,       d.Tset,
              d.Tact,        d.Tmax,     d.AllowStatic, d.AllowStaticExt, d.AllowFatigue,
              d.InitTension, d.Pset,     d.Pact,        d.Pmax,           d.SpringRate}) {
            if (!std::isfinite(value)) {
                return "a record value is not finite";
            }
        }
        for (int f = 0; f < kFieldCount; ++f) {
            const std::string text = view.text(static_cast<Field>(f));
            if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) {
                return "field " + std::to_string(f) + " shows " + text;
            }
        }
        if (view.enabled(Command::N1) != runnable()) {
            return "Run offered wrongly";
        }
        return {};
    }
};

TEST(Robustness, EveryMaterialWireKindAndSampleGivesFiniteResults) {
    int analysed = 0;
    for (int kind : {kCompression, kExtension}) {
        for (int sample = 1; sample <= kSampleCount; ++sample) {
            Session s;
            s.editor.UpDown8Click(kind, sample);
            for (int material = 0; material < kMaterialCount; ++material) {
                for (int wire = 0; wire < kWireCount; ++wire) {
                    s.editor.UpDown1Click(material);
                    s.editor.UpDown2Click(wire);
                    if (s.view.enabled(Command::N1)) {
                        s.engine.AnalyseDesign();
                        ++analysed;
                    }
                    const std::string problem = s.problems();
                    ASSERT_TRUE(problem.empty())
                        << problem << " kind " << kind << " sample " << sample << " material "
                        << material << " wire " << wire;
                }
            }
        }
    }
    EXPECT_GT(analysed, 1000);
}

TEST(Robustness, ValuesBelowZeroAndFarAbove1000) {
    for (int kind : {kCompression, kExtension}) {
        Session s;
        s.editor.UpDown8Click(kind, 1);
        // Lengths held down past zero: the bound stops them just below 0.1 or at -0.1.
        for (int i = 0; i < 400; ++i) {
            s.editor.UpDown5Click(Arrow::Down);
            s.editor.UpDown6Click(Arrow::Down);
            s.editor.UpDown7Click(Arrow::Down);
        }
        s.editor.EndPress();
        EXPECT_GT(s.design.SetLen, -0.2f);
        s.editor.UpDown4Click(Arrow::Down);
        for (int i = 0; i < 40; ++i) {
            s.editor.UpDown4Click(Arrow::Down);
        }
        EXPECT_EQ(s.design.Turns, 0.5f);
        s.engine.AnalyseDesign();
        EXPECT_EQ(s.problems(), "");
        // Far above 1000: diameter, turns and lengths by the coarse arrows.
        for (int i = 0; i < 300; ++i) {
            s.editor.UpDown9Click(Arrow::Up);
            s.editor.UpDown14Click(Arrow::Up);
            s.editor.UpDown11Click(Arrow::Up);
            s.editor.UpDown12Click(Arrow::Up);
        }
        ASSERT_TRUE(s.view.enabled(Command::N1));
        s.engine.AnalyseDesign();
        EXPECT_EQ(s.problems(), "");
        EXPECT_GT(s.design.LimitLen, 0.0f);
        // Mean diameter down to (or past) zero: the index check withholds Run.
        for (int i = 0; i < 400; ++i) {
            s.editor.UpDown9Click(Arrow::Down);
        }
        for (int i = 0; i < 200; ++i) {
            s.editor.UpDown3Click(Arrow::Down);
        }
        EXPECT_LE(s.design.MeanDia, 0.1f);
        EXPECT_FALSE(s.view.enabled(Command::N1));
        EXPECT_EQ(s.problems(), "");
    }
}

// A selection spinner's own position, as the toolkit steps it with wrap-around.
int Wrapped(int position, Arrow arrow, int minimum, int maximum) {
    if (arrow == Arrow::Up) {
        return position < maximum ? position + 1 : minimum;
    }
    return position > minimum ? position - 1 : maximum;
}

TEST(Robustness, LongRandomWalkThroughTheSpinnerRules) {
    const unsigned seed = EnvOr("SPRINGCALC_FUZZ_SEED", 7u);
    const unsigned events = EnvOr("SPRINGCALC_FUZZ_EVENTS", 50000u);
    std::mt19937 random(seed);
    Session s;
    int kind = 0;
    int sample = 1;
    bool fresh = true;
    using Handler = void (DesignEditor::*)(Arrow);
    const Handler values[] = {&DesignEditor::UpDown3Click, &DesignEditor::UpDown9Click,
                              &DesignEditor::UpDown4Click, &DesignEditor::UpDown14Click,
                              &DesignEditor::UpDown5Click, &DesignEditor::UpDown10Click,
                              &DesignEditor::UpDown6Click, &DesignEditor::UpDown11Click,
                              &DesignEditor::UpDown7Click, &DesignEditor::UpDown12Click};
    for (unsigned event = 0; event < events; ++event) {
        const Arrow arrow = random() % 2 ? Arrow::Up : Arrow::Down;
        const unsigned choice = random() % 20;
        if (choice < 12) {
            const Handler handler = values[choice % std::size(values)];
            const bool freeLength =
                handler == &DesignEditor::UpDown5Click || handler == &DesignEditor::UpDown10Click;
            if (freeLength && !s.view.spinnerEnabled(Spinner::UpDown5)) {
                continue;  // disabled for extension springs
            }
            (s.editor.*handler)(arrow);
            fresh = false;
        } else if (choice == 12) {
            s.editor.EndPress();
        } else if (choice == 13) {
            const int position = Wrapped(s.view.position(Spinner::UpDown1), arrow, 0, 8);
            s.view.SetPosition(Spinner::UpDown1, position);
            s.editor.UpDown1Click(position);
            fresh = false;
        } else if (choice == 14) {
            const int position = Wrapped(s.view.position(Spinner::UpDown2), arrow, 0, 45);
            s.view.SetPosition(Spinner::UpDown2, position);
            s.editor.UpDown2Click(position);
            fresh = false;
        } else if (choice == 15) {
            sample = Wrapped(sample, arrow, 1, 12);
            s.editor.UpDown13Click(sample);
            fresh = false;
        } else if (choice == 16) {
            kind = 1 - kind;
            s.editor.UpDown8Click(kind, sample);
            fresh = false;
        } else if (s.view.enabled(Command::N1)) {
            s.engine.AnalyseDesign();
            fresh = true;
        }
        const TSpringDesign& d = s.design;
        std::string problem = s.problems();
        if (problem.empty() && (d.MaterialNo != s.view.position(Spinner::UpDown1) ||
                                d.WireNo != s.view.position(Spinner::UpDown2))) {
            problem = "selection and spinners differ";
        }
        if (problem.empty() &&
            (s.view.enabled(Command::N2) != fresh || s.view.enabled(Command::N3) != fresh)) {
            problem = "Save/Print do not follow the results";
        }
        if (problem.empty() && s.view.visible(Image::Image2) != (d.SpringKind == 1)) {
            problem = "wrong drawing";
        }
        ASSERT_TRUE(problem.empty()) << problem << " (seed " << seed << ", event " << event << ")";
    }
}

}  // namespace
}  // namespace springcalc
