// Random use of the real window: thousands of seeded events (clicks, held arrows with and
// without release, type switches, samples, Run, Save) with the invariants checked after each.
// The seed is printed on failure; set SPRINGCALC_FUZZ_SEED and SPRINGCALC_FUZZ_EVENTS to
// replay or lengthen a run.

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <random>

#include "window_test_support.h"

using springcalc::Arrow;

namespace {

const char* const kSpinners[] = {"UpDown1",  "UpDown2",  "UpDown3",  "UpDown9", "UpDown4",
                                 "UpDown14", "UpDown5",  "UpDown10", "UpDown6", "UpDown11",
                                 "UpDown7",  "UpDown12", "UpDown13", "UpDown8"};
const char* const kHeldSpinners[] = {"UpDown3", "UpDown5", "UpDown6", "UpDown7"};

unsigned EnvOr(const char* name, unsigned fallback) {
    bool ok = false;
    const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

class WindowFuzzTest : public QObject {
    Q_OBJECT

private slots:
    void randomUseKeepsEveryInvariant();

private:
    // Returns an empty string when all is well, else what went wrong.
    QString checkInvariants(WindowUnderTest& t, bool resultsFresh) const;
};

QString WindowFuzzTest::checkInvariants(WindowUnderTest& t, bool resultsFresh) const {
    const springcalc::TSpringDesign& d = t.window.design();
    if (d.MaterialNo < 0 || d.MaterialNo > 8 || d.MaterialNo != t.spinner("UpDown1")->position()) {
        return QStringLiteral("material %1 / spinner %2")
            .arg(d.MaterialNo)
            .arg(t.spinner("UpDown1")->position());
    }
    if (d.WireNo < 0 || d.WireNo > 45 || d.WireNo != t.spinner("UpDown2")->position()) {
        return QStringLiteral("wire %1 / spinner %2")
            .arg(d.WireNo)
            .arg(t.spinner("UpDown2")->position());
    }
    const float index = float(double(d.MeanDia) / double(d.WireDia[d.WireNo]));
    const bool runnable = d.TensileStrength != 1.0f && index >= 4.0f;
    if (t.enabled("N1") != runnable) {
        return QStringLiteral("Run %1 for index %2").arg(t.enabled("N1")).arg(double(index));
    }
    if (t.enabled("N2") != resultsFresh || t.enabled("N3") != resultsFresh) {
        return QStringLiteral("Save/Print %1/%2, results fresh %3")
            .arg(t.enabled("N2"))
            .arg(t.enabled("N3"))
            .arg(resultsFresh);
    }
    for (FieldLabel* label : t.window.findChildren<FieldLabel*>()) {
        const QString text = label->text().toLower();
        if (text.contains(QStringLiteral("nan")) || text.contains(QStringLiteral("inf"))) {
            return label->objectName() + QStringLiteral(" shows ") + label->text();
        }
    }
    const bool first = t.imageVisible("Image1");
    const bool second = t.imageVisible("Image2");
    if (first == second || second != (d.SpringKind == 1)) {
        return QStringLiteral("drawings %1/%2 for kind %3")
            .arg(first)
            .arg(second)
            .arg(d.SpringKind);
    }
    return {};
}

void WindowFuzzTest::randomUseKeepsEveryInvariant() {
    const unsigned seed = EnvOr("SPRINGCALC_FUZZ_SEED", 20261206u);
    const unsigned events = EnvOr("SPRINGCALC_FUZZ_EVENTS", 3000u);
    std::mt19937 random(seed);
    auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };

    WindowUnderTest t;
    QTemporaryDir dir;
    const QString reportPath = dir.filePath(QStringLiteral("fuzz.txt"));
    t.prompts.answerSave(reportPath);
    bool fresh = true;  // Save and Print are offered from start-up until the first change
    qint64 reportSize = 0;
    int saves = 0;
    int runs = 0;

    for (unsigned event = 0; event < events; ++event) {
        QString what;
        const unsigned kind = pick(100);
        if (kind < 55) {
            const char* name = kSpinners[pick(std::size(kSpinners))];
            const Arrow arrow = pick(2) ? Arrow::Up : Arrow::Down;
            what = QStringLiteral("click %1 %2").arg(name).arg(int(arrow));
            // The free-length spinners of an extension spring ignore the mouse.
            const bool ignored = t.window.design().SpringKind == 1 &&
                                 (qstrcmp(name, "UpDown5") == 0 || qstrcmp(name, "UpDown10") == 0);
            t.click(name, arrow);
            fresh = fresh && ignored;
        } else if (kind < 70) {
            const char* name = kHeldSpinners[pick(std::size(kHeldSpinners))];
            QAbstractButton* button = t.arrow(name, pick(2) ? Arrow::Up : Arrow::Down);
            const int repeats = 1 + static_cast<int>(pick(12));
            const bool release = pick(4) != 0;
            what = QStringLiteral("hold %1 x%2 release %3").arg(name).arg(repeats).arg(release);
            if (!button->isEnabled()) {
                continue;
            }
            QTest::mousePress(button, Qt::LeftButton);
            for (int i = 1; i < repeats; ++i) {
                emit button->pressed();  // what the toolkit's auto-repeat emits
            }
            if (release) {
                QTest::mouseRelease(button, Qt::LeftButton);
            } else {
                // The release got lost (the pointer left the window): the button stays down.
                button->setDown(false);
            }
            fresh = false;
        } else if (kind < 85) {
            what = QStringLiteral("run");
            const bool runnable = t.enabled("N1");
            t.action("N1")->trigger();
            fresh = fresh || runnable;
            runs += runnable;
        } else {
            what = QStringLiteral("save");
            const bool offered = t.enabled("N2");
            t.action("N2")->trigger();
            if (offered) {
                QFile file(reportPath);
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QByteArray all = file.readAll();
                const QByteArray added = all.mid(reportSize);
                const int lines = t.window.design().SpringKind == 0 ? 14 : 13;
                QVERIFY2(all.size() > reportSize && added.count("\r\n") == lines &&
                             added.endsWith("   \r\n   \r\n"),
                         qPrintable(QStringLiteral("seed %1 event %2: report grew badly")
                                        .arg(seed)
                                        .arg(event)));
                reportSize = all.size();
                ++saves;
            }
        }
        const QString broken = checkInvariants(t, fresh);
        QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("seed %1 event %2 (%3): %4")
                                                  .arg(seed)
                                                  .arg(event)
                                                  .arg(what, broken)));
    }
    QVERIFY(t.prompts.errors.isEmpty());
    qInfo("seed %u: %u events, %d runs, %d saves", seed, events, runs, saves);
}

int main(int argc, char* argv[]) {
    return RunWindowTests<WindowFuzzTest>(argc, argv);
}

#include "window_fuzz_test.moc"
