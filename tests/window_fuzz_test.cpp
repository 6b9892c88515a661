// SPDX-License-Identifier: GPL-3.0-or-later
// Random use of the real window: thousands of seeded events (clicks, held arrows with and
// without release, type switches, samples, Run, Save) with the engine walk's invariants checked
// after each, read back from the widgets. The seed is printed on failure; set
// SPRINGCALC_FUZZ_SEED and SPRINGCALC_FUZZ_EVENTS to replay or lengthen a run.

#include <QApplication>
#include <QtTest>
#include <random>

#include "layout/window_layout.h"
#include "report/report_writer.h"
#include "window_test.h"
#include "window_test_support.h"

using namespace springcalc;

namespace {

const char* const kHeldSpinners[] = {"UpDown3", "UpDown5", "UpDown6", "UpDown7"};

test_support::Shown ShownIn(const WindowUnderTest& t) {
    test_support::Shown shown{t.enabled("N1"),
                              t.enabled("N2"),
                              t.enabled("N3"),
                              t.spinner("UpDown1")->position(),
                              t.spinner("UpDown2")->position(),
                              t.imageVisible("Image1"),
                              t.imageVisible("Image2"),
                              {}};
    for (const char* name : layout::kFieldNames) {
        shown.texts.push_back(t.text(name).toLower().toStdString());
    }
    return shown;
}

}  // namespace

void WindowTest::randomUseKeepsEveryInvariant() {
    const unsigned seed = test_support::EnvOr("SPRINGCALC_FUZZ_SEED", 20261206u);
    const unsigned events = test_support::EnvOr("SPRINGCALC_FUZZ_EVENTS", 3000u);
    std::mt19937 random(seed);
    auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };

    WindowUnderTest t;
    const test_support::ScratchDir dir;
    t.prompts.answerSave(QString::fromStdString((dir / "fuzz.txt").string()));
    bool fresh = true;  // Save and Print are offered from start-up until the first change
    std::string report;

    for (unsigned event = 0; event < events; ++event) {
        QString what;
        const unsigned kind = pick(100);
        if (kind < 55) {
            const char* name = layout::kSpinners[pick(layout::kSpinners.size())].name;
            const Arrow arrow = pick(2) ? Arrow::Up : Arrow::Down;
            what = QStringLiteral("click %1 %2").arg(name).arg(int(arrow));
            // The free-length spinners of an extension spring ignore the mouse.
            const bool ignored = !t.spinner(name)->isEnabled();
            t.click(name, arrow);
            fresh = fresh && ignored;
        } else if (kind < 70) {
            const char* name = kHeldSpinners[pick(std::size(kHeldSpinners))];
            const Arrow arrow = pick(2) ? Arrow::Up : Arrow::Down;
            const int repeats = 1 + static_cast<int>(pick(12));
            const bool release = pick(4) != 0;
            what = QStringLiteral("hold %1 x%2 release %3").arg(name).arg(repeats).arg(release);
            if (t.spinner(name)->isEnabled()) {
                t.hold(name, arrow, repeats, release);
                fresh = false;
            }
        } else if (kind < 85) {
            what = QStringLiteral("run");
            fresh = fresh || t.enabled("N1");
            t.action("N1")->trigger();
        } else {
            what = QStringLiteral("save");
            if (t.enabled("N2")) {
                report += EncodeReport(FormatReportBlock(t.window.design())).value();
            }
            t.action("N2")->trigger();
            QVERIFY2(test_support::ReadFile(dir / "fuzz.txt") == report,
                     qPrintable(QStringLiteral("seed %1 event %2: report").arg(seed).arg(event)));
        }
        const std::string broken = test_support::Problems(t.window.design(), ShownIn(t), fresh);
        QVERIFY2(broken.empty(), qPrintable(QStringLiteral("seed %1 event %2 (%3): %4")
                                                .arg(seed)
                                                .arg(event)
                                                .arg(what, QString::fromStdString(broken))));
    }
    QVERIFY(t.prompts.errors.isEmpty());
}
